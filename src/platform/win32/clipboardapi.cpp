#include "platform/win32/clipboardapi.h"

#include "platform/win32/win32api.h"

#include <ole2.h>

namespace zelvan::platform::win32 {

bool flushClipboard()
{
    return ::OleFlushClipboard() == S_OK;
}

} // namespace zelvan::platform::win32
