#pragma once

struct sqlite3;

namespace zelvan::database {

// Replaces SQLite's SUM on a connection with an exact one. SQLite adds
// doubles and drifts (a million rows of 0.01 do not give 10000); SQL Server
// adds MONEY and DECIMAL exactly. Each double counts as the decimal it was
// written as (its 15-significant-digit form); whole numbers add as integers.
// The result is an integer when every value was one, else a double when the
// double gives back the exact sum, else the exact sum as text.
void registerExactSum(sqlite3 *db);

} // namespace zelvan::database
