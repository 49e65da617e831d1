#include "platform/systeminfo.h"

#include "platform/win32/systeminfoapi.h"

#include <algorithm>

namespace zelvan::platform {

namespace {

class Win32SystemInfo final : public SystemInfo
{
public:
    quint32 getVersion() override { return win32::getVersion(); }

    bool exitWindowsEx(quint32 flags, quint32 reserved) override { return win32::exitWindowsEx(flags, reserved); }

    bool getComputerName(QByteArray &buffer, quint32 &size) override
    {
        size = quint32(std::min<qsizetype>(size, buffer.size()));
        return win32::getComputerName(buffer.data(), size);
    }
};

} // namespace

std::unique_ptr<SystemInfo> createSystemInfo()
{
    return std::make_unique<Win32SystemInfo>();
}

} // namespace zelvan::platform
