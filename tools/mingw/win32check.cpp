// Prints what the Windows units see on the machine it runs on. Cross-compiled
// in CI so that the units are linked against the Windows import libraries;
// run by hand on Windows. The calls that change something (ExitWindowsEx,
// starting a program, writing the registry) are linked, never made.

#include "database/odbcapi/odbcapi.h"
#include "platform/win32/clipboardapi.h"
#include "platform/win32/processargumentsapi.h"
#include "platform/win32/processlauncherapi.h"
#include "platform/win32/registryapi.h"
#include "platform/win32/systeminfoapi.h"

#include <cstdio>

using namespace zelvan::platform;
using namespace zelvan::database;

int main()
{
    std::printf("GetVersion major: %u\n", unsigned(win32::getVersion() & 0xffu));

    char name[64] = {};
    std::uint32_t size = sizeof name;
    if (win32::getComputerName(name, size))
        std::printf("computer name: %.*s\n", int(size), name);

    std::printf("arguments: %zu\n", win32::commandLineArguments().size());

    win32::RegistryKey key = 0;
    if (win32::regOpenKey(win32::CurrentUserKey, "Control Panel\\International", &key) == 0) {
        char value[32] = {};
        std::uint32_t length = sizeof value - 1;
        std::uint32_t type = 0;
        if (win32::regQueryValue(key, "sDecimal", &type, value, &length) == 0)
            std::printf("sDecimal: %s (type %u)\n", value, unsigned(type));
        win32::regCloseKey(key);
    }

    std::printf("Verkon.exe here: %s\n", win32::isOrdinaryFile(L"Verkon.exe") ? "yes" : "no");

    // Nothing of this program is on the clipboard, so the flush keeps nothing.
    std::printf("OleFlushClipboard: %s\n", win32::flushClipboard() ? "flushed" : "nothing of ours");

    try {
        odbcapi::Connection connection(u"DRIVER={ODBC Driver 18 for SQL Server};SERVER=127.0.0.1,1", 2);
        std::printf("ODBC: connected\n");
    } catch (const odbcapi::Error &error) {
        std::printf("ODBC: refused with %zu diagnostic records\n", error.records.size());
    }
    return 0;
}
