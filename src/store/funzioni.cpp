#include "store/funzioni.h"

#include "store/registro.h"
#include "store/storeerror.h"

#include <QCoreApplication>

#include <QDate>
#include <QDir>
#include <QStandardPaths>
#include <QTranslator>

namespace brenzola::Funzioni {

Connection* Connessione() { return Registro::corrente().connessione.get(); }
QString& StringaConnessione() { return Registro::corrente().stringaConnessione; }
QString& Filtro() { return Registro::corrente().filtro; }
double& TotaleElenco() { return Registro::corrente().totaleElenco; }

QLocale LocaleMostrata()
{
    const QCoreApplication* programma = QCoreApplication::instance();
    const auto* traduzione =
        programma ? programma->findChild<QTranslator*>(QLatin1String(kTraduzione), Qt::FindDirectChildrenOnly) : nullptr;
    return traduzione && traduzione->language().startsWith(u"en") ? QLocale() : QLocale(QLocale::Italian, QLocale::Italy);
}

QString FormatoDataMostrata()
{
    const QString breve = LocaleMostrata().dateFormat(QLocale::ShortFormat);
    return breve.indexOf(u'M') < breve.indexOf(u'd') ? QStringLiteral("MM/dd/yyyy") : QString::fromLatin1(kFormatoData);
}

QString PercorsoArchivio(const QString& cartella) { return QDir(cartella).filePath(QString::fromLatin1(kNomeArchivio)); }

QString ArchivioAccantoAlProgramma() { return PercorsoArchivio(QCoreApplication::applicationDirPath()); }

QString ArchivioPersonale() { return PercorsoArchivio(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)); }

QString FileImpostazioni()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).filePath(QStringLiteral("brenzola.conf"));
}

bool SulServer(const QString& archivio)
{
    return parseConnectionString(archivio)
               .value(QStringLiteral("provider"))
               .compare(QLatin1String(Connection::kServerProvider), Qt::CaseInsensitive)
           == 0;
}

QString NomeArchivio(const QString& archivio)
{
    return SulServer(archivio) ? serverStoreName(parseConnectionString(archivio)) : QDir::toNativeSeparators(archivio);
}

QString StringaConnessionePer(const QString& archivio)
{
    if (archivio.trimmed().startsWith(QLatin1String("provider="), Qt::CaseInsensitive)) return archivio;
    return QStringLiteral("Provider=%1;Data Source=%2").arg(QLatin1String(Connection::kProvider), quoteConnectionValue(archivio));
}

void ApriDatabase(const QString& archivio, const QString& password) { Registro::corrente().apri(archivio, password); }

void ChiudiDatabase() { Registro::corrente().chiudi(); }

QVariant ValoreNonNullo(const QVariant& Valore, const QVariant& Predefinito) { return Valore.isNull() ? Predefinito : Valore; }

QString FormattaDataSql(const QString& data)
{
    QDate date = QDate::fromString(data.trimmed(), QLatin1String(kFormatoData));
    if (!date.isValid()) date = QDate::fromString(data.trimmed(), QStringLiteral("d/M/yyyy"));
    if (!date.isValid())
        throw StoreError(StoreErrorNumber::TypeMismatch,
                         QCoreApplication::translate("brenzola::Funzioni", "«%1» non è una data.").arg(data));
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QString ComeTesto(const QVariant& valore)
{
    return valore.typeId() == QMetaType::QDate ? valore.toDate().toString(QLatin1String(kFormatoData)) : valore.toString();
}

QString RaddoppiaApici(QString testo) { return testo.replace(u'\'', QStringLiteral("''")); }

}  // namespace brenzola::Funzioni
