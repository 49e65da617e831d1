#include "platform/win32/processargumentsapi.h"

#include "platform/win32/win32api.h"

#include <shellapi.h>

namespace zelvan::platform::win32 {

std::vector<std::wstring> commandLineArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    LPWSTR *wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(wide[i]);
    ::LocalFree(wide);
    return arguments;
}

} // namespace zelvan::platform::win32
