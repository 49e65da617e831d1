#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelvan::platform::win32 {

// The registry calls the program makes, in their ANSI forms: key paths, value
// names and string data are bytes in the ANSI code page. Results are the
// Win32 error codes.

// A key travels as a plain number. HKEY_CURRENT_USER is the 32-bit constant,
// as the program has always passed it around.
using RegistryKey = std::uintptr_t;
inline constexpr RegistryKey CurrentUserKey = 0x80000001;

// RegOpenKeyA; `*result` is 0 when it fails.
long regOpenKey(RegistryKey parent, const std::string &subKey, RegistryKey *result);
// RegCreateKeyA; `*result` is 0 when it fails.
long regCreateKey(RegistryKey parent, const std::string &subKey, RegistryKey *result);
// RegQueryValueExA: `*size` is the buffer size in and the data size out.
long regQueryValue(RegistryKey key, const std::string &name, std::uint32_t *type, char *data, std::uint32_t *size);
// RegSetValueExA.
long regSetValue(RegistryKey key, const std::string &name, std::uint32_t type, std::string_view data);
// RegCloseKey.
long regCloseKey(RegistryKey key);

} // namespace zelvan::platform::win32
