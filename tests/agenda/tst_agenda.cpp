// The follow-up agenda: which day each contact falls on, the window beside the main one,
// its report and calendar file, and opening at start-up. Runs on a file and on a server.
#include "agenda/agenda.h"
#include "agenda/calendario.h"
#include "agenda/ui/frmagenda.h"
#include "printing/ui/reportpreview.h"
#include "register/frmbrenzola.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/recordset.h"
#include "store/storeddate.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

QStringList nomi(const ElencoPromemoria& voci)
{
    QStringList n;
    for (const Promemoria& p : voci) n << p.nome;
    return n;
}

// Each section of a list as "Title: name, name".
QStringList sezioni(const QTreeView* griglia)
{
    const QAbstractItemModel* modello = griglia->model();
    QStringList viste;
    for (int i = 0; i < modello->rowCount(); ++i) {
        const QModelIndex s = modello->index(i, 0);
        QStringList righe;
        for (int r = 0; r < modello->rowCount(s); ++r) righe << modello->index(r, 1, s).data().toString();
        viste << s.data().toString() + (righe.isEmpty() ? QString() : QStringLiteral(": ") + righe.join(QStringLiteral(", ")));
    }
    return viste;
}

QString iso(const QDate& d) { return d.toString(Qt::ISODate); }

// Everything an agenda lists, in its order.
QStringList descrivi(const Agenda& agenda)
{
    QStringList righe;
    for (const ElencoPromemoria* sezione : {&agenda.scaduti, &agenda.diOggi, &agenda.prossimi}) {
        righe << QStringLiteral("--");
        for (const Promemoria& p : *sezione)
            righe
                << QStringLiteral("%1|%2|%3|%4|%5|%6|%7").arg(p.id).arg(p.nome, p.telefono, p.cell, p.email, iso(p.data), p.nota);
    }
    for (const Compleanno& c : agenda.compleanni)
        righe << QStringLiteral("%1|%2|%3|%4").arg(c.id).arg(c.nome, iso(c.giorno)).arg(c.anni);
    return righe;
}

}  // namespace

class TestAgenda : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void eachContactFallsOnItsDay();
    void birthdaysOfTheWeek();
    void theWindowShowsActsAndFollowsChanges();
    void printedAndExportedAsACalendar();
    void calendarUidsAreEachRegistersOwn();
    void opensAtStartUpWhenSomethingIsDueUnlessTurnedOff();
    void theStartUpCheckAgreesWithTheAgenda();
    void theListsShowEveryTextAndTheBirthdays();
    void aLongAgendaInOrderActedOnDeepInTheList();
    void followingTheJournalGivesWhatAReadingGives();
    void theKeyboardReachesFattoWithTheChoiceKept();

private:
    qint64 contatto(const QString& cognome, const QVariant& ricont, const QVariant& nascita = {});
    FrmAgenda* agenda() const { return form_->findChild<FrmAgenda*>(); }
    QTreeView* ricontatti() const { return agenda()->findChild<QTreeView*>(QStringLiteral("GrigliaRicontatti")); }
    void fatto(const char* azione) { agenda()->findChild<QAction*>(QLatin1String(azione))->trigger(); }

    QTemporaryDir home_;
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    QDate oggi_ = QDate::currentDate();
};

void TestAgenda::initTestCase()
{
    ApplicaImpostazioniItaliane(*qApp);
    qputenv("XDG_CONFIG_HOME", home_.filePath(QStringLiteral("config")).toUtf8());  // the user's choices stay here
}

void TestAgenda::init()
{
    QFile::remove(FileImpostazioni());
    store_ = std::make_unique<test::TempStore>();
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
}

void TestAgenda::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

qint64 TestAgenda::contatto(const QString& cognome, const QVariant& ricont, const QVariant& nascita)
{
    return store_->insert({{"Cognome", cognome},
                           {"Nome", "Anna"},
                           {"Telefono", "02 1"},
                           {"DataRicont", ricont},
                           {"DataNasc", nascita},
                           {"Commenti", "Prima riga\r\nseconda riga"}});
}

void TestAgenda::eachContactFallsOnItsDay()
{
    const QDate fine(2026, 1, 31);  // a month's last day
    contatto("Mai", QVariant());
    contatto("Millenovecento", iso(QDate(1900, 1, 1)));  // the form's "no date": never due
    contatto("Vecchio", iso(fine.addDays(-400)));
    contatto("Ieri", iso(fine.addDays(-1)));
    contatto("Oggi", iso(fine));
    contatto("Domani", iso(fine.addDays(1)));
    contatto("Settimo", iso(fine.addDays(7)));
    contatto("Ottavo", iso(fine.addDays(8)));

    Agenda a = LeggiAgenda(*Connessione(), fine, 7);
    QCOMPARE(nomi(a.scaduti), (QStringList{"Vecchio Anna", "Ieri Anna"}));  // oldest first
    QCOMPARE(nomi(a.diOggi), QStringList{"Oggi Anna"});
    QCOMPARE(nomi(a.prossimi), (QStringList{"Domani Anna", "Settimo Anna"}));
    QCOMPARE(a.prossimi.front().data, QDate(2026, 2, 1));
    QCOMPARE(a.diOggi.front().nota, QStringLiteral("Prima riga"));
    QVERIFY(a.urgente());

    // Past midnight, today's is overdue and the eighth day comes in.
    a = LeggiAgenda(*Connessione(), fine.addDays(1), 7);
    QCOMPARE(nomi(a.scaduti), (QStringList{"Vecchio Anna", "Ieri Anna", "Oggi Anna"}));
    QCOMPARE(nomi(a.diOggi), QStringList{"Domani Anna"});
    QCOMPARE(nomi(a.prossimi), (QStringList{"Settimo Anna", "Ottavo Anna"}));

    // A shorter horizon; and with nothing past or present, nothing urgent.
    QCOMPARE(nomi(LeggiAgenda(*Connessione(), fine, 1).prossimi), QStringList{"Domani Anna"});
    QVERIFY(!LeggiAgenda(*Connessione(), fine.addDays(-500), 7).urgente());
}

void TestAgenda::birthdaysOfTheWeek()
{
    contatto("Bisestile", QVariant(), iso(QDate(1992, 2, 29)));
    contatto("Ventotto", QVariant(), iso(QDate(1980, 2, 28)));
    contatto("Quattro", QVariant(), iso(QDate(1990, 3, 4)));
    contatto("Cinque", QVariant(), iso(QDate(1990, 3, 5)));
    contatto("Capodanno", QVariant(), iso(QDate(1970, 1, 2)));
    contatto("Millenovecento", QVariant(), iso(QDate(1900, 1, 1)));
    contatto("Futuro", QVariant(), iso(QDate(2030, 3, 1)));
    contatto("Senzanno", QVariant(), iso(QDate(kAnnoIgnoto, 3, 3)));  // a phone's birthday without a year
    const auto giorni = [](const Agenda& a) {
        QStringList g;
        for (const Compleanno& c : a.compleanni) g << QStringLiteral("%1 %2 %3").arg(c.nome, iso(c.giorno)).arg(c.anni);
        return g;
    };
    // 2027 has no 29 February: that birthday is on the 28th, with the other one of that day.
    QCOMPARE(giorni(LeggiAgenda(*Connessione(), QDate(2027, 2, 26), 7)),
             (QStringList{"Bisestile Anna 2027-02-28 35", "Ventotto Anna 2027-02-28 47", "Senzanno Anna 2027-03-03 0",
                          "Quattro Anna 2027-03-04 37"}));
    // 2028 has it; its week ends on 3 March.
    QCOMPARE(giorni(LeggiAgenda(*Connessione(), QDate(2028, 2, 26), 7)),
             (QStringList{"Ventotto Anna 2028-02-28 48", "Bisestile Anna 2028-02-29 36", "Senzanno Anna 2028-03-03 0"}));
    // The week runs into the next year.
    QCOMPARE(giorni(LeggiAgenda(*Connessione(), QDate(2026, 12, 29), 7)), QStringList{"Capodanno Anna 2027-01-02 57"});
}

void TestAgenda::theWindowShowsActsAndFollowsChanges()
{
    const qint64 scaduto = contatto("Scaduto", iso(oggi_.addDays(-3)));
    contatto("Odierno", iso(oggi_));
    const qint64 prossimo = contatto("Prossimo", iso(oggi_.addDays(2)));
    form_->ApriAgenda();
    QVERIFY(agenda()->isVisible());
    QCOMPARE(sezioni(ricontatti()),
             (QStringList{"Scaduti (1): Scaduto Anna", "Oggi (1): Odierno Anna", "Prossimi 7 giorni (1): Prossimo Anna"}));
    const QAbstractItemModel* modello = ricontatti()->model();
    QCOMPARE(modello->index(0, 1, modello->index(0, 0)).data(Qt::ForegroundRole).value<QBrush>().color(),
             QColor(0xb0, 0x00, 0x20));
    QCOMPARE(agenda()->IdScelto(), scaduto);  // the first to call is ready for Enter

    // Enter asks about the main window's unsaved edits as the list would, then shows the contact.
    auto* nome = form_->findChild<QLineEdit*>(QStringLiteral("TxtNome"));
    QVERIFY(test::modificaCampo(nome, [nome] { nome->setText(QStringLiteral("scritto a mano")); }));
    dialogs_.answers = {MsgAnswer::Cancel};
    QTest::keyClick(ricontatti(), Qt::Key_Return);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("I dati sono stati modificati, si desidera salvare?"));
    QCOMPARE(nome->text(), QStringLiteral("scritto a mano"));
    dialogs_.answers = {MsgAnswer::No};
    QTest::keyClick(ricontatti(), Qt::Key_Return);
    QCOMPARE(form_->idCorrente(), scaduto);
    QCOMPARE(form_->findChild<QLineEdit*>(QStringLiteral("TxtCognome"))->text(), QStringLiteral("Scaduto"));

    // Fatto: in a week. Written at once; the contact on screen shows it.
    fatto("FattoSettimana");
    QCOMPARE(store_->rows(QStringLiteral("SELECT dataricont FROM anagrafica WHERE id = %1").arg(scaduto))[0][0].toDate(),
             oggi_.addDays(7));
    QCOMPARE(form_->findChild<CalendarField*>(QStringLiteral("DtDataRicontattare"))->value().toDate(), oggi_.addDays(7));
    QCOMPARE(sezioni(ricontatti()).first(), QStringLiteral("Oggi (1): Odierno Anna"));

    // Another program changed the contact since the agenda read it: nothing is written, it says so.
    agenda()->Scegli(prossimo);
    store_->rows(QStringLiteral("UPDATE anagrafica SET telefono = '06 9' WHERE id = %1").arg(prossimo));
    fatto("FattoNessuna");
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 3197")), qPrintable(dialogs_.lastText()));
    QVERIFY(!store_->rows(QStringLiteral("SELECT dataricont FROM anagrafica WHERE id = %1").arg(prossimo))[0][0].isNull());
    agenda()->Scegli(prossimo);  // read again: now it goes
    fatto("FattoNessuna");
    QVERIFY(store_->rows(QStringLiteral("SELECT dataricont FROM anagrafica WHERE id = %1").arg(prossimo))[0][0].isNull());

    // A chosen date; and a save from the main window shows in the agenda.
    agenda()->Scegli(scaduto);
    dialogs_.onModal = [this](QDialog& finestra) {
        finestra.findChild<CalendarField*>(QStringLiteral("DtProssima"))->setValue(oggi_.addDays(3));
        QTest::mouseClick(finestra.findChild<QPushButton*>(QStringLiteral("CmdOk")), Qt::LeftButton);
    };
    fatto("FattoData");
    QCOMPARE(store_->rows(QStringLiteral("SELECT dataricont FROM anagrafica WHERE id = %1").arg(scaduto))[0][0].toDate(),
             oggi_.addDays(3));
    contatto("Ventesimo", iso(oggi_.addDays(20)));
    form_->findChild<CalendarField*>(QStringLiteral("DtDataRicontattare"))->setValue(oggi_);
    QVERIFY(form_->CmdSalva_Click());
    QCOMPARE(sezioni(ricontatti()), QStringList{"Oggi (2): Odierno Anna, Scaduto Anna"});

    // A longer horizon: read again though nothing changed, and remembered for next time.
    agenda()->findChild<QSpinBox*>(QStringLiteral("SpnGiorni"))->setValue(30);
    QCOMPARE(sezioni(ricontatti()).last(), QStringLiteral("Prossimi 30 giorni (1): Ventesimo Anna"));
    QCOMPARE(FrmAgenda::Giorni(), 30);
}

void TestAgenda::printedAndExportedAsACalendar()
{
    const QDate giorno(2027, 2, 26);
    contatto("Scaduto", iso(giorno.addDays(-1)));
    contatto("Virgola, punto; e basta", iso(giorno.addDays(1)));
    contatto("Bisestile", QVariant(), iso(QDate(1992, 2, 29)));
    FrmAgenda finestra(dialogs_, form_.get(), [giorno] { return giorno; });

    ReportPages stampate;
    dialogs_.onModal = [&](QDialog& w) {
        if (auto* anteprima = qobject_cast<ReportPreview*>(&w)) stampate = anteprima->pages();
    };
    QTest::mouseClick(finestra.findChild<QPushButton*>(QStringLiteral("CmdStampa")), Qt::LeftButton);
    QStringList testi;
    for (const ReportPage& pagina : stampate.pages)
        for (const PlacedItem& item : pagina.items) testi << item.control + u'=' + item.text;
    for (const QString& atteso :
         {QStringLiteral("LblPeriodo=scaduti, oggi e i prossimi 7 giorni, al 26/02/2027"), QStringLiteral("TextBox1=25/02/2027"),
          QStringLiteral("TextBox6=Scaduto"), QStringLiteral("TextBox2=Virgola, punto; e basta Anna"),
          QStringLiteral("TextBox6=Compleanno"), QStringLiteral("TextBox7=Compie 35 anni (nato il 29/02/1992)")})
        QVERIFY2(testi.contains(atteso), qPrintable(atteso));

    QTemporaryDir cartella;
    dialogs_.savedFiles = {{cartella.filePath(QStringLiteral("agenda")), 0}};
    QTest::mouseClick(finestra.findChild<QPushButton*>(QStringLiteral("CmdCalendario")), Qt::LeftButton);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Calendario scritto in «%1.ics»: 2 da ricontattare e 1 compleanni.")
                                      .arg(cartella.filePath(QStringLiteral("agenda"))));
    QFile file(cartella.filePath(QStringLiteral("agenda.ics")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray ics = file.readAll();
    QVERIFY(ics.startsWith("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n"));
    QVERIFY(ics.endsWith("END:VCALENDAR\r\n"));
    QCOMPARE(ics.count("BEGIN:VTODO"), 2);
    QVERIFY(ics.contains("DUE;VALUE=DATE:20270225\r\n"));
    QVERIFY(ics.contains("SUMMARY:Ricontattare Virgola\\, punto\\; e basta Anna\r\n"));
    QVERIFY(ics.contains("DESCRIPTION:Telefono: 02 1\\nPrima riga\r\n"));
    QVERIFY(ics.contains(
        "DTSTART;VALUE=DATE:19920229\r\nDTEND;VALUE=DATE:19920301\r\nRRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1\r\n"));
    for (const QByteArray& riga : ics.split('\n')) QVERIFY(riga.size() <= 76);
}

void TestAgenda::calendarUidsAreEachRegistersOwn()
{
    const QDate giorno(2027, 3, 1);
    const qint64 id = contatto("Festeggiato", iso(giorno.addDays(1)), iso(QDate(1990, 3, 2)));
    const auto uid = [](const Agenda& agenda) {
        QList<QByteArray> trovati;
        for (const QByteArray& riga :
             CalendarioAgenda(agenda, QDateTime(agenda.oggi, QTime(9, 0))).replace("\r\n ", "").split('\n'))
            if (riga.startsWith("UID:")) trovati << riga.trimmed();
        return trovati;
    };
    const auto esporta = [&] { return uid(LeggiAgenda(*Connessione(), giorno, 7)); };
    const auto apri = [this](const QString& archivio) {
        form_.reset();
        ChiudiDatabase();
        form_ = std::make_unique<FrmBrenzola>(dialogs_);
        return form_->Form_Load(archivio);
    };

    const QByteArray chiave = QByteArray::number(id);
    const QByteArray identita = Connessione()->identity().toLatin1();
    QVERIFY(!identita.isEmpty());
    const QList<QByteArray> primo = esporta();
    QCOMPARE(primo, (QList<QByteArray>{"UID:ricontattare-" + chiave + "-20270302-" + identita + "@brenzola.example",
                                       "UID:compleanno-" + chiave + '-' + identita + "@brenzola.example"}));
    QCOMPARE(esporta(), primo);

    // Another register, a contact with the same key: none of its UIDs is the first's.
    test::TempStore altro(QStringLiteral("altro"));
    QCOMPARE(altro.insert({{"Cognome", "Festeggiato"},
                           {"Nome", "Anna"},
                           {"DataRicont", iso(giorno.addDays(1))},
                           {"DataNasc", iso(QDate(1990, 3, 2))}}),
             id);
    QVERIFY(apri(altro.path()));
    const QList<QByteArray> secondo = esporta();
    QCOMPARE(secondo.size(), 2);
    QVERIFY(!secondo.contains(primo[0]) && !secondo.contains(primo[1]));

    // The first register opened again gives the very same UIDs.
    QVERIFY(apri(store_->path()));
    QCOMPARE(esporta(), primo);

    // A register without an identity keeps the form it always had.
    Agenda senza = LeggiAgenda(*Connessione(), giorno, 7);
    senza.registro.clear();
    QCOMPARE(uid(senza), (QList<QByteArray>{"UID:ricontattare-" + chiave + "-20270302@brenzola.example",
                                            "UID:compleanno-" + chiave + "@brenzola.example"}));
}

void TestAgenda::opensAtStartUpWhenSomethingIsDueUnlessTurnedOff()
{
    contatto("Prossimo", iso(oggi_.addDays(3)));
    form_->AgendaAllAvvio();
    QVERIFY(!agenda());  // nothing overdue or due today
    contatto("Odierno", iso(oggi_));
    form_->AgendaAllAvvio();
    QVERIFY(agenda() && agenda()->isVisible());
    agenda()->findChild<QCheckBox*>(QStringLiteral("ChkAvvio"))->setChecked(false);
    agenda()->close();
    QVERIFY(!FrmAgenda::AllAvvio());
    form_->AgendaAllAvvio();
    QVERIFY(!agenda()->isVisible());
}

void TestAgenda::theStartUpCheckAgreesWithTheAgenda()
{
    const QDate oggi(2026, 3, 31);
    QVERIFY(!AgendaUrgente(*Connessione(), oggi));  // an empty register
    contatto("Mai", QVariant());
    contatto("Millenovecento", iso(QDate(1900, 1, 1)));
    contatto("Millenovecento senza zeri", "1900-1-1");              // the same "no date", as another program may write it
    if (!test::onServer()) contatto("Nessuna data", "2000-13-45");  // a file holds any text; a server refuses it
    contatto("Domani", iso(oggi.addDays(1)));
    for (int d = -1; d <= 2; ++d) {
        const QDate giorno = oggi.addDays(d);
        QCOMPARE(AgendaUrgente(*Connessione(), giorno), LeggiAgenda(*Connessione(), giorno, 1).urgente());
    }
    QVERIFY(!AgendaUrgente(*Connessione(), oggi));
    QVERIFY(AgendaUrgente(*Connessione(), oggi.addDays(1)));  // due that day
    QVERIFY(AgendaUrgente(*Connessione(), oggi.addDays(2)));  // and overdue after
    QCOMPARE(nomi(LeggiAgenda(*Connessione(), oggi.addDays(2), 7).scaduti), QStringList{"Domani Anna"});
}

void TestAgenda::theListsShowEveryTextAndTheBirthdays()
{
    const QDate oggi(2026, 12, 8);
    const QString lunga = QStringLiteral("àèìòù ").repeated(60).trimmed();  // longer than a byte can count, in UTF-8
    const qint64 id = store_->insert({{"Cognome", "Dell'Orto"},
                                      {"Email", "zoè@esempio.example"},
                                      {"Cell", "333 1"},
                                      {"DataRicont", iso(oggi)},
                                      {"Commenti", "  " + lunga + "  \r\nseconda riga"}});
    const qint64 nato = store_->insert({{"Cognome", "Festeggiato"}, {"Nome", "Ugo"}, {"DataNasc", iso(QDate(1980, 12, 9))}});
    FrmAgenda finestra(dialogs_, form_.get(), [oggi] { return oggi; });
    const auto riga = [](const QTreeView* griglia, int r, const QModelIndex& sezione = {}) {
        QStringList testi;
        for (int c = 0; c < griglia->model()->columnCount(); ++c)
            testi << griglia->model()->index(r, c, sezione).data().toString();
        return testi;
    };
    auto* ricontatti = finestra.findChild<QTreeView*>(QStringLiteral("GrigliaRicontatti"));
    auto* compleanni = finestra.findChild<QTreeView*>(QStringLiteral("GrigliaCompleanni"));
    QCOMPARE(riga(ricontatti, 0, ricontatti->model()->index(0, 0)),
             (QStringList{"08/12/2026", "Dell'Orto ", "", "333 1", "zoè@esempio.example", lunga}));
    QCOMPARE(finestra.agenda().diOggi.front().nota, lunga);
    QCOMPARE(riga(compleanni, 0), (QStringList{"mercoledì 9 dicembre", "Festeggiato Ugo", "46 anni", "", "", ""}));

    // A birthday chosen: one entry at a time, and nothing to mark done.
    finestra.Scegli(nato);
    QCOMPARE(finestra.IdScelto(), nato);
    QVERIFY(!ricontatti->selectionModel()->hasSelection());
    QVERIFY(finestra.findChild<QPushButton*>(QStringLiteral("CmdApri"))->isEnabled());
    QVERIFY(!finestra.findChild<QPushButton*>(QStringLiteral("CmdFatto"))->isEnabled());

    // Gone elsewhere: the list says there is no birthday, and the first to call is chosen.
    store_->rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(nato));
    finestra.Aggiorna();
    QCOMPARE(riga(compleanni, 0).first(), QStringLiteral("Nessun compleanno nei prossimi 7 giorni."));
    QCOMPARE(compleanni->model()->rowCount(), 1);
    QCOMPARE(finestra.IdScelto(), id);
    QVERIFY(finestra.findChild<QPushButton*>(QStringLiteral("CmdFatto"))->isEnabled());
}

void TestAgenda::aLongAgendaInOrderActedOnDeepInTheList()
{
    // Long enough for a file to be read in two halves at once.
    const QDate oggi(2026, 12, 8);
    const int contatti = 12000;
    {
        // Names the Italian order sorts apart from their bytes: accents, apostrophes, case.
        const QStringList cognomi = {"Zeta",    "Èrcoli", "Ercole", "d'Angelo", "D'Amico", "de Luca",
                                     "De Luca", "Ùbaldi", "Ubaldi", "Nicolò",   "Nicola",  "àbaco"};
        Connessione()->BeginTrans();
        BulkInsert righe(Connessione(), QStringLiteral("Anagrafica"),
                         {"Cognome", "Nome", "Telefono", "DataRicont", "DataNasc", "Commenti"});
        for (int i = 0; i < contatti; ++i)
            righe.Add({cognomi[i % cognomi.size()], QString::number(i % 7), QStringLiteral("02 %1").arg(i),
                       i % 10 == 3 ? QVariant() : QVariant(oggi.addDays(-300 + i * 7919 % 320)),
                       i % 50 == 1 ? QVariant(QDate(1980, 12, 8)) : QVariant(), QStringLiteral("Riga %1\nseconda").arg(i)});
        righe.Flush();
        Connessione()->CommitTrans();
    }
    // Every contact due, in the order the store itself sorts them.
    QStringList attesi;
    Recordset rs;
    rs.Open(QStringLiteral("Select DataRicont, Cognome & ' ' & Nome from Anagrafica where DataRicont <= #12/15/2026# "
                           "ORDER BY DataRicont, Cognome & ' ' & Nome"),
            Connessione());
    for (; !rs.Eof(); rs.MoveNext()) attesi << iso(rs.Fields(0).toDate()) + u' ' + rs.Fields(1).toString();
    const Agenda a = LeggiAgenda(*Connessione(), oggi, 7);
    QStringList letti;
    for (const ElencoPromemoria* sezione : {&a.scaduti, &a.diOggi, &a.prossimi})
        for (const Promemoria& p : *sezione) letti << iso(p.data) + u' ' + p.nome;
    QCOMPARE(letti, attesi);
    QVERIFY(a.scaduti.size() > contatti / 2 && !a.diOggi.empty() && !a.prossimi.empty());
    QVERIFY(a.scaduti.data(a.scaduti.size() - 1) < oggi && a.prossimi.front().data > oggi);
    QCOMPARE(qsizetype(a.compleanni.size()), qsizetype(contatti / 50));
    QVERIFY(std::all_of(a.compleanni.begin(), a.compleanni.end(),
                        [&](const Compleanno& c) { return c.giorno == oggi && c.anni == 46; }));

    // The last overdue one: chosen, shown, and acted on.
    FrmAgenda finestra(dialogs_, form_.get(), [oggi] { return oggi; });
    finestra.show();
    QVERIFY(QTest::qWaitForWindowExposed(&finestra));
    auto* griglia = finestra.findChild<QTreeView*>(QStringLiteral("GrigliaRicontatti"));
    const qint64 profondo = a.scaduti.id(a.scaduti.size() - 1);
    finestra.Scegli(profondo);
    QCOMPARE(finestra.IdScelto(), profondo);
    QCOMPARE(griglia->currentIndex().row(), int(a.scaduti.size() - 1));
    QVERIFY(griglia->viewport()->rect().intersects(griglia->visualRect(griglia->currentIndex())));
    const auto riga = [this](qint64 id) {
        return store_->rows(QStringLiteral("SELECT dataricont, indirizzo, commenti FROM anagrafica WHERE id = %1").arg(id))[0];
    };
    const auto fattoIn = [&finestra](const char* azione) { finestra.findChild<QAction*>(QLatin1String(azione))->trigger(); };

    // Its comments changed elsewhere, past the line the list shows: nothing is written.
    store_->rows(QStringLiteral("UPDATE anagrafica SET commenti = commenti || ' cambiata' WHERE id = %1").arg(profondo));
    fattoIn("FattoSettimana");
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 3197")), qPrintable(dialogs_.lastText()));
    QCOMPARE(riga(profondo)[0].toDate(), a.scaduti.data(a.scaduti.size() - 1));
    QCOMPARE(finestra.IdScelto(), profondo);  // read again, still chosen

    // A change the agenda neither shows nor writes does not stop it, and stays.
    store_->rows(QStringLiteral("UPDATE anagrafica SET indirizzo = 'Via Nuova 1' WHERE id = %1").arg(profondo));
    fattoIn("FattoSettimana");
    QCOMPARE(riga(profondo)[0].toDate(), oggi.addDays(7));
    QCOMPARE(riga(profondo)[1].toString(), QStringLiteral("Via Nuova 1"));
    QVERIFY(riga(profondo)[2].toString().endsWith(QStringLiteral(" cambiata")));
    QCOMPARE(finestra.agenda().scaduti.size(), a.scaduti.size() - 1);
    QVERIFY(finestra.agenda().prossimi.indice(profondo) >= 0);

    // A change from another desk shows when the agenda reads again.
    const qint64 senzaData =
        store_->rows(QStringLiteral("SELECT min(id) FROM anagrafica WHERE dataricont IS NULL"))[0][0].toLongLong();
    store_->rows(QStringLiteral("UPDATE anagrafica SET dataricont = '2026-12-08' WHERE id = %1").arg(senzaData));
    finestra.Aggiorna();
    QVERIFY(finestra.agenda().diOggi.indice(senzaData) >= 0);
    QCOMPARE(finestra.IdScelto(), profondo);
}

void TestAgenda::followingTheJournalGivesWhatAReadingGives()
{
    // Names that repeat, dates on both sides of today, birthdays this week and next.
    const QDate oggi(2026, 12, 8);
    const QStringList cognomi = {"Rossi", "rossi", "Èrcoli", "Bianchi", "D'Amico", "Zeta", "Abate"};
    QRandomGenerator caso(test::semeCasuale(7));
    const auto data = [&](int da, int a) {
        return caso.bounded(4) == 0 ? QVariant() : QVariant(iso(oggi.addDays(caso.bounded(da, a))));
    };
    const auto nuovo = [&] {
        return store_->insert({{"Cognome", cognomi[caso.bounded(int(cognomi.size()))]},
                               {"Nome", caso.bounded(2) ? "Anna" : "Ugo"},
                               {"DataRicont", data(-20, 15)},
                               {"DataNasc", iso(QDate(1980, 12, 1 + caso.bounded(20)))},
                               {"Commenti", QStringLiteral("nota %1\nresto").arg(caso.bounded(100))}});
    };
    std::vector<qint64> ids;
    for (int i = 0; i < 300; ++i) ids.push_back(nuovo());
    Connection& c = *Connessione();
    CursoreGiornale cursore;
    QVERIFY(!cursore.cambiamenti(c));
    Agenda seguita = LeggiAgenda(c, oggi, 7);
    for (int giro = 0; giro < 6; ++giro) {
        // Another program moves dates, renames, deletes and adds.
        for (int i = 0; i < 15; ++i) {
            const qint64 id = ids[size_t(caso.bounded(int(ids.size())))];
            const QVariant nuova = data(-20, 15);
            store_->rows(QStringLiteral("UPDATE anagrafica SET dataricont = %1 WHERE id = %2")
                             .arg(nuova.isNull() ? QStringLiteral("NULL") : u'\'' + nuova.toString() + u'\'')
                             .arg(id));
            store_->rows(QStringLiteral("UPDATE anagrafica SET cognome = '%1', telefono = '%2' WHERE id = %3")
                             .arg(RaddoppiaApici(cognomi[caso.bounded(int(cognomi.size()))]))
                             .arg(caso.bounded(1000))
                             .arg(ids[size_t(caso.bounded(int(ids.size())))]));
        }
        store_->rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(ids[size_t(caso.bounded(int(ids.size())))]));
        ids.push_back(nuovo());
        const std::optional<std::vector<qint64>> cambiati = cursore.cambiamenti(c);
        QVERIFY(cambiati && !cambiati->empty());
        QVERIFY(AggiornaAgenda(c, seguita, *cambiati));
        QCOMPARE(descrivi(seguita), descrivi(LeggiAgenda(c, oggi, 7)));
    }
}

void TestAgenda::theKeyboardReachesFattoWithTheChoiceKept()
{
    const QDate oggi(2026, 12, 8);
    const qint64 id = store_->insert({{"Cognome", "Rossi"}, {"DataRicont", iso(oggi)}});
    store_->insert({{"Cognome", "Festeggiato"}, {"DataNasc", iso(QDate(1980, 12, 9))}});
    {
        FrmAgenda finestra(dialogs_, form_.get(), [oggi] { return oggi; });
        finestra.show();
        QVERIFY(QTest::qWaitForWindowActive(&finestra));
        QCOMPARE(finestra.IdScelto(), id);  // the first to call, chosen at opening
        // Tab walks through the birthdays and on to the buttons: the choice stays, Fatto can act.
        auto* fatto = finestra.findChild<QPushButton*>(QStringLiteral("CmdFatto"));
        for (int i = 0; i < 6 && QApplication::focusWidget() != fatto; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), fatto);
        QCOMPARE(finestra.IdScelto(), id);
        QVERIFY(fatto->isEnabled());
        QCOMPARE(fatto->text(), QStringLiteral("&Fatto"));  // Alt+F opens its menu
    }

    // Closed with Esc and opened again with Ctrl+G from the main window: a choice is there.
    form_->show();
    for (int volta = 0; volta < 2; ++volta) {
        form_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::ControlModifier);
        QTRY_VERIFY(agenda() && agenda()->isActiveWindow());
        QVERIFY2(agenda()->IdScelto() != 0, "nothing chosen");
        QVERIFY(agenda()->findChild<QPushButton*>(QStringLiteral("CmdApri"))->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!agenda()->isVisible());
    }
}

QTEST_MAIN(TestAgenda)
#include "tst_agenda.moc"
