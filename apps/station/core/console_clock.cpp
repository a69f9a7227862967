#include "console_clock.h"

#include <QDateTime>

namespace {

class SystemClock : public ConsoleClock
{
public:
    qint64 nowMs() const override { return QDateTime::currentMSecsSinceEpoch(); }
};

} // namespace

const ConsoleClock& ConsoleClock::system()
{
    static const SystemClock clock;
    return clock;
}
