#include "platform/win32/registryapi.h"

#include "platform/win32/win32api.h"

namespace zelvan::platform::win32 {

namespace {

// The predefined handle is sign-extended on 64-bit Windows, so it does not
// travel as the plain 32-bit number the program uses.
HKEY toHkey(RegistryKey key)
{
    return key == CurrentUserKey ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key);
}

RegistryKey fromHkey(HKEY key)
{
    return key == HKEY_CURRENT_USER ? CurrentUserKey : reinterpret_cast<RegistryKey>(key);
}

template <typename Open>
long openWith(Open open, RegistryKey parent, const std::string &subKey, RegistryKey *result)
{
    HKEY key = nullptr;
    const LONG rc = open(toHkey(parent), subKey.c_str(), &key);
    if (result)
        *result = rc == ERROR_SUCCESS ? fromHkey(key) : 0;
    return rc;
}

} // namespace

long regOpenKey(RegistryKey parent, const std::string &subKey, RegistryKey *result)
{
    return openWith(::RegOpenKeyA, parent, subKey, result);
}

long regCreateKey(RegistryKey parent, const std::string &subKey, RegistryKey *result)
{
    return openWith(::RegCreateKeyA, parent, subKey, result);
}

long regQueryValue(RegistryKey key, const std::string &name, std::uint32_t *type, char *data, std::uint32_t *size)
{
    DWORD valueType = REG_NONE;
    DWORD dataSize = size ? DWORD(*size) : 0;
    const LONG rc = ::RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &valueType, reinterpret_cast<LPBYTE>(data),
                                       size ? &dataSize : nullptr);
    if (type)
        *type = valueType;
    if (size)
        *size = dataSize;
    return rc;
}

long regSetValue(RegistryKey key, const std::string &name, std::uint32_t type, std::string_view data)
{
    return ::RegSetValueExA(toHkey(key), name.c_str(), 0, DWORD(type), reinterpret_cast<const BYTE *>(data.data()),
                            DWORD(data.size()));
}

long regCloseKey(RegistryKey key)
{
    return ::RegCloseKey(toHkey(key));
}

} // namespace zelvan::platform::win32
