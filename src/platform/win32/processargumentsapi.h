#pragma once

#include <string>
#include <vector>

namespace zelvan::platform::win32 {

// The process's arguments without its own path, split from its wide command
// line by CommandLineToArgvW: the text as typed, whatever the ANSI code page.
std::vector<std::wstring> commandLineArguments();

} // namespace zelvan::platform::win32
