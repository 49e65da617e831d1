#pragma once

#include <QString>

namespace zelvan::database {
class Recordset;
} // namespace zelvan::database

namespace zelvan::program {

class Program;

// The one door of every query: (re)opens `rs` on the program's connection
// with `sql`, keyset cursor, read-only. The SQL text goes on the clipboard
// first. A failure is shown (the error text, then the SQL text) and `rs` is
// left closed; the caller is not told.
void OpenRecordset(Program &program, database::Recordset &rs, const QString &sql);

} // namespace zelvan::program
