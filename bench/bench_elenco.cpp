// Times the contact list: one quick-search keystroke, a full refill, and the bare
// statement under them. Prints one figure per line as `name value unit`.
#include "accessdialect.h"
#include "archivio.h"
#include "benchsupport.h"
#include "demodata.h"
#include "frmbrenzola.h"
#include "funzioni.h"
#include "moduli.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace brenzola;
using bench::medianMs;
using bench::print;

namespace {

void measure(int contacts)
{
    const bench::ArchivioDemo store(contacts);
    bench::QuietDialogs dialogs;
    FrmBrenzola form(dialogs);
    if (!form.Form_Load(store.archivio())) return;
    auto* ricerca = form.findChild<QLineEdit*>(QStringLiteral("TxtRicerca"));

    // Typing a surname and deleting it again, one keystroke at a time.
    const QStringList typing = {"r", "ro", "ros", "ross", "rossi", "ross", "ros", "ro", "r", "", "e", "es", "esp", "es", "e", ""};
    std::vector<double> keystrokes;
    for (int round = 0; round < 3; ++round)
        for (const QString& text : typing) {
            QElapsedTimer timer;
            timer.start();
            ricerca->setText(text);
            keystrokes.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    std::sort(keystrokes.begin(), keystrokes.end());
    print("keystroke_median", contacts, keystrokes[keystrokes.size() / 2], "ms");
    print("keystroke_max", contacts, keystrokes.back(), "ms");

    const double refill = medianMs(11, [&](int) { form.ElencaTutti(); });
    print("elenca_tutti", contacts, refill, "ms");

    const Engine engine = Funzioni::Connessione->engine();
    const QString statement = translateAccessSql(FrmBrenzola::QueryLista(), engine);
    const double floor = medianMs(11, [&](int) {
        QSqlQuery query(Funzioni::Connessione->database());
        query.setForwardOnly(engine == Engine::SQLite);  // as the recordsets read it
        query.exec(statement);
        qsizetype characters = 0;
        while (query.next()) characters += query.value(0).toString().size();
        if (characters == 0) std::fprintf(stderr, "no rows\n");
    });
    print("statement_floor", contacts, floor, "ms");
    print("elenca_tutti_over_floor", contacts, refill / floor, "x");
    form.Form_Unload();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Funzioni::ApplicaImpostazioniItaliane(application);
    QStringList sizes = application.arguments().mid(1);
    if (sizes.isEmpty()) sizes = {"10000", "100000"};
    for (const QString& size : sizes) measure(size.toInt());
    return 0;
}
