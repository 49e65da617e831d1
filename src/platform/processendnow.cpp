#include "platform/processendnow.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace zelvan::platform {

ProcessEndNow::ProcessEndNow(std::function<void()> beforeEnd)
    : m_beforeEnd(std::move(beforeEnd))
{
}

void ProcessEndNow::endNow(int exitCode)
{
    if (m_beforeEnd)
        m_beforeEnd();
    std::fflush(nullptr);
    std::_Exit(exitCode);
}

} // namespace zelvan::platform
