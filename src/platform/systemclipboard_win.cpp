#include "platform/systemclipboard.h"

#include "platform/win32/clipboardapi.h"

namespace zelvan::platform {

// Qt puts delayed data on the clipboard, rendered when someone pastes; once the
// process is gone nobody can render it.
void SystemClipboard::keepAfterExit()
{
    win32::flushClipboard();
}

} // namespace zelvan::platform
