#pragma once

namespace zelvan::platform::win32 {

// OleFlushClipboard: the data this process put on the clipboard is rendered
// into it, so that it stays after the process ends. False when this process
// does not own the clipboard (nothing to do) or the call failed.
bool flushClipboard();

} // namespace zelvan::platform::win32
