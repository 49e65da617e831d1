#pragma once

#include <string>

namespace zelvan::platform::win32 {

// What a directory listing with the normal attributes finds at `path`: a
// file that is no folder, and neither hidden nor a system file.
bool isOrdinaryFile(const std::wstring &path);

// Opens the program at `path` as Explorer would, with a normal, focused
// window, without waiting for it. False when it could not be started.
bool openDetached(const std::wstring &path);

} // namespace zelvan::platform::win32
