// Adds the contacts of a vCard, LDIF or CSV file to a register, all or none:
//   importa_contatti [--doppioni SCELTA] [--codifica C] [--separatore S] [--colonna I=C]... [--salta-illeggibili] FILE ARCHIVIO
#include "exchange/lettore.h"
#include "exchange/mappacsv.h"
#include "exchange/scambio.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

using namespace brenzola;

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    RigaDiComando riga(QCoreApplication::translate("importa_contatti",
                                                   "[--doppioni SCELTA] [--codifica C] [--separatore S] [--colonna I=C]... "
                                                   "[--salta-illeggibili] FILE ARCHIVIO"),
                       QCoreApplication::translate(
                           "importa_contatti",
                           "Aggiunge all'archivio ARCHIVIO (un file, o la connessione a un server) i contatti del file FILE,\n"
                           "vCard (2.1, 3.0, 4.0), LDIF (Thunderbird) o CSV con una riga di intestazione, tutti insieme o\n"
                           "nessuno.\n\n"
                           "  --doppioni SCELTA    per un contatto che c'è già: salta (così se manca), aggiungi o unisci\n"
                           "  --codifica C         per un CSV: utf-8, utf-16le, utf-16be o windows-1252 (così se manca,\n"
                           "                       quella riconosciuta)\n"
                           "  --separatore S       per un CSV: il carattere fra i campi (così se manca, quello riconosciuto)\n"
                           "  --colonna I=C        per un CSV: la colonna con intestazione I va nel campo C (Cognome, Nome,\n"
                           "                       Cell, Data Nasc., ...); con C vuoto, nei commenti. Si può ripetere\n"
                           "  --salta-illeggibili  importa gli altri contatti quando alcuni non si possono leggere\n"
                           "  -h, --help           mostra questo aiuto\n"
                           "  --version            mostra la versione\n\n"
                           "Le colonne di un CSV vanno nei campi secondo le intestazioni (quelle di Brenzola, Outlook,\n"
                           "Google, Thunderbird, in italiano o in inglese); le altre vanno nei commenti, con l'intestazione.\n"),
                       {{QStringLiteral("doppioni"), QString(), QStringLiteral("SCELTA")},
                        {QStringLiteral("codifica"), QString(), QStringLiteral("C")},
                        {QStringLiteral("separatore"), QString(), QStringLiteral("S")},
                        {QStringLiteral("colonna"), QString(), QStringLiteral("I=C")},
                        {QStringLiteral("salta-illeggibili"), QString()}},
                       2);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QString file = riga.argomenti()[0];
    const QString archivio = riga.argomenti()[1];
    const QHash<QString, Scelta> scelte = {{QStringLiteral("salta"), Scelta::Salta},
                                           {QStringLiteral("aggiungi"), Scelta::Aggiungi},
                                           {QStringLiteral("unisci"), Scelta::Unisci}};
    const QString doppioni = riga.parser().isSet(QStringLiteral("doppioni")) ? riga.parser().value(QStringLiteral("doppioni"))
                                                                             : QStringLiteral("salta");
    if (!scelte.contains(doppioni)) {
        err << "importa_contatti: "
            << QCoreApplication::translate("importa_contatti", "--doppioni vuole salta, aggiungi o unisci, non «%1»")
                   .arg(doppioni)
            << '\n';
        return 2;
    }
    const QHash<QString, Codifica> codifiche = {{QStringLiteral("utf-8"), Codifica::Utf8},
                                                {QStringLiteral("utf-16le"), Codifica::Utf16LE},
                                                {QStringLiteral("utf-16be"), Codifica::Utf16BE},
                                                {QStringLiteral("windows-1252"), Codifica::Windows1252}};
    const QString codifica = riga.parser().value(QStringLiteral("codifica")).toLower();
    if (riga.parser().isSet(QStringLiteral("codifica")) && !codifiche.contains(codifica)) {
        err << "importa_contatti: "
            << QCoreApplication::translate("importa_contatti",
                                           "--codifica vuole utf-8, utf-16le, utf-16be o windows-1252, non «%1»")
                   .arg(codifica)
            << '\n';
        return 2;
    }
    const QString separatore =
        riga.parser().value(QStringLiteral("separatore")).replace(QLatin1String("\\t"), QLatin1String("\t"));
    if (riga.parser().isSet(QStringLiteral("separatore")) && separatore.size() != 1) {
        err << "importa_contatti: "
            << QCoreApplication::translate("importa_contatti", "--separatore vuole un solo carattere, non «%1»").arg(separatore)
            << '\n';
        return 2;
    }

    // A --colonna that names no column of the file, found when its header is read.
    struct ColonnaSbagliata {
        QString scelta;
    };
    try {
        OpzioniCsv opzioni;
        if (!codifica.isEmpty()) opzioni.codifica = codifiche.value(codifica);
        if (!separatore.isEmpty()) opzioni.separatore = separatore[0];
        const QStringList scelteColonne = riga.parser().values(QStringLiteral("colonna"));
        opzioni.mappa = [&](MappaCsv& mappa) {
            for (const QString& scelta : scelteColonne) {
                const qsizetype uguale = scelta.lastIndexOf(u'=');
                qsizetype colonna = -1;
                for (qsizetype c = 0; c < mappa.colonne() && colonna < 0; ++c)
                    if (mappa.intestazione(c) == scelta.left(uguale).trimmed()) colonna = c;
                const QString nomeCampo = scelta.mid(uguale + 1).trimmed();
                const std::optional<Campo> campo = campoDaNome(nomeCampo);
                if (uguale < 0 || colonna < 0 || (!campo && !nomeCampo.isEmpty())) throw ColonnaSbagliata{scelta};
                mappa.assegna(colonna, campo);
            }
            for (qsizetype c = 0; c < mappa.colonne(); ++c)
                out << QCoreApplication::translate("importa_contatti", "Colonna «%1»: %2")
                           .arg(mappa.intestazione(c), mappa.campo(c)
                                                           ? QString::fromUtf8(descrizione(*mappa.campo(c)).etichetta)
                                                           : QCoreApplication::translate("importa_contatti", "nei commenti"))
                    << '\n';
        };
        const std::unique_ptr<LettoreVoci> lettore = apriLettore(file, opzioni);
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(archivio));
        const Scelta scelta = scelte.value(doppioni);
        // A pair that only may be one person is never merged or skipped unseen: both are kept.
        // The same contact again (its UID) is brought up to date when merging is asked.
        const auto decidi = [scelta](const Contatto& esistente, const Voce& letta,
                                     const Confronto& perche) -> std::optional<Scelta> {
            if (perche.esito != Somiglianza::Stesso) return Scelta::Aggiungi;
            const bool stessoUid = !letta.contatto.uid.isEmpty() && letta.contatto.uid == esistente.uid;
            return stessoUid && scelta == Scelta::Unisci ? Scelta::Aggiorna : scelta;
        };
        OpzioniImportazione importazione;
        importazione.origine = QFileInfo(file).fileName();
        importazione.scelta = decidi;
        importazione.sceltaImmediata = true;
        if (!riga.parser().isSet(QStringLiteral("salta-illeggibili")))
            importazione.conferma = [&err](int illeggibili, int, const QStringList& primi) {
                for (const QString& errore : primi) err << errore << '\n';
                if (illeggibili > primi.size()) err << "…\n";
                err << (illeggibili == 1
                            ? QCoreApplication::translate("importa_contatti",
                                                          "Importazione non eseguita: 1 contatto non si può leggere. "
                                                          "Usare --salta-illeggibili per importare gli altri.")
                            : QCoreApplication::translate("importa_contatti",
                                                          "Importazione non eseguita: %1 contatti non si possono "
                                                          "leggere. Usare --salta-illeggibili per importare gli altri.")
                                  .arg(illeggibili))
                    << '\n';
                return false;
            };
        const Riepilogo riepilogo = Importa(connection, *lettore, importazione);
        if (riepilogo.annullato) return 3;
        for (const QString& avviso : riepilogo.avvisi) out << avviso << '\n';
        out << QCoreApplication::translate("importa_contatti", "Aggiunti: %1").arg(riepilogo.aggiunti) << '\n'
            << QCoreApplication::translate("importa_contatti", "Uniti a contatti già presenti: %1").arg(riepilogo.uniti) << '\n'
            << QCoreApplication::translate("importa_contatti", "Non importati: %1").arg(riepilogo.nonImportati) << '\n';
        if (riepilogo.aggiornati > 0)
            out << QCoreApplication::translate("importa_contatti", "Aggiornati (lo stesso UID): %1").arg(riepilogo.aggiornati)
                << '\n';
        for (const QString& saltato : riepilogo.saltati) out << "  " << saltato << '\n';
        if (riepilogo.nonImportati > riepilogo.saltati.size())
            out << "  "
                << QCoreApplication::translate("importa_contatti", "… e altri %1")
                       .arg(riepilogo.nonImportati - riepilogo.saltati.size())
                << '\n';
        for (auto i = riepilogo.ignorate.cbegin(); i != riepilogo.ignorate.cend(); ++i)
            out << QCoreApplication::translate("importa_contatti", "Dati ignorati: %1 (%2)")
                       .arg(i.key(), QString::number(i.value()))
                << '\n';
    } catch (const ColonnaSbagliata& sbagliata) {
        err << "importa_contatti: "
            << QCoreApplication::translate("importa_contatti",
                                           "--colonna «%1»: serve INTESTAZIONE=CAMPO, con un'intestazione del file e un campo "
                                           "di Brenzola")
                   .arg(sbagliata.scelta)
            << '\n';
        return 2;
    } catch (...) {
        const StoreError error = ErroreCorrente();
        err << QCoreApplication::translate("importa_contatti", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n'
            << QCoreApplication::translate("importa_contatti", "L'archivio non è stato modificato.") << '\n';
        return 1;
    }
    return 0;
}
