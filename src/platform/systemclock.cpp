#include "platform/systemclock.h"

namespace zelvan::platform {

QDate SystemClock::currentDate()
{
    return QDate::currentDate();
}

QTime SystemClock::currentTime()
{
    return QTime::currentTime();
}

} // namespace zelvan::platform
