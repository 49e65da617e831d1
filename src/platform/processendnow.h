#pragma once

#include "platform/endnow.h"

#include <functional>

namespace zelvan::platform {

// Ends the process at once: `beforeEnd` runs first (what must outlive the
// process is handed over there), buffered output is flushed, nothing else runs.
class ProcessEndNow : public EndNow
{
public:
    explicit ProcessEndNow(std::function<void()> beforeEnd = {});

    [[noreturn]] void endNow(int exitCode) override;

private:
    std::function<void()> m_beforeEnd;
};

} // namespace zelvan::platform
