// What a user typed is never lost without their answer, and what is stored is never
// changed unless they changed it: the one guard, dates, texts and two desks on one store.

#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

const QString kDomanda = QStringLiteral("I dati sono stati modificati, si desidera salvare?");
// Line breaks as an Access memo keeps them, a lone CR, a non-breaking space and a line separator.
const QString kCommento = QStringLiteral("Prima riga\r\nSeconda\u00a0riga\r\nterza\rquarta\u2028quinta");

}  // namespace

class TestSalvaguardia : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void everyReplacementAsksAndAnnullaKeepsTheEdits();
    void siSavesThenGoesOnWithoutASpuriousQuestion();
    void aDateClearedWithTheKeyboardCounts();
    void storedDatesAreShownAsTheyAreAndKeptUnlessChanged();
    void anInvalidTypedDateIsRefusedNotReplaced();
    void untouchedFieldsKeepTheirBytesAndCommentsTheirLineBreaks();
    void anotherDeskChangedTheContact();
    void anotherDeskDeletedTheContact();

private:
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    qint64 bianchi_ = 0, verdi_ = 0;

    template <typename T = QLineEdit> T* child(const char* name) const { return form_->findChild<T*>(QLatin1String(name)); }
    ElencoNomi* list() const { return child<ElencoNomi>("List1"); }
    void choose(int row) const { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->rowRect(row).center()); }
    void toolbar(const char* caption) const
    {
        auto* tb = child<QToolBar>("Tb");
        QTest::mouseClick(tb->widgetForAction(tb->findChild<QAction*>(QLatin1String(caption))), Qt::LeftButton);
    }
    // Types into a field and stays there, as a user about to click elsewhere.
    void typeInto(const char* name, const QString& text) const
    {
        QWidget* field = child<QWidget>(name);
        QWidget* editor = field->focusProxy() ? field->focusProxy() : field;
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClicks(editor, text);
    }
    QVariant stored(qint64 id, const char* column) const
    {
        return store_->rows(QStringLiteral("SELECT %1 FROM Anagrafica WHERE id = %2").arg(QLatin1String(column)).arg(id))[0][0];
    }
    int selectedRow() const { return list()->selectedRow(); }
    int questions() const
    {
        return int(
            std::count_if(dialogs_.shown.begin(), dialogs_.shown.end(), [](const Message& m) { return m.text == kDomanda; }));
    }
};

void TestSalvaguardia::init()
{
    store_ = std::make_unique<test::TempStore>();
    bianchi_ = store_->insert(
        {{"Cognome", "Bianchi"}, {"Nome", "Anna"}, {"Telefono", "02 1"}, {"DataNasc", "1980-12-31"}, {"Commenti", kCommento}});
    verdi_ = store_->insert({{"Cognome", "Verdi"}, {"Nome", "Luca"}, {"Telefono", "06 2"}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    choose(0);
    QCOMPARE(form_->idCorrente(), bianchi_);
}

void TestSalvaguardia::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

void TestSalvaguardia::everyReplacementAsksAndAnnullaKeepsTheEdits()
{
    const std::function<void()> replacements[] = {
        [this] { toolbar("Avanti"); },
        [this] { toolbar("Indietro"); },
        [this] { choose(1); },
        [this] { QTest::mouseClick(child<QPushButton>("CmdNuovo"), Qt::LeftButton); },
        [this] { toolbar("Ricerca Avanzata"); },
        [this] { form_->close(); },
    };
    for (const auto& replace : replacements) {
        typeInto("TxtTelefono", QStringLiteral("333 9"));  // still in the field: toolbar buttons take no focus
        dialogs_.shown.clear();
        dialogs_.answers = {MsgAnswer::Cancel};
        replace();
        QCOMPARE(questions(), 1);
        QVERIFY(dialogs_.shown.front().buttons == MsgButtons::YesNoCancel);
        QVERIFY(dialogs_.modalTitles.isEmpty());  // no search window opened
        QVERIFY(form_->isVisible());
        QCOMPARE(form_->idCorrente(), bianchi_);
        QCOMPARE(child("TxtTelefono")->text(), QStringLiteral("333 9"));
        QCOMPARE(selectedRow(), 0);  // the list still points at the contact in the form
        QCOMPARE(stored(bianchi_, "Telefono").toString(), QStringLiteral("02 1"));
    }
}

void TestSalvaguardia::siSavesThenGoesOnWithoutASpuriousQuestion()
{
    typeInto("TxtTelefono", QStringLiteral("333 9"));
    dialogs_.answers = {MsgAnswer::Yes};
    toolbar("Avanti");
    QCOMPARE(stored(bianchi_, "Telefono").toString(), QStringLiteral("333 9"));
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(selectedRow(), 1);
    QCOMPARE(child("TxtTelefono")->text(), QStringLiteral("06 2"));

    // The field kept the focus across the change: leaving it now is no change of Verdi.
    dialogs_.shown.clear();
    QTest::keyClick(child("TxtTelefono"), Qt::Key_Tab);
    toolbar("Indietro");
    QCOMPARE(questions(), 0);
    QCOMPARE(form_->idCorrente(), bianchi_);

    // No discards the edit and goes on.
    typeInto("TxtTelefono", QStringLiteral("000"));
    dialogs_.answers = {MsgAnswer::No};
    QTest::mouseClick(child<QPushButton>("CmdNuovo"), Qt::LeftButton);
    QCOMPARE(questions(), 1);
    QCOMPARE(form_->idCorrente(), 0);
    QCOMPARE(child("TxtTelefono")->text(), QString());
    QCOMPARE(stored(bianchi_, "Telefono").toString(), QStringLiteral("333 9"));
}

void TestSalvaguardia::aDateClearedWithTheKeyboardCounts()
{
    auto* nascita = child<CalendarField>("DtNasc");
    QCOMPARE(nascita->text(), QStringLiteral("31/12/1980"));
    typeInto("DtNasc", QString());  // select all, Backspace, and stay
    dialogs_.answers = {MsgAnswer::Yes};
    QVERIFY(form_->close());
    QCOMPARE(questions(), 1);
    QVERIFY(stored(bianchi_, "DataNasc").isNull());
}

void TestSalvaguardia::storedDatesAreShownAsTheyAreAndKeptUnlessChanged()
{
    BRENZOLA_SOLO_FILE("a server's date columns hold only dates");
    // Written by other tools: two readable forms, and values no reading could be sure of.
    const QList<std::pair<QVariant, QVariant>> cases = {{QStringLiteral("2020-3-5"), QDate(2020, 3, 5)},
                                                        {QStringLiteral("2020/03/05"), QDate(2020, 3, 5)},
                                                        {QStringLiteral("2024-02-30"), QStringLiteral("2024-02-30")},
                                                        {QStringLiteral("15.03.2020"), QStringLiteral("15.03.2020")},
                                                        {qlonglong(43831), qlonglong(43831)}};
    auto* nascita = child<CalendarField>("DtNasc");
    for (const auto& [written, shown] : cases) {
        const qint64 id = store_->insert({{"Cognome", "Zeta"}, {"DataNasc", written}});
        form_->ElencaTutti();
        choose(0);  // Bianchi, whose date is 31/12/1980, is shown first
        choose(list()->count() - 1);
        QCOMPARE(form_->idCorrente(), id);
        QCOMPARE(nascita->value(), shown);  // never the previous contact's date
        QCOMPARE(nascita->holdsUnreadableValue(), shown.typeId() != QMetaType::QDate);

        typeInto("TxtTelefono", QStringLiteral("1"));
        QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
        QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
        const auto row = store_->rows(QStringLiteral("SELECT typeof(DataNasc), DataNasc FROM Anagrafica WHERE id = %1").arg(id));
        QCOMPARE(row[0][1], written);  // as it was written, kind and value
        store_->rows(QStringLiteral("DELETE FROM Anagrafica WHERE id = %1").arg(id));
    }
}

void TestSalvaguardia::anInvalidTypedDateIsRefusedNotReplaced()
{
    typeInto("DtNasc", QStringLiteral("31/02/2024"));
    QTest::keyClick(child<CalendarField>("DtNasc")->editor(), Qt::Key_Return);  // Enter presses Salva
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Data Nasc.: «31/02/2024» non è una data: febbraio 2024 ha 29 giorni."));
    QCOMPARE(stored(bianchi_, "DataNasc").toString(), QStringLiteral("1980-12-31"));
    QCOMPARE(child<CalendarField>("DtNasc")->editor()->text(), QStringLiteral("31/02/2024"));
    QCOMPARE(QApplication::focusWidget(), child<CalendarField>("DtNasc")->editor());

    // Closing with it asks; a Yes that cannot save keeps the window open.
    dialogs_.answers = {MsgAnswer::Yes};
    QVERIFY(!form_->close());
    QVERIFY(form_->isVisible());
    QCOMPARE(stored(bianchi_, "DataNasc").toString(), QStringLiteral("1980-12-31"));
}

void TestSalvaguardia::untouchedFieldsKeepTheirBytesAndCommentsTheirLineBreaks()
{
    // A stored text longer than its box is shown whole, and the raised limit does not outlive it.
    const QString lungo(260, u'x');
    store_->rows(QStringLiteral("UPDATE Anagrafica SET Nome = '%1' WHERE id = %2").arg(lungo).arg(bianchi_));
    form_->ElencaTutti();
    choose(0);
    QCOMPARE(child("TxtNome")->text(), lungo);

    typeInto("TxtTelefono", QStringLiteral("333 9"));
    QTest::keyClick(child("TxtTelefono"), Qt::Key_Return);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(stored(bianchi_, "Commenti").toString(), kCommento);
    QCOMPARE(stored(bianchi_, "Nome").toString(), lungo);
    QVERIFY(stored(bianchi_, "DataIn").isNull());  // shown as 01/01/1900, stored Null, left so

    // A changed comment keeps the CR LF breaks it had.
    auto* commenti = child<QTextEdit>("TxtCommenti");
    commenti->setFocus();
    commenti->moveCursor(QTextCursor::End);
    QTest::keyClick(commenti, Qt::Key_Return);
    QTest::keyClicks(commenti, "sesta");
    QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
    QCOMPARE(stored(bianchi_, "Commenti").toString(),
             QStringLiteral("Prima riga\r\nSeconda\u00a0riga\r\nterza\r\nquarta\u2028quinta\r\nsesta"));

    QTest::mouseClick(child<QPushButton>("CmdNuovo"), Qt::LeftButton);
    typeInto("TxtNome", QString(260, u'y'));
    QCOMPARE(child("TxtNome")->text().size(), 250);
}

void TestSalvaguardia::anotherDeskChangedTheContact()
{
    // Each answer, after the other desk changed Telefono and this one changes Email.
    for (MsgAnswer answer : {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::Yes}) {
        store_->rows(QStringLiteral("UPDATE Anagrafica SET Telefono = 'loro %1', Email = NULL WHERE id = %2")
                         .arg(int(answer))
                         .arg(bianchi_));
        typeInto("TxtEmail", QStringLiteral("mia@example.it"));
        dialogs_.shown.clear();
        dialogs_.answers = {answer};
        QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
        const Message& domanda = dialogs_.shown.front();
        QCOMPARE(domanda.yesCaption, QStringLiteral("Sovrascrivi"));
        QCOMPARE(domanda.noCaption, QStringLiteral("Ricarica"));
        QVERIFY(domanda.buttons == MsgButtons::YesNoCancel);
        const QString theirs = QStringLiteral("loro %1").arg(int(answer));
        QCOMPARE(stored(bianchi_, "Telefono").toString(), theirs);  // never undone
        switch (answer) {
        case MsgAnswer::Cancel:
            QVERIFY(stored(bianchi_, "Email").isNull());
            QCOMPARE(child("TxtEmail")->text(), QStringLiteral("mia@example.it"));
            QCOMPARE(form_->modificato(), true);
            break;
        case MsgAnswer::No:  // their version, on screen
            QVERIFY(stored(bianchi_, "Email").isNull());
            QCOMPARE(child("TxtEmail")->text(), QString());
            QCOMPARE(child("TxtTelefono")->text(), theirs);
            QCOMPARE(form_->modificato(), false);
            break;
        default:  // this desk's change over theirs: both kept, and shown
            QCOMPARE(stored(bianchi_, "Email").toString(), QStringLiteral("mia@example.it"));
            QCOMPARE(child("TxtTelefono")->text(), theirs);
            QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
        }
    }
    // Saved again with nothing changed elsewhere: no question.
    typeInto("TxtEmail", QStringLiteral("altra@example.it"));
    dialogs_.shown.clear();
    QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
}

void TestSalvaguardia::anotherDeskDeletedTheContact()
{
    store_->rows(QStringLiteral("DELETE FROM Anagrafica WHERE id = %1").arg(bianchi_));
    typeInto("TxtEmail", QStringLiteral("mia@example.it"));
    dialogs_.answers = {MsgAnswer::No};
    QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
    QVERIFY(dialogs_.lastText().contains(QStringLiteral("eliminato")));
    QCOMPARE(store_->rows("SELECT count(*) FROM Anagrafica")[0][0].toInt(), 1);

    dialogs_.answers = {MsgAnswer::Yes};
    QTest::mouseClick(child<QPushButton>("CmdSalva"), Qt::LeftButton);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QVERIFY(form_->idCorrente() != bianchi_);
    QCOMPARE(stored(form_->idCorrente(), "Email").toString(), QStringLiteral("mia@example.it"));
    QCOMPARE(stored(form_->idCorrente(), "Commenti").toString(), kCommento);
}

QTEST_MAIN(TestSalvaguardia)
#include "tst_salvaguardia.moc"
