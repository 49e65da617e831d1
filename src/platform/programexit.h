#pragma once

namespace zelvan::platform {

// Exit codes of the program.
namespace ExitCode {
inline constexpr int Ok = 0;
inline constexpr int LaunchParameters = 2;
inline constexpr int Connection = 3;
inline constexpr int CompanySettings = 4;
inline constexpr int ReportRight = 5;
inline constexpr int RegionalSettings = 6;
inline constexpr int TooManyLogins = 7;
inline constexpr int ReportQuery = 8;
inline constexpr int Other = 9;
} // namespace ExitCode

// "End": the program stops at once, without closing windows or saving
// anything. The test implementation throws ProgramEnded instead.
class ProgramExit
{
public:
    virtual ~ProgramExit() = default;
    [[noreturn]] virtual void endNow(int exitCode) = 0;
};

// Thrown by test implementations of ProgramExit. Deliberately not an Err, so
// that no error trap of the program catches it.
struct ProgramEnded
{
    int exitCode;
};

} // namespace zelvan::platform
