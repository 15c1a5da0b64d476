#pragma once

#include "dialogs.h"

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

// Answers every question No and shows no window; errors go to stderr.
class QuietDialogs final : public Dialogs {
public:
    MsgAnswer MsgBox(QWidget*, const Message& message) override
    {
        if (message.icon == MsgIcon::Critical) std::fprintf(stderr, "%s\n", qPrintable(message.text));
        return MsgAnswer::No;
    }
    void ShowModal(QDialog&) override {}
};

}  // namespace brenzola::bench
