// Times the edit form at a given register size: loading a contact chosen in the list,
// and saving it again with the list refill. Prints `name value unit` lines.
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
#include <QLineEdit>
#include <QEventLoop>
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
    auto* list = form.findChild<ElencoNomi*>(QStringLiteral("List1"));

    // Entries spread over the whole list, chosen as a click would choose them.
    print("load_from_list", contacts, medianMs(31, [&](int i) {
              list->setCurrentRow(int((qint64(i) * 7919 * 13) % list->count()));
          }), "ms");

    const qint64 id = form.IdCorrente;
    // Each save has something to write, as a user's would.
    auto* telefono = form.findChild<QLineEdit*>(QStringLiteral("TxtTelefono"));
    print("save_with_refill", contacts, medianMs(11, [&](int i) {
              telefono->setText(QStringLiteral("0%1").arg(i));
              form.CmdSalva_Click();
          }), "ms");

    // The store's own part of a save: find the row, assign fifteen fields, write it.
    print("save_store_part", contacts, medianMs(51, [&](int i) {
              Recordset rs;
              rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), Funzioni::Connessione.get());
              for (const char* column : {"cognome", "nome", "TipoRef", "citta", "indirizzo", "Cap", "Email",
                                         "Telefono", "Cell", "Fonte", "commenti", "prov"})
                  rs.SetField(QLatin1String(column), rs.Fields(QLatin1String(column)));
              for (const char* column : {"DataIn", "DataNasc", "DataRicont"})
                  rs.SetField(QLatin1String(column), rs.Fields(QLatin1String(column)));
              rs.SetField(QStringLiteral("Telefono"), QString::number(i));
              rs.Update();
          }), "ms");

    if (bench::suServer()) {
        // Another desk renames a contact: how long until this desk lists the new name.
        Connection other;
        other.Open(store.archivio());
        print("listed_on_other_desk", contacts, medianMs(11, [&](int i) {
                  const QString name = QStringLiteral("Aaaa%1").arg(i);
                  Recordset rs;
                  rs.Open(QStringLiteral("Select * from Anagrafica where id =%1").arg(id), &other);
                  rs.SetField(QStringLiteral("cognome"), name);
                  rs.Update();
                  QElapsedTimer waited;
                  waited.start();
                  while (!list->text(0).startsWith(name) && waited.elapsed() < 10000)
                      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
              }), "ms");
    }
    form.Form_Unload();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Funzioni::ApplicaImpostazioniItaliane(application);
    QStringList sizes = application.arguments().mid(1);
    if (sizes.isEmpty()) sizes = {"100000"};
    for (const QString& size : sizes) measure(size.toInt());
    return 0;
}
