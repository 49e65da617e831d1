#include "platform/processlauncher.h"

#include "platform/win32/processlauncherapi.h"

#include <QDir>

namespace zelvan::platform {

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

class Win32ProgramStarter final : public ProcessLauncher
{
public:
    bool isOrdinaryFile(const QString &path) override { return win32::isOrdinaryFile(nativePath(path)); }

    bool startDetached(const QString &path) override { return win32::openDetached(nativePath(path)); }
};

} // namespace

std::unique_ptr<ProcessLauncher> createProcessLauncher()
{
    return std::make_unique<Win32ProgramStarter>();
}

} // namespace zelvan::platform
