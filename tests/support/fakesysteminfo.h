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
    quint32 getVersion() override;
    bool exitWindowsEx(quint32 flags, quint32 reserved) override;
    bool getComputerName(QByteArray &buffer, quint32 &size) override;

    quint32 version = 6;
    bool exitAllowed = false;  // a user without the shutdown right is refused
    QByteArray computerName = "MUHASEBE-PC";

    int versionCalls = 0;
    QList<QPair<quint32, quint32>> exitRequests;  // flags, reserved
};

} // namespace zelvan::test
