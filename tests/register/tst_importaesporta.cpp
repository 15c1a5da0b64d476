// Contacts in and out from the main window: the CSV preview, the duplicate window, the
// summary, stopping, exporting the list as it stands or the contact on screen, and the
// register's own duplicates.
#include "exchange/contatto.h"
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

QString fileDiProva(const char* nome) { return QStringLiteral(BRENZOLA_DATI "/scambio/") + QLatin1String(nome); }

void premi(QDialog& finestra, const char* pulsante)
{
    auto* p = finestra.findChild<QPushButton*>(QLatin1String(pulsante));
    QVERIFY2(p, pulsante);
    QTest::mouseClick(p, Qt::LeftButton);
}

}  // namespace

class TestImportaEsporta : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void aCsvFileGoesInAsTheUserMapsIt();
    void nothingChangesUntilTheUserAgrees();
    void theListAsItStandsOrTheContactOnScreenGoesOut();
    void theRegistersDuplicatesMergeOnceSeen();

private:
    void comando(const char* nome);
    int contati(const QString& condizione = QStringLiteral("1=1")) const;
    ElencoNomi* elenco() const { return form_->findChild<ElencoNomi*>(QStringLiteral("List1")); }

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    QTemporaryDir cartella_;
};

void TestImportaEsporta::init()
{
    store_ = std::make_unique<test::TempStore>();
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Telefono", "02 8645123"}, {"Commenti", "Da richiamare."}});
    store_->insert({{"Cognome", "Rossini"}, {"Nome", "Bruno"}});
    store_->insert({{"Cognome", "Zeta"}, {"Nome", "Ugo"}, {"Email", "ugo@zeta.it"}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
}

void TestImportaEsporta::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

void TestImportaEsporta::comando(const char* nome)
{
    QAction* azione = form_->findChild<QAction*>(QLatin1String(nome));
    QVERIFY2(azione, nome);
    azione->trigger();
}

int TestImportaEsporta::contati(const QString& condizione) const
{
    return store_->rows(QStringLiteral("SELECT count(*) FROM anagrafica WHERE ") + condizione)[0][0].toInt();
}

void TestImportaEsporta::aCsvFileGoesInAsTheUserMapsIt()
{
    elenco()->setCurrentRow(0);  // Rossi Mario on screen
    dialogs_.chosenFiles = {fileDiProva("outlook.csv")};
    QString riepilogo;
    QStringList confrontati;
    dialogs_.onModal = [&](QDialog& finestra) {
        if (finestra.objectName() == u"FrmImportaCsv") {
            QCOMPARE(finestra.findChild<QComboBox*>("CboCodifica")->currentText(), QStringLiteral("Windows-1252"));
            auto* griglia = finestra.findChild<QTableWidget*>("GrigliaAnteprima");
            QCOMPARE(griglia->item(3, 2)->text(), QStringLiteral("Cantù"));
            // The country column, which no field takes by itself (it would be kept in the comments), goes into Fonte.
            auto* paese = finestra.findChild<QComboBox*>("CboColonna7");
            QCOMPARE(paese->currentText(), QStringLiteral("(nei commenti)"));
            paese->setCurrentText(QStringLiteral("Fonte"));
            premi(finestra, "CmdImporta");
        } else if (finestra.objectName() == u"FrmDoppione") {
            auto* griglia = finestra.findChild<QTableWidget*>("GrigliaConfronto");
            confrontati << griglia->item(int(Campo::Cell), 1)->text() + u'>' + griglia->item(int(Campo::Cell), 2)->text();
            premi(finestra, "CmdUnisci");
        } else if (finestra.objectName() == u"FrmRiepilogo") {
            riepilogo = finestra.findChild<QLabel*>("LblRiepilogo")->text();
        }
    };
    comando("Importa");
    QCOMPARE(confrontati, QStringList{"347 1234567>347 1234567"});
    QVERIFY2(riepilogo.contains(QStringLiteral("Aggiunti: 2\nUniti a contatti già presenti: 1\nNon importati: 0")),
             qPrintable(riepilogo));
    QCOMPARE(contati(), 5);
    QCOMPARE(contati(QStringLiteral("fonte = 'Italia'")), 3);  // the merged one had none: filled
    // The list shows everything; the contact on screen is shown as merged.
    QCOMPARE(elenco()->count(), 5);
    QCOMPARE(form_->findChild<QLineEdit*>("TxtCell")->text(), QStringLiteral("347 1234567"));
    QCOMPARE(form_->modificato(), false);
}

void TestImportaEsporta::nothingChangesUntilTheUserAgrees()
{
    const QStringList prima = {"Rossi", "Rossini", "Zeta"};
    // Edits on screen are asked about first; Annulla stops before any file is asked for.
    elenco()->setCurrentRow(2);
    auto* nome = form_->findChild<QLineEdit*>("TxtNome");
    QVERIFY(test::modificaCampo(nome, [nome] { nome->setText(QStringLiteral("Ugolino")); }));
    dialogs_.answers = {MsgAnswer::Cancel};
    comando("Importa");
    QVERIFY(dialogs_.modalTitles.isEmpty());
    QCOMPARE(form_->findChild<QLineEdit*>("TxtNome")->text(), QStringLiteral("Ugolino"));
    dialogs_.answers = {MsgAnswer::No};  // the edit dropped
    form_->CmdNuovo_Click();

    // A file with an unreadable card: asked once the file is read, after any duplicate; No imports nothing.
    dialogs_.chosenFiles = {fileDiProva("iphone-rotta.vcf")};
    dialogs_.answers = {MsgAnswer::No};
    dialogs_.onModal = [](QDialog& finestra) {
        if (finestra.objectName() == u"FrmDoppione") premi(finestra, "CmdSalta");
    };
    comando("Importa");
    QVERIFY2(dialogs_.lastText().startsWith(
                 QStringLiteral("1 contatto su 3 non si può leggere:\n\nriga 32: la scheda iniziata qui non ha END:VCARD")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(contati(), 3);

    // Yes, then the duplicate window's Annulla: nothing, and the user is told.
    dialogs_.chosenFiles = {fileDiProva("iphone-rotta.vcf")};
    dialogs_.answers = {MsgAnswer::Yes};
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Mario"}, {"Email", "mario.rossi@example.it"}});
    dialogs_.onModal = [](QDialog& finestra) {
        if (finestra.objectName() == u"FrmDoppione") premi(finestra, "CmdAnnulla");
    };
    comando("Importa");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Importazione annullata: l'archivio non è stato modificato."));
    QCOMPARE(contati(), 4);

    // Annulla on the progress window, while writing.
    dialogs_.chosenFiles = {fileDiProva("android.vcf")};
    dialogs_.stopAtStep = 1;
    comando("Importa");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Importazione annullata: l'archivio non è stato modificato."));
    QCOMPARE(contati(), 4);
}

void TestImportaEsporta::theListAsItStandsOrTheContactOnScreenGoesOut()
{
    // The list after a quick search, as Italian CSV; the extension follows the format.
    form_->findChild<QLineEdit*>("TxtRicerca")->setText(QStringLiteral("ross"));
    const QString csv = cartella_.filePath(QStringLiteral("rubrica"));
    dialogs_.savedFiles = {{csv, 2}};
    comando("EsportaElenco");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Esportati 2 contatti in «%1.csv».").arg(csv));
    QFile file(csv + QStringLiteral(".csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> righe = file.readAll().split('\n');
    QVERIFY(
        righe[0].startsWith("\xEF\xBB\xBF"
                            "Cognome;Nome;Data;"));
    QVERIFY(righe[1].startsWith("\"Rossi\";\"Mario\";;"));
    QVERIFY(righe[2].startsWith("\"Rossini\";\"Bruno\";;"));
    QCOMPARE(righe.size(), 4);  // and the empty text after the last CRLF

    // The contact on screen, as vCard 3.0; with none on screen, the user is told.
    form_->CmdNuovo_Click();
    comando("EsportaContatto");
    QVERIFY(dialogs_.lastText().startsWith(QStringLiteral("Nessun contatto da esportare")));
    elenco()->setCurrentRow(1);
    const QString vcf = cartella_.filePath(QStringLiteral("bruno.vcf"));
    dialogs_.savedFiles = {{vcf, 1}};
    comando("EsportaContatto");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Esportato 1 contatto in «%1».").arg(vcf));
    QFile scheda(vcf);
    QVERIFY(scheda.open(QIODevice::ReadOnly));
    const QByteArray testo = scheda.readAll();
    QVERIFY(testo.contains("VERSION:3.0\r\n"));
    QVERIFY(testo.contains("N:Rossini;Bruno;;;\r\n"));
    QCOMPARE(testo.count("BEGIN:VCARD"), 1);
}

void TestImportaEsporta::theRegistersDuplicatesMergeOnceSeen()
{
    store_->insert({{"Cognome", "ROSSI"}, {"Nome", "mario"}, {"Cell", "+39 02 8645123"}, {"Email", "mario@x.it"}});
    store_->insert({{"Cognome", "Rossini"}, {"Nome", "Bruno"}, {"Email", "bruno@r.it"}, {"Fonte", "Fiera"}});
    store_->insert({{"Cognome", "ROSSINI"}, {"Nome", "bruno"}, {"Email", "Bruno@R.it"}});
    store_->insert({{"Cognome", "Zeta"}, {"Email", "UGO@zeta.it"}, {"Commenti", "Socio."}});
    form_->ElencaTutti();
    QStringList viste, motivi;
    QList<bool> perTutti;
    dialogs_.onModal = [&](QDialog& finestra) {
        auto* griglia = finestra.findChild<QTableWidget*>("GrigliaConfronto");
        viste << griglia->item(int(Campo::Email), 2)->text();
        motivi << finestra.findChild<QLabel*>("LblMotivi")->text();
        auto* tutti = finestra.findChild<QCheckBox*>("ChkTutti");
        perTutti << !tutti->isHidden();
        tutti->setChecked(true);
        premi(finestra, "CmdUnisci");
    };
    comando("Doppioni");
    // The second group merged as the first, unseen; the Zeta with no first name and Zeta Ugo
    // may be two people: asked about on their own, without "for all".
    QCOMPARE(viste, (QStringList{"mario@x.it", "UGO@zeta.it"}));
    QCOMPARE(perTutti, (QList<bool>{true, false}));
    QVERIFY2(motivi[0].contains(QStringLiteral("stesso nome; stesso telefono «02 8645123»")), qPrintable(motivi[0]));
    QVERIFY2(!motivi[0].contains(QStringLiteral("persone diverse")), qPrintable(motivi[0]));
    QVERIFY2(motivi[1].startsWith(QStringLiteral("Attenzione: potrebbero essere persone diverse.")), qPrintable(motivi[1]));
    QVERIFY2(motivi[1].contains(QStringLiteral("stesso indirizzo e-mail «UGO@zeta.it»")), qPrintable(motivi[1]));
    QCOMPARE(dialogs_.lastText(),
             QStringLiteral("Contatti doppi uniti: l'archivio ha 3 contatti in meno. Quelli uniti ad altri sono nel cestino."));
    QCOMPARE(contati(), 4);
    QCOMPARE(elenco()->count(), 4);
    QCOMPARE(contati(QStringLiteral("cognome = 'Zeta' AND commenti = 'Socio.'")), 1);
    QCOMPARE(contati(QStringLiteral("cognome = 'Rossini' AND email = 'bruno@r.it' AND fonte = 'Fiera'")), 1);

    // Nothing left to merge.
    comando("Doppioni");
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Nell'archivio non ci sono contatti doppi."));

    // Two colleagues on the office's address, left apart.
    store_->insert({{"Cognome", "Verdi"}, {"Nome", "Anna"}, {"Email", "info@verdi-srl.it"}});
    store_->insert({{"Cognome", "Verdi"}, {"Nome", "Marco"}, {"Email", "info@verdi-srl.it"}});
    viste.clear();
    dialogs_.onModal = [&](QDialog& finestra) {
        viste << finestra.findChild<QLabel*>("LblTesto")->text();
        premi(finestra, "CmdSalta");
    };
    comando("Doppioni");
    QCOMPARE(viste, QStringList{"Coppia 1 di 1: «Verdi Anna» e «Verdi Marco» potrebbero essere la stessa persona, ma anche "
                                "persone diverse."});
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Nessun contatto è stato unito."));
    QCOMPARE(contati(), 6);
}

QTEST_MAIN(TestImportaEsporta)
#include "tst_importaesporta.moc"
