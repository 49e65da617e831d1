#include "checks.h"

#include "platform/win32/win32api.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace zelvan::windowscheck {

std::string toUtf8(const std::wstring &text)
{
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::string toUtf8(const std::u16string &text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide characters are UTF-16 code units");
    return toUtf8(std::wstring(text.begin(), text.end()));
}

std::string describe(const std::string &bytes)
{
    std::string out = "\"";
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7f) {
            out += byte;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", code);
            out += escaped;
        }
    }
    return out + "\"";
}

std::string describe(const std::u16string &text)
{
    return "\"" + toUtf8(text) + "\"";
}

std::string describe(const std::wstring &text)
{
    return "\"" + toUtf8(text) + "\"";
}

std::string describe(const std::vector<std::wstring> &list)
{
    std::string out = "[";
    for (std::size_t i = 0; i < list.size(); ++i)
        out += (i ? ", " : "") + describe(list[i]);
    return out + "]";
}

void Case::that(const char *fact, bool holds)
{
    if (!holds)
        fail(std::string(fact) + ": does not hold");
}

void Case::fail(const std::string &what)
{
    m_failures.push_back(what);
}

void Checks::run(const std::string &name, const std::function<void(Case &)> &body)
{
    Case result;
    try {
        body(result);
    } catch (const std::exception &error) {
        result.fail(std::string("threw: ") + error.what());
    }
    if (result.failures().empty()) {
        ++m_passed;
        std::printf("ok    %s\n", name.c_str());
    } else {
        ++m_failed;
        std::string line;
        for (const std::string &failure : result.failures())
            line += (line.empty() ? "" : "; ") + failure;
        std::printf("FAIL  %s: %s\n", name.c_str(), line.c_str());
    }
    std::fflush(stdout);
}

int Checks::finish() const
{
    std::printf("%d passed, %d failed\n", m_passed, m_failed);
    return m_failed == 0 ? 0 : 1;
}

} // namespace zelvan::windowscheck
