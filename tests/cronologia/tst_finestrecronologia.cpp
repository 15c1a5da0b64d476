// Undo, the recent operations, the bin and a contact's versions, driven from the main
// window's Cronologia menu and shortcuts. Runs on a file and on a server.
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/cronologia.h"
#include "store/funzioni.h"
#include "store/storeerror.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>

using namespace brenzola;
using namespace brenzola::Funzioni;

namespace {

const QString kTutto = QStringLiteral(
    "SELECT id, cognome, nome, datain, tiporef, prov, citta, indirizzo, cap, email, telefono, "
    "cell, datanasc, fonte, dataricont, commenti FROM anagrafica");

void premi(QWidget& finestra, const char* pulsante)
{
    auto* p = finestra.findChild<QPushButton*>(QLatin1String(pulsante));
    QVERIFY2(p && p->isEnabled(), pulsante);
    QTest::mouseClick(p, Qt::LeftButton);
}

void scegli(QAbstractItemView* griglia, int riga)
{
    griglia->setCurrentIndex(griglia->model()->index(riga, 0));
    griglia->selectionModel()->select(griglia->currentIndex(), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QString cella(const QAbstractItemView* griglia, int riga, int colonna)
{
    return griglia->model()->index(riga, colonna).data().toString();
}

}  // namespace

class TestCronologia : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void ctrlZTakesBackASaveAndADelete();
    void anUndoOverAnotherProgramsChangeAsksFirst();
    void theBinRestoresWholeAndErasesForGood();
    void theHistoryMarksChangesAndWritesAVersionBack();

private:
    void mostra();
    void comando(const char* nome);
    void tasto(Qt::Key key, Qt::KeyboardModifiers modificatori = Qt::ControlModifier)
    {
        QTest::keyClick(elenco(), key, modificatori);
    }
    // The contacts as stored, Null apart from empty text.
    QStringList tutto(const QString& dove = QStringLiteral("1=1")) const;
    ElencoNomi* elenco() const { return form_->findChild<ElencoNomi*>(QStringLiteral("List1")); }
    QLineEdit* casella(const char* nome) const { return form_->findChild<QLineEdit*>(QLatin1String(nome)); }
    // Types into a field of the form, as the user would.
    void scrivi(const char* campo, const QString& testo);

    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    qint64 rossi_ = 0;
    qint64 bianchi_ = 0;
};

void TestCronologia::init()
{
    store_ = std::make_unique<test::TempStore>();
    rossi_ = store_->insert({{"Cognome", "Rossi"},
                             {"Nome", "Mario"},
                             {"Telefono", "02 8645123"},
                             {"Citta", "Milano"},
                             {"DataNasc", "1970-03-01"},
                             {"Commenti", "Riga uno\r\nriga due"}});
    bianchi_ = store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Anna"}, {"Email", "anna@bianchi.it"}, {"Cap", ""}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
}

void TestCronologia::cleanup()
{
    form_.reset();
    ChiudiDatabase();
    store_.reset();
}

QStringList TestCronologia::tutto(const QString& dove) const
{
    QStringList righe;
    for (const QVariantList& riga : store_->rows(kTutto + QStringLiteral(" WHERE ") + dove + QStringLiteral(" ORDER BY id"))) {
        QStringList valori;
        for (const QVariant& v : riga) valori << (v.isNull() ? QStringLiteral("<Null>") : v.toString());
        righe << valori.join(u'|');
    }
    return righe;
}

void TestCronologia::mostra()
{
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
}

void TestCronologia::comando(const char* nome)
{
    QAction* azione = form_->findChild<QAction*>(QLatin1String(nome));
    QVERIFY2(azione, nome);
    azione->trigger();
}

void TestCronologia::scrivi(const char* campo, const QString& testo)
{
    QLineEdit* box = casella(campo);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, testo);
}

void TestCronologia::ctrlZTakesBackASaveAndADelete()
{
    mostra();
    const QStringList prima = tutto();
    elenco()->setCurrentRow(1);  // Rossi Mario
    scrivi("TxtTelefono", QStringLiteral("333 1"));
    QTest::keyClick(casella("TxtTelefono"), Qt::Key_Return);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(tutto(QStringLiteral("telefono = '333 1'")).size(), 1);

    // Edits on screen are asked about first: Annulla undoes nothing and keeps them.
    scrivi("TxtNome", QStringLiteral("Marione"));
    elenco()->setFocus();
    dialogs_.answers = {MsgAnswer::Cancel};
    tasto(Qt::Key_Z);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("I dati sono stati modificati, si desidera salvare?"));
    QCOMPARE(casella("TxtNome")->text(), QStringLiteral("Marione"));
    QCOMPARE(tutto(QStringLiteral("telefono = '333 1'")).size(), 1);
    // No: the edits go, the save is undone, and the form shows the contact as it was.
    dialogs_.answers = {MsgAnswer::No};
    tasto(Qt::Key_Z);
    QVERIFY2(dialogs_.lastText().startsWith(QStringLiteral("Annullata l'operazione ")), qPrintable(dialogs_.lastText()));
    QVERIFY(dialogs_.lastText().contains(QStringLiteral("«Salvataggio»")));
    QCOMPARE(tutto(), prima);
    QCOMPARE(casella("TxtTelefono")->text(), QStringLiteral("02 8645123"));
    QCOMPARE(casella("TxtNome")->text(), QStringLiteral("Mario"));

    // A delete comes back with its key and every value; the list and the form follow.
    elenco()->setCurrentRow(0);  // Bianchi Anna
    dialogs_.answers = {MsgAnswer::Yes};
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("CmdElimina")), Qt::LeftButton);
    QCOMPARE(elenco()->count(), 1);
    elenco()->setFocus();
    tasto(Qt::Key_Z);
    QCOMPARE(tutto(), prima);
    QCOMPARE(elenco()->count(), 2);
    QCOMPARE(elenco()->chiave(elenco()->selectedRow()), bianchi_);
    QCOMPARE(casella("TxtEmail")->text(), QStringLiteral("anna@bianchi.it"));

    // Nothing of this desk's is left to undo: the contacts came from another program.
    tasto(Qt::Key_Z);
    QVERIFY2(dialogs_.lastText().startsWith(QStringLiteral("Non c'è nessuna operazione da annullare")),
             qPrintable(dialogs_.lastText()));
    QCOMPARE(tutto(), prima);
}

void TestCronologia::anUndoOverAnotherProgramsChangeAsksFirst()
{
    // One statement of another program changes both contacts; another changes Rossi again.
    store_->rows(QStringLiteral("UPDATE anagrafica SET fonte = 'Fiera' WHERE id IN (%1, %2)").arg(rossi_).arg(bianchi_));
    QTest::qWait(5);  // a statement of its own, in a later millisecond
    store_->rows(QStringLiteral("UPDATE anagrafica SET fonte = 'Telefonata' WHERE id = %1").arg(rossi_));
    elenco()->setCurrentRow(0);  // Bianchi, as changed
    QCOMPARE(casella("Txtfonte")->text(), QStringLiteral("Fiera"));
    const QStringList cambiato = tutto();

    dialogs_.onModal = [&](QDialog& finestra) {
        auto* griglia = finestra.findChild<QTreeWidget*>(QStringLiteral("GrigliaOperazioni"));
        QCOMPARE(cella(griglia, 0, 4), QStringLiteral("1 contatto: Rossi Mario"));
        QCOMPARE(cella(griglia, 1, 4), QStringLiteral("2 contatti: Rossi Mario, Bianchi Anna"));
        QCOMPARE(cella(griglia, 1, 3), QStringLiteral("Modifiche con un altro programma"));
        const QString numero = cella(griglia, 1, 0);
        scegli(griglia, 1);
        dialogs_.answers = {MsgAnswer::No};  // Niente
        premi(finestra, "CmdAnnulla");
        const Message domanda = dialogs_.shown.back();
        QCOMPARE(domanda.yesCaption, QStringLiteral("Annulla il resto"));
        QCOMPARE(domanda.noCaption, QStringLiteral("Niente"));
        QVERIFY2(domanda.text.contains(QStringLiteral("«Rossi Mario»")) && !domanda.text.contains(QStringLiteral("Bianchi")),
                 qPrintable(domanda.text));
        QCOMPARE(tutto(), cambiato);

        dialogs_.answers = {MsgAnswer::Yes};
        premi(finestra, "CmdAnnulla");
        QVERIFY2(
            dialogs_.lastText().contains(QStringLiteral("Lasciati come sono, perché modificati di nuovo dopo: «Rossi Mario».")),
            qPrintable(dialogs_.lastText()));
        // The undo is the newest operation, and the undone one says by which.
        QCOMPARE(cella(griglia, 0, 3),
                 QStringLiteral("Annullamento dell'operazione %1: Modifiche con un altro programma").arg(numero));
        QCOMPARE(cella(griglia, 2, 5), QStringLiteral("annullata dall'operazione %1").arg(cella(griglia, 0, 0)));
        scegli(griglia, 2);
        premi(finestra, "CmdAnnulla");
        // Undone already: refused, naming the undo.
        QVERIFY2(dialogs_.lastText().startsWith(QStringLiteral("Impossibile annullare l'operazione %1.\n\nErrore %2: ")
                                                    .arg(numero)
                                                    .arg(StoreErrorNumber::NotUpdatable))
                     && dialogs_.lastText().contains(QStringLiteral("dall'operazione %1").arg(cella(griglia, 0, 0))),
                 qPrintable(dialogs_.lastText()));
    };
    comando("OperazioniRecenti");
    QCOMPARE(dialogs_.modalTitles, QStringList{"Operazioni recenti"});
    QCOMPARE(tutto(QStringLiteral("fonte = 'Telefonata'")).size(), 1);  // Rossi as the other program left it
    QCOMPARE(tutto(QStringLiteral("fonte IS NULL")).size(), 1);         // Bianchi as before
    QCOMPARE(casella("Txtfonte")->text(), QString());                   // and the form shows it
}

void TestCronologia::theBinRestoresWholeAndErasesForGood()
{
    mostra();
    const QStringList prima = tutto();
    elenco()->setCurrentRow(1);  // Rossi, deleted here
    dialogs_.answers = {MsgAnswer::Yes};
    QTest::mouseClick(form_->findChild<QPushButton*>(QStringLiteral("CmdElimina")), Qt::LeftButton);
    dialogs_.onModal = [&](QDialog& finestra) {
        auto* griglia = finestra.findChild<QTreeView*>(QStringLiteral("GrigliaCestino"));
        QCOMPARE(griglia->model()->rowCount(), 1);
        QCOMPARE(cella(griglia, 0, 0), QStringLiteral("Rossi Mario"));
        QVERIFY(cella(griglia, 0, 3).endsWith(QStringLiteral(": Eliminazione")));
        QCOMPARE(finestra.findChild<QSpinBox*>(QStringLiteral("SpnGiorni"))->value(), 90);
        scegli(griglia, 0);
        premi(finestra, "CmdRipristina");
        QCOMPARE(griglia->model()->rowCount(), 0);
    };
    comando("Cestino");
    QCOMPARE(tutto(), prima);  // the same key, every value as stored
    QCOMPARE(elenco()->count(), 2);

    // Deleted by another program, then erased: asked first, with what erasing leaves behind.
    store_->rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(rossi_));
    dialogs_.onModal = [&](QDialog& finestra) {
        auto* griglia = finestra.findChild<QTreeView*>(QStringLiteral("GrigliaCestino"));
        scegli(griglia, 0);
        dialogs_.answers = {MsgAnswer::No};
        premi(finestra, "CmdElimina");
        QVERIFY(dialogs_.lastText().endsWith(CosaRestaDopoLaCancellazione(*Connessione())));
        QCOMPARE(griglia->model()->rowCount(), 1);
        dialogs_.answers = {MsgAnswer::Yes};
        premi(finestra, "CmdElimina");
        QCOMPARE(dialogs_.lastText(), QStringLiteral("Eliminati definitivamente: 1 contatto."));
        QCOMPARE(griglia->model()->rowCount(), 0);
        finestra.findChild<QSpinBox*>(QStringLiteral("SpnGiorni"))->setValue(30);
    };
    comando("Cestino");
    QCOMPARE(store_->rows(QStringLiteral("SELECT count(*) FROM giornale WHERE id = %1").arg(rossi_))[0][0].toInt(), 0);
    QCOMPARE(store_->rows(QStringLiteral("SELECT giorni_cestino FROM giornale_stato"))[0][0].toInt(), 30);

    // At start-up, what was deleted longer ago than that goes for good; the rest stays.
    const qint64 recente = store_->insert({{"Cognome", "Verdi"}});
    store_->rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(bianchi_));
    store_->rows(QStringLiteral("UPDATE giornale_operazioni SET quando = '%1' WHERE numero = "
                                "(SELECT operazione FROM giornale WHERE id = %2 AND azione = 'D')")
                     .arg(QDateTime::currentDateTimeUtc().addDays(-31).toString(Qt::ISODateWithMs))
                     .arg(bianchi_));
    store_->rows(QStringLiteral("DELETE FROM anagrafica WHERE id = %1").arg(recente));
    form_.reset();
    ChiudiDatabase();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
    QCOMPARE(store_->rows(QStringLiteral("SELECT DISTINCT id FROM giornale WHERE azione = 'D'")),
             (QList<QVariantList>{{recente}}));
}

void TestCronologia::theHistoryMarksChangesAndWritesAVersionBack()
{
    mostra();
    const QStringList prima = tutto(QStringLiteral("id = %1").arg(rossi_));
    elenco()->setCurrentRow(1);
    scrivi("TxtTelefono", QStringLiteral("333 1"));
    scrivi("TxtEmail", QStringLiteral("mario@rossi.it"));
    QTest::keyClick(casella("TxtEmail"), Qt::Key_Return);
    elenco()->setFocus();

    const auto marcati = [](const QDialog& finestra) {
        QStringList nomi;
        for (const QWidget* campo : finestra.findChildren<QWidget*>())
            if ((qobject_cast<const QLineEdit*>(campo) || qobject_cast<const QPlainTextEdit*>(campo)) && campo->font().bold()
                && campo->accessibleDescription().contains(QStringLiteral("cambiato")))
                nomi << campo->objectName();
        nomi.sort();
        return nomi;
    };
    dialogs_.onModal = [&](QDialog& finestra) {
        auto* versioni = finestra.findChild<QTreeWidget*>(QStringLiteral("GrigliaVersioni"));
        auto* ripristina = finestra.findChild<QPushButton*>(QStringLiteral("CmdRipristina"));
        QCOMPARE(versioni->topLevelItemCount(), 2);
        QCOMPARE(cella(versioni, 0, 2), QStringLiteral("Salvataggio"));
        QCOMPARE(marcati(finestra), (QStringList{"TxtEmail", "TxtTelefono"}));
        QCOMPARE(finestra.findChild<QLineEdit*>(QStringLiteral("TxtDataNasc"))->text(), QStringLiteral("01/03/1970"));
        QVERIFY(!ripristina->isEnabled());  // the newest is the contact as it is
        scegli(versioni, 1);
        QVERIFY(marcati(finestra).isEmpty());  // the first version has none before it
        QCOMPARE(finestra.findChild<QLineEdit*>(QStringLiteral("TxtTelefono"))->text(), QStringLiteral("02 8645123"));

        // Another program changes the contact after the history was read: nothing is written.
        store_->rows(QStringLiteral("UPDATE anagrafica SET citta = 'Roma' WHERE id = %1").arg(rossi_));
        premi(finestra, "CmdRipristina");
        QVERIFY2(dialogs_.lastText().contains(QStringLiteral("Errore 3197")), qPrintable(dialogs_.lastText()));
        QCOMPARE(tutto(QStringLiteral("citta = 'Roma' AND telefono = '333 1'")).size(), 1);
        QCOMPARE(versioni->topLevelItemCount(), 3);  // read again, the same version still chosen
        QCOMPARE(marcati(finestra), QStringList());
        QCOMPARE(versioni->currentItem(), versioni->topLevelItem(2));
        scegli(versioni, 0);
        QCOMPARE(marcati(finestra), QStringList{"TxtCitta"});
        scegli(versioni, 2);
        premi(finestra, "CmdRipristina");
        QCOMPARE(versioni->topLevelItemCount(), 4);
    };
    comando("CronologiaContatto");
    QCOMPARE(dialogs_.modalTitles, QStringList{"Cronologia di «Rossi Mario»"});
    QCOMPARE(tutto(QStringLiteral("id = %1").arg(rossi_)), prima);  // every value of the first version
    QCOMPARE(casella("TxtTelefono")->text(), QStringLiteral("02 8645123"));
    QCOMPARE(casella("TxtCitta")->text(), QStringLiteral("Milano"));
}

QTEST_MAIN(TestCronologia)
#include "tst_finestrecronologia.moc"
