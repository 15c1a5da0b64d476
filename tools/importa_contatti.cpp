// Adds the contacts of a vCard or CSV file to a register, all or none:
//   importa_contatti [--doppioni SCELTA] [--codifica C] [--separatore S] [--salta-illeggibili] FILE ARCHIVIO
#include "exchange/csv.h"
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
    RigaDiComando riga(
        QStringLiteral("[--doppioni SCELTA] [--codifica C] [--separatore S] [--salta-illeggibili] FILE ARCHIVIO"),
        QStringLiteral("Aggiunge all'archivio ARCHIVIO (un file, o la connessione a un server) i contatti del file FILE,\n"
                       "vCard (2.1, 3.0, 4.0) o CSV con una riga di intestazione, tutti insieme o nessuno.\n\n"
                       "  --doppioni SCELTA    per un contatto che c'è già: salta (così se manca), aggiungi o unisci\n"
                       "  --codifica C         per un CSV: utf-8, utf-16le, utf-16be o windows-1252 (così se manca,\n"
                       "                       quella riconosciuta)\n"
                       "  --separatore S       per un CSV: il carattere fra i campi (così se manca, quello riconosciuto)\n"
                       "  --salta-illeggibili  importa gli altri contatti quando alcuni non si possono leggere\n"
                       "  -h, --help           mostra questo aiuto\n"
                       "  --version            mostra la versione\n\n"
                       "Le colonne di un CSV vanno nei campi secondo le intestazioni (quelle di Brenzola, Outlook,\n"
                       "Google, Thunderbird, in italiano o in inglese); le altre non si importano.\n"),
        {{QStringLiteral("doppioni"), QString(), QStringLiteral("SCELTA")},
         {QStringLiteral("codifica"), QString(), QStringLiteral("C")},
         {QStringLiteral("separatore"), QString(), QStringLiteral("S")},
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
        err << "importa_contatti: --doppioni vuole salta, aggiungi o unisci, non «" << doppioni << "»\n";
        return 2;
    }
    const QHash<QString, Codifica> codifiche = {{QStringLiteral("utf-8"), Codifica::Utf8},
                                                {QStringLiteral("utf-16le"), Codifica::Utf16LE},
                                                {QStringLiteral("utf-16be"), Codifica::Utf16BE},
                                                {QStringLiteral("windows-1252"), Codifica::Windows1252}};
    const QString codifica = riga.parser().value(QStringLiteral("codifica")).toLower();
    if (riga.parser().isSet(QStringLiteral("codifica")) && !codifiche.contains(codifica)) {
        err << "importa_contatti: --codifica vuole utf-8, utf-16le, utf-16be o windows-1252, non «" << codifica << "»\n";
        return 2;
    }
    const QString separatore =
        riga.parser().value(QStringLiteral("separatore")).replace(QLatin1String("\\t"), QLatin1String("\t"));
    if (riga.parser().isSet(QStringLiteral("separatore")) && separatore.size() != 1) {
        err << "importa_contatti: --separatore vuole un solo carattere, non «" << separatore << "»\n";
        return 2;
    }

    try {
        const QByteArray dati = LeggiFile(file);
        Lettura lettura;
        if (sembraVCard(dati)) {
            lettura = leggiVCard(dati);
        } else {
            FormatoCsv formato = rilevaFormatoCsv(dati);
            if (!codifica.isEmpty()) formato.codifica = codifiche.value(codifica);
            if (!separatore.isEmpty()) formato.separatore = separatore[0];
            const TabellaCsv tabella = leggiCsv(dati, formato);
            const Colonne colonne = indovinaColonne(tabella.intestazioni);
            for (size_t c = 0; c < colonne.size(); ++c)
                out << "Colonna «" << tabella.intestazioni[qsizetype(c)] << "»: "
                    << (colonne[c] ? QString::fromUtf8(descrizione(*colonne[c]).etichetta) : QStringLiteral("non importata"))
                    << '\n';
            lettura = contattiDaCsv(tabella, colonne);
        }
        if (lettura.illeggibili() > 0 && !riga.parser().isSet(QStringLiteral("salta-illeggibili"))) {
            for (const Voce& voce : lettura.voci)
                if (!voce.errore.isEmpty()) err << voce.errore << '\n';
            err << "Importazione non eseguita: "
                << (lettura.illeggibili() == 1 ? QStringLiteral("1 contatto non si può leggere")
                                               : QStringLiteral("%1 contatti non si possono leggere").arg(lettura.illeggibili()))
                << ". Usare --salta-illeggibili per importare gli altri.\n";
            return 3;
        }
        lettura.origine = QFileInfo(file).fileName();
        Connection connection;
        connection.Open(Funzioni::StringaConnessionePer(archivio));
        const Scelta scelta = scelte.value(doppioni);
        const Riepilogo riepilogo =
            Importa(connection, lettura, [scelta](const Contatto&, const Voce&) { return std::optional<Scelta>(scelta); });
        out << "Aggiunti: " << riepilogo.aggiunti << "\nUniti a contatti già presenti: " << riepilogo.uniti
            << "\nNon importati: " << riepilogo.saltati.size() << '\n';
        for (const QString& saltato : riepilogo.saltati) out << "  " << saltato << '\n';
        for (auto i = riepilogo.ignorate.cbegin(); i != riepilogo.ignorate.cend(); ++i)
            out << "Dati ignorati: " << i.key() << " (" << i.value() << ")\n";
    } catch (...) {
        const StoreError error = ErroreCorrente();
        err << "Errore " << error.number() << ": " << error.description() << "\nL'archivio non è stato modificato.\n";
        return 1;
    }
    return 0;
}
