#pragma once

#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/programexit.h"

namespace zelvan::platform {

// The system clipboard (needs a QGuiApplication; works on the offscreen platform too).
class SystemClipboard : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;
};

// Ends the process at once: buffered output is flushed, nothing else runs.
class ProcessExit : public ProgramExit
{
public:
    [[noreturn]] void endNow(int exitCode) override;
};

class SystemClock : public Clock
{
public:
    QDate currentDate() override;
    QTime currentTime() override;
};

} // namespace zelvan::platform
