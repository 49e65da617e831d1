// GetVersion and the computer name.

#include "checkgroups.h"

#include "platform/win32/systeminfoapi.h"
#include "platform/win32/win32api.h"

namespace zelvan::windowscheck {

namespace {

using namespace platform::win32;

// Into the login form's 255 blanks: the name, a NUL, the blanks after it.
void computerNameCase(Case &check)
{
    wchar_t wide[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD wideLength = MAX_COMPUTERNAME_LENGTH + 1;
    check.that("GetComputerNameW", ::GetComputerNameW(wide, &wideLength));
    std::string expected;
    for (DWORD i = 0; i < wideLength; ++i)
        expected += char(wide[i]);  // Wine's names are ASCII: the host's name in capitals

    std::string buffer(255, ' ');
    std::uint32_t size = 255;
    check.that("result", getComputerName(buffer.data(), size));
    check.equal("size without the NUL", size, std::uint32_t(expected.size()));
    check.equal("name", buffer.substr(0, size), expected);
    check.equal("NUL after the name", buffer.at(size), '\0');
    check.equal("blank after the NUL", buffer.at(size + 1), ' ');
}

} // namespace

void systemInfoChecks(Checks &checks)
{
    // The restart decision on the remainder is tst_regionalsettings'; Wine's older versions are Wine's own.
    checks.run("GetVersion: Wine's default, Windows 7", [](Case &check) { check.equal("major version", std::int32_t(getVersion()) % 256, 6); });
    checks.run("computer name: in the login form's 255 blanks", computerNameCase);
}

} // namespace zelvan::windowscheck
