#pragma once

#include "platform/err.h"

namespace zelvan::test {

// The number of the run-time error that `action` raises; 0 when it raises none.
template <typename Action>
qint32 errNumberOf(Action &&action)
{
    try {
        action();
    } catch (const platform::Err &error) {
        return error.number();
    }
    return 0;
}

} // namespace zelvan::test
