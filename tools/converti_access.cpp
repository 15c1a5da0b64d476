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
        QCoreApplication::translate("converti_access", "[--accetta-differenze] INGRESSO USCITA"),
        QCoreApplication::translate(
            "converti_access",
            "Converte la tabella Anagrafica del file Access INGRESSO in un nuovo archivio USCITA.\n"
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
    const QString& input = args[0];
    const QString& output = args[1];

    try {
        const brenzola::AccessSurvey survey = brenzola::surveyAccessFile(input);
        out << QCoreApplication::translate("converti_access", "File Access: %1 (tabella %2, %3 record)")
                   .arg(QDir::toNativeSeparators(input), survey.tableName, QString::number(survey.rowCount))
            << '\n';
        if (!survey.incompatibleColumns.isEmpty())
            out << QCoreApplication::translate("converti_access", "Colonne non convertibili: %1")
                       .arg(survey.incompatibleColumns.join(QStringLiteral(", ")))
                << '\n';
        if (survey.columnsDiffer()) {
            out << survey.describeDifferences() << '\n';
            if (!accept) {
                err << QCoreApplication::translate("converti_access",
                                                   "Conversione non eseguita: le colonne non corrispondono. "
                                                   "Usare --accetta-differenze per convertire comunque.")
                    << '\n';
                return 3;
            }
        }
        out.flush();

        brenzola::ConversionOptions options;
        options.acceptColumnDifferences = accept;
        bool progressShown = false;
        options.progress = [&](qint64 read, qint64 total) {
            if (total < 1000) return;
            out << '\r' << QCoreApplication::translate("converti_access", "Lettura: %1 di %2 record").arg(read).arg(total)
                << Qt::flush;
            progressShown = true;
        };
        const brenzola::ConversionSummary summary = brenzola::convertAccessFile(input, output, options);
        if (progressShown) out << '\n';
        out << QCoreApplication::translate("converti_access", "Record letti: %1").arg(summary.rowsRead) << '\n'
            << QCoreApplication::translate("converti_access", "Record scritti: %1").arg(summary.rowsWritten) << '\n';
        if (summary.backupPath.isEmpty())
            out << QCoreApplication::translate("converti_access", "Nuovo archivio: %1 (il file Access non è stato modificato)")
                       .arg(QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath()))
                << '\n';
        else
            out << QCoreApplication::translate("converti_access", "Nuovo archivio: %1")
                       .arg(QDir::toNativeSeparators(QFileInfo(output).absoluteFilePath()))
                << '\n'
                << QCoreApplication::translate("converti_access", "Copia del file Access originale: %1")
                       .arg(QDir::toNativeSeparators(summary.backupPath))
                << '\n';
    } catch (...) {
        const brenzola::StoreError error = brenzola::ErroreCorrente();
        out.flush();
        err << '\n'
            << QCoreApplication::translate("converti_access", "Errore %1: %2")
                   .arg(QString::number(error.number()), error.description())
            << '\n';
        return 1;
    }
    return 0;
}
