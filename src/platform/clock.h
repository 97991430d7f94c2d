#pragma once

#include <QDateTime>

namespace lumitakt {

// The computer's clock. Everything that shows or tests the time asks this
// seam, once per event, so tests can drive the program with a fake clock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace lumitakt
