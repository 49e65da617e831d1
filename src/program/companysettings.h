#pragma once

namespace zelvan::program {

class Program;

// Reads the company's row of Defination_DB.dbo.sysfrmlng (by DatabaseName):
// its id goes into the program record, every other column must convert to
// its type. Returns only on success: a missing column offers the database
// updater, any other failure is reported; both end the program.
void LoadCompanySettings(Program &program);

} // namespace zelvan::program
