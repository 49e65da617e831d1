#pragma once

#include "platform/clock.h"

namespace zelvan::platform {

class SystemClock : public Clock
{
public:
    QDate currentDate() override;
    QTime currentTime() override;
};

} // namespace zelvan::platform
