#include "platform/programstarter.h"

#include "platform/win32api.h"

#include <QDir>

#include <shellapi.h>

#include <string>

namespace zelvan::platform {

namespace {

std::wstring nativePath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

class Win32ProgramStarter final : public ProgramStarter
{
public:
    // What a directory listing with the normal attributes finds: no folder,
    // no hidden or system file.
    bool isOrdinaryFile(const QString &path) override
    {
        const DWORD attributes = ::GetFileAttributesW(nativePath(path).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return false;
        return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
    }

    bool startDetached(const QString &path) override
    {
        const std::wstring file = nativePath(path);
        const HINSTANCE result = ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        // ShellExecute reports success as a value above 32.
        return reinterpret_cast<INT_PTR>(result) > 32;
    }
};

} // namespace

std::unique_ptr<ProgramStarter> createProgramStarter()
{
    return std::make_unique<Win32ProgramStarter>();
}

} // namespace zelvan::platform
