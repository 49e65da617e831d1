#include "childprocess.h"

#include "platform/win32/processargumentsapi.h"
#include "platform/win32/win32api.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace zelvan::windowscheck {

namespace {

constexpr wchar_t OutputVariable[] = L"ZELVAN_CHECK_OUT";

std::wstring childOutput()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(OutputVariable, path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(path, length) : std::wstring();
}

} // namespace

bool isChild()
{
    return !childOutput().empty();
}

int runAsChild()
{
    // Each argument ends with a NUL, as UTF-16 code units.
    std::wstring text;
    for (const std::wstring &argument : platform::win32::commandLineArguments())
        text += argument + L'\0';
    std::ofstream out(std::filesystem::path(childOutput()), std::ios::binary);
    out.write(reinterpret_cast<const char *>(text.data()), std::streamsize(text.size() * sizeof(wchar_t)));
    out.close();
    return 0;
}

std::wstring programPath()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

std::wstring programFolder()
{
    const std::wstring path = programPath();
    return path.substr(0, path.find_last_of(L'\\'));
}

std::optional<std::uint32_t> runChild(const std::wstring &program, const std::wstring &commandLine,
                                      const std::wstring &outputFile)
{
    setChildOutput(outputFile.c_str());
    std::wstring line = commandLine;  // CreateProcessW may write into it
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const BOOL started = ::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &process);
    setChildOutput(nullptr);
    if (!started)
        return std::nullopt;
    std::optional<std::uint32_t> result;
    DWORD code = 0;
    if (::WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0 && ::GetExitCodeProcess(process.hProcess, &code))
        result = std::uint32_t(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}

std::optional<std::vector<std::wstring>> childArguments(const std::wstring &outputFile)
{
    std::ifstream in(std::filesystem::path(outputFile), std::ios::binary);
    if (!in)
        return std::nullopt;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::wstring text(reinterpret_cast<const wchar_t *>(bytes.data()), bytes.size() / sizeof(wchar_t));
    std::vector<std::wstring> arguments;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find(L'\0', start);
        arguments.push_back(text.substr(start, end - start));
        start = end == std::wstring::npos ? text.size() : end + 1;
    }
    return arguments;
}

void setChildOutput(const wchar_t *outputFile)
{
    ::SetEnvironmentVariableW(OutputVariable, outputFile);
}

} // namespace zelvan::windowscheck
