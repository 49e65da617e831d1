#pragma once

#include <QString>

namespace zelvan::program {

class Program;

// Makes sure the user's regional settings use "," for decimals, "." for
// thousands and day.month.year dates. Offers to change them; a refusal ends
// the program, and so does a change on Windows versions before 2000, after
// asking for a restart, and a change that could not be saved, after saying so.
void CheckRegionalSettings(Program &program);

// The workstation's number and date formats that the report prints with.
struct WorkstationFormats
{
    QString decimalSeparator;    // sDecimal
    QString thousandsSeparator;  // sThousand
    QString shortDate;           // sShortDate, a date picture such as "dd.MM.yyyy"
    QString timeFormat;          // sTimeFormat, a time picture such as "HH:mm:ss"
};

// Each format from the regional settings key; an empty or missing value gives
// the format the program requires (and "HH:mm:ss" for the time).
WorkstationFormats readWorkstationFormats(Program &program);

} // namespace zelvan::program
