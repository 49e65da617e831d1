#pragma once

#include "database/backend.h"

#include <QString>

#include <memory>

namespace zelvan::database {

// The program's database connection (in place of an ADO Connection). Its
// Data Source chooses the back end: an existing directory is an embedded
// instance of SQLite files; anything else is a SQL Server reached through ODBC.
class Connection
{
public:
    Connection();
    ~Connection();
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    // Throws Err: 80040E4D for a refused login, 80004005 when the server or
    // the database can't be reached, with the engine's own text.
    void open(const QString &connectionString);
    bool isOpen() const { return m_backend != nullptr; }
    // Opens the connection on a back end built elsewhere (tests, fakes).
    void openWith(std::unique_ptr<DbBackend> backend) { m_backend = std::move(backend); }

    // Throws Err 3704 when the connection is not open, else the back end's Err.
    std::unique_ptr<DbCursor> execute(const QString &sql);

private:
    std::unique_ptr<DbBackend> m_backend;
};

} // namespace zelvan::database
