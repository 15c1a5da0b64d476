#pragma once

#include "archivio.h"
#include "demodata.h"
#include "dialogs.h"
#include "funzioni.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace brenzola::bench {

// The median time of `runs` calls, in milliseconds; `work` is given the run's number.
inline double medianMs(int runs, const std::function<void(int)>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A store of `contacts` demo contacts in `folder`, where the main window looks for it.
inline void creaArchivioDemo(const QString& folder, int contacts)
{
    CreaArchivio(Funzioni::PercorsoArchivio(folder));
    AggiungiContattiDemo(Funzioni::PercorsoArchivio(folder), contacts);
}

// Prints one figure as `name_<contacts> value unit`.
inline void print(const char* name, int contacts, double value, const char* unit)
{
    std::printf("%s_%d %.3f %s\n", name, contacts, value, unit);
    std::fflush(stdout);
}

// Answers every question No and shows no window; errors go to stderr.
class QuietDialogs final : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget*, const Message& message) override
    {
        if (message.icon == MsgIcon::Critical) std::fprintf(stderr, "%s\n", qPrintable(message.text));
        return MsgAnswer::No;
    }
    void ShowModal(QDialog&) override {}
    QString ChooseFile(QWidget*, const QString&, const QString&, const QString&) override { return {}; }
    QString AskPassword(QWidget*, const QString&) override { return {}; }
};

}  // namespace brenzola::bench
