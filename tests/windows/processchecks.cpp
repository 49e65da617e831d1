// The process's arguments and the updater, each in a child process.

#include "checkgroups.h"
#include "childprocess.h"

#include "platform/win32/processlauncherapi.h"
#include "platform/win32/win32api.h"

namespace zelvan::windowscheck {

namespace {

struct ArgumentsRow
{
    const char *name;
    const wchar_t *typed;  // after the program's own quoted path; Windows' own rules split it
    std::vector<std::wstring> arguments;
};

const ArgumentsRow argumentsRows[] = {
    {"none", L"", {}},
    {"Turkish letters", L"Şirket|İstanbul|ğüşıöçİ", {L"Şirket|İstanbul|ğüşıöçİ"}},
    {"blanks in quotes", L"1|Şube  A|\"2026  Ocak\"|", {L"1|Şube", L"A|2026  Ocak|"}},
};

void argumentsCase(Case &check, const ArgumentsRow &row)
{
    const std::wstring output = programFolder() + L"\\arguments.out";
    ::DeleteFileW(output.c_str());
    const std::wstring commandLine = L"\"" + programPath() + L"\" " + row.typed;
    check.that("the child ran", runChild(programPath(), commandLine, output).has_value());
    check.equal("arguments", childArguments(output), std::optional(row.arguments));
    ::DeleteFileW(output.c_str());
}

// What stands beside the program under the updater's name: a program (started) or a folder (passed over).
struct UpdaterRow
{
    const char *name;
    bool program;
};

const UpdaterRow updaterRows[] = {
    {"a program", true},
    {"a folder", false},
};

// The started updater may still hold its file for a moment.
void removeWhenFree(const std::wstring &path)
{
    for (int attempt = 0; attempt < 100 && ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; ++attempt) {
        if (!::DeleteFileW(path.c_str()) && !::RemoveDirectoryW(path.c_str()))
            ::Sleep(100);
    }
}

bool appears(const std::wstring &path)
{
    for (int attempt = 0; attempt < 150; ++attempt) {
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES)
            return true;
        ::Sleep(100);
    }
    return false;
}

void updaterCase(Case &check, const UpdaterRow &row)
{
    // Where the program looks for it: the folder of its own executable.
    const std::wstring updater = programFolder() + L"\\Verkon.exe";
    const std::wstring marker = programFolder() + L"\\updater.out";
    removeWhenFree(updater);
    ::DeleteFileW(marker.c_str());
    const bool placed = row.program ? ::CopyFileW(programPath().c_str(), updater.c_str(), FALSE)
                                    : ::CreateDirectoryW(updater.c_str(), nullptr);
    check.that("placed", placed);
    const bool ordinary = platform::win32::isOrdinaryFile(updater);
    check.equal("ordinary file", ordinary, row.program);
    if (ordinary) {
        setChildOutput(marker.c_str());
        check.that("started", platform::win32::openDetached(updater));
        setChildOutput(nullptr);
        check.that("wrote its marker", appears(marker));
    }
    removeWhenFree(updater);
    removeWhenFree(marker);
}

} // namespace

void processChecks(Checks &checks)
{
    for (const ArgumentsRow &row : argumentsRows)
        checks.run(std::string("arguments: ") + row.name, [&row](Case &check) { argumentsCase(check, row); });
    for (const UpdaterRow &row : updaterRows)
        checks.run(std::string("updater: ") + row.name, [&row](Case &check) { updaterCase(check, row); });
}

} // namespace zelvan::windowscheck
