#pragma once

#include <QString>

namespace zelvan::program {

class Program;

// "#,##0" followed by "." and `decimals` zeros (none for 0 or less).
QString numberFormatFor(qint32 decimals);

// Loads the company's row of Defination_DB.dbo.sysfrmlng (by DatabaseName)
// into the program record. Returns only on success: a missing column offers
// the database updater, any other failure is reported; both end the program.
void LoadCompanySettings(Program &program);

} // namespace zelvan::program
