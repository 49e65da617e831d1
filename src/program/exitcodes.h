#pragma once

namespace zelvan::program {

// The program's exit codes.
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

} // namespace zelvan::program
