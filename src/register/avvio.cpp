#include "register/avvio.h"

#include "access/accessconversion.h"
#include "presentation/frmsplash.h"
#include "register/frmbrenzola.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"
#include "widgets/dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

namespace brenzola {

namespace {

const QString kArchivioScelto = QStringLiteral("archivio");

QString mostrato(const QString& path) { return QDir::toNativeSeparators(path); }

QString contactCount(qint64 count)
{
    return count == 1 ? QCoreApplication::translate("brenzola::Avvio", "1 contatto")
                      : QCoreApplication::translate("brenzola::Avvio", "%1 contatti").arg(count);
}

}  // namespace

bool PreparaArchivioAccess(Dialogs& dialogs, QWidget* parent, const QString& path, const ConversionOptions& options)
{
    removeAbandonedConversions(QFileInfo(path).absolutePath());
    StoreFileKind kind = StoreFileKind::Other;
    try {
        kind = detectStoreFileKind(path);
    } catch (...) {
        MostraErrore(dialogs, parent,
                     QCoreApplication::translate("brenzola::Avvio", "Impossibile leggere l'archivio «%1».").arg(mostrato(path)));
        return false;
    }
    try {
        if (kind != StoreFileKind::AccessJet3 && kind != StoreFileKind::AccessJet4 && kind != StoreFileKind::AccessAce)
            return true;

        const AccessSurvey survey = surveyAccessFile(path, options);  // refuses the formats it cannot read
        survey.requireConvertible(path);
        const QString backup = accessBackupPath(path);
        QString text =
            QCoreApplication::translate("brenzola::Avvio",
                                        "Il file «%1» è un database di Microsoft Access (%2), che Brenzola non può usare "
                                        "così com'è.\n\n"
                                        "Brenzola può convertirlo nel proprio formato: la tabella %3, con %4, passerà in "
                                        "un nuovo archivio con lo stesso nome, e il file Access originale resterà intatto "
                                        "nella stessa cartella con il nome «%5».")
                .arg(mostrato(path), survey.formatName(), survey.tableName, contactCount(survey.rowCount),
                     QFileInfo(backup).fileName());
        if (survey.columnsDiffer()) text += QStringLiteral("\n\n") + survey.describeDifferences();
        text += QCoreApplication::translate(
            "brenzola::Avvio", "\n\nConvertire ora il file? Rispondendo No, Brenzola si chiude senza modificare nulla.");
        const Message question{text, MsgButtons::YesNo, MsgIcon::Question,
                               QCoreApplication::translate("brenzola::Avvio", "Archivio di Access"),
                               survey.columnsDiffer() ? MsgAnswer::No : MsgAnswer::Yes};
        if (dialogs.MsgBox(parent, question) != MsgAnswer::Yes) return false;

        ConversionOptions accepted = options;
        accepted.acceptColumnDifferences = true;
        const ConversionSummary summary = convertAccessFile(path, path, accepted);
        dialogs.MsgBox(
            parent, {QCoreApplication::translate("brenzola::Avvio",
                                                 "Conversione completata: %1 convertiti nel nuovo archivio «%2».\n\n"
                                                 "Il file Access originale è conservato, intatto, come «%3».")
                         .arg(contactCount(summary.rowsWritten), mostrato(path), QFileInfo(summary.backupPath).fileName()),
                     MsgButtons::Ok, MsgIcon::Information, QCoreApplication::translate("brenzola::Avvio", "Archivio di Access")});
        return true;
    } catch (...) {
        MostraErrore(dialogs, parent,
                     QCoreApplication::translate("brenzola::Avvio",
                                                 "Impossibile convertire il file Access «%1». Nessun file è stato modificato.")
                         .arg(mostrato(path)));
        return false;
    }
}

QString ArchivioDaUsare()
{
    QString portatile = Funzioni::ArchivioAccantoAlProgramma();
    if (QFileInfo::exists(portatile)) return portatile;
    const QString scelto = QSettings(Funzioni::FileImpostazioni(), QSettings::IniFormat).value(kArchivioScelto).toString();
    return scelto.isEmpty() ? Funzioni::ArchivioPersonale() : scelto;
}

QString PrimoAvvio(Dialogs& dialogs, const QString& mancante)
{
    QString personale = Funzioni::ArchivioPersonale();
    QString testo =
        mancante == personale
            ? QCoreApplication::translate("brenzola::Avvio", "Benvenuti in Brenzola. Non c'è ancora un archivio dei contatti.")
            : QCoreApplication::translate("brenzola::Avvio", "L'archivio dei contatti «%1» non si trova più.")
                  .arg(mostrato(mancante));
    testo += QCoreApplication::translate(
                 "brenzola::Avvio",
                 "\n\nSi può creare un archivio nuovo, vuoto, in «%1», oppure aprire un archivio che esiste già "
                 "(anche un file di Microsoft Access dalla versione precedente del programma).")
                 .arg(mostrato(personale));
    Message domanda{testo, MsgButtons::YesNoCancel, MsgIcon::Question,
                    QCoreApplication::translate("brenzola::Avvio", "Archivio dei contatti"), MsgAnswer::Yes};
    domanda.yesCaption = QCoreApplication::translate("brenzola::Avvio", "Crea un archivio nuovo");
    domanda.noCaption = QCoreApplication::translate("brenzola::Avvio", "Apri un archivio...");
    domanda.cancelCaption = QCoreApplication::translate("brenzola::Avvio", "Esci");
    QSettings impostazioni(Funzioni::FileImpostazioni(), QSettings::IniFormat);
    for (;;) {
        switch (dialogs.MsgBox(nullptr, domanda)) {
        case MsgAnswer::Yes:
            try {
                QDir().mkpath(QFileInfo(personale).absolutePath());
                CreaArchivio(personale);
            } catch (...) {
                MostraErrore(dialogs, nullptr,
                             QCoreApplication::translate("brenzola::Avvio", "Impossibile creare l'archivio «%1».")
                                 .arg(mostrato(personale)));
                return {};
            }
            impostazioni.remove(kArchivioScelto);
            return personale;
        case MsgAnswer::No: {
            const QString scelto = dialogs.ChooseFile(
                nullptr, QCoreApplication::translate("brenzola::Avvio", "Apri un archivio dei contatti"), QDir::homePath(),
                QCoreApplication::translate("brenzola::Avvio",
                                            "Archivi dei contatti (*.mdb *.sqlite *.db);;"
                                            "Tutti i file (*)"));
            if (scelto.isEmpty()) continue;  // back to the question
            QString assoluto = QFileInfo(scelto).absoluteFilePath();
            impostazioni.setValue(kArchivioScelto, assoluto);
            return assoluto;
        }
        default:
            return {};
        }
    }
}

int AvviaProgramma(Dialogs& dialogs, const QStringList& argomenti)
{
    RigaDiComando riga(
        QCoreApplication::translate("brenzola::Avvio", "[--archivio FILE|CONNESSIONE]"),
        QCoreApplication::translate("brenzola::Avvio",
                                    "Apre l'anagrafica dei contatti.\n\n"
                                    "  --archivio FILE         usa l'archivio FILE invece di quello abituale\n"
                                    "  --archivio CONNESSIONE  usa l'archivio su un server PostgreSQL, per esempio\n"
                                    "      \"Provider=Brenzola.PostgreSQL;Host=server;Database=brenzola;User=anna\"\n"
                                    "      (la password viene da ~/.pgpass o da un file di servizio, o viene chiesta)\n"
                                    "  -h, --help              mostra questo aiuto\n"
                                    "  --version               mostra la versione\n\n"
                                    "Senza --archivio si usa, nell'ordine: un Brenzola.mdb accanto al programma; "
                                    "l'archivio indicato\nin %1; l'archivio personale in %2.\n")
            .arg(mostrato(Funzioni::FileImpostazioni()), mostrato(Funzioni::ArchivioPersonale())),
        {{QStringLiteral("archivio"), QString(), QStringLiteral("FILE")}}, 0);
    if (const int fine = riga.leggi(argomenti); fine >= 0) return fine;

    QString archivio;
    if (riga.parser().isSet(QStringLiteral("archivio"))) {
        // Named on purpose: a missing file is a mistake to point out, never a store to create.
        archivio = riga.parser().value(QStringLiteral("archivio"));
        if (!Funzioni::SulServer(archivio)) archivio = QFileInfo(archivio).absoluteFilePath();
        if (!Funzioni::SulServer(archivio) && !QFileInfo::exists(archivio)) {
            dialogs.MsgBox(nullptr,
                           {QCoreApplication::translate("brenzola::Avvio", "L'archivio «%1» indicato con --archivio non esiste.")
                                .arg(mostrato(archivio)),
                            MsgButtons::Ok, MsgIcon::Critical});
            return 1;
        }
    } else {
        archivio = ArchivioDaUsare();
        if (!Funzioni::SulServer(archivio) && !QFileInfo::exists(archivio)) archivio = PrimoAvvio(dialogs, archivio);
        if (archivio.isEmpty()) return 0;
    }

    // An Access file from the old program is converted, with consent, before anything else.
    if (!Funzioni::SulServer(archivio) && !PreparaArchivioAccess(dialogs, nullptr, archivio)) return 1;
    bool archivioUsabile = true;
    Registro registro;  // the program's state, from here to the end
    frmSplash splash(
        [&] {
            FrmBrenzola principale(dialogs, nullptr, registro);
            archivioUsabile = principale.Form_Load(archivio);
            if (!archivioUsabile) return;
            // Whom to call today, once the main window is up.
            QTimer::singleShot(0, &principale, &FrmBrenzola::AgendaAllAvvio);
            principale.MostraModale();
        },
        dialogs);
    splash.Form_Load();
    return archivioUsabile ? 0 : 1;
}

}  // namespace brenzola
