#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <memory>

namespace zelvan::platform {

// The Windows system calls the program makes, and what stands in for them elsewhere.
class SystemInfo
{
public:
    virtual ~SystemInfo() = default;
    // GetVersion: the low byte is the major version. Elsewhere than Windows 6.
    virtual quint32 getVersion() = 0;
    // ExitWindowsEx; the result is not checked by the program.
    virtual bool exitWindowsEx(quint32 flags, quint32 reserved) = 0;
    // GetComputerNameA: writes the name and a terminating NUL into `buffer`
    // (which the caller fills with `size` blanks); `size` becomes the name's length.
    virtual bool getComputerName(QByteArray &buffer, quint32 &size) = 0;
};

std::unique_ptr<SystemInfo> createSystemInfo();

// What GetComputerNameA does with `name`: writes it and a NUL at the start of
// `buffer` (the rest untouched) and sets `size` to its length; when the buffer
// is too small, writes nothing, sets `size` to the length with the NUL and fails.
bool putComputerName(QByteArrayView name, QByteArray &buffer, quint32 &size);

} // namespace zelvan::platform
