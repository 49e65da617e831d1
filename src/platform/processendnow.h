#pragma once

#include "platform/endnow.h"

namespace zelvan::platform {

// Ends the process at once: buffered output is flushed, nothing else runs.
class ProcessEndNow : public EndNow
{
public:
    [[noreturn]] void endNow(int exitCode) override;
};

} // namespace zelvan::platform
