#include "cronologia/testicronologia.h"

#include "store/funzioni.h"

#include <QCoreApplication>

namespace brenzola {

QString QuandoLocale(const QDateTime& quando)
{
    return quando.toLocalTime().toString(Funzioni::FormatoDataMostrata() + QStringLiteral(" HH:mm:ss"));
}

QString NomiTraVirgolette(const QStringList& nomi, int quanti)
{
    QStringList primi;
    for (qsizetype i = 0; i < nomi.size() && i < quanti; ++i)
        primi << QCoreApplication::translate("brenzola::TestiCronologia", "«%1»").arg(nomi[i].trimmed());
    QString testo = primi.join(QStringLiteral(", "));
    if (nomi.size() > quanti)
        testo += QCoreApplication::translate("brenzola::TestiCronologia", " e altri %1").arg(nomi.size() - quanti);
    return testo;
}

}  // namespace brenzola
