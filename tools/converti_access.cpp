// Converts the contacts of an Access file into a new store:
//   converti_access [--accetta-differenze] INPUT OUTPUT
// With OUTPUT the same file as INPUT, the store takes the Access file's place and the
// original is kept beside it under a backup name; otherwise INPUT is left untouched and
// OUTPUT must not exist yet.
#include "access/accessconversion.h"
#include "store/rigadicomando.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    brenzola::RigaDiComando riga(
        QStringLiteral("[--accetta-differenze] INGRESSO USCITA"),
        QStringLiteral("Converte la tabella Anagrafica del file Access INGRESSO in un nuovo archivio USCITA.\n"
                       "Se USCITA è lo stesso file di INGRESSO, il nuovo archivio ne prende il posto e il file\n"
                       "Access originale resta accanto con un nome di copia; altrimenti INGRESSO non viene\n"
                       "toccato e USCITA non deve esistere.\n\n"
                       "  --accetta-differenze  converte anche se le colonne non corrispondono a quelle dell'archivio\n"
                       "  -h, --help            mostra questo aiuto\n"
                       "  --version             mostra la versione\n"),
        {{QStringLiteral("accetta-differenze"), QString()}}, 2);
    if (const int fine = riga.leggi(application.arguments()); fine >= 0) return fine;

    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool accept = riga.parser().isSet(QStringLiteral("accetta-differenze"));
    const QStringList args = riga.argomenti();
    const QString input = args[0];
    const QString output = args[1];

    try {
        const brenzola::AccessSurvey survey = brenzola::surveyAccessFile(input);
        out << "File Access: " << QDir::toNativeSeparators(input) << " (tabella " << survey.tableName << ", " << survey.rowCount
            << " record)\n";
        if (!survey.incompatibleColumns.isEmpty())
            out << "Colonne non convertibili: " << survey.incompatibleColumns.join(QStringLiteral(", ")) << '\n';
        if (survey.columnsDiffer()) {
            out << survey.describeDifferences() << '\n';
            if (!accept) {
                err << "Conversione non eseguita: le colonne non corrispondono. "
                       "Usare --accetta-differenze per convertire comunque.\n";
                return 3;
            }
        }
        out.flush();

        brenzola::ConversionOptions options;
        options.acceptColumnDifferences = accept;
        bool progressShown = false;
        options.progress = [&](qint64 read, qint64 total) {
            if (total < 1000) return;
            out << "\rLettura: " << read << " di " << total << " record" << Qt::flush;
            progressShown = true;
        };
        const brenzola::ConversionSummary summary = brenzola::convertAccessFile(input, output, options);
        if (progressShown) out << '\n';
        out << "Record letti: " << summary.rowsRead << '\n' << "Record scritti: " << summary.rowsWritten << '\n';
        if (summary.backupPath.isEmpty())
            out << "Nuovo archivio: " << QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath())
                << " (il file Access non è stato modificato)\n";
        else
            out << "Nuovo archivio: " << QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath()) << '\n'
                << "Copia del file Access originale: " << QDir::toNativeSeparators(summary.backupPath) << '\n';
    } catch (...) {
        const brenzola::StoreError error = brenzola::ErroreCorrente();
        out.flush();
        err << "\nErrore " << error.number() << ": " << error.description() << '\n';
        return 1;
    }
    return 0;
}
