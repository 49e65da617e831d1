// GetVersion and the computer name.

#include "checkgroups.h"
#include "childprocess.h"

#include "platform/win32/registryapi.h"
#include "platform/win32/systeminfoapi.h"
#include "platform/win32/win32api.h"

namespace zelvan::windowscheck {

namespace {

using namespace platform::win32;

// The Windows version that Wine reports to the processes it starts after
// this value is set; empty for Wine's default.
struct VersionRow
{
    const char *name;
    const char *wineVersion;
    std::int32_t major;  // GetVersion's value as a signed number, remainder of 256
};

const VersionRow versionRows[] = {
    {"Wine's default, Windows 7", "", 6},
    {"Windows 2000", "win2k", 5},
    // The Windows 95 family sets the top bit.
    {"Windows 98", "win98", -252},
};

void setWineVersion(const std::string &version)
{
    RegistryKey key = 0;
    regCreateKey(CurrentUserKey, "Software\\Wine", &key);
    if (version.empty())
        ::RegDeleteValueA(HKEY(key), "Version");
    else
        regSetValue(key, "Version", REG_SZ, std::string_view(version.c_str(), version.size() + 1));
    regCloseKey(key);
}

void versionCase(Case &check, const VersionRow &row)
{
    setWineVersion(row.wineVersion);
    const std::wstring output = programFolder() + L"\\version.out";
    const auto version = runChild(programPath(), L"\"" + programPath() + L"\"", output);
    setWineVersion("");
    ::DeleteFileW(output.c_str());
    check.that("the child ran", version.has_value());
    check.equal("major version", std::int32_t(version.value_or(0)) % 256, row.major);
}

// Room for the name as the login form gives it, and around the name's own length.
enum class Room { Form, Exact, NoNul };

struct ComputerNameRow
{
    const char *name;
    Room room;
    bool ok;
};

const ComputerNameRow computerNameRows[] = {
    {"in the login form's 255 blanks", Room::Form, true},
    {"in room for the name and its NUL", Room::Exact, true},
    {"in room without the NUL", Room::NoNul, false},
};

void computerNameCase(Case &check, const ComputerNameRow &row)
{
    wchar_t wide[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD wideLength = MAX_COMPUTERNAME_LENGTH + 1;
    check.that("GetComputerNameW", ::GetComputerNameW(wide, &wideLength));
    std::string expected;
    for (DWORD i = 0; i < wideLength; ++i)
        expected += char(wide[i]);  // Wine's names are ASCII: the host's name in capitals

    std::string buffer(255, ' ');
    std::uint32_t room = 255;
    if (row.room == Room::Exact)
        room = std::uint32_t(expected.size() + 1);
    else if (row.room == Room::NoNul)
        room = std::uint32_t(expected.size());
    std::uint32_t size = room;
    check.equal("result", getComputerName(buffer.data(), size), row.ok);
    if (!row.ok) {
        check.equal("size with the NUL", size, std::uint32_t(expected.size() + 1));
        return;
    }
    check.equal("size without the NUL", size, std::uint32_t(expected.size()));
    check.equal("name", buffer.substr(0, size), expected);
    check.equal("NUL after the name", buffer[size], '\0');
    if (size + 1 < buffer.size())
        check.equal("blank after the NUL", buffer[size + 1], ' ');
}

} // namespace

void systemInfoChecks(Checks &checks)
{
    for (const VersionRow &row : versionRows)
        checks.run(std::string("GetVersion: ") + row.name, [&row](Case &check) { versionCase(check, row); });
    for (const ComputerNameRow &row : computerNameRows)
        checks.run(std::string("computer name: ") + row.name, [&row](Case &check) { computerNameCase(check, row); });
}

} // namespace zelvan::windowscheck
