#pragma once

// The real program's surroundings for tests that start it: processes that end with the
// test case, and an X server with a window manager (and, on request, a compositor).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

#include <memory>

#include <signal.h>
#include <unistd.h>

namespace brenzola::test {

constexpr int kWaitMs = 20000;

// A process the test started, ended when the case ends however it ends.
class Started {
public:
    Started(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
    {
        process_.setProcessEnvironment(environment);
        // A group of its own, so that what it starts in turn (a bus a launcher starts) ends with it.
        process_.setChildProcessModifier([] { ::setpgid(0, 0); });
        process_.start(program, arguments);
        if (!process_.waitForStarted(5000)) qWarning("%s did not start", qPrintable(program));
    }
    ~Started()
    {
        if (process_.state() == QProcess::NotRunning) return;
        const auto group = -pid_t(process_.processId());
        ::kill(group, SIGTERM);
        if (!process_.waitForFinished(3000)) {
            ::kill(group, SIGKILL);
            process_.waitForFinished(3000);
        }
    }
    QProcess& process() { return process_; }

private:
    QProcess process_;
};

inline QProcessEnvironment baseEnvironment(const QString& runtimeDir)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "QT_SCALE_FACTOR"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir);
    environment.insert(QStringLiteral("LANGUAGE"), QStringLiteral("it"));  // the texts read here are Italian
    return environment;
}

// Runs a short command to its end and returns what it printed.
inline QByteArray output(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment,
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

// The program, copied into `folder` beside the store there (which it opens), started on `environment`.
inline std::unique_ptr<Started> startBrenzola(const QString& folder, const QProcessEnvironment& environment,
                                              const QStringList& arguments = {})
{
    const QString program = QDir(folder).filePath(QStringLiteral("brenzola"));
    if (!QFile::exists(program)) QFile::copy(QStringLiteral(BRENZOLA_EXECUTABLE), program);
    return std::make_unique<Started>(program, arguments, environment);
}

}  // namespace brenzola::test
