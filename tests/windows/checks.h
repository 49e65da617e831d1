#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

namespace zelvan::windowscheck {

// Values as the report lines show them: text in quotes, as UTF-8, bytes of
// 8-bit text above 0x7f as \xNN.
std::string describe(const std::string &bytes);
std::string describe(const std::u16string &text);
std::string describe(const std::wstring &text);
std::string describe(const std::vector<std::wstring> &list);
template <typename T>
    requires std::is_integral_v<T>
std::string describe(T value)
{
    return std::to_string(value);
}
template <typename T>
std::string describe(const std::optional<T> &value)
{
    return value ? describe(*value) : std::string("nothing");
}

std::string toUtf8(const std::u16string &text);
std::string toUtf8(const std::wstring &text);

// The facts of one case; each that does not hold is named in its report line.
class Case
{
public:
    template <typename Actual, typename Expected>
    void equal(const char *fact, const Actual &actual, const Expected &expected)
    {
        if (!(actual == expected))
            fail(std::string(fact) + ": got " + describe(actual) + ", expected " + describe(expected));
    }
    void that(const char *fact, bool holds);
    void fail(const std::string &what);

    const std::vector<std::string> &failures() const { return m_failures; }

private:
    std::vector<std::string> m_failures;
};

// Runs cases and prints one line for each, then the totals.
class Checks
{
public:
    // A case that throws fails with what it threw.
    void run(const std::string &name, const std::function<void(Case &)> &body);
    // Prints "N passed, N failed"; the program's exit code.
    int finish() const;

private:
    int m_passed = 0;
    int m_failed = 0;
};

} // namespace zelvan::windowscheck
