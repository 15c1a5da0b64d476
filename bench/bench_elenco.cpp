// Times the contact list at 10,000, 100,000 and 1,000,000 contacts: the window listed from
// start, every quick-search keystroke (with the repaint it causes), a full refill beside the
// bare statement in the store's plain order, choosing and saving a contact, and the peak
// memory. Each size is measured in a process of its own, so that the peak is the window's.
// Prints one figure per line as `name value unit`.
#include "accessdialect.h"
#include "archivio.h"
#include "benchsupport.h"
#include "demodata.h"
#include "elenconomi.h"
#include "frmbrenzola.h"
#include "funzioni.h"
#include "moduli.h"
#include "recordset.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace brenzola;
using bench::medianMs;
using bench::print;

namespace {

void settle() { QCoreApplication::processEvents(); }

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    const QRegularExpression hwm(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = hwm.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() / 1024 : 0;
}

void measure(const QString& archivio, int contacts)
{
    bench::QuietDialogs dialogs;
    QElapsedTimer started;
    started.start();
    FrmBrenzola form(dialogs);
    if (!form.Form_Load(archivio)) return;
    form.show();
    settle();
    print("start_to_listed", contacts, double(started.nsecsElapsed()) / 1e6, "ms");
    auto* list = form.findChild<ElencoNomi*>(QStringLiteral("List1"));
    auto* ricerca = form.findChild<QLineEdit*>(QStringLiteral("TxtRicerca"));
    if (list->count() != contacts) std::fprintf(stderr, "listed %d of %d\n", list->count(), contacts);

    // Typing a surname and deleting it again, one keystroke at a time, each repainted.
    const QStringList typing = {"r", "ro", "ros", "ross", "rossi", "ross", "ros", "ro", "r", "", "e", "es", "esp", "es", "e", ""};
    std::vector<double> keystrokes, firstLetters, clears;
    for (int round = 0; round < 3; ++round)
        for (qsizetype k = 0; k < typing.size(); ++k) {
            QElapsedTimer timer;
            timer.start();
            ricerca->setText(typing[k]);
            settle();
            const double ms = double(timer.nsecsElapsed()) / 1e6;
            keystrokes.push_back(ms);
            if (typing[k].isEmpty()) clears.push_back(ms);
            else if (typing[k].size() == 1 && (k == 0 || typing[k - 1].isEmpty())) firstLetters.push_back(ms);
        }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    print("keystroke_median", contacts, median(keystrokes), "ms");
    print("keystroke_max", contacts, *std::max_element(keystrokes.begin(), keystrokes.end()), "ms");
    print("keystroke_first_letter_median", contacts, median(firstLetters), "ms");
    print("keystroke_clear_median", contacts, median(clears), "ms");
    // What one keystroke cost when each asked the store: its statement alone, plain order.
    const Engine engine = Funzioni::Connessione->engine();
    const auto plain = [engine](const QString& accessSql) {
        QString sql = translateAccessSql(accessSql, engine);
        return sql.remove(QStringLiteral(" COLLATE ") + QLatin1String(kItalianOrderCollation))
            .remove(QStringLiteral(" COLLATE \"%1\"").arg(QLatin1String(kServerOrderCollation)));
    };
    const auto timeStatement = [&](const QString& sql) {
        return medianMs(11, [&](int) {
            QSqlQuery query(Funzioni::Connessione->database());
            query.setForwardOnly(true);
            query.exec(sql);
            qsizetype characters = 0;
            while (query.next()) characters += query.value(0).toString().size() + query.value(1).toLongLong() % 2;
            if (characters == 0) std::fprintf(stderr, "no rows\n");
        });
    };
    print("statement_quick_search_ro", contacts,
          timeStatement(plain(QStringLiteral("Select Cognome & ' ' & Nome, id from Anagrafica where cognome like '%ro%' "
                                             "ORDER BY Cognome & ' ' & Nome"))),
          "ms");

    const double refill = medianMs(11, [&](int) {
        form.ElencaTutti();
        settle();
    });
    print("elenca_tutti", contacts, refill, "ms");
    // The floor: the list's statement alone, read whole, in the store's plain order.
    const double floor = timeStatement(plain(FrmBrenzola::QueryLista()));
    print("statement_plain_order", contacts, floor, "ms");
    print("elenca_tutti_over_statement", contacts, refill / floor, "x");

    // Another program renames a contact: the next refill reads the store again.
    Connection other;
    other.Open(Funzioni::StringaConnessionePer(archivio));
    print("elenca_tutti_after_other_program", contacts, medianMs(5, [&](int i) {
              other.Execute(QStringLiteral("Update Anagrafica set Cognome = 'Altrove%1' where id = %2").arg(i).arg(1 + i));
              form.ElencaTutti();
              settle();
          }), "ms");
    other.Close();

    // Entries spread over the whole list, chosen as a click would choose them.
    print("load_from_list", contacts, medianMs(31, [&](int i) {
              list->setCurrentRow(int((qint64(i) * 7919 * 13) % list->count()));
              settle();
          }), "ms");

    // Saves with the refill that follows them: a changed telephone, then a changed surname,
    // which moves the contact in the list.
    auto* telefono = form.findChild<QLineEdit*>(QStringLiteral("TxtTelefono"));
    print("save_with_refill", contacts, medianMs(11, [&](int i) {
              telefono->setText(QStringLiteral("0%1").arg(i));
              form.CmdSalva_Click();
              settle();
          }), "ms");
    auto* cognome = form.findChild<QLineEdit*>(QStringLiteral("TxtCognome"));
    print("save_renamed_with_refill", contacts, medianMs(11, [&](int i) {
              cognome->setText(QStringLiteral("Bench%1").arg(i % 2 ? 'a' : 'z'));
              form.CmdSalva_Click();
              settle();
          }), "ms");

    print("peak_memory", contacts, peakMegabytes(), "MB");
    form.Form_Unload();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Funzioni::ApplicaImpostazioniItaliane(application);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() == 3 && arguments[0] == u"--misura") {
        measure(arguments[1], arguments[2].toInt());
        return 0;
    }
    QStringList sizes = arguments;
    if (sizes.isEmpty()) sizes = {"10000", "100000", "1000000"};
    for (const QString& size : sizes) {
        const bench::ArchivioDemo store(size.toInt());
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(application.applicationFilePath(), {QStringLiteral("--misura"), store.archivio(), size});
        child.waitForFinished(-1);
    }
    return 0;
}
