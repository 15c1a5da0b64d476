// Adds the contacts of a vCard, LDIF or CSV file to a register, all or none:
//   importa_contatti [--doppioni SCELTA] [--codifica C] [--separatore S] [--colonna I=C]... [--salta-illeggibili] FILE ARCHIVIO
#include "exchange/csv.h"
#include "exchange/ldif.h"
#include "exchange/mappacsv.h"
#include "exchange/scambio.h"
#include "exchange/vcard.h"
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

    try {
        const QByteArray dati = LeggiFile(file);
        Lettura lettura;
        if (sembraVCard(dati)) {
            lettura = leggiVCard(dati);
        } else if (sembraLdif(dati)) {
            lettura = leggiLdif(dati);
        } else {
            FormatoCsv formato = rilevaFormatoCsv(dati);
            if (!codifica.isEmpty()) formato.codifica = codifiche.value(codifica);
            if (!separatore.isEmpty()) formato.separatore = separatore[0];
            const TabellaCsv tabella = leggiCsv(dati, formato);
            MappaCsv mappa = mappaIndovinata(tabella, formato.separatore == u';');
            for (const QString& scelta : riga.parser().values(QStringLiteral("colonna"))) {
                const qsizetype uguale = scelta.lastIndexOf(u'=');
                const qsizetype colonna = tabella.intestazioni.indexOf(scelta.left(uguale).trimmed());
                const QString nomeCampo = scelta.mid(uguale + 1).trimmed();
                const std::optional<Campo> campo = campoDaNome(nomeCampo);
                if (uguale < 0 || colonna < 0 || (!campo && !nomeCampo.isEmpty())) {
                    err << "importa_contatti: "
                        << QCoreApplication::translate("importa_contatti",
                                                       "--colonna «%1»: serve INTESTAZIONE=CAMPO, con un'intestazione del "
                                                       "file e un campo di Brenzola")
                               .arg(scelta)
                        << '\n';
                    return 2;
                }
                mappa.assegna(colonna, campo);
            }
            for (qsizetype c = 0; c < mappa.colonne(); ++c)
                out << QCoreApplication::translate("importa_contatti", "Colonna «%1»: %2")
                           .arg(tabella.intestazioni[c], mappa.campo(c)
                                                             ? QString::fromUtf8(descrizione(*mappa.campo(c)).etichetta)
                                                             : QCoreApplication::translate("importa_contatti", "nei commenti"))
                    << '\n';
            lettura = contattiDaCsv(tabella, mappa);
        }
        for (const Voce& voce : lettura.voci)
            for (const QString& avviso : voce.avvisi) out << avviso << '\n';
        if (lettura.illeggibili() > 0 && !riga.parser().isSet(QStringLiteral("salta-illeggibili"))) {
            for (const Voce& voce : lettura.voci)
                if (!voce.errore.isEmpty()) err << voce.errore << '\n';
            err << (lettura.illeggibili() == 1
                        ? QCoreApplication::translate("importa_contatti",
                                                      "Importazione non eseguita: 1 contatto non si può leggere. "
                                                      "Usare --salta-illeggibili per importare gli altri.")
                        : QCoreApplication::translate("importa_contatti",
                                                      "Importazione non eseguita: %1 contatti non si possono leggere. "
                                                      "Usare --salta-illeggibili per importare gli altri.")
                              .arg(lettura.illeggibili()))
                << '\n';
            return 3;
        }
        lettura.origine = QFileInfo(file).fileName();
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(archivio));
        const Scelta scelta = scelte.value(doppioni);
        const Riepilogo riepilogo =
            Importa(connection, lettura, [scelta](const Contatto&, const Voce&) { return std::optional<Scelta>(scelta); });
        out << QCoreApplication::translate("importa_contatti", "Aggiunti: %1").arg(riepilogo.aggiunti) << '\n'
            << QCoreApplication::translate("importa_contatti", "Uniti a contatti già presenti: %1").arg(riepilogo.uniti) << '\n'
            << QCoreApplication::translate("importa_contatti", "Non importati: %1").arg(riepilogo.saltati.size()) << '\n';
        for (const QString& saltato : riepilogo.saltati) out << "  " << saltato << '\n';
        for (auto i = riepilogo.ignorate.cbegin(); i != riepilogo.ignorate.cend(); ++i)
            out << QCoreApplication::translate("importa_contatti", "Dati ignorati: %1 (%2)")
                       .arg(i.key(), QString::number(i.value()))
                << '\n';
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
