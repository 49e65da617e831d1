#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace zelvan::platform {

// The user's registry hive as the Win32 functions see it. Key paths, value
// names and string data are bytes in the ANSI code page (1254). On Windows
// this is the real registry; elsewhere a file in the registry export format.
class Registry
{
public:
    using Key = quintptr;
    static constexpr Key CurrentUser = 0x80000001;  // HKEY_CURRENT_USER

    // Value types.
    static constexpr quint32 TypeNone = 0;
    static constexpr quint32 TypeString = 1;   // REG_SZ
    static constexpr quint32 TypeBinary = 3;   // REG_BINARY
    static constexpr quint32 TypeDword = 4;    // REG_DWORD

    // Win32 results.
    static constexpr long Success = 0;
    static constexpr long FileNotFound = 2;
    static constexpr long MoreData = 234;

    virtual ~Registry() = default;

    // RegOpenKeyA: opens an existing key below `parent`.
    virtual long openKey(Key parent, const QByteArray &subKey, Key *result) = 0;
    // RegCreateKeyA: opens the key, creating it (and its parents) when missing.
    virtual long createKey(Key parent, const QByteArray &subKey, Key *result) = 0;
    // RegQueryValueExA: `*size` is the buffer size in and the data size out.
    // With `data` null only the type and size are returned. A buffer that is
    // too small gives MoreData.
    virtual long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) = 0;
    // RegSetValueExA.
    virtual long setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data) = 0;
    // RegCloseKey.
    virtual long closeKey(Key key) = 0;

    // Where the values of a key below HKEY_CURRENT_USER are kept, for messages.
    virtual QString keyLocation(const QString &keyPath) const
    {
        return QStringLiteral("HKEY_CURRENT_USER\\") + keyPath;
    }
};

// The user's own hive: the real registry on Windows, the registry file elsewhere.
std::unique_ptr<Registry> createUserRegistry();

} // namespace zelvan::platform
