#pragma once

#include "database/sqlservertypes.h"
#include "runtime/variant.h"

#include <QString>

#include <memory>
#include <vector>

namespace zelvan::database {

// One query's rows as a back end delivers them: forward only, one row at a
// time, so that no result needs to be held in memory whole.
class DbCursor
{
public:
    virtual ~DbCursor() = default;
    virtual int columnCount() const = 0;
    virtual QString columnName(int column) const = 0;
    // The SQL Server type the column reads as; Unknown where each stored
    // value decides (a back end or fake that does not know it).
    virtual SqlServerType columnType(int) const { return {}; }
    // Reads the next row into `row` (resized to columnCount()); false at the end.
    // Throws Err when the back end fails while fetching.
    virtual bool fetch(std::vector<runtime::Variant> &row) = 0;
};

// An open connection of one back end (embedded SQLite instance, ODBC).
class DbBackend
{
public:
    virtual ~DbBackend() = default;
    // Runs one statement and returns its rows. Throws Err when the statement
    // is rejected; the description is the engine's own text.
    virtual std::unique_ptr<DbCursor> execute(const QString &sql) = 0;
};

} // namespace zelvan::database
