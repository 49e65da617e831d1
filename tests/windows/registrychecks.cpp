// The registry calls on a scratch key below HKEY_CURRENT_USER, with key
// paths and text in code page 1254 as the program hands them over.

#include "checkgroups.h"

#include "platform/win32/registryapi.h"
#include "platform/win32/win32api.h"

#include <algorithm>

namespace zelvan::windowscheck {

namespace {

using namespace platform::win32;

// "Software\Zelvan Deneme\Bölge" in code page 1254, and as Unicode.
const std::string scratchKey = "Software\\Zelvan Deneme\\B\xF6lge";
const std::wstring scratchKeyWide = L"Software\\Zelvan Deneme\\Bölge";

// Text as the program writes it: in code page 1254, ending with a NUL.
struct ValueRow
{
    const char *name;
    std::string valueName;
    std::string data;
    std::wstring unicode;  // the text the registry holds
};

const ValueRow valueRows[] = {
    {"REG_SZ, Turkish text", "Aciklama", std::string("\xDEi\xFEli \xD0\xFC\xDD\xFD\xF6\xE7", 12) + '\0', L"Şişli Ğüİıöç"},
    {"REG_SZ, empty", "Bos", std::string(1, '\0'), L""},
};

long openScratch(RegistryKey *key)
{
    return regOpenKey(CurrentUserKey, scratchKey, key);
}

// Written, then read as the program reads a value: its type and size first,
// then the data into a buffer of that size (at least two bytes).
void valueCase(Case &check, const ValueRow &row)
{
    RegistryKey key = 0;
    check.equal("create", regCreateKey(CurrentUserKey, scratchKey, &key), 0L);
    check.equal("write", regSetValue(key, row.valueName, REG_SZ, row.data), 0L);
    regCloseKey(key);

    check.equal("open", openScratch(&key), 0L);
    std::uint32_t type = REG_NONE;
    std::uint32_t size = 0;
    check.equal("query", regQueryValue(key, row.valueName, &type, nullptr, &size), 0L);
    check.equal("type", type, std::uint32_t(REG_SZ));
    check.equal("size", size, std::uint32_t(row.data.size()));
    std::string buffer(std::max<std::uint32_t>(size, 2), '\0');
    size = std::uint32_t(buffer.size());
    check.equal("read", regQueryValue(key, row.valueName, &type, buffer.data(), &size), 0L);
    check.equal("data", buffer.substr(0, size), row.data);
    regCloseKey(key);

    // The registry keeps text as Unicode; the A calls convert it through the ANSI code page.
    wchar_t text[64] = {};
    DWORD bytes = sizeof text;
    const std::wstring valueName(row.valueName.begin(), row.valueName.end());
    check.equal("read as Unicode", ::RegGetValueW(HKEY_CURRENT_USER, scratchKeyWide.c_str(), valueName.c_str(),
                                                  RRF_RT_REG_SZ, nullptr, text, &bytes), 0L);
    check.equal("Unicode text", std::wstring(text), row.unicode);
}

// Where a query goes, and what it gives.
enum class Where { Scratch, MissingKey, FailedOpen };

struct QueryRow
{
    const char *name;
    Where where;
    std::string valueName;
    long result;
};

const QueryRow queryRows[] = {
    {"a missing value", Where::Scratch, "Yok", ERROR_FILE_NOT_FOUND},
    {"a missing key", Where::MissingKey, "sDecimal", ERROR_FILE_NOT_FOUND},
    // RegReadString goes on with the 0 that the failed open left.
    {"the key a failed open left", Where::FailedOpen, "sDecimal", ERROR_INVALID_HANDLE},
};

void queryCase(Case &check, const QueryRow &row)
{
    RegistryKey key = 12345;
    long rc = 0;
    if (row.where == Where::Scratch) {
        check.equal("open", openScratch(&key), 0L);
    } else {
        rc = regOpenKey(CurrentUserKey, scratchKey + "\\Yok", &key);
        check.equal("key after a failed open", key, RegistryKey(0));
    }
    if (row.where != Where::MissingKey) {
        std::string buffer(64, '\0');
        std::uint32_t type = REG_NONE;
        std::uint32_t size = std::uint32_t(buffer.size());
        rc = regQueryValue(key, row.valueName, &type, buffer.data(), &size);
    }
    check.equal("result", rc, row.result);
    if (key)
        regCloseKey(key);
}

} // namespace

void registryChecks(Checks &checks)
{
    for (const ValueRow &row : valueRows)
        checks.run(std::string("registry: ") + row.name, [&row](Case &check) { valueCase(check, row); });
    for (const QueryRow &row : queryRows)
        checks.run(std::string("registry: ") + row.name, [&row](Case &check) { queryCase(check, row); });
}

} // namespace zelvan::windowscheck
