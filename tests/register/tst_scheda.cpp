#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextEdit>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

const QString kDomanda = QStringLiteral("I dati sono stati modificati, si desidera salvare?");
const QString kCognomeMancante = QStringLiteral("Scrivere il cognome!");

// Text boxes and the column each one is stored in.
const std::pair<const char*, const char*> kCaselle[] = {
    {"TxtCognome", "Cognome"},   {"TxtNome", "Nome"},           {"TxtTipoRef", "TipoRef"}, {"TxtProv", "Prov"},
    {"TxtCitta", "Citta"},       {"TxtIndirizzo", "Indirizzo"}, {"TxtCap", "Cap"},         {"TxtEmail", "Email"},
    {"TxtTelefono", "Telefono"}, {"TxtCell", "Cell"},           {"Txtfonte", "Fonte"}};
const std::pair<const char*, const char*> kDate[] = {
    {"DtInizio", "DataIn"}, {"DtNasc", "DataNasc"}, {"DtDataRicontattare", "DataRicont"}};

bool isSaveQuestion(const Message& m)
{
    return m.text == kDomanda && m.buttons == MsgButtons::YesNoCancel && m.icon == MsgIcon::Question && m.title.isEmpty();
}

bool isStoreError(const QString& text)
{
    return QRegularExpression(QStringLiteral("Errore \\d+\\b.*rifiutato")).match(text).hasMatch();
}

}  // namespace

class TestScheda : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void choosingAnEntryLoadsEveryField();
    void equalNamesLoadTheirOwnContact();
    void largeIdsLoadSaveAndDelete();
    void nuovoEmptiesTheForm();
    void salvaNeedsASurname();
    void salvaWritesANewContactOnceThenUpdatesIt();
    void salvaUpdatesTheLoadedContact();
    void answerYesSavesThenLoadsTheChosenContact();
    void answerYesWithoutSurnameKeepsTheEdits();
    void answerNoLoadsTheChosenContact();
    void eliminaAsksAndDeletes();
    void scorriWrapsAndReloads();
    void textFieldsTrackTheirChanges();
    void dateFieldsTrackTheirChanges_data();
    void dateFieldsTrackTheirChanges();
    void closingWithoutChangesDoesNotAsk();
    void closingAsksAboutUnsavedChanges_data();
    void closingAsksAboutUnsavedChanges();
    void rejectedSaveKeepsTheEdits();
    void rejectedDeleteKeepsTheContact();
    void salvaRefusesControlCharacters();
    void aControlCharacterStoredElsewhereIsShownToBeTakenAway();

private:
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    qint64 bianchi_ = 0, rossiTorino_ = 0, rossiNapoli_ = 0, verdi_ = 0;

    QLineEdit* box(const char* name) const { return form_->findChild<QLineEdit*>(QLatin1String(name)); }
    CalendarField* date(const char* name) const { return form_->findChild<CalendarField*>(QLatin1String(name)); }
    QTextEdit* commenti() const { return form_->findChild<QTextEdit*>(QStringLiteral("TxtCommenti")); }
    ElencoNomi* list() const { return form_->findChild<ElencoNomi*>(QStringLiteral("List1")); }
    QPushButton* button(const char* name) const { return form_->findChild<QPushButton*>(QLatin1String(name)); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    void clickEntry(int row) const { QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->rowRect(row).center()); }
    int selectedRow() const { return list()->selectedRow(); }
    static bool enter(QWidget* field)
    {
        field->setFocus();  // a Tab focus would select the whole text
        return QApplication::focusWidget() == (field->focusProxy() ? field->focusProxy() : field);
    }
    // Replaces the text of the focused field by typing.
    static void retype(const QString& text)
    {
        QWidget* focused = QApplication::focusWidget();
        QTest::keyClick(focused, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(focused, Qt::Key_Backspace);
        QTest::keyClicks(focused, text);
    }
    static void tabOut() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }

    QVariant stored(qint64 id, const QString& column) const
    {
        const auto r = store_->rows(QStringLiteral("SELECT %1 FROM Anagrafica WHERE id = %2").arg(column).arg(id));
        return r.isEmpty() ? QVariant() : r.front().front();
    }
    bool storedNull(qint64 id, const QString& column) const
    {
        return stored(id, column + QStringLiteral(" IS NULL")).toInt() == 1;
    }
    int rowCount() const { return store_->rows(QStringLiteral("SELECT count(*) FROM Anagrafica")).front().front().toInt(); }
    qint64 lastId() const { return store_->rows(QStringLiteral("SELECT max(id) FROM Anagrafica")).front().front().toLongLong(); }
};

void TestScheda::init()
{
    store_ = std::make_unique<test::TempStore>();
    bianchi_ = store_->insert({{"Cognome", "Bianchi"},
                               {"Nome", "Anna"},
                               {"DataIn", "2020-03-15"},
                               {"TipoRef", "Cliente"},
                               {"Prov", "MI"},
                               {"Citta", "Milano"},
                               {"Indirizzo", "Via Po 1"},
                               {"Cap", "20100"},
                               {"Email", "anna@example.it"},
                               {"Telefono", "02 123"},
                               {"Cell", "333 1"},
                               {"DataNasc", "1980-12-31"},
                               {"Fonte", "Fiera"},
                               {"DataRicont", "2024-02-29"},
                               {"Commenti", "prima riga\nseconda riga"}});
    rossiTorino_ = store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Citta", "Torino"}, {"Telefono", "011"}});
    rossiNapoli_ = store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Citta", "Napoli"}, {"Telefono", "081"}});
    verdi_ = store_->insert({{"Cognome", "Verdi"}, {"Nome", "Luca"}});  // everything else Null
    dialogs_.shown.clear();
    dialogs_.answers.clear();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TestScheda::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

void TestScheda::choosingAnEntryLoadsEveryField()
{
    list()->setFocus();  // out of the surname box the window opens on, so no field is left
    clickEntry(0);
    QCOMPARE(form_->idCorrente(), bianchi_);
    const QStringList attesi{"Bianchi",         "Anna",   "Cliente", "MI",   "Milano", "Via Po 1", "20100",
                             "anna@example.it", "02 123", "333 1",   "Fiera"};
    for (int i = 0; i < attesi.size(); ++i) QCOMPARE(box(kCaselle[i].first)->text(), attesi[i]);
    QCOMPARE(date("DtInizio")->value(), QVariant(QDate(2020, 3, 15)));
    QCOMPARE(date("DtNasc")->value(), QVariant(QDate(1980, 12, 31)));
    QCOMPARE(date("DtDataRicontattare")->value(), QVariant(QDate(2024, 2, 29)));
    QCOMPARE(commenti()->toPlainText(), QStringLiteral("prima riga\nseconda riga"));
    QCOMPARE(form_->modificato(), false);

    // Null columns: empty text, and the placeholder date for dates.
    clickEntry(3);
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(box("TxtNome")->text(), QStringLiteral("Luca"));
    for (int i = 2; i < int(std::size(kCaselle)); ++i) QCOMPARE(box(kCaselle[i].first)->text(), QString());
    for (const auto& [name, column] : kDate) QCOMPARE(date(name)->value(), QVariant(QDate(1900, 1, 1)));
    QCOMPARE(commenti()->toPlainText(), QString());

    // The keyboard chooses as well.
    QTest::keyClick(list(), Qt::Key_Home);
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(form_->idCorrente(), bianchi_);
    QCOMPARE(box("TxtCitta")->text(), QStringLiteral("Milano"));
    // Loading ran no focus handling: a field entered now compares with what was loaded.
    QVERIFY(enter(box("TxtCitta")));
    tabOut();
    QVERIFY(!form_->modificato());
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestScheda::equalNamesLoadTheirOwnContact()
{
    QCOMPARE(list()->text(1), list()->text(2));
    QSet<qint64> ids;
    for (int row : {1, 2}) {
        clickEntry(row);
        ids << form_->idCorrente();
        QCOMPARE(box("TxtCitta")->text(),
                 form_->idCorrente() == rossiTorino_ ? QStringLiteral("Torino") : QStringLiteral("Napoli"));
        QCOMPARE(box("TxtTelefono")->text(), stored(form_->idCorrente(), "Telefono").toString());
    }
    QCOMPARE(ids, (QSet<qint64>{rossiTorino_, rossiNapoli_}));
}

void TestScheda::largeIdsLoadSaveAndDelete()
{
    const qint64 grande = 40000, enorme = 5000000000LL;
    store_->insert({{"id", grande}, {"Cognome", "Alti"}, {"Nome", "Quaranta"}});
    store_->insert({{"id", enorme}, {"Cognome", "Altissimi"}, {"Nome", "Cinque"}});
    form_->ElencaTutti();
    for (const auto& [row, id] : {std::pair{0, grande}, std::pair{1, enorme}}) {
        clickEntry(row);
        QCOMPARE(form_->idCorrente(), id);
        QCOMPARE(box("TxtNome")->text(), stored(id, "Nome").toString());
        box("TxtNome")->setText(QStringLiteral("Cambiato %1").arg(id));
        click("CmdSalva");
        QCOMPARE(rowCount(), 6);
        QCOMPARE(form_->idCorrente(), id);
        QCOMPARE(stored(id, "Nome").toString(), QStringLiteral("Cambiato %1").arg(id));
    }
    dialogs_.answers = {MsgAnswer::Yes};
    click("CmdElimina");
    QCOMPARE(rowCount(), 5);
    QVERIFY(!stored(enorme, "id").isValid());
    QVERIFY(stored(grande, "id").isValid());
}

void TestScheda::nuovoEmptiesTheForm()
{
    // Unsaved changes are asked about first (answered No here), so the flag ends clear.
    for (int flag : {0, -1}) {
        clickEntry(0);
        box("TxtRicerca")->setText(QStringLiteral("Bia"));
        if (flag) QVERIFY(test::modificaCampo(box("TxtNome"), [this] { box("TxtNome")->setText(QStringLiteral("Cambiato")); }));
        dialogs_.shown.clear();
        click("CmdNuovo");
        QCOMPARE(dialogs_.shown.size(), flag ? 1 : 0);
        if (flag) QVERIFY(isSaveQuestion(dialogs_.shown[0]));
        for (const auto& [name, column] : kCaselle) QVERIFY2(box(name)->text().isEmpty(), name);
        for (const auto& [name, column] : kDate) {
            QVERIFY2(!date(name)->value().isValid(), name);
            QCOMPARE(date(name)->text(), QString());
        }
        QCOMPARE(commenti()->toPlainText(), QString());
        QCOMPARE(box("TxtRicerca")->text(), QString());
        QCOMPARE(form_->idCorrente(), 0);
        QCOMPARE(form_->modificato(), false);
    }
}

void TestScheda::salvaNeedsASurname()
{
    click("CmdNuovo");
    box("TxtNome")->setText(QStringLiteral("Solo nome"));
    QVERIFY(enter(box("TxtRicerca")));
    QVERIFY(!form_->CmdSalva_Click());
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.shown[0].text, kCognomeMancante);
    QVERIFY(dialogs_.shown[0].buttons == MsgButtons::Ok);
    QVERIFY(dialogs_.shown[0].icon == MsgIcon::Information);
    QCOMPARE(QApplication::focusWidget(), box("TxtCognome"));
    QCOMPARE(rowCount(), 4);
    QCOMPARE(form_->modificato(), false);

    QVERIFY(test::modificaCampo(box("TxtTipoRef"), [this] { box("TxtTipoRef")->setText(QStringLiteral("Cliente")); }));
    click("CmdSalva");
    QCOMPARE(dialogs_.lastText(), kCognomeMancante);
    QCOMPARE(rowCount(), 4);
    QCOMPARE(form_->modificato(), true);

    // One blank is a surname.
    QVERIFY(enter(box("TxtCognome")));
    QTest::keyClick(box("TxtCognome"), Qt::Key_Space);
    click("CmdSalva");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(rowCount(), 5);
    QCOMPARE(stored(form_->idCorrente(), "Cognome").toString(), QStringLiteral(" "));
    QCOMPARE(stored(form_->idCorrente(), "Nome").toString(), QStringLiteral("Solo nome"));
}

void TestScheda::salvaWritesANewContactOnceThenUpdatesIt()
{
    click("CmdNuovo");
    QVERIFY(enter(box("TxtCognome")));
    QTest::keyClicks(box("TxtCognome"), "Neri");
    const QStringList valori{"Neri", "Ugo", "Fornitore", "TO", "Torino", "Corso Francia 2", "10100", "", "011 555", "", "Web"};
    for (int i = 1; i < valori.size(); ++i) box(kCaselle[i].first)->setText(valori[i]);
    date("DtNasc")->setValue(QDate(1990, 5, 6));
    commenti()->setHtml(QStringLiteral("<p><b>uno</b></p><p>due</p>"));
    box("TxtRicerca")->setText(QStringLiteral("Ver"));
    QCOMPARE(list()->count(), 1);

    click("CmdSalva");
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(rowCount(), 5);
    const qint64 id = form_->idCorrente();
    QCOMPARE(id, lastId());
    for (int i = 0; i < valori.size(); ++i) {
        QCOMPARE(stored(id, kCaselle[i].second).toString(), valori[i]);
        QVERIFY2(!storedNull(id, kCaselle[i].second), kCaselle[i].second);  // empty boxes store empty text
    }
    QCOMPARE(stored(id, "DataNasc").toString(), QStringLiteral("1990-05-06"));
    QVERIFY(storedNull(id, "DataIn"));
    QVERIFY(storedNull(id, "DataRicont"));
    QCOMPARE(stored(id, "Commenti").toString(), QStringLiteral("uno\ndue"));
    QCOMPARE(list()->count(), 5);
    QCOMPARE(selectedRow(), -1);
    QCOMPARE(Filtro(), QStringLiteral(" "));
    QCOMPARE(box("TxtRicerca")->text(), QStringLiteral("Ver"));
    QCOMPARE(form_->modificato(), false);

    box("TxtNome")->setText(QStringLiteral("Ugo Secondo"));
    click("CmdSalva");
    QCOMPARE(rowCount(), 5);
    QCOMPARE(form_->idCorrente(), id);
    QCOMPARE(stored(id, "Nome").toString(), QStringLiteral("Ugo Secondo"));
}

void TestScheda::salvaUpdatesTheLoadedContact()
{
    clickEntry(3);
    box("TxtCitta")->setText(QStringLiteral("Pisa"));
    click("CmdSalva");
    QCOMPARE(rowCount(), 4);
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(stored(verdi_, "Citta").toString(), QStringLiteral("Pisa"));
    // Fields the user did not touch keep what is stored: Null dates (shown as the
    // placeholder date) and Null texts stay Null.
    for (const auto& [name, column] : kDate) QVERIFY2(storedNull(verdi_, column), column);
    QVERIFY(storedNull(verdi_, "Prov"));
    QVERIFY(storedNull(verdi_, "Commenti"));
}

void TestScheda::answerYesSavesThenLoadsTheChosenContact()
{
    clickEntry(0);
    QVERIFY(enter(box("TxtCitta")));
    retype(QStringLiteral("Como"));
    dialogs_.answers = {MsgAnswer::Yes};
    clickEntry(3);  // straight from the edited field: the change counts
    QCOMPARE(dialogs_.shown.size(), 2);
    QVERIFY(isSaveQuestion(dialogs_.shown[0]));
    QCOMPARE(dialogs_.shown[1].text, QStringLiteral("Salvato"));
    QCOMPARE(stored(bianchi_, "Citta").toString(), QStringLiteral("Como"));
    QCOMPARE(stored(verdi_, "Cognome").toString(), QStringLiteral("Verdi"));
    QCOMPARE(rowCount(), 4);
    // The save refilled the list; the choice then goes on, and the list points at it.
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(box("TxtCognome")->text(), QStringLiteral("Verdi"));
    QCOMPARE(form_->modificato(), false);
    QCOMPARE(list()->count(), 4);
    QCOMPARE(selectedRow(), 3);
}

void TestScheda::answerYesWithoutSurnameKeepsTheEdits()
{
    clickEntry(0);
    QVERIFY(enter(box("TxtNome")));
    retype(QStringLiteral("Annalisa"));
    QVERIFY(enter(box("TxtCognome")));
    retype(QString());
    dialogs_.answers = {MsgAnswer::Yes};
    clickEntry(3);
    QCOMPARE(dialogs_.shown.size(), 2);
    QVERIFY(isSaveQuestion(dialogs_.shown[0]));
    QCOMPARE(dialogs_.shown[1].text, kCognomeMancante);
    QCOMPARE(QApplication::focusWidget(), box("TxtCognome"));
    QCOMPARE(form_->idCorrente(), bianchi_);
    QCOMPARE(box("TxtCognome")->text(), QString());
    QCOMPARE(box("TxtNome")->text(), QStringLiteral("Annalisa"));
    QCOMPARE(box("TxtCitta")->text(), QStringLiteral("Milano"));
    QCOMPARE(form_->modificato(), true);
    QCOMPARE(stored(bianchi_, "Cognome").toString(), QStringLiteral("Bianchi"));
    QCOMPARE(stored(bianchi_, "Nome").toString(), QStringLiteral("Anna"));
    QCOMPARE(rowCount(), 4);
    QCOMPARE(selectedRow(), 0);  // the list still points at the contact in the form
}

void TestScheda::answerNoLoadsTheChosenContact()
{
    clickEntry(0);
    QVERIFY(enter(box("TxtNome")));
    QTest::keyClicks(box("TxtNome"), "x");
    dialogs_.answers = {MsgAnswer::No};
    clickEntry(3);
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY(isSaveQuestion(dialogs_.shown[0]));
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(box("TxtNome")->text(), QStringLiteral("Luca"));
    QCOMPARE(form_->modificato(), false);
    QCOMPARE(stored(bianchi_, "Nome").toString(), QStringLiteral("Anna"));
}

void TestScheda::eliminaAsksAndDeletes()
{
    clickEntry(3);
    dialogs_.answers = {MsgAnswer::No};
    click("CmdElimina");
    QCOMPARE(dialogs_.shown.size(), 1);
    const Message& domanda = dialogs_.shown[0];
    QCOMPARE(domanda.text, QStringLiteral("Cancellare il contatto selezionato?\n\nVerdi Luca"));  // the one on screen
    QCOMPARE(domanda.title, QStringLiteral("Info"));
    QVERIFY(domanda.buttons == MsgButtons::YesNo);
    QVERIFY(domanda.defaultAnswer == MsgAnswer::Yes);
    QCOMPARE(rowCount(), 4);
    QCOMPARE(list()->count(), 4);

    box("TxtRicerca")->setText(QStringLiteral("Ver"));
    dialogs_.answers = {MsgAnswer::Yes};
    click("CmdElimina");
    QCOMPARE(rowCount(), 3);
    QVERIFY(!stored(verdi_, "id").isValid());
    QCOMPARE(list()->count(), 3);
    QCOMPARE(selectedRow(), -1);
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(box("TxtCognome")->text(), QStringLiteral("Verdi"));

    // Saving again brings the contact back under a new key.
    click("CmdSalva");
    QCOMPARE(rowCount(), 4);
    QVERIFY(form_->idCorrente() != verdi_);
    QCOMPARE(form_->idCorrente(), lastId());
    QCOMPARE(stored(form_->idCorrente(), "Nome").toString(), QStringLiteral("Luca"));

    // Nothing on screen: still asks, deletes nothing, refills.
    click("CmdNuovo");
    box("TxtRicerca")->setText(QStringLiteral("Ross"));
    QCOMPARE(list()->count(), 2);
    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::Yes};
    click("CmdElimina");
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(rowCount(), 4);
    QCOMPARE(list()->count(), 4);
}

void TestScheda::scorriWrapsAndReloads()
{
    clickEntry(3);
    form_->Scorri(QStringLiteral("A"));
    QCOMPARE(selectedRow(), 0);
    QCOMPARE(form_->idCorrente(), bianchi_);
    form_->Scorri(QStringLiteral("I"));
    QCOMPARE(selectedRow(), 3);
    QCOMPARE(form_->idCorrente(), verdi_);
    QCOMPARE(box("TxtNome")->text(), QStringLiteral("Luca"));

    box("TxtRicerca")->setText(QStringLiteral("Verdi"));
    QCOMPARE(list()->count(), 1);
    clickEntry(0);
    for (const QString& direzione : {QStringLiteral("A"), QStringLiteral("I")}) {
        box("TxtNome")->setText(QStringLiteral("Cambiato"));
        form_->Scorri(direzione);
        QCOMPARE(selectedRow(), 0);
        QCOMPARE(box("TxtNome")->text(), QStringLiteral("Luca"));
    }

    // No entry chosen: nothing moves, nothing is asked.
    form_->ElencaTutti();
    QVERIFY(test::modificaCampo(box("TxtNome"), [this] { box("TxtNome")->setText(QStringLiteral("Cambiato")); }));
    form_->Scorri(QStringLiteral("A"));
    QCOMPARE(selectedRow(), -1);
    QCOMPARE(box("TxtNome")->text(), QStringLiteral("Cambiato"));
    QCOMPARE(form_->idCorrente(), verdi_);
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestScheda::textFieldsTrackTheirChanges()
{
    clickEntry(0);
    QVERIFY(enter(box("TxtCognome")));
    tabOut();
    QCOMPARE(QApplication::focusWidget(), box("TxtNome"));
    QVERIFY(enter(box("TxtCitta")));
    QTest::keyClicks(box("TxtCitta"), "x");
    QTest::keyClick(box("TxtCitta"), Qt::Key_Backspace);
    tabOut();
    QCOMPARE(form_->modificato(), false);

    QVERIFY(enter(box("TxtCognome")));
    retype(QStringLiteral("bianchi"));  // only the case differs
    tabOut();
    QCOMPARE(form_->modificato(), true);

    dialogs_.answers = {MsgAnswer::No};  // the edit dropped
    form_->CmdNuovo_Click();
    clickEntry(0);
    QVERIFY(!form_->modificato());
    QVERIFY(enter(commenti()));
    QTest::keyClicks(commenti(), " ancora");
    QVERIFY(enter(box("TxtRicerca")));
    QCOMPARE(form_->modificato(), true);
}

void TestScheda::dateFieldsTrackTheirChanges_data()
{
    QTest::addColumn<int>("contatto");  // list row
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("modifica");
    QTest::addColumn<QString>("verso");  // where the focus goes next; "Tab" for the next field
    QTest::addColumn<int>("atteso");
    QTest::newRow("untouched, Tab to a text box") << 0 << "DtInizio"
                                                  << ""
                                                  << "Tab" << 0;
    QTest::newRow("untouched, to another date") << 0 << "DtNasc"
                                                << ""
                                                << "DtInizio" << 0;
    QTest::newRow("untouched, to the search box") << 0 << "DtNasc"
                                                  << ""
                                                  << "TxtRicerca" << 0;
    QTest::newRow("Svuota, to the search box") << 0 << "DtNasc"
                                               << "Svuota"
                                               << "TxtRicerca" << -1;
    QTest::newRow("Svuota, Tab to an empty text box") << 3 << "DtNasc"
                                                      << "Svuota"
                                                      << "Tab" << -1;
    QTest::newRow("editor emptied, to a text box") << 0 << "DtInizio"
                                                   << "editor"
                                                   << "TxtNome" << -1;
}

void TestScheda::dateFieldsTrackTheirChanges()
{
    QFETCH(int, contatto);
    QFETCH(QString, campo);
    QFETCH(QString, modifica);
    QFETCH(QString, verso);
    QFETCH(int, atteso);
    clickEntry(contatto);
    CalendarField* field = date(qPrintable(campo));
    QVERIFY(field->value().isValid());
    if (modifica == u"Svuota") {
        field->showPopup();
        auto* svuota = field->findChild<QPushButton*>(QStringLiteral("Svuota"));
        QVERIFY(svuota && svuota->isVisible());
        QTest::mouseClick(svuota, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), field->editor());
    } else {
        QVERIFY(enter(field));
        if (modifica == u"editor") field->editor()->setText(QString());
    }
    if (verso == u"Tab")
        tabOut();
    else
        QVERIFY(enter(form_->findChild<QWidget*>(verso)));
    QVERIFY(!field->editor()->hasFocus());
    QCOMPARE(field->value().isValid(), modifica.isEmpty());
    QCOMPARE(form_->modificato(), atteso != 0);
}

void TestScheda::closingWithoutChangesDoesNotAsk()
{
    clickEntry(0);
    QVERIFY(enter(box("TxtNome")));
    QTest::keyClicks(box("TxtNome"), "x");
    QTest::keyClick(box("TxtNome"), Qt::Key_Backspace);
    click("CmdEsci");
    QVERIFY(dialogs_.shown.isEmpty());
    QVERIFY(!form_->isVisible());
    QVERIFY(!Connessione());
}

void TestScheda::closingAsksAboutUnsavedChanges_data()
{
    QTest::addColumn<bool>("viaEsci");
    QTest::addColumn<MsgAnswer>("risposta");
    QTest::addColumn<QString>("cognome");
    QTest::addColumn<bool>("chiude");
    QTest::addColumn<QString>("nomeSalvato");
    QTest::newRow("yes, field never left") << false << MsgAnswer::Yes << "Bianchi" << true << "Annalisa";
    QTest::newRow("yes, Esci") << true << MsgAnswer::Yes << "Bianchi" << true << "Annalisa";
    QTest::newRow("yes, no surname") << false << MsgAnswer::Yes << "" << false << "Anna";
    QTest::newRow("no") << false << MsgAnswer::No << "Bianchi" << true << "Anna";
}

void TestScheda::closingAsksAboutUnsavedChanges()
{
    QFETCH(bool, viaEsci);
    QFETCH(MsgAnswer, risposta);
    QFETCH(QString, cognome);
    QFETCH(bool, chiude);
    QFETCH(QString, nomeSalvato);
    clickEntry(0);
    box("TxtCognome")->setText(cognome);
    QVERIFY(enter(box("TxtNome")));
    QTest::keyClicks(box("TxtNome"), "lisa");
    QCOMPARE(form_->modificato(), false);
    dialogs_.answers = {risposta};
    if (viaEsci)
        click("CmdEsci");
    else
        QCOMPARE(form_->close(), chiude);
    QVERIFY(!dialogs_.shown.isEmpty());
    QVERIFY(isSaveQuestion(dialogs_.shown[0]));
    QCOMPARE(form_->isVisible(), !chiude);
    QCOMPARE(bool(Connessione()), !chiude);
    QCOMPARE(stored(bianchi_, "Nome").toString(), nomeSalvato);
    QCOMPARE(rowCount(), 4);
}

void TestScheda::rejectedSaveKeepsTheEdits()
{
    BRENZOLA_SOLO_FILE("the refusals are SQLite triggers");
    clickEntry(0);
    store_->rows("CREATE TRIGGER no_update BEFORE UPDATE ON Anagrafica BEGIN SELECT RAISE(ABORT,'rifiutato'); END;");
    QVERIFY(enter(box("TxtCitta")));
    retype(QStringLiteral("Como"));
    click("CmdSalva");
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(isStoreError(dialogs_.lastText()), qPrintable(dialogs_.lastText()));
    QCOMPARE(stored(bianchi_, "Citta").toString(), QStringLiteral("Milano"));
    QVERIFY(form_->isVisible());
    QVERIFY(Connessione());
    QCOMPARE(box("TxtCitta")->text(), QStringLiteral("Como"));
    QCOMPARE(form_->idCorrente(), bianchi_);
    QCOMPARE(form_->modificato(), true);

    // The same save reached through the question when choosing another entry.
    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::Yes};
    clickEntry(3);
    QCOMPARE(dialogs_.shown.size(), 2);
    QVERIFY(isSaveQuestion(dialogs_.shown[0]));
    QVERIFY2(isStoreError(dialogs_.lastText()), qPrintable(dialogs_.lastText()));
    QCOMPARE(form_->idCorrente(), bianchi_);
    QCOMPARE(box("TxtCognome")->text(), QStringLiteral("Bianchi"));
    QCOMPARE(box("TxtCitta")->text(), QStringLiteral("Como"));
    QCOMPARE(form_->modificato(), true);
    QCOMPARE(stored(bianchi_, "Citta").toString(), QStringLiteral("Milano"));

    // A new contact the store refuses.
    store_->rows("CREATE TRIGGER no_insert BEFORE INSERT ON Anagrafica BEGIN SELECT RAISE(ABORT,'rifiutato'); END;");
    click("CmdNuovo");
    box("TxtCognome")->setText(QStringLiteral("Neri"));
    dialogs_.shown.clear();
    click("CmdSalva");
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(isStoreError(dialogs_.lastText()), qPrintable(dialogs_.lastText()));
    QCOMPARE(rowCount(), 4);
    QCOMPARE(form_->idCorrente(), 0);
    QCOMPARE(box("TxtCognome")->text(), QStringLiteral("Neri"));

    // Once the store accepts again, the same window saves.
    store_->rows("DROP TRIGGER no_insert");
    click("CmdSalva");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(rowCount(), 5);
}

void TestScheda::rejectedDeleteKeepsTheContact()
{
    BRENZOLA_SOLO_FILE("the refusal is a SQLite trigger");
    clickEntry(0);
    store_->rows("CREATE TRIGGER no_delete BEFORE DELETE ON Anagrafica BEGIN SELECT RAISE(ABORT,'rifiutato'); END;");
    QVERIFY(test::modificaCampo(box("TxtNome"), [this] { box("TxtNome")->setText(QStringLiteral("Cambiato")); }));
    dialogs_.answers = {MsgAnswer::Yes};
    click("CmdElimina");
    QCOMPARE(dialogs_.shown.size(), 2);
    QVERIFY2(isStoreError(dialogs_.lastText()), qPrintable(dialogs_.lastText()));
    QCOMPARE(rowCount(), 4);
    QCOMPARE(stored(bianchi_, "Cognome").toString(), QStringLiteral("Bianchi"));
    QVERIFY(form_->isVisible());
    QVERIFY(Connessione());
    QCOMPARE(form_->idCorrente(), bianchi_);
    QCOMPARE(box("TxtCognome")->text(), QStringLiteral("Bianchi"));
    QCOMPARE(form_->modificato(), true);
}

void TestScheda::salvaRefusesControlCharacters()
{
    const auto rifiutato = [this](const QString& motivo) {
        const Message& m = dialogs_.shown.back();
        const QString atteso = QStringLiteral(
                                   "Il contatto non è stato salvato.\n\nErrore 13: %1, che non si può conservare: "
                                   "toglierlo e salvare di nuovo.")
                                   .arg(motivo);
        return m.text == atteso && m.icon == MsgIcon::Critical && m.buttons == MsgButtons::Ok;
    };
    clickEntry(0);
    QVERIFY(test::modificaCampo(box("TxtCitta"), [this] { box("TxtCitta")->setText(QStringLiteral("Mi\alano")); }));
    click("CmdSalva");
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(rifiutato(QStringLiteral("Il campo Città contiene un carattere di controllo (U+0007)")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(stored(bianchi_, "Citta").toString(), QStringLiteral("Milano"));
    QCOMPARE(box("TxtCitta")->text(), QStringLiteral("Mi\alano"));
    QCOMPARE(QApplication::focusWidget(), box("TxtCitta"));
    QCOMPARE(box("TxtCitta")->selectedText(), QStringLiteral("\a"));  // one key takes it away
    QCOMPARE(form_->modificato(), true);
    QTest::keyClick(box("TxtCitta"), Qt::Key_Delete);
    QCOMPARE(box("TxtCitta")->text(), QStringLiteral("Milano"));
    QVERIFY(test::modificaCampo(box("TxtCell"), [this] { box("TxtCell")->setText(QStringLiteral("333\x7F")); }));
    click("CmdSalva");
    QVERIFY2(rifiutato(QStringLiteral("Il campo Cell. contiene un carattere di controllo (U+007F)")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(box("TxtCell")->selectedText(), QStringLiteral("\x7F"));
    QTest::keyClick(box("TxtCell"), Qt::Key_Delete);
    click("CmdSalva");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(stored(bianchi_, "Cell").toString(), QStringLiteral("333"));

    // In the comments of a new contact, after a tab and a line break, which are allowed.
    click("CmdNuovo");
    box("TxtCognome")->setText(QStringLiteral("Neri"));
    QVERIFY(test::modificaCampo(commenti(), [this] { commenti()->setPlainText(QStringLiteral("uno\tdue\ntre\fquattro")); }));
    dialogs_.shown.clear();
    click("CmdSalva");
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(rifiutato(QStringLiteral("Il campo Commenti contiene un carattere di controllo (U+000C)")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(rowCount(), 4);
    QCOMPARE(form_->idCorrente(), 0);
    QCOMPARE(QApplication::focusWidget(), commenti());
    QCOMPARE(commenti()->textCursor().selectedText(), QStringLiteral("\f"));
    QCOMPARE(commenti()->toPlainText(), QStringLiteral("uno\tdue\ntre\fquattro"));

    // The same refusal through the question when leaving the contact: the edits stay.
    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::Yes};
    clickEntry(3);
    QCOMPARE(dialogs_.shown.size(), 2);
    QVERIFY(isSaveQuestion(dialogs_.shown[0]));
    QVERIFY2(rifiutato(QStringLiteral("Il campo Commenti contiene un carattere di controllo (U+000C)")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(form_->idCorrente(), 0);
    QCOMPARE(box("TxtCognome")->text(), QStringLiteral("Neri"));
    QCOMPARE(commenti()->toPlainText(), QStringLiteral("uno\tdue\ntre\fquattro"));
    QCOMPARE(rowCount(), 4);

    // Taken away, the rest is saved as typed.
    QVERIFY(test::modificaCampo(commenti(), [this] { QTest::keyClick(commenti(), Qt::Key_Delete); }));
    click("CmdSalva");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(rowCount(), 5);
    QCOMPARE(stored(lastId(), "Commenti").toString(), QStringLiteral("uno\tdue\ntrequattro"));
}

void TestScheda::aControlCharacterStoredElsewhereIsShownToBeTakenAway()
{
    BRENZOLA_SOLO_FILE("a NUL in text is SQLite's: PostgreSQL refuses it");
    store_->rows(QStringLiteral("UPDATE Anagrafica SET Fonte = 'Fi' || char(0) || 'era' WHERE id = %1").arg(bianchi_));
    clickEntry(0);
    QCOMPARE(box("Txtfonte")->text(), QStringLiteral("Fi") + QChar(0) + QStringLiteral("era"));
    // Whatever else changed, the save names it and writes nothing.
    QVERIFY(test::modificaCampo(box("TxtNome"), [this] { box("TxtNome")->setText(QStringLiteral("Annalisa")); }));
    click("CmdSalva");
    QCOMPARE(dialogs_.shown.size(), 1);
    QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Il campo Fonte contiene un carattere di controllo (U+0000)")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(stored(bianchi_, "Nome").toString(), QStringLiteral("Anna"));
    QCOMPARE(box("TxtNome")->text(), QStringLiteral("Annalisa"));
    QCOMPARE(QApplication::focusWidget(), box("Txtfonte"));
    QTest::keyClick(box("Txtfonte"), Qt::Key_Delete);
    click("CmdSalva");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(stored(bianchi_, "Fonte").toString(), QStringLiteral("Fiera"));
    QCOMPARE(stored(bianchi_, "Nome").toString(), QStringLiteral("Annalisa"));
}

QTEST_MAIN(TestScheda)
#include "tst_scheda.moc"
