#include "funzioni.h"

#include "calendarfield.h"
#include "dialogs.h"
#include "storeerror.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFont>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QStandardPaths>
#include <QTextEdit>
#include <QTranslator>

namespace brenzola::Funzioni {

QString PercorsoArchivio(const QString& cartella)
{
    return QDir(cartella).filePath(QString::fromLatin1(kNomeArchivio));
}

QString ArchivioAccantoAlProgramma() { return PercorsoArchivio(QCoreApplication::applicationDirPath()); }

QString ArchivioPersonale()
{
    return PercorsoArchivio(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

void ApriDatabase(const QString& archivio)
{
    StringaConnessione = QStringLiteral("Provider=%1;Data Source=%2")
                             .arg(QLatin1String(Connection::kProvider), quoteConnectionValue(archivio));
    auto connection = std::make_unique<Connection>();
    connection->Open(StringaConnessione);
    Connessione = std::move(connection);
}

void ChiudiDatabase()
{
    if (!Connessione || Connessione->State() != Connection::adStateOpen) return;
    Connessione->Close();
    Connessione.reset();
}

QVariant ValoreNonNullo(const QVariant& Valore, const QVariant& Predefinito)
{
    return Valore.isNull() ? Predefinito : Valore;
}

QString FormattaDataSql(const QString& data)
{
    QDate date = QDate::fromString(data.trimmed(), QLatin1String(kFormatoData));
    if (!date.isValid()) date = QDate::fromString(data.trimmed(), QStringLiteral("d/M/yyyy"));
    if (!date.isValid())
        throw StoreError(StoreErrorNumber::TypeMismatch, QStringLiteral("«%1» non è una data.").arg(data));
    return date.toString(QStringLiteral("MM/dd/yyyy"));
}

QString ComeTesto(const QVariant& valore)
{
    return valore.typeId() == QMetaType::QDate ? valore.toDate().toString(QLatin1String(kFormatoData))
                                                : valore.toString();
}

QString RaddoppiaApici(QString testo) { return testo.replace(u'\'', QStringLiteral("''")); }

namespace {

// Returns true when the widget is an input control, whose own parts are not controls.
bool pulisciControllo(QWidget* control)
{
    bool isInput = false;
    if (auto* richText = qobject_cast<QTextEdit*>(control)) {
        richText->clear();
        isInput = true;
    }
    if (auto* text = qobject_cast<QLineEdit*>(control)) {
        text->setText(QString());
        isInput = true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setEditText(QString());
        isInput = true;
    }
    if (auto* calendar = qobject_cast<CalendarField*>(control)) {
        calendar->setValue(QStringLiteral("01/01/1900"));
        isInput = true;
    }
    if (control->objectName().left(2).toUpper() == u"DT") control->setProperty("value", QVariant());
    return isInput;
}

void pulisciFigli(QWidget* parent)
{
    for (QObject* child : parent->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !pulisciControllo(control)) pulisciFigli(control);
    }
}

}  // namespace

void PulisciCampi(QWidget* finestra) { pulisciFigli(finestra); }

void RegistraCaratteri()
{
    // Metric-compatible stand-ins, so captions fit where the layout puts them.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
}

void ApplicaImpostazioniItaliane(QApplication& application)
{
    RegistraCaratteri();
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    auto* translator = new QTranslator(&application);
    if (translator->load(QLocale(QLocale::Italian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(translator);
    application.setApplicationName(QString::fromLatin1(kTitoloApplicazione));
    application.setApplicationVersion(QStringLiteral(BRENZOLA_VERSION));
}

}  // namespace brenzola::Funzioni
