#pragma once

#include "platform/systeminfo.h"

#include <QByteArray>
#include <QList>
#include <QPair>

namespace zelvan::test {

// A Windows of a chosen version that records restart requests.
class FakeSystemInfo : public platform::SystemInfo
{
public:
    quint32 getVersion() override
    {
        ++versionCalls;
        return version;
    }
    bool exitWindowsEx(quint32 flags, quint32 reserved) override
    {
        exitRequests.append({flags, reserved});
        return false;
    }
    bool getComputerName(QByteArray &buffer, quint32 &size) override
    {
        return platform::putComputerName(computerName, buffer, size);
    }

    quint32 version = 6;
    QByteArray computerName = "MUHASEBE-PC";

    int versionCalls = 0;
    QList<QPair<quint32, quint32>> exitRequests;  // flags, reserved
};

} // namespace zelvan::test
