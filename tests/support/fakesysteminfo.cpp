#include "support/fakesysteminfo.h"

namespace zelvan::test {

quint32 FakeSystemInfo::getVersion()
{
    ++versionCalls;
    return version;
}

bool FakeSystemInfo::exitWindowsEx(quint32 flags, quint32 reserved)
{
    exitRequests.append({flags, reserved});
    return exitAllowed;
}

bool FakeSystemInfo::getComputerName(QByteArray &buffer, quint32 &size)
{
    return platform::putComputerName(computerName, buffer, size);
}

} // namespace zelvan::test
