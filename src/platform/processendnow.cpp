#include "platform/processendnow.h"

#include <cstdio>
#include <cstdlib>

namespace zelvan::platform {

void ProcessEndNow::endNow(int exitCode)
{
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace zelvan::platform
