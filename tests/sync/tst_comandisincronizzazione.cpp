// The synchronisation from the main window, against a real Radicale: set up in its window
// (an address book made there), run on demand with its progress, a contact changed on both
// sides shown side by side and settled as the user chose; at start with the password asked
// when there is no keyring, and, with the server gone, failing without a message.
#include "exchange/scambio.h"
#include "radicale.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "sync/carddav.h"
#include "sync/impostazioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTest>

using namespace brenzola;
using namespace brenzola::Funzioni;

class TestComandiSincronizzazione : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        ApplicaImpostazioniItaliane(*qApp);
        QStandardPaths::setTestModeEnabled(true);  // the settings of this test only
    }
    void init();
    void cleanup();

    void setUpInItsWindowThenConflictsAreChosenSideBySide();
    void atStartItRunsBesideTheWindowAndFailsQuietly();

private:
    QAction* voce(const char* nome) const { return form_->findChild<QAction*>(QLatin1String(nome)); }
    QString stato() const { return voce("StatoSincronizzazione")->text(); }
    std::unique_ptr<CardDavClient> client(const QUrl& rubrica) const;

    std::unique_ptr<Radicale> server_;
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    qint64 bianchi_ = 0;
};

void TestComandiSincronizzazione::init()
{
    QFile::remove(Funzioni::FileImpostazioni());
    server_ = std::make_unique<Radicale>();
    store_ = std::make_unique<test::TempStore>();
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "02 1234567"}});
    bianchi_ = store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Luca"}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
}

void TestComandiSincronizzazione::cleanup()
{
    form_.reset();
    Funzioni::ChiudiDatabase();
    store_.reset();
    server_.reset();
}

std::unique_ptr<CardDavClient> TestComandiSincronizzazione::client(const QUrl& rubrica) const
{
    CardDavClient::Settings s;
    s.server = rubrica;
    s.user = QLatin1String(Radicale::kUser);
    s.password = QLatin1String(Radicale::kPassword);
    return std::make_unique<CardDavClient>(s);
}

void TestComandiSincronizzazione::setUpInItsWindowThenConflictsAreChosenSideBySide()
{
    QVERIFY(form_->Form_Load(store_->path()));
    QCOMPARE(stato(), QStringLiteral("Sincronizzazione non impostata"));
    dialogs_.onModal = [this](QDialog& finestra) {
        QCOMPARE(finestra.objectName(), QStringLiteral("FrmSincronizzazione"));
        finestra.findChild<QLineEdit*>("TxtServer")->setText(server_->url().toString());
        finestra.findChild<QLineEdit*>("TxtUtente")->setText(QLatin1String(Radicale::kUser));
        finestra.findChild<QLineEdit*>("TxtPassword")->setText(QLatin1String(Radicale::kPassword));
        finestra.findChild<QLineEdit*>("TxtNuovaRubrica")->setText(QStringLiteral("Ufficio"));
        finestra.findChild<QPushButton*>("CmdCrea")->click();
        finestra.findChild<QPushButton*>("CmdSalva")->click();
    };
    voce("ImpostazioniSincronizzazione")->trigger();
    // Saved and synchronised at once, with its progress shown.
    QVERIFY2(stato().contains(QStringLiteral("2 mandati")), qPrintable(stato()));
    QVERIFY(dialogs_.progressTexts.contains(QStringLiteral("Sincronizzazione con «Ufficio»...")));
    const ImpostazioniSincronizzazione salvate =
        ImpostazioniSincronizzazione::leggi(Funzioni::StringaConnessionePer(store_->path()));
    QCOMPARE(salvate.nomeRubrica, QStringLiteral("Ufficio"));
    QFile file(Funzioni::FileImpostazioni());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray scritto = file.readAll();
    QVERIFY(scritto.contains("Ufficio") && !scritto.contains(Radicale::kPassword));  // the password never in a file
    auto sulServer = client(salvate.rubrica);
    const std::vector<CardDavClient::CardRef> schede = sulServer->list(salvate.rubrica);
    QCOMPARE(schede.size(), size_t(2));

    // Rossi changed on a phone and here: both versions shown, the phone's chosen.
    for (const auto& s : schede) {
        QByteArray scheda = sulServer->fetch(salvate.rubrica, {s.url}).front().vcard;
        if (!scheda.contains("Rossi")) continue;
        QVERIFY(sulServer->put(s.url, scheda.replace("02 1234567", "02 7777777"), s.etag));
    }
    store_->rows(QStringLiteral("UPDATE anagrafica SET telefono = '02 8888888' WHERE cognome = 'Rossi'"));
    QStringList mostrate;
    dialogs_.onModal = [&mostrate](QDialog& finestra) {
        QCOMPARE(finestra.objectName(), QStringLiteral("FrmConflitto"));
        const auto* griglia = finestra.findChild<QTableWidget*>("GrigliaConfronto");
        const int telefono = int(Campo::Telefono);
        mostrate << griglia->item(telefono, 0)->text() << griglia->item(telefono, 1)->text();
        finestra.findChild<QPushButton*>("CmdTieniServer")->click();
    };
    voce("SincronizzaOra")->trigger();
    QCOMPARE(mostrate, (QStringList{"02 8888888", "02 7777777"}));
    QCOMPARE(store_->rows(QStringLiteral("SELECT telefono FROM anagrafica WHERE cognome = 'Rossi'"))[0][0].toString(),
             QStringLiteral("02 7777777"));
    QVERIFY(!voce("DaDecidere")->isEnabled());
    voce("SincronizzaOra")->trigger();
    QVERIFY2(stato().contains(QStringLiteral("0 mandati, 0 ricevuti, 0 da decidere")), qPrintable(stato()));
}

void TestComandiSincronizzazione::atStartItRunsBesideTheWindowAndFailsQuietly()
{
    auto primo = client(server_->url());
    const CardDavClient::AddressBook rubrica = primo->createAddressBook(QStringLiteral("Ufficio"));
    ImpostazioniSincronizzazione impostazioni;
    impostazioni.server = server_->url();
    impostazioni.utente = QLatin1String(Radicale::kUser);
    impostazioni.rubrica = rubrica.url;
    impostazioni.nomeRubrica = rubrica.name;
    impostazioni.ogniMinuti = 0;
    impostazioni.salva(Funzioni::StringaConnessionePer(store_->path()));

    // No keyring here: the password is asked once, and the synchronisation runs on its own.
    dialogs_.passwords = {QLatin1String(Radicale::kPassword)};
    QVERIFY(form_->Form_Load(store_->path()));
    QVERIFY(dialogs_.passwords.isEmpty());
    QTRY_VERIFY2(stato().contains(QStringLiteral("2 mandati")), qPrintable(stato()));
    QCOMPARE(primo->list(rubrica.url).size(), size_t(2));

    // The server gone: the synchronisation after a deletion fails with no message, and says
    // so in the menu.
    server_->kill();
    form_->MostraContatto(bianchi_);
    dialogs_.answers = {MsgAnswer::Yes};
    const qsizetype messaggi = dialogs_.shown.size();
    form_->CmdElimina_Click();
    QTRY_VERIFY_WITH_TIMEOUT(stato().startsWith(QStringLiteral("Non riuscita")), 20'000);
    QCOMPARE(dialogs_.shown.size(), messaggi + 1);  // the question, nothing more
    QVERIFY2(stato().contains(QStringLiteral("3151")), qPrintable(stato()));
}

QTEST_MAIN(TestComandiSincronizzazione)
#include "tst_comandisincronizzazione.moc"
