#include "platform/systemclipboard.h"

namespace zelvan::platform {

// Qt's X11 clipboard offers its text to a running clipboard manager (the
// SAVE_TARGETS request) when the application object is destroyed; nothing is
// needed before that.
void SystemClipboard::keepAfterExit()
{
}

} // namespace zelvan::platform
