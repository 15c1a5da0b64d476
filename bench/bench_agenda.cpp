// Times the follow-up agenda at a given register size: the start-up check, reading it
// from the store, opening its window, reading it again after a change, and choosing a
// contact deep in the list; with the memory each adds at its peak. Prints `name value
// unit` lines; `bench_agenda [--dati demo|realistic|distinct|all] [N...]`, 100,000 and
// 1,000,000 contacts of every data set by default.
#include "agenda/agenda.h"
#include "agenda/ui/frmagenda.h"
#include "benchsupport.h"
#include "store/archivio.h"
#include "store/funzioni.h"

#include <QApplication>
#include <QFile>

#include <malloc.h>

using namespace brenzola;
using bench::medianMs;
using bench::print;

namespace {

// The memory `work` adds at its peak over what was resident before it, in MB. Memory
// freed earlier goes back to the system first, so that reusing it does not hide a peak;
// the peak starts again from here (Linux's clear_refs), or else counts from the start.
double peakMb(const std::function<void()>& work)
{
    malloc_trim(0);
    const bool reset = bench::resetPeak();
    const double before = bench::statusMb("VmRSS");
    work();
    return bench::statusMb("VmHWM") - (reset ? before : 0);
}

void measure(int contacts, const QDate& oggi)
{
    const bench::ArchivioDemo store(contacts, bench::datiCorrenti);
    Funzioni::ApriDatabase(store.archivio());
    AggiungiIndici(*Funzioni::Connessione());  // as the program does when it opens a store
    bench::QuietDialogs dialogs;
    const int runs = contacts >= 1000000 ? 5 : 11;

    bool urgente = false;
    print("agenda_urgent_check", contacts, medianMs(11, [&](int) { urgente = AgendaUrgente(*Funzioni::Connessione(), oggi); }),
          "ms");
    Agenda agenda;
    double read = 0;
    print("agenda_read_memory_peak", contacts, peakMb([&] {
              read = medianMs(runs, [&](int) {
                  agenda = Agenda();  // one agenda at a time, as the window holds it
                  agenda = LeggiAgenda(*Funzioni::Connessione(), oggi, 7);
              });
          }),
          "MB");
    print("agenda_read", contacts, read, "ms");
    if (urgente != agenda.urgente()) std::fprintf(stderr, "the start-up check disagrees with the agenda\n");
    print("agenda_overdue", contacts, double(agenda.scaduti.size()), "contacts");
    print("agenda_due", contacts, double(agenda.diOggi.size() + agenda.prossimi.size()), "contacts");
    print("agenda_birthdays", contacts, double(agenda.compleanni.size()), "contacts");
    const qint64 primo = agenda.scaduti.empty() ? 0 : agenda.scaduti.id(0);
    const qint64 profondo = agenda.scaduti.empty() ? 0 : agenda.scaduti.id(agenda.scaduti.size() - 1);
    agenda = Agenda();

    double open = 0;
    print("agenda_window_memory_peak", contacts, peakMb([&] {
              open = medianMs(runs, [&](int) {
                  FrmAgenda finestra(dialogs, nullptr, [oggi] { return oggi; });
                  finestra.show();
                  QApplication::processEvents();
              });
          }),
          "MB");
    print("agenda_window_open", contacts, open, "ms");

    // An open window after a save elsewhere: read again and shown again.
    FrmAgenda finestra(dialogs, nullptr, [oggi] { return oggi; });
    finestra.show();
    QApplication::processEvents();
    print("agenda_window_refresh", contacts,
          medianMs(runs,
                   [&](int run) {
                       Funzioni::Connessione()->Execute(
                           QStringLiteral("UPDATE Anagrafica SET Fonte = 'Agenda %1' WHERE id = 1").arg(run));
                       finestra.Aggiorna();
                       QApplication::processEvents();
                   }),
          "ms");
    // From the first overdue contact to the last, chosen and shown.
    print("agenda_choose_last_overdue", contacts,
          medianMs(11,
                   [&](int) {
                       finestra.Scegli(primo);
                       finestra.Scegli(profondo);
                       QApplication::processEvents();
                   }),
          "ms");
    if (profondo != 0 && finestra.IdScelto() != profondo) std::fprintf(stderr, "the last overdue contact was not chosen\n");
    Funzioni::ChiudiDatabase();
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    // The demo contacts' dates to call again fall in 2026 and 2027: at the start of 2026
    // few are overdue, at its end over a quarter of the register is.
    const bench::Argomenti argomenti =
        bench::leggiArgomenti(application.arguments().mid(1), {QStringLiteral("100000"), QStringLiteral("1000000")});
    for (const QString& size : argomenti.sizes)
        for (const bench::Dati dati : argomenti.dati) {
            bench::datiCorrenti = dati;
            measure(size.toInt(), QDate(2026, 1, 5));
            measure(size.toInt(), QDate(2026, 12, 8));
        }
    return 0;
}
