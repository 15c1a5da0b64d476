// Times the follow-up agenda at a given register size: reading it from the store, and
// opening its window. Prints `name value unit` lines.
#include "agenda.h"
#include "archivio.h"
#include "benchsupport.h"
#include "frmagenda.h"
#include "funzioni.h"

#include <QApplication>

using namespace brenzola;
using bench::medianMs;
using bench::print;

namespace {

void measure(int contacts, const QDate& oggi)
{
    const bench::ArchivioDemo store(contacts);
    Funzioni::ApriDatabase(store.archivio());
    AggiungiIndici(*Funzioni::Connessione);  // as the program does when it opens a store
    bench::QuietDialogs dialogs;
    Agenda agenda;
    print("agenda_read", contacts, medianMs(11, [&](int) { agenda = LeggiAgenda(*Funzioni::Connessione, oggi, 7); }), "ms");
    print("agenda_overdue", contacts, double(agenda.scaduti.size()), "contacts");
    print("agenda_due", contacts, double(agenda.diOggi.size() + agenda.prossimi.size()), "contacts");
    print("agenda_birthdays", contacts, double(agenda.compleanni.size()), "contacts");
    print("agenda_window_open", contacts, medianMs(11, [&](int) {
              FrmAgenda finestra(dialogs, nullptr, [oggi] { return oggi; });
              finestra.show();
              QApplication::processEvents();
          }), "ms");
    Funzioni::ChiudiDatabase();
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The demo contacts' dates to call again fall in 2026 and 2027: at the start of 2026
    // few are overdue, at its end almost half the register is.
    const QStringList sizes = application.arguments().mid(1);
    for (const QString& size : sizes.isEmpty() ? QStringList{QStringLiteral("100000")} : sizes) {
        measure(size.toInt(), QDate(2026, 1, 5));
        measure(size.toInt(), QDate(2026, 12, 8));
    }
    return 0;
}
