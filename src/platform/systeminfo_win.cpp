#include "platform/systeminfo.h"

#include "platform/win32api.h"

#include <algorithm>

namespace zelvan::platform {

namespace {

class Win32SystemInfo final : public SystemInfo
{
public:
    quint32 getVersion() override
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

    bool exitWindowsEx(quint32 flags, quint32 reserved) override
    {
        return ::ExitWindowsEx(UINT(flags), DWORD(reserved)) != FALSE;
    }

    bool getComputerName(QByteArray &buffer, quint32 &size) override
    {
        DWORD length = DWORD(std::min<qsizetype>(size, buffer.size()));
        const BOOL ok = ::GetComputerNameA(buffer.data(), &length);
        size = quint32(length);
        return ok != FALSE;
    }
};

} // namespace

std::unique_ptr<SystemInfo> createSystemInfo()
{
    return std::make_unique<Win32SystemInfo>();
}

} // namespace zelvan::platform
