#pragma once

namespace zelvan::program {

class Program;

// Splits the launch parameter text at every '|' into vars.LaunchParams and,
// when there are at least five fields, fills DatabaseName, ServerName,
// UserId, DbUserName and DbPassword ("æ" stands for an empty password).
// An empty text asks for the login dialog (LaunchParams[1] = "-1"). Fewer
// than five fields, or a user id that is not a 32-bit whole number, end the
// program with "Eksik Paremetre Kullanımı ".
void ParseLaunchParams(Program &program);

} // namespace zelvan::program
