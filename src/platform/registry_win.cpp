#include "platform/registry.h"

#include "platform/win32api.h"

namespace zelvan::platform {

namespace {

// The predefined handle is sign-extended on 64-bit Windows, so it does not
// travel as the plain 32-bit number the program uses.
HKEY toHkey(Registry::Key key)
{
    return key == Registry::CurrentUser ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

Registry::Key fromHkey(HKEY key)
{
    return key == HKEY_CURRENT_USER ? Registry::CurrentUser : reinterpret_cast<Registry::Key>(key);
}

class Win32Registry final : public Registry
{
public:
    long openKey(Key parent, const QByteArray &subKey, Key *result) override
    {
        HKEY key = nullptr;
        const LONG rc = RegOpenKeyA(toHkey(parent), subKey.constData(), &key);
        if (result)
            *result = rc == ERROR_SUCCESS ? fromHkey(key) : 0;
        return rc;
    }

    long createKey(Key parent, const QByteArray &subKey, Key *result) override
    {
        HKEY key = nullptr;
        const LONG rc = RegCreateKeyA(toHkey(parent), subKey.constData(), &key);
        if (result)
            *result = rc == ERROR_SUCCESS ? fromHkey(key) : 0;
        return rc;
    }

    long queryValue(Key key, const QByteArray &name, quint32 *type, char *data, quint32 *size) override
    {
        DWORD valueType = REG_NONE;
        DWORD dataSize = size ? DWORD(*size) : 0;
        const LONG rc = RegQueryValueExA(toHkey(key), name.constData(), nullptr, &valueType,
                                         reinterpret_cast<LPBYTE>(data), size ? &dataSize : nullptr);
        if (type)
            *type = valueType;
        if (size)
            *size = dataSize;
        return rc;
    }

    long setValue(Key key, const QByteArray &name, quint32 type, const QByteArray &data) override
    {
        return RegSetValueExA(toHkey(key), name.constData(), 0, type,
                              reinterpret_cast<const BYTE *>(data.constData()), DWORD(data.size()));
    }

    long closeKey(Key key) override
    {
        return RegCloseKey(toHkey(key));
    }
};

} // namespace

std::unique_ptr<Registry> createUserRegistry()
{
    return std::make_unique<Win32Registry>();
}

} // namespace zelvan::platform
