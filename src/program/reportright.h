#pragma once

namespace zelvan::program {

class Program;

// Looks up the user's right to this report in Defination_DB.dbo.Kullanici:
// the column RightColumn1 must be true and RightColumn2 must not be false
// (NULL equals neither). The outcome goes to vars.ReportAllowed.
void CheckReportRight(Program &program);

} // namespace zelvan::program
