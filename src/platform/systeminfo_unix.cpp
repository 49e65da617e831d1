#include "platform/systeminfo.h"

#include "runtime/codepage1254.h"

#include <QSysInfo>

namespace zelvan::platform {

namespace {

class UnixSystemInfo final : public SystemInfo
{
public:
    // Windows 6 and later never need the restart after a regional change.
    quint32 getVersion() override { return 6; }

    bool exitWindowsEx(quint32, quint32) override { return false; }

    bool getComputerName(QByteArray &buffer, quint32 &size) override
    {
        return putComputerName(runtime::toCp1254(QSysInfo::machineHostName()), buffer, size);
    }
};

} // namespace

std::unique_ptr<SystemInfo> createSystemInfo()
{
    return std::make_unique<UnixSystemInfo>();
}

} // namespace zelvan::platform
