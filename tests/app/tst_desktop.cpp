// Starts the real program on real display servers and reads what reached the screen:
// Xvfb with the openbox window manager, with and without the xcompmgr compositor, and
// a headless Weston for Wayland. Offscreen tests cannot see opacity, placement or what
// a compositor draws.

#include "testsupport.h"
#include "xdisplay.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace brenzola;
using namespace brenzola::test;

namespace {

constexpr quint32 kOpaque = 0xffffffffu;
const QColor kQuickSearchGreen(192, 255, 192);

int pixelsOf(const QImage& image, const QColor& colour, const QRect& area)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

}  // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void fadesReachTheScreenWithACompositor();
    void withoutACompositorWindowsAreSimplyShown();
    void aSmallScreenAtDoubleScaleHoldsTheWholeWindow();
    void onWaylandWindowsAreSimplyShown();
    void aStoreThatCannotBeOpenedAsksWhatToDo();

private:
    // The program, copied beside a store of its own, started on `environment`.
    std::unique_ptr<Started> startProgram(QProcessEnvironment environment);

    std::unique_ptr<test::TempStore> store_;
    std::unique_ptr<QTemporaryDir> runtimeDir_;
};

void TestDesktop::init()
{
    store_ = std::make_unique<test::TempStore>();
    for (const char* cognome : {"Rossi", "Bianchi", "Verdi"}) store_->insert({{"Cognome", cognome}, {"Nome", "Anna"}});
    runtimeDir_ = std::make_unique<QTemporaryDir>();
    QFile::setPermissions(runtimeDir_->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestDesktop::cleanup()
{
    store_.reset();
    runtimeDir_.reset();
}

std::unique_ptr<Started> TestDesktop::startProgram(QProcessEnvironment environment)
{
    return startBrenzola(store_->folder(), environment);
}

void TestDesktop::fadesReachTheScreenWithACompositor()
{
    XDisplay display(runtimeDir_->path(), QSize(1920, 1080), true);
    QVERIFY2(display.ready(), display.problem().constData());
    auto program = startProgram(display.environment());

    // The splash fades in far enough to be seen, then the main window opens.
    qint64 splashPeak = -1;
    QString main;
    QVERIFY(waitFor([&] {
        const QString splash = display.splash();
        if (!splash.isEmpty()) splashPeak = std::max(splashPeak, display.opacity(splash));
        main = display.mainWindow();
        return !main.isEmpty();
    }));
    QVERIFY2(splashPeak > kOpaque / 2, qPrintable(QString::number(splashPeak)));

    // The main window ends fully opaque, and what it draws is on the screen unblended.
    QVERIFY(waitFor([&] { return display.opacity(main) == kOpaque; }));
    const QImage shot = display.screenshot();
    QVERIFY(!shot.isNull());
    QVERIFY2(pixelsOf(shot, kQuickSearchGreen, display.frame(main)) > 2000, "the quick-search box is not on screen");
}

void TestDesktop::withoutACompositorWindowsAreSimplyShown()
{
    XDisplay display(runtimeDir_->path(), QSize(2560, 1080), false);
    QVERIFY2(display.ready(), display.problem().constData());
    auto program = startProgram(display.environment());

    bool splashShown = false;
    QString main;
    QVERIFY(waitFor([&] {
        const QString splash = display.splash();
        splashShown = splashShown || (!splash.isEmpty() && display.viewable(splash));
        main = display.mainWindow();
        return !main.isEmpty();
    }));
    QVERIFY(splashShown);
    QVERIFY(waitFor([&] { return pixelsOf(display.screenshot(), kQuickSearchGreen, display.frame(main)) > 2000; }));

    // The agenda opens beside the main window, where the screen has room for both (a
    // little narrower here, as the main window stands in the middle).
    output(QStringLiteral("xdotool"), {"windowactivate", "--sync", main, "key", "--clearmodifiers", "ctrl+g"},
           display.environment());
    QString agenda;
    QVERIFY(waitFor([&] {
        const QStringList found = display.search({"--name", "^Da ricontattare$"});
        agenda = found.isEmpty() ? QString() : found.front();
        return !agenda.isEmpty() && display.viewable(agenda);
    }));
    QRect frameAgenda;
    const auto mostra = [](QRect r) {
        return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    QVERIFY2(waitFor(
                 [&] {
                     frameAgenda = display.frame(agenda);
                     return !frameAgenda.intersects(display.frame(main)) && QRect(0, 0, 2560, 1080).contains(frameAgenda);
                 },
                 5000),
             qPrintable(mostra(frameAgenda) + QStringLiteral(" beside ") + mostra(display.frame(main))));
}

void TestDesktop::aSmallScreenAtDoubleScaleHoldsTheWholeWindow()
{
    const QRect screen(0, 0, 1280, 1024);
    XDisplay display(runtimeDir_->path(), screen.size(), true);
    QVERIFY2(display.ready(), display.problem().constData());
    QProcessEnvironment environment = display.environment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    auto program = startProgram(environment);

    QString main;
    QVERIFY(waitFor([&] {
        main = display.mainWindow();
        return !main.isEmpty() && display.opacity(main) == kOpaque;
    }));
    // Title bar, borders and all: the designed window (2032 x 1230 at this scale) is fitted.
    QVERIFY(waitFor([&] { return screen.contains(display.frame(main)); }, 3000));
    QVERIFY(display.frame(main).height() > screen.height() / 2);
}

void TestDesktop::onWaylandWindowsAreSimplyShown()
{
    const QString socket = QStringLiteral("brenzola-test-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment environment = baseEnvironment(runtimeDir_->path());
    Started compositor(QStringLiteral("weston"),
                       {"--backend=headless-backend.so", "--use-pixman", "--debug", "--idle-time=0", "--width=1280",
                        "--height=1024", "--socket=" + socket},
                       environment);
    QVERIFY2(waitFor([&] { return QFile::exists(QDir(runtimeDir_->path()).filePath(socket)); }, 10000),
             "weston must be installed");
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), socket);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    auto program = startProgram(environment);

    // A Wayland window cannot fade itself: the splash is simply shown, then the main window.
    QTemporaryDir shots;
    QVERIFY(waitFor([&] {
        for (const QString& name : QDir(shots.path()).entryList({"*.png"})) QFile::remove(shots.filePath(name));
        output(QStringLiteral("weston-screenshooter"), {}, environment, shots.path());
        const QStringList taken = QDir(shots.path()).entryList({"*.png"});
        if (taken.isEmpty()) return false;
        const QImage shot(shots.filePath(taken.front()));
        return pixelsOf(shot, kQuickSearchGreen, shot.rect()) > 2000;
    }));
    QCOMPARE(program->process().state(), QProcess::Running);
    QVERIFY2(!program->process().readAllStandardError().contains("opacity"), "the window was asked to fade");
}

void TestDesktop::aStoreThatCannotBeOpenedAsksWhatToDo()
{
    XDisplay display(runtimeDir_->path(), QSize(1280, 1024), false);
    QVERIFY2(display.ready(), display.problem().constData());
    // The store remembered from an earlier start is no store now; the program has none beside it.
    QTemporaryDir home;
    const QString rotto = home.filePath(QStringLiteral("Rotto.mdb"));
    QFile file(rotto);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(QByteArray(4096, 'x')) == 4096);
    file.close();
    const QString impostazioni = home.filePath(QStringLiteral("config/Brenzola/brenzola.conf"));
    QVERIFY(QDir().mkpath(QFileInfo(impostazioni).path()));
    QSettings(impostazioni, QSettings::IniFormat).setValue(QStringLiteral("archivio"), rotto);
    QProcessEnvironment environment = display.environment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    QTemporaryDir cartella;
    auto program = startBrenzola(cartella.path(), environment);

    // The program neither ends nor shows an empty window: it asks what to do.
    QString domanda;
    QVERIFY(waitFor([&] {
        const QStringList found = display.search({"--name", "^Archivio dei contatti$"});
        domanda = found.isEmpty() ? QString() : found.front();
        return !domanda.isEmpty() && display.viewable(domanda);
    }));
    QCOMPARE(program->process().state(), QProcess::Running);
    QVERIFY(display.mainWindow().isEmpty());
    // Esc answers Esci: the program ends; the store stays remembered, for when it is back.
    output(QStringLiteral("xdotool"), {"windowactivate", "--sync", domanda, "key", "--clearmodifiers", "Escape"},
           display.environment());
    QVERIFY(program->process().waitForFinished(kWaitMs));
    QCOMPARE(program->process().exitCode(), 1);
    QCOMPARE(QSettings(impostazioni, QSettings::IniFormat).value(QStringLiteral("archivio")).toString(), rotto);
}

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
