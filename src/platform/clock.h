#pragma once

#include <QDate>
#include <QTime>

namespace zelvan::platform {

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate currentDate() = 0;
    virtual QTime currentTime() = 0;
};

} // namespace zelvan::platform
