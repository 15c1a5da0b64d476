#pragma once

#include <QtGlobal>

namespace brenzola {

// Follows a long piece of work; a window shows it, a tool or a test may not.
class Progress {
public:
    virtual ~Progress() = default;
    // Says how much of the total is done; false once the user has asked to stop.
    virtual bool advance(qint64 done, qint64 total) = 0;
};

}  // namespace brenzola
