#include "cronologia/testicronologia.h"

#include "store/funzioni.h"

namespace brenzola {

QString QuandoLocale(const QDateTime& quando)
{
    return quando.toLocalTime().toString(QLatin1String(Funzioni::kFormatoData) + QStringLiteral(" HH:mm:ss"));
}

QString NomiTraVirgolette(const QStringList& nomi, int quanti)
{
    QStringList primi;
    for (qsizetype i = 0; i < nomi.size() && i < quanti; ++i) primi << QStringLiteral("«%1»").arg(nomi[i].trimmed());
    QString testo = primi.join(QStringLiteral(", "));
    if (nomi.size() > quanti) testo += QStringLiteral(" e altri %1").arg(nomi.size() - quanti);
    return testo;
}

}  // namespace brenzola
