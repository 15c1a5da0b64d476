#include "presentation/formtransparancy.h"
#include "presentation/trasparenza.h"
#include "store/storeerror.h"

#include <QCloseEvent>
#include <QTest>
#include <QTimer>

using namespace brenzola;
using tRASPARENZA::AlphaApplicato;
using tRASPARENZA::ImpostaTrasparenza;

namespace {

// A window that counts how often it is asked to close.
class Finestra : public QWidget {
public:
    int chiusure = 0;

protected:
    void closeEvent(QCloseEvent* event) override
    {
        ++chiusure;
        QWidget::closeEvent(event);
    }
};

int alpha(const QWidget& window) { return AlphaApplicato(&window); }

// Runs ticks by hand until the fade ends, recording the level each tick applies first.
QList<int> fade(FormTransparancy& control, int maxTicks = 1000)
{
    QList<int> applied;
    for (int i = 0; i < maxTicks && control.TransparencyDirection() != 0; ++i) {
        applied << control.TransparencyLevel();
        control.Timer1_Timer();
    }
    return applied;
}

QList<int> range(int from, int to, int step)
{
    QList<int> values;
    for (int v = from; step > 0 ? v <= to : v >= to; v += step) values << v;
    return values;
}

}  // namespace

class TestTrasparenza : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void levelsOutsideTheByteAreRefused();
    void fadeInEndsOpaque();
    void savedLevelOpensNearlyTransparentAndFadesIn();
    void fadeOutEndsClosingTheWindow();
    void directionChangeHalfWay();
    void levelAboveOpaqueHidesTheWindowWhileFadingOut();
    void idleTicksChangeNothing();
    void propertiesStayWithin16Bits();
};

void TestTrasparenza::levelsOutsideTheByteAreRefused()
{
    Finestra window;
    QCOMPARE(alpha(window), 255);
    ImpostaTrasparenza(&window, 128);
    QCOMPARE(ImpostaTrasparenza(&window, -1), 1);
    QCOMPARE(ImpostaTrasparenza(&window, 256), 1);
    QCOMPARE(alpha(window), 128);
    // This platform draws offscreen: the level is recorded, but reported as not shown,
    // and the window itself is left opaque.
    QCOMPARE(ImpostaTrasparenza(&window, 0), 2);
    QCOMPARE(alpha(window), 0);
    QCOMPARE(window.windowOpacity(), 1.0);
    ImpostaTrasparenza(&window, 255);
    QCOMPARE(alpha(window), 255);
    QCOMPARE(ImpostaTrasparenza(nullptr, 10), 2);
}

void TestTrasparenza::fadeInEndsOpaque()
{
    Finestra window;
    auto* control = new FormTransparancy(&window);
    control->MakeVisible();
    QCOMPARE(alpha(window), 0);
    QVERIFY(window.isVisible());
    const QList<int> applied = fade(*control);
    QCOMPARE(applied, range(0, 248, 4));
    QCOMPARE(control->TransparencyLevel(), 255);
    QCOMPARE(control->TransparencyDirection(), 0);
    QCOMPARE(alpha(window), 255);  // shown at the level it reports, not at 248
    QCOMPARE(window.chiusure, 0);
}

void TestTrasparenza::savedLevelOpensNearlyTransparentAndFadesIn()
{
    Finestra window;
    auto* control = new FormTransparancy(&window);
    control->ReadProperties({{"TransparencyLevel", 2}, {"TransparencyDirection", 4}});
    QCOMPARE(alpha(window), 2);
    QVERIFY(control->Timer1->isActive());
    const QList<int> applied = fade(*control);
    QCOMPARE(applied, range(2, 250, 4));
    QCOMPARE(applied.size(), 63);
    QCOMPARE(alpha(window), 255);
    QCOMPARE(control->TransparencyLevel(), 255);
    QVERIFY(!control->Timer1->isActive());  // the fade over, nothing ticks; a new one starts it
    control->setTransparencyDirection(-4);
    QVERIFY(control->Timer1->isActive());

    Finestra splash;
    auto* splashControl = new FormTransparancy(&splash);
    splashControl->ReadProperties({{"TransparencyDirection", 2}});
    QCOMPARE(fade(*splashControl), range(0, 252, 2));
    QCOMPARE(alpha(splash), 255);
    QCOMPARE(splashControl->WriteProperties(), (QVariantMap{{"TransparencyLevel", 255}}));
}

void TestTrasparenza::fadeOutEndsClosingTheWindow()
{
    Finestra window;
    window.show();
    auto* control = new FormTransparancy(&window);
    control->MakeInVisible();
    QCOMPARE(alpha(window), 255);
    const QList<int> applied = fade(*control);
    QCOMPARE(applied, range(255, 7, -4));
    QCOMPARE(alpha(window), 0);
    QCOMPARE(control->TransparencyLevel(), 0);
    QCOMPARE(control->TransparencyDirection(), 0);
    QCOMPARE(window.chiusure, 1);
    QVERIFY(!window.isVisible());
}

void TestTrasparenza::directionChangeHalfWay()
{
    for (int start : {100, 101}) {
        Finestra window;
        window.show();
        auto* control = new FormTransparancy(&window);
        control->MakeVisible();
        while (control->TransparencyLevel() < start) control->Timer1_Timer();
        control->setTransparencyLevel(start);
        control->setTransparencyDirection(-2);
        const QList<int> applied = fade(*control);
        QCOMPARE(applied, range(start, start % 2 ? 3 : 2, -2));
        QCOMPARE(alpha(window), 0);
        QCOMPARE(window.chiusure, 1);
    }
}

void TestTrasparenza::levelAboveOpaqueHidesTheWindowWhileFadingOut()
{
    Finestra window;
    window.show();
    auto* control = new FormTransparancy(&window);
    control->setTransparencyLevel(300);
    control->setTransparencyDirection(-4);
    for (int level = 300; level >= 256; level -= 4) {
        window.show();
        control->Timer1_Timer();
        QVERIFY2(!window.isVisible(), qPrintable(QString::number(level)));
        QCOMPARE(alpha(window), 255);  // nothing applied while out of range
    }
    QCOMPARE(control->TransparencyLevel(), 252);
    control->Timer1_Timer();
    QCOMPARE(alpha(window), 252);
}

void TestTrasparenza::idleTicksChangeNothing()
{
    Finestra window;
    window.show();
    auto* control = new FormTransparancy(&window);
    ImpostaTrasparenza(&window, 128);
    control->setTransparencyLevel(400);
    for (int i = 0; i < 5; ++i) control->Timer1_Timer();
    QCOMPARE(control->TransparencyLevel(), 400);
    QCOMPARE(alpha(window), 128);
    QVERIFY(window.isVisible());
}

void TestTrasparenza::propertiesStayWithin16Bits()
{
    Finestra window;
    auto* control = new FormTransparancy(&window);
    control->setTransparencyLevel(-32768);
    control->setTransparencyDirection(32767);
    QVERIFY_THROWS_EXCEPTION(StoreError, control->setTransparencyLevel(32768));
    QVERIFY_THROWS_EXCEPTION(StoreError, control->setTransparencyDirection(-40000));
    QCOMPARE(control->TransparencyLevel(), -32768);
    QCOMPARE(control->TransparencyDirection(), 32767);
    control->InitProperties();
    QCOMPARE(control->WriteProperties(), QVariantMap());
    QVERIFY(control->Timer1->isActive());
    QCOMPARE(control->Timer1->interval(), 10);
}

QTEST_MAIN(TestTrasparenza)
#include "tst_trasparenza.moc"
