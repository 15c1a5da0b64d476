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
    const QString portatile = Funzioni::ArchivioAccantoAlProgramma();
    if (QFileInfo(portatile).isReadable()) return portatile;
    const QString scelto = QSettings(Funzioni::FileImpostazioni(), QSettings::IniFormat).value(kArchivioScelto).toString();
    return scelto.isEmpty() ? Funzioni::ArchivioPersonale() : scelto;
}

void RicordaArchivio(const QString& archivio)
{
    QSettings impostazioni(Funzioni::FileImpostazioni(), QSettings::IniFormat);
    if (archivio == Funzioni::ArchivioPersonale())
        impostazioni.remove(kArchivioScelto);
    else if (archivio != Funzioni::ArchivioAccantoAlProgramma())
        impostazioni.setValue(kArchivioScelto, archivio);
}

QString PrimoAvvio(Dialogs& dialogs, const QString& mancante, const QString& problema)
{
    QString personale = Funzioni::ArchivioPersonale();
    QString testo;
    if (!problema.isEmpty())
        testo = QCoreApplication::translate("brenzola::Avvio", "L'archivio dei contatti «%1» non si può aprire.\n\n%2")
                    .arg(mostrato(mancante), problema);
    else if (mancante == personale)
        testo = QCoreApplication::translate("brenzola::Avvio", "Benvenuti in Brenzola. Non c'è ancora un archivio dei contatti.");
    else
        testo = QCoreApplication::translate("brenzola::Avvio", "L'archivio dei contatti «%1» non si trova più.")
                    .arg(mostrato(mancante));
    // The user's own store, when it is the one that cannot be opened, is not offered again as new.
    const bool puoCreare = !(QFileInfo::exists(personale) && mancante == personale);
    testo += puoCreare ? QCoreApplication::translate(
                             "brenzola::Avvio",
                             "\n\nSi può creare un archivio nuovo, vuoto, in «%1», oppure aprire un archivio che esiste già "
                             "(anche un file di Microsoft Access dalla versione precedente del programma).")
                             .arg(mostrato(personale))
                       : QCoreApplication::translate("brenzola::Avvio",
                                                     "\n\nSi può aprire un altro archivio che esiste già (anche un file di "
                                                     "Microsoft Access dalla versione precedente del programma).");
    Message domanda{testo, puoCreare ? MsgButtons::YesNoCancel : MsgButtons::YesNo, MsgIcon::Question,
                    QCoreApplication::translate("brenzola::Avvio", "Archivio dei contatti"),
                    puoCreare ? MsgAnswer::Yes : MsgAnswer::No};
    if (puoCreare) {
        domanda.yesCaption = QCoreApplication::translate("brenzola::Avvio", "Crea un archivio nuovo");
        domanda.noCaption = QCoreApplication::translate("brenzola::Avvio", "Apri un archivio...");
        domanda.cancelCaption = QCoreApplication::translate("brenzola::Avvio", "Esci");
    } else {
        domanda.yesCaption = QCoreApplication::translate("brenzola::Avvio", "Apri un archivio...");
        domanda.noCaption = QCoreApplication::translate("brenzola::Avvio", "Esci");
    }
    for (;;) {
        MsgAnswer risposta = dialogs.MsgBox(nullptr, domanda);
        if (!puoCreare) risposta = risposta == MsgAnswer::Yes ? MsgAnswer::No : MsgAnswer::Cancel;
        switch (risposta) {
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
            return personale;
        case MsgAnswer::No: {
            const QString scelto = dialogs.ChooseFile(
                nullptr, QCoreApplication::translate("brenzola::Avvio", "Apri un archivio dei contatti"), QDir::homePath(),
                QCoreApplication::translate("brenzola::Avvio",
                                            "Archivi dei contatti (*.mdb *.sqlite *.db);;"
                                            "Tutti i file (*)"));
            if (scelto.isEmpty()) continue;  // back to the question
            return QFileInfo(scelto).absoluteFilePath();
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

    const bool chiesto = riga.parser().isSet(QStringLiteral("archivio"));
    QString archivio;
    if (chiesto) {
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
        const QString portatile = Funzioni::ArchivioAccantoAlProgramma();
        if (QFileInfo::exists(portatile) && !QFileInfo(portatile).isReadable())
            dialogs.MsgBox(nullptr, {QCoreApplication::translate("brenzola::Avvio",
                                                                 "L'archivio «%1» accanto al programma non è leggibile da "
                                                                 "questo utente: si usa il suo archivio personale.")
                                         .arg(mostrato(portatile)),
                                     MsgButtons::Ok, MsgIcon::Information});
        archivio = ArchivioDaUsare();
        if (!Funzioni::SulServer(archivio) && !QFileInfo::exists(archivio)) archivio = PrimoAvvio(dialogs, archivio);
        if (archivio.isEmpty()) return 0;
    }

    Registro registro;  // the program's state, from here to the end
    for (;;) {
        std::optional<StoreError> problema;
        bool aperto = false;
        if (!Funzioni::SulServer(archivio) && !QFileInfo(archivio).isReadable()) {
            problema = StoreError(
                StoreErrorNumber::PermissionDenied,
                QCoreApplication::translate("brenzola::Avvio", "Permesso negato: il file non è leggibile da questo utente."));
        } else {
            // An Access file from the old program is converted, with consent, before anything else.
            if (!Funzioni::SulServer(archivio) && !PreparaArchivioAccess(dialogs, nullptr, archivio)) return 1;
            frmSplash splash(
                [&] {
                    FrmBrenzola principale(dialogs, nullptr, registro);
                    aperto = principale.Form_Load(archivio, &problema);
                    if (!aperto) return;
                    if (!chiesto) RicordaArchivio(archivio);
                    // Whom to call today, once the main window is up.
                    QTimer::singleShot(0, &principale, &FrmBrenzola::AgendaAllAvvio);
                    principale.MostraModale();
                },
                dialogs);
            splash.Form_Load();
        }
        if (aperto) return 0;
        const QString perche =
            QCoreApplication::translate("brenzola::Avvio", "Errore %1: %2").arg(problema->number()).arg(problema->description());
        if (chiesto) {
            dialogs.MsgBox(nullptr, {QCoreApplication::translate("brenzola::Avvio",
                                                                 "Impossibile usare l'archivio dei "
                                                                 "contatti «%1».\n\n%2")
                                         .arg(Funzioni::NomeArchivio(archivio), perche),
                                     MsgButtons::Ok, MsgIcon::Critical});
            return 1;
        }
        // Never a dead end: the user chooses another store, or a new one, or leaves.
        archivio = PrimoAvvio(dialogs, archivio, perche);
        if (archivio.isEmpty()) return 1;
    }
}

}  // namespace brenzola
