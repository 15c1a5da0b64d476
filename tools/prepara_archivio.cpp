// Prepares a new contact store: prepara_archivio [--demo N] FILE
#include "archivio.h"
#include "demodata.h"
#include "storeerror.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = application.arguments().mid(1);
    int demo = 0;
    if (args.size() == 3 && args[0] == QLatin1String("--demo")) {
        bool ok = false;
        demo = args[1].toInt(&ok);
        if (!ok || demo < 0) args.clear();
        else args = args.mid(2);
    }
    if (args.size() != 1) {
        err << "Uso: prepara_archivio [--demo N] FILE\n"
               "Crea un archivio dei contatti vuoto (con N contatti inventati, se richiesti).\n";
        return 2;
    }
    try {
        brenzola::CreaArchivio(args[0]);
        if (demo > 0) brenzola::AggiungiContattiDemo(args[0], demo);
    } catch (const brenzola::StoreError& error) {
        err << "Errore " << error.number() << ": " << error.description() << '\n';
        return 1;
    }
    out << "Creato " << args[0] << " con " << demo << " contatti.\n";
    return 0;
}
