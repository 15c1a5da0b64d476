// Times the contact list at 10,000, 100,000 and 1,000,000 contacts: the window listed from
// start, every quick-search keystroke (with the repaint it causes) by surname and by full
// name, number and e-mail, a full refill beside the bare statement in the store's plain
// order, choosing and saving a contact, and the peak memory; then another program's write
// (sqlite3, psql) until listed and the keystroke after it, and saves with the agenda opened
// and closed, and open. Each size is measured in a process of its own, so that the peak is
// the window's. Prints one figure per line as `name value unit`.
#include "benchform.h"
#include "benchsupport.h"
#include "demodata.h"
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/accessdialect.h"
#include "store/archivio.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace brenzola;
using bench::medianMs;
using bench::print;

namespace {

using bench::settle;

// Another program's one statement: sqlite3 on a file, psql on a server.
bool altroProgramma(const QString& archivio, const QString& sql)
{
    if (!bench::suServer())
        return bench::esegui(QStringLiteral("sqlite3"), {QStringLiteral("-cmd"), QStringLiteral(".timeout 5000"), archivio, sql});
    QString database;
    const auto pairs = parseConnectionString(archivio);
    for (auto it = pairs.begin(); it != pairs.end(); ++it)
        if (it.key().compare(QStringLiteral("Database"), Qt::CaseInsensitive) == 0) database = it.value();
    return bench::esegui(QStringLiteral("psql"),
                         {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                          QStringLiteral("-d"), database, QStringLiteral("-c"), sql});
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
            if (typing[k].isEmpty())
                clears.push_back(ms);
            else if (typing[k].size() == 1 && (k == 0 || typing[k - 1].isEmpty()))
                firstLetters.push_back(ms);
        }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    print("keystroke_median", contacts, median(keystrokes), "ms");
    print("keystroke_max", contacts, *std::max_element(keystrokes.begin(), keystrokes.end()), "ms");
    print("keystroke_first_letter_median", contacts, median(firstLetters), "ms");
    print("keystroke_clear_median", contacts, median(clears), "ms");
    // Looking for a person by full name, number and e-mail, typed and deleted the same way.
    const QStringList people = {"rossi", "rossi ", "rossi m", "rossi ma", "rossi m", "",    "3",    "33",  "335",
                                "335 1", "335",    "",        "m",        "ma",      "mar", "mar@", "mar", ""};
    std::vector<double> peopleKeystrokes;
    for (int round = 0; round < 3; ++round)
        for (const QString& typed : people) {
            QElapsedTimer timer;
            timer.start();
            ricerca->setText(typed);
            settle();
            peopleKeystrokes.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
    print("keystroke_people_median", contacts, median(peopleKeystrokes), "ms");
    print("keystroke_people_max", contacts, *std::max_element(peopleKeystrokes.begin(), peopleKeystrokes.end()), "ms");
    // What one keystroke cost when each asked the store: its statement alone, plain order.
    const Engine engine = Funzioni::Connessione()->engine();
    const auto plain = [engine](const QString& accessSql) {
        QString sql = translateAccessSql(accessSql, engine);
        return sql.remove(QStringLiteral(" COLLATE ") + QLatin1String(kItalianOrderCollation))
            .remove(QStringLiteral(" COLLATE \"%1\"").arg(QLatin1String(kServerOrderCollation)));
    };
    const auto timeStatement = [&](const QString& sql) {
        return medianMs(11, [&](int) {
            QSqlQuery query(Funzioni::Connessione()->database());
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
    const double floor = timeStatement(plain(FrmBrenzola::QueryLista(QStringLiteral(" "))));
    print("statement_plain_order", contacts, floor, "ms");
    print("elenca_tutti_over_statement", contacts, refill / floor, "x");

    // Another program renames a contact: the next refill reads the store again.
    Connection other;
    other.Open(Funzioni::StringaConnessionePer(archivio));
    print(
        "elenca_tutti_after_other_program", contacts,
        medianMs(5,
                 [&](int i) {
                     other.Execute(QStringLiteral("Update Anagrafica set Cognome = 'Altrove%1' where id = %2").arg(i).arg(1 + i));
                     form.ElencaTutti();
                     settle();
                 }),
        "ms");
    other.Close();

    // Entries spread over the whole list, chosen as a click would choose them.
    print("load_from_list", contacts,
          medianMs(31,
                   [&](int i) {
                       list->setCurrentRow(int((qint64(i) * 7919 * 13) % list->count()));
                       settle();
                   }),
          "ms");

    // Saves with the refill that follows them: a changed telephone, then a changed surname,
    // which moves the contact in the list.
    auto* telefono = form.findChild<QLineEdit*>(QStringLiteral("TxtTelefono"));
    print("save_with_refill", contacts,
          medianMs(11,
                   [&](int i) {
                       telefono->setText(QStringLiteral("0%1").arg(i));
                       form.CmdSalva_Click();
                       settle();
                   }),
          "ms");
    auto* cognome = form.findChild<QLineEdit*>(QStringLiteral("TxtCognome"));
    print("save_renamed_with_refill", contacts,
          medianMs(11,
                   [&](int i) {
                       cognome->setText(QStringLiteral("Bench%1").arg(i % 2 ? 'a' : 'z'));
                       form.CmdSalva_Click();
                       settle();
                   }),
          "ms");

    print("peak_memory", contacts, bench::statusMb("VmHWM"), "MB");
    {
        QSqlQuery cognomi(Funzioni::Connessione()->database());
        if (cognomi.exec(QStringLiteral("SELECT count(DISTINCT Cognome) FROM Anagrafica")) && cognomi.next())
            print("distinct_surnames", contacts, cognomi.value(0).toDouble(), "surnames");
    }

    // Another program renames a contact the list shows whole: from its commit until listed.
    ricerca->setText(QString());
    settle();
    const qint64 altrui = list->chiave(list->count() / 3);
    if (altrui == form.idCorrente()) std::fprintf(stderr, "the contact on screen is another program's\n");
    {
        std::vector<double> listati;
        for (int i = 0; i < 7; ++i) {
            // Writes fall anywhere in the second between two looks at the file, as real ones do.
            bench::attendi([] { return false; }, i * 1000 / 7);
            const QString cognome = QStringLiteral("Aa1%1").arg(i);  // before every other name
            if (!altroProgramma(archivio,
                                QStringLiteral("UPDATE Anagrafica SET Cognome = '%1' WHERE id = %2").arg(cognome).arg(altrui)))
                break;
            const double ms = bench::attendi([&] { return list->text(0).startsWith(cognome); });
            if (ms < 0) std::fprintf(stderr, "other_program_listed: %s never listed\n", qPrintable(cognome));
            listati.push_back(ms < 0 ? 10000 : ms);
        }
        if (!listati.empty()) {
            print("other_program_listed", contacts, bench::mediana(listati), "ms");
            print("other_program_listed_max", contacts, *std::max_element(listati.begin(), listati.end()), "ms");
        }
    }
    // The keystroke right after another program's write: "a" typed, the contact renamed,
    // then "aa2" must list it under its new name.
    {
        std::vector<double> tasti;
        for (int i = 0; i < 7; ++i) {
            ricerca->setText(QStringLiteral("a"));
            settle();
            const QString cognome = QStringLiteral("Aa2%1").arg(i);
            if (!altroProgramma(archivio,
                                QStringLiteral("UPDATE Anagrafica SET Cognome = '%1' WHERE id = %2").arg(cognome).arg(altrui)))
                break;
            QElapsedTimer timer;
            timer.start();
            ricerca->setText(QStringLiteral("aa2"));
            settle();
            tasti.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (list->count() != 1 || !list->text(0).startsWith(cognome))
                std::fprintf(stderr, "keystroke_after_other_program: %s not listed (%d listed)\n", qPrintable(cognome),
                             list->count());
        }
        if (!tasti.empty()) {
            print("keystroke_after_other_program", contacts, bench::mediana(tasti), "ms");
            print("keystroke_after_other_program_max", contacts, *std::max_element(tasti.begin(), tasti.end()), "ms");
        }
        ricerca->setText(QString());
        settle();
    }

    // Saves, each with the refill that follows it, with the agenda in each of its states.
    list->setCurrentRow(list->count() / 5);
    settle();
    for (const bench::StatoAgenda stato : bench::kStatiAgenda) {
        bench::portaAgenda(form, stato);
        const QByteArray nome = QByteArray("save_with_refill_") + bench::nomeStato(stato);
        print(nome.constData(), contacts,
              medianMs(11,
                       [&](int i) {
                           telefono->setText(QStringLiteral("1%1").arg(i));
                           if (!form.CmdSalva_Click()) std::fprintf(stderr, "%s: not saved\n", nome.constData());
                           settle();
                       }),
              "ms");
    }
    form.Form_Unload();
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    Funzioni::ApplicaImpostazioniItaliane(application);
    const QStringList arguments = application.arguments().mid(1);
    if (arguments.size() == 4 && arguments[0] == u"--misura") {
        bench::datiCorrenti = bench::datiDi(arguments[3]);
        measure(arguments[1], arguments[2].toInt());
        return 0;
    }
    const bench::Argomenti argomenti = bench::leggiArgomenti(arguments, {"10000", "100000", "1000000"});
    for (const QString& size : argomenti.sizes)
        for (const bench::Dati dati : argomenti.dati) {
            const bench::ArchivioDemo store(size.toInt(), dati);
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(application.applicationFilePath(),
                        {QStringLiteral("--misura"), store.archivio(), size, QLatin1String(bench::nomeDati(dati))});
            child.waitForFinished(-1);
        }
    return 0;
}
