// Prepares a new contact store: prepara_archivio [--demo N] [--dati TIPO] FILE|CONNESSIONE
#include "demodata.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QHash>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    brenzola::RigaDiComando riga(
        QCoreApplication::translate("prepara_archivio", "[--demo N] [--dati TIPO] FILE|CONNESSIONE"),
        QCoreApplication::translate(
            "prepara_archivio",
            "Crea un archivio dei contatti vuoto nel file FILE, che non deve esistere, oppure nel database\n"
            "PostgreSQL indicato da CONNESSIONE (per esempio \"Provider=Brenzola.PostgreSQL;Host=server;\n"
            "Database=brenzola;User=amministratore\"), che non deve contenere la tabella Anagrafica.\n\n"
            "  --demo N          aggiunge N contatti inventati, sempre gli stessi\n"
            "  --dati TIPO       i loro nomi: demo (60 cognomi, così se manca), realistici (200.000\n"
            "                    cognomi, pochi molto comuni e molti rari, come in un archivio vero) o\n"
            "                    distinti (ogni contatto un cognome suo)\n"
            "  -h, --help        mostra questo aiuto\n"
            "  --version         mostra la versione\n"),
        {{QStringLiteral("demo"), QString(), QStringLiteral("N")}, {QStringLiteral("dati"), QString(), QStringLiteral("TIPO")}},
        1);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    int demo = 0;
    if (riga.parser().isSet(QStringLiteral("demo"))) {
        bool ok = false;
        demo = riga.parser().value(QStringLiteral("demo")).toInt(&ok);
        if (!ok || demo < 0) {
            err << "prepara_archivio: "
                << QCoreApplication::translate("prepara_archivio", "--demo vuole un numero di contatti, non «%1»")
                       .arg(riga.parser().value(QStringLiteral("demo")))
                << '\n';
            return 2;
        }
    }
    const QHash<QString, brenzola::Varieta> varieta = {{QStringLiteral("demo"), brenzola::Varieta::Demo},
                                                       {QStringLiteral("realistici"), brenzola::Varieta::Realistica},
                                                       {QStringLiteral("distinti"), brenzola::Varieta::Distinti}};
    const QString dati =
        riga.parser().isSet(QStringLiteral("dati")) ? riga.parser().value(QStringLiteral("dati")) : QStringLiteral("demo");
    if (!varieta.contains(dati)) {
        err << "prepara_archivio: "
            << QCoreApplication::translate("prepara_archivio", "--dati vuole demo, realistici o distinti, non «%1»").arg(dati)
            << '\n';
        return 2;
    }
    const QString file = riga.argomenti().front();
    try {
        brenzola::CreaArchivio(file);
        if (demo > 0) brenzola::AggiungiContattiDemo(file, demo, 1, varieta.value(dati));
    } catch (...) {
        const brenzola::StoreError error = brenzola::ErroreCorrente();
        err << QCoreApplication::translate("prepara_archivio", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n';
        return 1;
    }
    out << QCoreApplication::translate("prepara_archivio", "Creato %1 con %2 contatti.")
               .arg(brenzola::Funzioni::NomeArchivio(file), QString::number(demo))
        << '\n';
    return 0;
}
