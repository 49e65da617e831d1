// The process's arguments, in a child process.

#include "checkgroups.h"
#include "childprocess.h"

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

} // namespace

void processChecks(Checks &checks)
{
    for (const ArgumentsRow &row : argumentsRows)
        checks.run(std::string("arguments: ") + row.name, [&row](Case &check) { argumentsCase(check, row); });
}

} // namespace zelvan::windowscheck
