#pragma once

#include "agenda/ui/frmagenda.h"
#include "register/frmbrenzola.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace brenzola::bench {

inline void settle() { QCoreApplication::processEvents(); }

// Where the agenda stands while the main window works: it changes what a save costs.
enum class StatoAgenda { Mai, Chiusa, Aperta };
constexpr StatoAgenda kStatiAgenda[] = {StatoAgenda::Mai, StatoAgenda::Chiusa, StatoAgenda::Aperta};

inline const char* nomeStato(StatoAgenda stato)
{
    switch (stato) {
    case StatoAgenda::Mai:
        return "agenda_never";
    case StatoAgenda::Chiusa:
        return "agenda_closed";
    case StatoAgenda::Aperta:
        return "agenda_open";
    }
    return "";
}

// Brings the agenda to that state: never opened (only before any other), opened and
// closed again, or open beside the window.
inline void portaAgenda(FrmBrenzola& form, StatoAgenda stato)
{
    if (stato == StatoAgenda::Mai) return;
    form.ApriAgenda();
    settle();
    if (stato == StatoAgenda::Chiusa)
        if (auto* agenda = form.findChild<FrmAgenda*>()) agenda->close();
    settle();
}

// How long, in milliseconds, until `done` holds while the events are processed as they
// come; a negative figure when it did not within `limitMs`.
inline double attendi(const std::function<bool()>& done, int limitMs = 10000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > limitMs) return -1;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    return double(waited.nsecsElapsed()) / 1e6;
}

// The median of figures gathered one by one.
inline double mediana(std::vector<double> figures)
{
    if (figures.empty()) return 0;
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

// Runs another program to its end, as a user at another desk or a script would; false
// (and why, on stderr) when it failed.
inline bool esegui(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), qPrintable(process.errorString()));
        return false;
    }
    return true;
}

}  // namespace brenzola::bench
