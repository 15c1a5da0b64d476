// The list narrows and refills from the names it holds in memory: it must list exactly what
// the store would, in the store's order, and follow every change, its own and others'.
#include "demodata.h"
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/connection.h"
#include "store/funzioni.h"
#include "store/indicenomi.h"
#include "store/registro.h"
#include "store/storeerror.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QTest>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

QString quoted(const QString& text) { return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\''; }

// Names that sort and match awkwardly: accents, apostrophes, spaces, letter case,
// wildcards, letters beyond the BMP, Null and empty parts, and many equal names.
QString pezzo(int i, std::initializer_list<const char*> pezzi)
{
    return QString::fromUtf8(*(pezzi.begin() + i % int(pezzi.size())));
}

}  // namespace

class TestIndiceNomi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void aLargeListIsTheStoresInTheStoresOrder();
    void theQuickSearchFindsPeopleByNameNumberAndEmail();
    void realRegistersAreListedAndSearchedAsTheStoreDoes_data();
    void realRegistersAreListedAndSearchedAsTheStoreDoes();
    void anotherProgramsChangesAreListed();
    void ownSavesAndDeletesTakeTheirPlace();
    void theListFollowsAnotherProgramByItself();
    void aRegisterDamagedHalfwayIsNotListedInPart();

private:
    // The list as the store gives it, with the same statement as the list: "text|id".
    QStringList storeList(const QString& condizione) const;
    QStringList shownList() const;
    void press(const char* button) const { QTest::mouseClick(form_->findChild<QWidget*>(button), Qt::LeftButton); }

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    ElencoNomi* list() const { return form_->findChild<ElencoNomi*>("List1"); }
    QLineEdit* field(const char* name) const { return form_->findChild<QLineEdit*>(name); }
};

void TestIndiceNomi::init()
{
    store_ = std::make_unique<test::TempStore>();
    dialogs_.shown.clear();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
}

void TestIndiceNomi::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

QStringList TestIndiceNomi::storeList(const QString& condizione) const
{
    QStringList result;
    Connection connection;
    connection.Open(StringaConnessionePer(store_->path()));
    connection.readRows(
        QStringLiteral("Select Cognome & ' ' & Nome, id from Anagrafica %1 ORDER BY Cognome & ' ' & Nome, id").arg(condizione),
        [&](const RowView& row) { result << row.text(0).toString() + u'|' + QString::number(row.integer(1)); });
    return result;
}

QStringList TestIndiceNomi::shownList() const
{
    QStringList result;
    for (int i = 0; i < list()->count(); ++i) result << list()->text(i) + u'|' + QString::number(list()->chiave(i));
    return result;
}

void TestIndiceNomi::aLargeListIsTheStoresInTheStoresOrder()
{
    // Enough contacts for the sort to share the work between threads.
    constexpr int kContatti = 24000;
    for (int first = 0; first < kContatti; first += 500) {
        QStringList values;
        for (int i = first; i < first + 500; ++i) {
            QString cognome =
                pezzo(i, {"Rossi",  "rossi", "ROSSI", "Èrcoli",    "Ercoli",       "D'Angelo", "Dangelo", "de Luca", "De Luca",
                          "DeLuca", "Öhler", "Ohler", "Ferri_Bis", "Lombardi 50%", "Zeta",     "Nicolò",  "Nicolo",  "Ærø",
                          "𝒜lfa",   "Çelik", "Ħal",   "",          "Ünal",         "Àrpi"})
                + pezzo(i / 24, {"", "", "", "ni", "tti", " Bis", "'s", "à"});
            const QString nome = pezzo(i / 7, {"Anna", "anna", "Élise", "Zoè", "", "Luca", "Niccolò", "Mario"});
            values << QStringLiteral("(%1, %2)")
                          .arg(i % 97 == 0 ? QStringLiteral("NULL") : quoted(cognome),
                               i % 89 == 0 ? QStringLiteral("NULL") : quoted(nome));
        }
        store_->rows(QStringLiteral("INSERT INTO Anagrafica (Cognome, Nome) VALUES ") + values.join(u','));
    }
    QVERIFY(form_->Form_Load(store_->path()));
    QCOMPARE(list()->count(), kContatti);
    QCOMPARE(shownList(), storeList(QString()));
    QCOMPARE(form_->findChild<QLabel*>("LblNum")->text(), QString::number(kContatti));

    // The quick search finds what the store's like() finds, whatever is typed.
    for (const QString& typed : {QStringLiteral("ross"), QStringLiteral("ÈR"), QStringLiteral("d'"), QStringLiteral("i_b"),
                                 QStringLiteral("i5%"), QStringLiteral("%"), QStringLiteral("_"), QStringLiteral("o%l"),
                                 QStringLiteral("𝒜"), QStringLiteral("l_"), QStringLiteral("ø"), QString()}) {
        field("TxtRicerca")->setText(typed);
        QCOMPARE(shownList(), storeList(QStringLiteral("where cognome like ") + quoted(u'%' + typed + u'%')));
    }
    // Typing on narrows; deleting widens again.
    for (const char* typed : {"r", "ro", "ros", "ross", "rossit", "ross", "r"}) {
        field("TxtRicerca")->setText(QString::fromLatin1(typed));
        QCOMPARE(shownList(), storeList(QStringLiteral("where cognome like '%%1%'").arg(QLatin1String(typed))));
    }
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestIndiceNomi::theQuickSearchFindsPeopleByNameNumberAndEmail()
{
    const auto contatto = [this](const char* cognome, const char* nome, const char* telefono, const char* cell,
                                 const char* email) {
        QVariantMap campi;
        const auto metti = [&campi](const char* campo, const char* valore) {
            if (valore) campi.insert(QLatin1String(campo), QString::fromUtf8(valore));
        };
        metti("Cognome", cognome);
        metti("Nome", nome);
        metti("Telefono", telefono);
        metti("Cell", cell);
        metti("Email", email);
        store_->insert(campi);
    };
    contatto("Rossi", "Mario", "+39 335/123 4567", nullptr, "Mario.Rossi@Example.it");
    contatto("Rossi", "Marta", "06 1234567", "339-765.4321", "marta_r@posta.it");
    contatto("De Luca", "Maria Grazia", "(02) 555 0101", nullptr, nullptr);
    contatto("Rossini", "Matteo", nullptr, "0039 347 1112223", "MATTEO@ROSSINI.COM");
    contatto(nullptr, "Mario", "0612", nullptr, "x@y");
    contatto("Bianchi", nullptr, "tel 335 1234567 ufficio", "", "");
    contatto("Èrcoli", "Zoè", "3351234567", nullptr, "èrcoli@città.it");
    contatto("D'Angelo", "Anna", "335 12", "", "anna%d@x.it");
    QVERIFY(form_->Form_Load(store_->path()));

    const auto trova = [this](const QString& typed) {
        field("TxtRicerca")->setText(typed);
        QStringList nomi;
        for (int i = 0; i < list()->count(); ++i) nomi << list()->text(i);
        return nomi;
    };
    // Words with a space: surname and first name, in either order, across double names.
    QCOMPARE(trova("Rossi Ma"), QStringList({"Rossi Mario", "Rossi Marta"}));
    QCOMPARE(trova("mario rossi"), QStringList({"Rossi Mario"}));
    QCOMPARE(trova("luca maria g"), QStringList({"De Luca Maria Grazia"}));
    QCOMPARE(trova("grazia de"), QStringList({"De Luca Maria Grazia"}));
    QCOMPARE(trova(" mario"), QStringList({" Mario", "Rossi Mario"}));
    // Digits: telephone or mobile, whatever is written between them, +39 or 0039 aside.
    QCOMPARE(trova("3351234567"), QStringList({"Bianchi ", "Èrcoli Zoè", "Rossi Mario"}));
    QCOMPARE(trova("+39 335 12"), QStringList({"Bianchi ", "D'Angelo Anna", "Èrcoli Zoè", "Rossi Mario"}));
    QCOMPARE(trova("347/111"), QStringList({"Rossini Matteo"}));
    QCOMPARE(trova("0039 3397654"), QStringList({"Rossi Marta"}));
    QCOMPARE(trova("(02) 555-01"), QStringList({"De Luca Maria Grazia"}));
    // "@": the e-mail, in any case.
    QCOMPARE(trova("rossi@"), QStringList({"Rossi Mario"}));
    QCOMPARE(trova("@rossini"), QStringList({"Rossini Matteo"}));
    QCOMPARE(trova("@CITTÀ"), QStringList({"Èrcoli Zoè"}));
    QCOMPARE(trova("a_r@"), QStringList({"Rossi Marta"}));
    QCOMPARE(trova("a%d@"), QStringList({"D'Angelo Anna"}));
    // A word is still a surname.
    QCOMPARE(trova("ross"), QStringList({"Rossi Mario", "Rossi Marta", "Rossini Matteo"}));

    // Many more, drawn from the same names and numbers: the list is what the store finds
    // with the filter a printout uses, however the user types, narrows or widens.
    QRandomGenerator caso(test::semeCasuale(24));
    const QStringList cognomi = {"Rossi", "De Luca", "Rossini", "D'Angelo", "Èrcoli", "", "Maria", "Rossi Bianchi"};
    const QStringList nomi = {"Mario", "Maria Grazia", "Anna", "Zoè", "", "Rossi", "Ma Rossi"};
    const QStringList numeri = {"+39 335/123 4567", "06 1234567", "335.12", "0039-347", "tel. 02/55", "", "12 34"};
    const QStringList posta = {"a@b.it", "Rossi@X.com", "ma_r@p.it", "È@città.it", "", "x%y@z"};
    QStringList valori;
    const auto unDi = [&caso](const QStringList& tra) {
        const int quale = caso.bounded(int(tra.size()) + 1);
        return quale == tra.size() ? QStringLiteral("NULL") : quoted(tra[quale]);
    };
    for (int i = 0; i < 3000; ++i)
        valori << QStringLiteral("(%1, %2, %3, %4, %5)").arg(unDi(cognomi), unDi(nomi), unDi(numeri), unDi(numeri), unDi(posta));
    store_->rows(QStringLiteral("INSERT INTO Anagrafica (Cognome, Nome, Telefono, Cell, Email) VALUES ") + valori.join(u','));
    form_->ElencaTutti();
    for (const char* typed :
         {"r",      "ro",  "rossi", "rossi ", "rossi m", "rossi ma", "rossi m", "rossi", "a r",     "i m%",    "o_s a",
          "ma ros", "3",   "33",    "335",    "335 1",   "+39 3351", "3351",    "+39",   "0039 34", "12 34",   "@",
          "rossi@", "_r@", "%@%",   "@città", "x%y",     "è@",       "Zoè ",    " ",     "  ma",    "de luca", "de luca mari"}) {
        const QString testo = QString::fromUtf8(typed);
        field("TxtRicerca")->setText(testo);
        QCOMPARE(shownList(), storeList(Registro::corrente().filtro));
    }
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestIndiceNomi::realRegistersAreListedAndSearchedAsTheStoreDoes_data()
{
    QTest::addColumn<int>("varieta");
    QTest::newRow("realistic") << int(Varieta::Realistica);
    QTest::newRow("every surname distinct") << int(Varieta::Distinti);
}

void TestIndiceNomi::realRegistersAreListedAndSearchedAsTheStoreDoes()
{
    // Enough distinct names for the sort to share the work between threads.
    constexpr int kContatti = 24000;
    QFETCH(int, varieta);
    AggiungiContattiDemo(store_->path(), kContatti, 5, Varieta(varieta));
    QVERIFY(form_->Form_Load(store_->path()));
    QCOMPARE(list()->count(), kContatti);
    QCOMPARE(shownList(), storeList(QString()));
    for (const char* typed :
         {"r", "ro",      "ros",      "ross",   "rossi", "ross", "",    "d'",    "de ",    "ò",    "ü",        "o_i",
          "%", "rossi m", "rossi ma", "ma ros", "a r",   "3",    "335", "335 1", "+39 06", "mar@", "@esempio", ""}) {
        field("TxtRicerca")->setText(QString::fromUtf8(typed));
        QCOMPARE(shownList(), storeList(Registro::corrente().filtro));
    }
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestIndiceNomi::anotherProgramsChangesAreListed()
{
    for (const char* cognome : {"Rossi", "Bianchi", "Verdi", "Rossini"}) store_->insert({{"Cognome", cognome}, {"Nome", "Ada"}});
    QVERIFY(form_->Form_Load(store_->path()));
    field("TxtRicerca")->setText("Ros");
    QCOMPARE(list()->count(), 2);

    // Another program adds, renames and deletes.
    store_->rows("INSERT INTO Anagrafica (Cognome, Nome) VALUES ('Rosa', 'Ugo')");
    store_->rows("UPDATE Anagrafica SET Cognome = 'Abrosio' WHERE Cognome = 'Verdi'");
    store_->rows("DELETE FROM Anagrafica WHERE Cognome = 'Rossini'");
    if (test::onServer()) {
        // A server's quick search trusts the other desks to announce their changes.
        form_->ElencoCambiatoAltrove();
    } else {
        // A file tells at the next keystroke.
        field("TxtRicerca")->setText("Ro");
    }
    field("TxtRicerca")->setText("ros");
    QCOMPARE(shownList(), storeList("where cognome like '%ros%'"));
    QCOMPARE(list()->text(0), QStringLiteral("Abrosio Ada"));
    form_->ElencaTutti();
    QCOMPARE(shownList(), storeList(QString()));
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestIndiceNomi::ownSavesAndDeletesTakeTheirPlace()
{
    for (const char* cognome : {"Bianchi", "Rossi", "Verdi"}) store_->insert({{"Cognome", cognome}, {"Nome", "Ada"}});
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();

    // A renamed contact moves to its place; the list is the store's.
    list()->setCurrentRow(2);
    QVERIFY(test::modificaCampo(field("TxtCognome"), [this] { field("TxtCognome")->setText("Aaron"); }));
    press("CmdSalva");
    QCOMPARE(shownList(), storeList(QString()));
    QCOMPARE(list()->text(0), QStringLiteral("Aaron Ada"));

    // Another program writes just before this window's save: the save must not hide it.
    store_->rows("INSERT INTO Anagrafica (Cognome, Nome) VALUES ('Mancini', 'Eva')");
    press("CmdNuovo");
    field("TxtCognome")->setText("Zanetti");
    press("CmdSalva");
    if (test::onServer()) form_->ElencoCambiatoAltrove();  // as the other desk's announcement does
    QCOMPARE(shownList(), storeList(QString()));
    QCOMPARE(list()->count(), 5);

    // Deleted: gone from the list and from the quick search.
    list()->setCurrentRow(list()->rigaDi(form_->idCorrente()));
    dialogs_.answers << MsgAnswer::Yes;
    press("CmdElimina");
    QCOMPARE(shownList(), storeList(QString()));
    field("TxtRicerca")->setText("z");
    QCOMPARE(list()->count(), 0);
}

void TestIndiceNomi::theListFollowsAnotherProgramByItself()
{
    const QStringList cognomi = {"Rossi", "Rosa", "Èrcoli", "Bianchi", "D'Amico", "Rossini", "Ferri"};
    QRandomGenerator caso(test::semeCasuale(11));
    std::vector<qint64> ids;
    const auto nuovo = [&] {
        ids.push_back(store_->insert(
            {{"Cognome", cognomi[caso.bounded(int(cognomi.size()))]}, {"Nome", caso.bounded(2) ? "Anna" : "Ugo"}}));
    };
    for (int i = 0; i < 30; ++i) nuovo();
    QVERIFY(form_->Form_Load(store_->path()));
    form_->show();
    const QStringList cercati = {"", "ro", "ros", "e", "ami"};
    for (int giro = 0; giro < 12; ++giro) {
        // Another program adds, renames and deletes, while the user searches.
        for (int n = 1 + caso.bounded(3); n > 0; --n) {
            const size_t quale = size_t(caso.bounded(int(ids.size())));
            switch (caso.bounded(3)) {
            case 0:
                nuovo();
                break;
            case 1:
                store_->rows(QStringLiteral("UPDATE anagrafica SET cognome = %1 WHERE id = %2")
                                 .arg(quoted(cognomi[caso.bounded(int(cognomi.size()))]))
                                 .arg(ids[quale]));
                break;
            default:
                store_->rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(ids[quale]));
                ids.erase(ids.begin() + qsizetype(quale));
            }
        }
        if (caso.bounded(2)) field("TxtRicerca")->setText(cercati[caso.bounded(int(cercati.size()))]);
        const QString testo = field("TxtRicerca")->text();
        const QString condizione = testo.isEmpty() ? QString() : QStringLiteral("where cognome like '%%1%'").arg(testo);
        // Nobody touches the window: a server's announcement, or a file's look every second, brings it.
        QVERIFY2(QTest::qWaitFor([&] { return shownList() == storeList(condizione); }, 5000), qPrintable(testo));
    }
    QVERIFY(dialogs_.shown.isEmpty());
}

void TestIndiceNomi::aRegisterDamagedHalfwayIsNotListedInPart()
{
    BRENZOLA_SOLO_FILE("damages the file's own pages");
    // The rows are read on one thread and filed on another: a store that fails three
    // quarters of the way through must fail the whole reading, every time, and leave
    // nothing half listed.
    for (int first = 0; first < 20000; first += 500) {
        QStringList values;
        for (int i = first; i < first + 500; ++i)
            values << QStringLiteral("('%1', 'Anna')").arg(i == 15000 ? QStringLiteral("Guastatore") : QStringLiteral("Rossi"));
        store_->rows(QStringLiteral("INSERT INTO Anagrafica (Cognome, Nome) VALUES ") + values.join(u','));
    }
    const qsizetype pagina = store_->rows(QStringLiteral("PRAGMA page_size")).value(0).value(0).toLongLong();
    QFile file(store_->path());
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    int guaste = 0;
    for (qsizetype at = bytes.indexOf("Guastatore"); at >= 0; at = bytes.indexOf("Guastatore", at + 1), ++guaste)
        bytes[at - at % pagina] = char(0xff);  // no kind of page
    QVERIFY(guaste > 0);
    QVERIFY(file.seek(0));
    QCOMPARE(file.write(bytes), bytes.size());
    file.close();

    Connection connection;
    connection.Open(StringaConnessionePer(store_->path()));
    IndiceNomi indice;
    for (int volta = 0; volta < 2; ++volta) {
        QVERIFY_THROWS_EXCEPTION(StoreError, indice.aggiorna(connection));
        QCOMPARE(indice.size(), size_t(0));
        QVERIFY(indice.tutte().empty());
    }
}

QTEST_MAIN(TestIndiceNomi)
#include "tst_indicenomi.moc"
