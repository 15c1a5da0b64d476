// Starts the real program on real display servers and reads what reached the screen:
// Xvfb with the openbox window manager, with and without the xcompmgr compositor, and
// a headless Weston for Wayland. Offscreen tests cannot see opacity, placement or what
// a compositor draws.

#include "testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace brenzola;

namespace {

constexpr int kWaitMs = 20000;
constexpr quint32 kOpaque = 0xffffffffu;
const QColor kQuickSearchGreen(192, 255, 192);

// A process the test started, ended when the case ends however it ends.
class Started {
public:
    Started(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
    {
        process_.setProcessEnvironment(environment);
        process_.start(program, arguments);
        if (!process_.waitForStarted(5000)) qWarning("%s did not start", qPrintable(program));
    }
    ~Started()
    {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(3000)) {
            process_.kill();
            process_.waitForFinished(3000);
        }
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

QProcessEnvironment baseEnvironment(const QString& runtimeDir)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("it"));  // the texts read here are Italian
    return environment;
}

// Runs a short command to its end and returns what it printed.
QByteArray output(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
                  const QString& folder = {})
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return process.readAllStandardOutput();
}

// Waits until `found` gives true, or the time is up.
template <typename Check> bool waitFor(Check&& found, int ms = kWaitMs)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        if (found()) return true;
        QTest::qWait(20);
    }
    return found();
}

int pixelsOf(const QImage& image, const QColor& colour, const QRect& area)
{
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x) count += image.pixelColor(x, y) == colour;
    return count;
}

// An X server with a window manager and, on request, a compositor.
class XDisplay {
public:
    XDisplay(const QString& runtimeDir, QSize screen, bool compositor) : environment_(baseEnvironment(runtimeDir))
    {
        // Without -noreset the server resets whenever its last client leaves: a probe by
        // xprop that ends just as the window manager connects takes the manager down with it.
        server_ = std::make_unique<Started>(QStringLiteral("Xvfb"),
                                            QStringList{"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0",
                                                        QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height())},
                                            environment_);
        QProcess& server = server_->process();
        if (!waitFor([&] { return server.canReadLine() || server.state() == QProcess::NotRunning; }, 10000)
            || !server.canReadLine()) {
            problem_ = "Xvfb did not start: " + server.readAllStandardError();
            return;
        }
        environment_.insert(QStringLiteral("DISPLAY"), QLatin1Char(':') + QString::fromLatin1(server.readLine().trimmed()));
        // On a loaded machine the window manager now and then ends before it manages the
        // screen; one more start is tried, and the message says how the last one ended.
        bool managed = false;
        for (int attempt = 0; attempt < 2 && !managed; ++attempt) {
            windowManager_ = std::make_unique<Started>(QStringLiteral("openbox"), QStringList{}, environment_);
            QProcess& openbox = windowManager_->process();
            managed = waitFor([&] {
                          return openbox.state() == QProcess::NotRunning
                                 || xprop({"-root", "_NET_SUPPORTING_WM_CHECK"}).contains("window id");
                      })
                      && openbox.state() != QProcess::NotRunning;
            if (!managed)
                problem_ = "openbox did not start ("
                           + (openbox.exitStatus() == QProcess::CrashExit ? QByteArray("signal ") : QByteArray("exit "))
                           + QByteArray::number(openbox.exitCode()) + "): " + openbox.readAllStandardError();
        }
        if (!managed) return;
        problem_.clear();
        // The compositor names a window of its own once it composites; a start that loses
        // a race with the window manager is tried once more.
        for (int attempt = 0; compositor && attempt < 2 && !ready_; ++attempt) {
            compositor_ = std::make_unique<Started>(QStringLiteral("xcompmgr"), QStringList{}, environment_);
            ready_ = waitFor([this] { return !search({"--name", "^xcompmgr$"}).isEmpty(); }, 10000);
            if (!ready_) problem_ = "xcompmgr did not start: " + compositor_->process().readAllStandardError();
        }
        ready_ = ready_ || !compositor;
    }

    // Why the display is not ready, for the test's message.
    QByteArray problem() const { return problem_; }
    bool ready() const { return ready_; }
    QProcessEnvironment environment() const { return environment_; }

    QByteArray xprop(const QStringList& arguments) const { return output(QStringLiteral("xprop"), arguments, environment_); }
    QStringList search(const QStringList& arguments) const
    {
        return QString::fromLatin1(output(QStringLiteral("xdotool"), QStringList{"search"} + arguments, environment_))
            .split(u'\n', Qt::SkipEmptyParts);
    }
    // The main window, by its caption.
    QString mainWindow() const
    {
        const QStringList found = search({"--name", "^Brenzola 1\\.0 "});
        return found.isEmpty() ? QString() : found.front();
    }
    // The splash: the program's window without a caption.
    QString splash() const
    {
        for (const QString& window : search({"--classname", "^brenzola$"})) {
            const QByteArray name = xprop({"-id", window, "WM_NAME"});
            if (name.startsWith("WM_NAME(") && !name.contains('"')) return window;
        }
        return {};
    }
    // -1 when the window has no opacity of its own (it is opaque).
    qint64 opacity(const QString& window) const
    {
        static const QRegularExpression value(QStringLiteral("= (\\d+)"));
        const auto match = value.match(QString::fromLatin1(xprop({"-id", window, "_NET_WM_WINDOW_OPACITY"})));
        return match.hasMatch() ? match.captured(1).toLongLong() : -1;
    }
    bool viewable(const QString& window) const
    {
        return output(QStringLiteral("xwininfo"), {"-id", window}, environment_).contains("IsViewable");
    }
    // The window with its title bar and borders, in screen pixels.
    QRect frame(const QString& window) const
    {
        const QString info = QString::fromLatin1(output(QStringLiteral("xwininfo"), {"-id", window}, environment_));
        const auto number = [&info](const char* label) {
            const auto match = QRegularExpression(QLatin1String(label) + QStringLiteral(":\\s+(-?\\d+)")).match(info);
            return match.captured(1).toInt();
        };
        QRect client(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"), number("Height"));
        const auto extents = QRegularExpression(QStringLiteral("= (\\d+), (\\d+), (\\d+), (\\d+)"))
                                 .match(QString::fromLatin1(xprop({"-id", window, "_NET_FRAME_EXTENTS"})));
        if (extents.hasMatch())
            client.adjust(-extents.captured(1).toInt(), -extents.captured(3).toInt(), extents.captured(2).toInt(),
                          extents.captured(4).toInt());
        return client;
    }
    QImage screenshot() const
    {
        return QImage::fromData(output(QStringLiteral("import"), {"-window", "root", "png:-"}, environment_), "PNG");
    }

private:
    QProcessEnvironment environment_;
    std::unique_ptr<Started> server_;
    std::unique_ptr<Started> windowManager_;
    std::unique_ptr<Started> compositor_;
    bool ready_ = false;
    QByteArray problem_;
};

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
    const QString program = QDir(store_->folder()).filePath(QStringLiteral("brenzola"));
    if (!QFile::exists(program)) QFile::copy(QStringLiteral(BRENZOLA_EXECUTABLE), program);
    return std::make_unique<Started>(program, QStringList{}, environment);
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

QTEST_MAIN(TestDesktop)
#include "tst_desktop.moc"
