#include "sync/impostazioni.h"

#include "store/funzioni.h"

#include <QCryptographicHash>
#include <QSettings>

namespace brenzola {
namespace {

// One group per store, named by its connection string (hashed: it may hold a path or a host).
QString gruppo(const QString& stringaConnessione)
{
    return QStringLiteral("Sincronizzazione-")
           + QString::fromLatin1(
               QCryptographicHash::hash(stringaConnessione.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

}  // namespace

ImpostazioniSincronizzazione ImpostazioniSincronizzazione::leggi(const QString& stringaConnessione)
{
    QSettings impostazioni(Funzioni::FileImpostazioni(), QSettings::IniFormat);
    impostazioni.beginGroup(gruppo(stringaConnessione));
    ImpostazioniSincronizzazione i;
    i.server = impostazioni.value(QStringLiteral("server")).toUrl();
    i.utente = impostazioni.value(QStringLiteral("utente")).toString();
    i.rubrica = impostazioni.value(QStringLiteral("rubrica")).toUrl();
    i.nomeRubrica = impostazioni.value(QStringLiteral("nomeRubrica")).toString();
    i.allAvvio = impostazioni.value(QStringLiteral("allAvvio"), i.allAvvio).toBool();
    i.ogniMinuti = impostazioni.value(QStringLiteral("ogniMinuti"), i.ogniMinuti).toInt();
    i.dopoSalvataggio = impostazioni.value(QStringLiteral("dopoSalvataggio"), i.dopoSalvataggio).toBool();
    i.questaScrivania = impostazioni.value(QStringLiteral("questaScrivania"), i.questaScrivania).toBool();
    return i;
}

void ImpostazioniSincronizzazione::salva(const QString& stringaConnessione) const
{
    QSettings impostazioni(Funzioni::FileImpostazioni(), QSettings::IniFormat);
    impostazioni.beginGroup(gruppo(stringaConnessione));
    impostazioni.setValue(QStringLiteral("server"), server);
    impostazioni.setValue(QStringLiteral("utente"), utente);
    impostazioni.setValue(QStringLiteral("rubrica"), rubrica);
    impostazioni.setValue(QStringLiteral("nomeRubrica"), nomeRubrica);
    impostazioni.setValue(QStringLiteral("allAvvio"), allAvvio);
    impostazioni.setValue(QStringLiteral("ogniMinuti"), ogniMinuti);
    impostazioni.setValue(QStringLiteral("dopoSalvataggio"), dopoSalvataggio);
    impostazioni.setValue(QStringLiteral("questaScrivania"), questaScrivania);
}

}  // namespace brenzola
