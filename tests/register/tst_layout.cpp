#include "presentation/trasparenza.h"
#include "register/elenconomi.h"
#include "register/frmbrenzola.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/calendarfield.h"
#include "widgets/focusringstyle.h"
#include "widgets/moduli.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>

using namespace brenzola;

namespace {

struct Place {
    const char* name;
    int left, top, width, height;
    const char* caption;  // nullptr: no caption to check
};

// Positions in twips, relative to the frame or window holding each control.
const Place kPlaces[] = {
    {"Label6", 240, 240, 3495, 375, "Cerca nome, telefono, email"},
    {"CmdCerca", 3360, 240, 615, 375, ""},
    {"TxtRicerca", 240, 600, 3495, 405, nullptr},
    {"Label17", 240, 1080, 2055, 375, "Contatti trovati:"},
    {"LblNum", 1680, 1080, 855, 375, nullptr},
    {"List1", 240, 1440, 3495, 4590, nullptr},
    {"CmdStampaElenco", 240, 6360, 3495, 615, "Stampa Elenco Selezionato"},
    {"CmdStampaSchede", 240, 7080, 3495, 615, "Stampa Schede Selezionate"},
    {"Label1", 240, 240, 1335, 375, "Cognome"},
    {"TxtCognome", 1800, 240, 8295, 405, nullptr},
    {"Label2", 240, 720, 1335, 375, "Nome"},
    {"TxtNome", 1800, 720, 8295, 405, nullptr},
    {"Label3", 240, 1200, 1335, 375, "Data"},
    {"DtInizio", 1800, 1200, 2175, 375, nullptr},
    {"Label4", 4080, 1200, 1455, 375, "Tipo Ref."},
    {"TxtTipoRef", 5160, 1200, 4935, 420, nullptr},
    {"Label9", 240, 1680, 1335, 375, "Citta'"},
    {"TxtCitta", 1800, 1680, 6135, 405, nullptr},
    {"Label18", 8040, 1680, 1335, 375, "Prov."},
    {"TxtProv", 8880, 1680, 1215, 405, nullptr},
    {"Label5", 240, 2160, 1335, 375, "Indirizzo"},
    {"TxtIndirizzo", 1800, 2160, 6135, 405, nullptr},
    {"Label10", 8040, 2160, 1335, 375, "Cap"},
    {"TxtCap", 8880, 2160, 1215, 405, nullptr},
    {"Label11", 240, 2640, 1335, 375, "Email"},
    {"TxtEmail", 1800, 2640, 8295, 405, nullptr},
    {"Label13", 240, 3120, 1335, 375, "Telefono"},
    {"TxtTelefono", 1800, 3120, 3615, 420, nullptr},
    {"Label12", 5640, 3120, 1335, 375, "Cell."},
    {"TxtCell", 6480, 3120, 3615, 420, nullptr},
    {"Label7", 240, 3600, 1455, 375, "Data Nasc."},
    {"DtNasc", 1800, 3600, 2175, 375, nullptr},
    {"Label14", 240, 4080, 1335, 375, "Fonte"},
    {"Txtfonte", 1800, 4080, 3615, 420, nullptr},
    {"Label15", 5520, 4080, 2655, 375, "Data ricontattare"},
    {"DtDataRicontattare", 7920, 4080, 2175, 375, nullptr},
    {"Label8", 240, 4560, 1335, 375, "Commenti"},
    {"TxtCommenti", 1800, 4560, 8295, 3135, nullptr},
    {"CmdElimina", 6000, 8520, 1575, 615, "Elimina"},
    {"CmdStampa", 7680, 8520, 1575, 615, "Stampa"},
    {"CmdNuovo", 9360, 8520, 1575, 615, "Nuovo"},
    {"CmdSalva", 11040, 8520, 1575, 615, "Salva"},
    {"CmdEsci", 12720, 8520, 1575, 615, "Esci"},
    {"Label16", 240, 8760, 12135, 255, nullptr},
};

QRect inPixels(const QWidget* widget, int left, int top, int width, int height)
{
    const double perTwip = widget->logicalDpiX() / 1440.0;
    return QRect(qRound(left * perTwip), qRound(top * perTwip), qRound(width * perTwip), qRound(height * perTwip));
}

QString captionOf(const QWidget* widget)
{
    if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    return {};
}

}  // namespace

class TestLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Funzioni::ApplicaImpostazioniItaliane(*qApp); }
    void init();
    void cleanup();

    void windowAndFrames();
    void everyControlInItsPlace();
    void fontsColoursAndLimits();
    void toolbarEntries();
    void tabOrder();
    void enterSavesAndEscapeLeaves();
    void enterPressesTheFocusedButtonAndChoosesInTheList();
    void toolbarFromTheKeyboard();
    void quickSearchAndCommandsFromTheKeyboard();
    void oneQuestionPerKeyOrClick();
    void aSmallScreenScrollsToEveryControl();

private:
    std::unique_ptr<test::TempStore> store_;
    test::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmBrenzola> form_;
    template <typename T = QWidget> T* child(const char* name) const { return form_->findChild<T*>(QLatin1String(name)); }
};

void TestLayout::init()
{
    store_ = std::make_unique<test::TempStore>();
    store_->insert({{"Cognome", "Rossi"}, {"Nome", "Anna"}});
    dialogs_ = test::ScriptedDialogs();
    form_ = std::make_unique<FrmBrenzola>(dialogs_);
    QVERIFY(form_->Form_Load(store_->path()));
}

void TestLayout::cleanup()
{
    form_.reset();
    Funzioni::ChiudiDatabase();
    store_.reset();
}

void TestLayout::windowAndFrames()
{
    QVERIFY(form_->windowTitle().startsWith(QStringLiteral("Brenzola 1.0       ")));
    QVERIFY(!form_->windowIcon().isNull());
    QCOMPARE(form_->size(), inPixels(form_.get(), 0, 0, 15240, 9225).size());
    const auto frames = form_->findChildren<QWidget*>("Frame");
    QCOMPARE(frames.size(), 2);
    for (QWidget* frame : frames) {
        const bool left = frame->property("Index").toInt() == 1;
        QCOMPARE(frame->geometry(),
                 left ? inPixels(form_.get(), 120, 600, 3975, 7815) : inPixels(form_.get(), 4200, 600, 10935, 7815));
    }
    // Opens nearly transparent, then fades in.
    QCOMPARE(tRASPARENZA::AlphaApplicato(form_.get()), 2);
}

void TestLayout::everyControlInItsPlace()
{
    for (const Place& place : kPlaces) {
        QWidget* widget = child(place.name);
        QVERIFY2(widget, place.name);
        QCOMPARE(widget->geometry(), inPixels(widget, place.left, place.top, place.width, place.height));
        if (place.caption) QCOMPARE(captionOf(widget), QString::fromUtf8(place.caption));
    }
    QVERIFY(child<QLabel>("Label16")->text().startsWith(QStringLiteral("Assistenza: ")));
}

void TestLayout::fontsColoursAndLimits()
{
    const auto font = [this](const char* name) { return child(name)->font(); };
    QCOMPARE(font("Label6").family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font("Label6").pointSizeF(), 12.0);
    QVERIFY(font("Label6").italic());
    QCOMPARE(font("TxtRicerca").family(), QStringLiteral("Verdana"));
    QCOMPARE(font("LblNum").pointSizeF(), 9.75);
    QCOMPARE(font("List1").family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font("DtInizio").family(), QStringLiteral("Verdana"));
    QCOMPARE(font("DtNasc").family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(font("Txtfonte").family(), QStringLiteral("Verdana"));
    QCOMPARE(font("TxtCommenti").pointSizeF(), 12.0);
    QCOMPARE(font("Label16").family(), QStringLiteral("Verdana"));
    QCOMPARE(child("TxtRicerca")->palette().color(QPalette::Base), QColor(192, 255, 192));
    QCOMPARE(child("Label16")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QCOMPARE(child("TxtCognome")->palette().color(QPalette::Base), QColor(Qt::white));
    QCOMPARE(child<QLabel>("LblNum")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    QCOMPARE(child<QLabel>("LblNum")->text(), QStringLiteral("1"));

    for (const char* name : {"TxtProv", "TxtCap"}) {
        QTest::keyClicks(child(name), "123456");
        QCOMPARE(child<QLineEdit>(name)->text(), QStringLiteral("12345"));
    }
    for (const char* name : {"TxtCognome", "TxtNome", "TxtTipoRef", "TxtCitta", "TxtIndirizzo", "TxtEmail", "TxtTelefono",
                             "TxtCell", "Txtfonte", "TxtRicerca"})
        QCOMPARE(child<QLineEdit>(name)->maxLength(), 250);
}

void TestLayout::toolbarEntries()
{
    auto* toolbar = child<QToolBar>("Tb");
    QCOMPARE(toolbar->geometry().topLeft(), QPoint(0, 0));
    QCOMPARE(toolbar->width(), form_->width());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));  // laid out
    const auto actions = toolbar->actions();
    QCOMPARE(actions.size(), 13);
    QVERIFY(actions[0]->isSeparator());
    QVERIFY(actions[6]->isSeparator());  // the designed five, then the agenda, contacts in and out, the history at the free end
    QStringList captions;
    int right = 0;
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        captions << action->text();
        QCOMPARE(action->objectName(), action->text());
        QVERIFY(!action->icon().isNull());
        QWidget* button = toolbar->widgetForAction(action);
        // The designed five as designed; those added at the free end a little narrower, to fit.
        QCOMPARE(button->size(), inPixels(form_.get(), 0, 0, captions.size() <= 5 ? 1365 : 1215, 540).size());
        QVERIFY2(button->isVisible() && button->x() > right, qPrintable(action->text()));
        right = button->geometry().right();
    }
    QVERIFY(right < toolbar->width());  // all of them shown, none in an overflow menu
    QCOMPARE(captions, (QStringList{"Mostra Tutti", "Ricerca Avanzata", "Indietro", "Avanti", "Esci", "Agenda", "Importa",
                                    "Doppioni", "Esporta", "Cronologia", "Sincronizza"}));
    // The two menu buttons show their entries' shortcuts.
    QCOMPARE(toolbar->findChild<QAction*>("Esporta")->toolTip(),
             QStringLiteral("Esporta l'elenco (Ctrl+E)\nEsporta il contatto (Ctrl+Shift+E)"));
    QCOMPARE(toolbar->findChild<QAction*>("Cronologia")->toolTip(),
             QStringLiteral("Annulla l'ultima operazione (Ctrl+Z)\nOperazioni recenti (Ctrl+Shift+H)\nCestino (Ctrl+Shift+Canc)\n"
                            "Cronologia del contatto (Ctrl+H)"));
    QCOMPARE(toolbar->findChild<QAction*>("Sincronizza")->toolTip(), QStringLiteral("Sincronizza ora (F9)\nImpostazioni"));
}

void TestLayout::tabOrder()
{
    const QStringList expected = {
        "TxtCognome",  "TxtNome",         "DtInizio",        "TxtTipoRef", "TxtCitta",   "TxtProv",  "TxtIndirizzo",
        "TxtCap",      "TxtEmail",        "TxtTelefono",     "TxtCell",    "DtNasc",     "Txtfonte", "DtDataRicontattare",
        "TxtCommenti", "CmdSalva",        "CmdStampa",       "CmdNuovo",   "CmdElimina", "CmdEsci",  "TxtRicerca",
        "List1",       "CmdStampaElenco", "CmdStampaSchede", "Tb",         "CmdCerca"};
    // The focus chain holds inner parts too (a date field's editor); keep the named controls.
    QStringList order;
    QWidget* widget = child("TxtCognome");
    do {
        if (expected.contains(widget->objectName()) && !order.contains(widget->objectName())) order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != child("TxtCognome"));
    QCOMPARE(order, expected);
}

void TestLayout::enterSavesAndEscapeLeaves()
{
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    auto* cognome = child<QLineEdit>("TxtCognome");
    cognome->setFocus();
    QTest::keyClicks(cognome, "Verdi");
    QTest::keyClick(cognome, Qt::Key_Return);
    QCOMPARE(dialogs_.lastText(), QStringLiteral("Salvato"));
    QCOMPARE(store_->rows("select count(*) from Anagrafica where Cognome = 'Verdi'")[0][0].toInt(), 1);

    // Enter in the comments makes a new line instead.
    auto* commenti = child<QTextEdit>("TxtCommenti");
    commenti->setFocus();
    dialogs_.shown.clear();
    QTest::keyClick(commenti, Qt::Key_Return);
    QVERIFY(dialogs_.shown.isEmpty());

    QTest::keyClick(child("TxtNome"), Qt::Key_Escape);
    QVERIFY(!form_->isVisible());
}

void TestLayout::enterPressesTheFocusedButtonAndChoosesInTheList()
{
    store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Carla"}});
    form_->ElencaTutti();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QSignalSpy salva(child<QPushButton>("CmdSalva"), &QPushButton::clicked);
    for (const char* name : {"CmdNuovo", "CmdElimina", "CmdStampa", "CmdStampaElenco", "CmdStampaSchede", "CmdCerca"}) {
        auto* button = child<QPushButton>(name);
        QSignalSpy pressed(button, &QPushButton::clicked);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QVERIFY2(pressed.count() == 1, name);
    }
    QCOMPARE(salva.count(), 0);
    QVERIFY(dialogs_.lastText() != QStringLiteral("Scrivere il cognome!"));

    // In the list, Enter chooses the entry under the cursor and saves nothing.
    auto* list = child<ElencoNomi>("List1");
    list->setFocus();
    list->selectionModel()->setCurrentIndex(list->model()->index(1, 0), QItemSelectionModel::NoUpdate);
    QTest::keyClick(list, Qt::Key_Enter);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Rossi"));

    child("CmdEsci")->setFocus();
    QTest::keyClick(child("CmdEsci"), Qt::Key_Return);
    QVERIFY(!form_->isVisible());
    QCOMPARE(salva.count(), 0);
}

void TestLayout::toolbarFromTheKeyboard()
{
    store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Carla"}});
    form_->ElencaTutti();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(QApplication::focusWidget(), child("TxtCognome"));  // opens on the first in the tab order
    auto* toolbar = child<QToolBar>("Tb");
    QAction* avanti = toolbar->findChild<QAction*>("Avanti");
    QCOMPARE(avanti->toolTip(), QStringLiteral("Avanti (Alt+Destra)"));
    QCOMPARE(toolbar->findChild<QAction*>("Indietro")->toolTip(), QStringLiteral("Indietro (Alt+Sinistra)"));
    QCOMPARE(toolbar->findChild<QAction*>("Ricerca Avanzata")->toolTip(), QStringLiteral("Ricerca Avanzata (Ctrl+F)"));
    QCOMPARE(toolbar->findChild<QAction*>("Mostra Tutti")->toolTip(), QStringLiteral("Mostra Tutti (F5)"));

    // One stop in the tab order, between the print buttons and CmdCerca.
    child("CmdStampaSchede")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), toolbar->widgetForAction(toolbar->findChild<QAction*>("Mostra Tutti")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);  // wraps round to the last
    QCOMPARE(QApplication::focusWidget(), toolbar->widgetForAction(toolbar->findChild<QAction*>("Sincronizza")));
    for (int i = 0; i < 6; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), toolbar->widgetForAction(toolbar->findChild<QAction*>("Esci")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    QCOMPARE(QApplication::focusWidget(), toolbar->widgetForAction(avanti));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), child("CmdCerca"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);  // back on the button used last
    QCOMPARE(QApplication::focusWidget(), toolbar->widgetForAction(avanti));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), child("CmdStampaSchede"));

    // Enter and Space press the focused command; shortcuts work from anywhere.
    auto* list = child<ElencoNomi>("List1");
    list->setCurrentRow(0);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Bianchi"));
    toolbar->widgetForAction(avanti)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Rossi"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Bianchi"));
    QVERIFY(dialogs_.shown.isEmpty());

    child("TxtRicerca")->setFocus();
    QTest::keyClicks(child("TxtRicerca"), "ross");
    QCOMPARE(list->count(), 1);
    QTest::keyClick(child("TxtRicerca"), Qt::Key_F5);
    QCOMPARE(list->count(), 2);
    list->setCurrentRow(0);
    QTest::keyClick(list, Qt::Key_Right, Qt::AltModifier);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Rossi"));
    QTest::keyClick(list, Qt::Key_Left, Qt::AltModifier);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Bianchi"));
    QTest::keyClick(list, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(dialogs_.modalTitles, QStringList{"Compilare i campi di ricerca che si conoscono:"});
    QTest::keyClick(list, Qt::Key_Q, Qt::ControlModifier);
    QVERIFY(!form_->isVisible());
}

void TestLayout::aSmallScreenScrollsToEveryControl()
{
    // This platform's screen (800 x 600) is smaller than the designed window.
    const QRect area = form_->screen()->availableGeometry();
    QVERIFY(form_->width() > area.width());
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    QVERIFY(area.contains(form_->frameGeometry()));
    QVERIFY(form_->height() < area.height());

    // Tabbing brings each control into view.
    const auto* viewport = form_->findChild<QScrollArea*>()->viewport();
    child("CmdElimina")->setFocus();
    QTest::keyClick(child("CmdElimina"), Qt::Key_Tab);
    QWidget* esci = child("CmdEsci");
    QCOMPARE(QApplication::focusWidget(), esci);
    QVERIFY(viewport->rect().contains(QRect(esci->mapTo(viewport, QPoint()), esci->size())));
}

void TestLayout::quickSearchAndCommandsFromTheKeyboard()
{
    store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Carla"}});
    form_->ElencaTutti();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    auto* ricerca = child<QLineEdit>("TxtRicerca");
    auto* list = child<ElencoNomi>("List1");

    // Ctrl+L (or F3) from the form to the quick search; Down into the list, on its first entry.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), ricerca);
    QTest::keyClicks(ricerca, QStringLiteral("Bia"));
    QCOMPARE(list->count(), 1);
    QTest::keyClick(ricerca, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Bianchi"));
    // Esc in the box empties it (the window stays); in an empty box it leaves as before.
    QTest::keyClick(list, Qt::Key_F3);
    QCOMPARE(QApplication::focusWidget(), ricerca);
    QCOMPARE(ricerca->selectedText(), QStringLiteral("Bia"));
    QTest::keyClick(ricerca, Qt::Key_Escape);
    QCOMPARE(ricerca->text(), QString());
    QCOMPARE(list->count(), 2);
    QVERIFY(form_->isVisible());

    // Ctrl+N, then Ctrl+S: a new contact, saved.
    QTest::keyClick(ricerca, Qt::Key_N, Qt::ControlModifier);
    QTRY_COMPARE(form_->idCorrente(), 0);  // a shortcut presses its button visibly, a moment later
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QString());
    child<QLineEdit>("TxtCognome")->setFocus();
    QTest::keyClicks(child<QLineEdit>("TxtCognome"), QStringLiteral("Verdi"));
    QTest::keyClick(child<QLineEdit>("TxtCognome"), Qt::Key_S, Qt::ControlModifier);
    QTRY_COMPARE(store_->rows("select count(*) from Anagrafica")[0][0].toInt(), 3);
    QCOMPARE(child<QPushButton>("CmdSalva")->toolTip(), QStringLiteral("Salva (Ctrl+S)"));
    QCOMPARE(child<QPushButton>("CmdStampa")->toolTip(), QStringLiteral("Stampa (Ctrl+P)"));

    // Wherever the keyboard is, a ring in a colour of its own shows it, on all four sides;
    // nowhere else.
    const auto latiCerchiati = [](QWidget* control) {
        const QImage image = control->grab().toImage();
        const auto cerchiato = [&image](QPoint da, QPoint passo) {
            for (int i = 0; i < 3; ++i)
                if (image.pixelColor(da + i * passo) == FocusRingStyle::kRing) return 1;
            return 0;
        };
        const int x = image.width() / 2;
        const int y = image.height() / 2;
        return cerchiato({x, 0}, {0, 1}) + cerchiato({x, image.height() - 1}, {0, -1}) + cerchiato({0, y}, {1, 0})
               + cerchiato({image.width() - 1, y}, {-1, 0});
    };
    QWidget* prima = nullptr;
    for (QWidget* control : {child<QWidget>("TxtCognome"), child<QWidget>("TxtRicerca"), child<QWidget>("CmdSalva"),
                             static_cast<QWidget*>(child<CalendarField>("DtNasc")->editor()), child<QWidget>("TxtCommenti"),
                             child<QWidget>("List1")}) {
        control->setFocus();
        QVERIFY2(latiCerchiati(control) == 4, qPrintable(control->objectName()));
        if (prima) QVERIFY2(latiCerchiati(prima) == 0, qPrintable(prima->objectName()));
        prima = control;
    }
}

void TestLayout::oneQuestionPerKeyOrClick()
{
    store_->insert({{"Cognome", "Bianchi"}, {"Nome", "Carla"}});
    form_->ElencaTutti();
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    auto* list = child<ElencoNomi>("List1");
    list->setCurrentRow(0);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Bianchi"));
    // An edit not saved; the user moves in the list, by key or by a click, and answers Annulla.
    const auto modifica = [&] {
        child<QLineEdit>("TxtNome")->setFocus();
        QTest::keyClicks(child<QLineEdit>("TxtNome"), QStringLiteral("na"));
        list->setFocus();
    };
    modifica();
    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::No};
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(dialogs_.shown.size(), 1);
    QTRY_COMPARE(list->selectedRow(), 0);
    QCOMPARE(child<QLineEdit>("TxtNome")->text(), QStringLiteral("Carlana"));

    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::Cancel, MsgAnswer::No, MsgAnswer::No};
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->rowRect(1).center());
    QCOMPARE(dialogs_.shown.size(), 1);
    QTRY_COMPARE(list->selectedRow(), 0);
    QCOMPARE(child<QLineEdit>("TxtNome")->text(), QStringLiteral("Carlana"));

    // Put back, the list moves on at the next key, when the user lets the edit go.
    dialogs_.shown.clear();
    dialogs_.answers = {MsgAnswer::No, MsgAnswer::No};
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(dialogs_.shown.size(), 1);
    QCOMPARE(list->selectedRow(), 1);
    QCOMPARE(child<QLineEdit>("TxtCognome")->text(), QStringLiteral("Rossi"));
}

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
