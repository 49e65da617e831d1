#include "platform/win32/systeminfoapi.h"

#include "platform/win32/win32api.h"

namespace zelvan::platform::win32 {

std::uint32_t getVersion()
{
    // Deprecated, but its low byte is exactly what the restart decision reads.
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
    return ::GetVersion();
#else
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return ::GetVersion();
#pragma GCC diagnostic pop
#endif
}

bool exitWindowsEx(std::uint32_t flags, std::uint32_t reserved)
{
    return ::ExitWindowsEx(UINT(flags), DWORD(reserved)) != FALSE;
}

bool getComputerName(char *buffer, std::uint32_t &size)
{
    DWORD length = DWORD(size);
    const BOOL ok = ::GetComputerNameA(buffer, &length);
    size = std::uint32_t(length);
    return ok != FALSE;
}

} // namespace zelvan::platform::win32
