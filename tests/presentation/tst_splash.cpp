#include "presentation/formtransparancy.h"
#include "presentation/frmsplash.h"
#include "store/funzioni.h"
#include "testsupport.h"
#include "widgets/moduli.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>

using namespace brenzola;

class TestSplash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Funzioni::ApplicaImpostazioniItaliane(*qApp); }
    void showsTheProgramAndItsVersion();
    void fadesOutOnlyOnceSomethingIsShown();
    void theEndOfTheFadeOpensTheMainWindowOnce();
    void anEarlyCloseOpensTheMainWindowOnce();
    void aClickOrAKeySkipsIt();
};

void TestSplash::showsTheProgramAndItsVersion()
{
    QCOMPARE(frmSplash::TestoVersione(QVersionNumber(2, 3, 14)), QStringLiteral("Versione 2.3.14"));
    test::ScriptedDialogs dialogs;
    QString shownVersion, shownName;
    QRect versionPlace;
    QSize logoSize, logoPlace;
    dialogs.onModal = [&](QDialog& window) {
        shownVersion = window.findChild<QLabel*>("lblVersion")->text();
        shownName = window.findChild<QLabel*>("lblProductName")->text();
        versionPlace = window.findChild<QLabel*>("lblVersion")->geometry();
        const auto* logo = window.findChild<QLabel*>("imgLogo");
        logoSize = logo->pixmap().deviceIndependentSize().toSize();
        logoPlace = logo->size();
    };
    frmSplash splash([] {}, dialogs);
    splash.Form_Load();
    QCOMPARE(shownVersion, QStringLiteral("Versione 1.0.0"));
    QCOMPARE(shownName, QStringLiteral("Brenzola"));
    // The version keeps a quarter inch from the edge; the logo is drawn at the size shown.
    QVERIFY2(splash.width() - versionPlace.right() > splash.logicalDpiX() / 4, qPrintable(QString::number(versionPlace.right())));
    QCOMPARE(logoSize, logoPlace);
    QCOMPARE(splash.Timer->interval(), 2500);
}

void TestSplash::fadesOutOnlyOnceSomethingIsShown()
{
    test::ScriptedDialogs dialogs;
    frmSplash splash([] {}, dialogs);
    splash.FormTransparancy1->Timer1->stop();  // ticks are driven by hand here
    QCOMPARE(splash.FormTransparancy1->TransparencyDirection(), 2);
    splash.Timer_Timer();
    QCOMPARE(splash.FormTransparancy1->TransparencyDirection(), 2);  // level still 0
    splash.FormTransparancy1->setTransparencyLevel(120);
    splash.Timer_Timer();
    QCOMPARE(splash.FormTransparancy1->TransparencyDirection(), -2);
}

void TestSplash::theEndOfTheFadeOpensTheMainWindowOnce()
{
    test::ScriptedDialogs dialogs;
    int opened = 0;
    bool hiddenWhileMainOpen = false;
    frmSplash* splashPointer = nullptr;
    frmSplash splash(
        [&] {
            ++opened;
            hiddenWhileMainOpen = !splashPointer->isVisible();
        },
        dialogs);
    splashPointer = &splash;
    dialogs.onModal = [&](QDialog&) {
        // Wait in real time for the fade-in, the 2.5 s timer and the fade-out.
        QTRY_COMPARE_WITH_TIMEOUT(opened, 1, 15000);
    };
    splash.Form_Load();
    QCOMPARE(opened, 1);
    QVERIFY(hiddenWhileMainOpen);
    QVERIFY(!splash.isVisible());
    QCOMPARE(splash.FormTransparancy1->TransparencyDirection(), 0);
    QTest::qWait(50);  // later ticks find nothing to do
    QCOMPARE(opened, 1);
}

void TestSplash::anEarlyCloseOpensTheMainWindowOnce()
{
    test::ScriptedDialogs dialogs;
    int opened = 0;
    frmSplash* splashPointer = nullptr;
    frmSplash splash(
        [&] {
            ++opened;
            // While the main window is open, the splash's own fade must not close it again.
            for (int i = 0; i < 200; ++i) splashPointer->FormTransparancy1->Timer1_Timer();
            splashPointer->close();
        },
        dialogs);
    splashPointer = &splash;
    dialogs.onModal = [&](QDialog& window) {
        QTest::qWait(30);
        window.close();  // the system close, during the fade-in
        window.close();
    };
    splash.Form_Load();
    QCOMPARE(opened, 1);
    QVERIFY(!splash.isVisible());
}

void TestSplash::aClickOrAKeySkipsIt()
{
    for (const bool tasto : {false, true}) {
        test::ScriptedDialogs dialogs;
        int opened = 0;
        int openedAtOnce = 0;
        frmSplash splash([&] { ++opened; }, dialogs);
        dialogs.onModal = [&](QDialog& window) {
            if (tasto)
                QTest::keyClick(&window, Qt::Key_Space);
            else
                QTest::mouseClick(&window, Qt::LeftButton);
            openedAtOnce = opened;  // no fade waited for
        };
        splash.Form_Load();
        QCOMPARE(openedAtOnce, 1);
        QCOMPARE(opened, 1);
    }
}

QTEST_MAIN(TestSplash)
#include "tst_splash.moc"
