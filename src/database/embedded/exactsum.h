#pragma once

#include "database/sqlservertypes.h"

#include <QString>

struct sqlite3;

namespace zelvan::database {

// Replaces SQLite's SUM on a connection with an exact one. SQLite adds
// doubles and drifts (a million rows of 0.01 do not give 10000); SQL Server
// adds MONEY and DECIMAL exactly. Each double counts as the decimal it was
// written as (its 15-significant-digit form); whole numbers add as integers.
// The result is an integer when every value was one, else a double when the
// double gives back the exact sum, else the exact sum as text.
// Text that is a plain number counts as that number; other text, or a blob,
// fails the statement with SQL Server's error 8114.
void registerExactSum(sqlite3 *db);

// The engine's message of a failed statement as SQL Server words it. SQL
// Server names the summed column's type in a sum's overflow message, which
// the aggregate can't see: `summed` gives it (money when unknown).
QString withSummedType(const QString &engineMessage, SqlServerType summed);

// SQL Server's message of a sum beyond its type's range (error 8115).
QString sumOverflowText(SqlServerType summed);

} // namespace zelvan::database
