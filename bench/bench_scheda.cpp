// Times the edit form at a given register size: loading a contact chosen in the list,
// saving it again with the list refill, the store's part of a save and, on a server,
// another desk's save and delete until this desk lists them, with the agenda never
// opened, opened and closed, and open. Prints `name value unit` lines.
#include "benchform.h"
#include "benchsupport.h"
#include "demodata.h"
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/giornale.h"
#include "store/recordset.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace brenzola;
using bench::medianMs;
using bench::print;

namespace {

void measure(int contacts, bench::Dati dati)
{
    bench::datiCorrenti = dati;
    const bench::ArchivioDemo store(contacts, dati);
    bench::QuietDialogs dialogs;
    FrmBrenzola form(dialogs);
    if (!form.Form_Load(store.archivio())) return;
    auto* list = form.findChild<ElencoNomi*>(QStringLiteral("List1"));

    // Entries spread over the whole list, chosen as a click would choose them.
    print("load_from_list", contacts,
          medianMs(31, [&](int i) { list->setCurrentRow(int((qint64(i) * 7919 * 13) % list->count())); }), "ms");

    const qint64 id = form.idCorrente();
    // Each save has something to write, as a user's would.
    auto* telefono = form.findChild<QLineEdit*>(QStringLiteral("TxtTelefono"));
    print("save_with_refill", contacts,
          medianMs(11,
                   [&](int i) {
                       telefono->setText(QStringLiteral("0%1").arg(i));
                       form.CmdSalva_Click();
                   }),
          "ms");

    // The store's own part of a save: find the row, assign fifteen fields, write it; with
    // a journal, as one operation, as the window saves.
    print("save_store_part", contacts,
          medianMs(51,
                   [&](int i) {
                       Recordset rs;
                       rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), Funzioni::Connessione());
                       for (const char* column : {"cognome", "nome", "TipoRef", "citta", "indirizzo", "Cap", "Email", "Telefono",
                                                  "Cell", "Fonte", "commenti", "prov"})
                           rs.SetField(QLatin1String(column), rs.Fields(QLatin1String(column)));
                       for (const char* column : {"DataIn", "DataNasc", "DataRicont"})
                           rs.SetField(QLatin1String(column), rs.Fields(QLatin1String(column)));
                       rs.SetField(QStringLiteral("Telefono"), QString::number(i));
                       InOperazione(*Funzioni::Connessione(), QStringLiteral("Salvataggio"), [&rs] { rs.Update(); });
                   }),
          "ms");

    if (bench::suServer()) {
        // Another desk renames a contact: how long until this desk lists the new name.
        Connection other;
        other.Open(store.archivio());
        print("listed_on_other_desk", contacts,
              medianMs(11,
                       [&](int i) {
                           const QString name = QStringLiteral("Aaaa%1").arg(i);
                           Recordset rs;
                           rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), &other);
                           rs.SetField(QStringLiteral("cognome"), name);
                           rs.Update();
                           QElapsedTimer waited;
                           waited.start();
                           while (!list->text(0).startsWith(name) && waited.elapsed() < 10000)
                               QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
                       }),
              "ms");
    }

    // The window shown, as a user has it, with the agenda in each of its states; the
    // contact on screen as stored now, since the cases above wrote it behind the form.
    form.show();
    bench::settle();
    form.MostraContatto(id);
    std::unique_ptr<Connection> other;
    if (bench::suServer()) {
        other = std::make_unique<Connection>();
        other->Open(store.archivio());
    }
    const qint64 rinominato = list->chiave(list->count() / 2);  // another desk's, never the one on screen
    int rinomine = 0;
    for (const bench::StatoAgenda stato : bench::kStatiAgenda) {
        bench::portaAgenda(form, stato);
        const auto nome = [stato](const char* caso) { return QByteArray(caso) + '_' + bench::nomeStato(stato); };
        print(nome("save_answering").constData(), contacts,
              medianMs(11,
                       [&](int i) {
                           telefono->setText(QStringLiteral("1%1").arg(i));
                           if (!form.CmdSalva_Click())
                               std::fprintf(stderr, "%s: not saved\n", nome("save_answering").constData());
                           bench::settle();
                       }),
              "ms");
        if (!other) continue;

        // From the other desk's commit until this desk lists the change; a change never
        // listed counts the whole wait and is told on stderr.
        const qint64 righePrima = bench::righeLetteDalServer({Funzioni::Connessione()->database(), other->database()});
        std::vector<double> salvati, eliminati;
        for (int i = 0; i < 11; ++i) {
            const QString cognome = QStringLiteral("Aa0%1").arg(++rinomine);  // before every other name
            InOperazione(*other, QStringLiteral("Salvataggio"), [&] {
                Recordset rs;
                rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(rinominato), other.get());
                rs.SetField(QStringLiteral("cognome"), cognome);
                rs.Update();
            });
            const double ms = bench::attendi([&] { return list->text(0).startsWith(cognome); });
            if (ms < 0)
                std::fprintf(stderr, "%s: %s never listed\n", nome("other_desk_save_listed").constData(), qPrintable(cognome));
            salvati.push_back(ms < 0 ? 10000 : ms);
        }
        for (int i = 0; i < 11; ++i) {
            qint64 eliminato = 0;
            for (int riga = int((qint64(i + 1) * 7919 * 13) % list->count()); eliminato == 0; riga = (riga + 1) % list->count())
                if (const qint64 k = list->chiave(riga); k != form.idCorrente() && k != rinominato) eliminato = k;
            const int prima = list->count();
            InOperazione(*other, QStringLiteral("Eliminazione"),
                         [&] { other->Execute(QStringLiteral("Delete from anagrafica where id=%1").arg(eliminato)); });
            const double ms = bench::attendi([&] { return list->count() == prima - 1; });
            if (ms < 0 || list->rigaDi(eliminato) >= 0)
                std::fprintf(stderr, "%s: %lld still listed\n", nome("other_desk_delete_listed").constData(), eliminato);
            eliminati.push_back(ms < 0 ? 10000 : ms);
        }
        const qint64 righeDopo = bench::righeLetteDalServer({Funzioni::Connessione()->database(), other->database()});
        print(nome("other_desk_save_listed").constData(), contacts, bench::mediana(salvati), "ms");
        print(nome("other_desk_save_listed_max").constData(), contacts, *std::max_element(salvati.begin(), salvati.end()), "ms");
        print(nome("other_desk_delete_listed").constData(), contacts, bench::mediana(eliminati), "ms");
        print(nome("other_desk_delete_listed_max").constData(), contacts, *std::max_element(eliminati.begin(), eliminati.end()),
              "ms");
        // Rows of the register the server handed out, both desks together, per change listed.
        if (righePrima >= 0 && righeDopo >= 0)
            print(nome("other_desk_rows_read_per_change").constData(), contacts, double(righeDopo - righePrima) / 22, "rows");
    }
    form.Form_Unload();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Funzioni::ApplicaImpostazioniItaliane(application);
    const bench::Argomenti argomenti = bench::leggiArgomenti(application.arguments().mid(1), {QStringLiteral("100000")});
    for (const QString& size : argomenti.sizes)
        for (const bench::Dati dati : argomenti.dati) measure(size.toInt(), dati);
    return 0;
}
