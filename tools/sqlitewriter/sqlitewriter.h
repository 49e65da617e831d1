#pragma once

#include <QString>
#include <QVariant>

#include <memory>
#include <stdexcept>

struct sqlite3;
struct sqlite3_stmt;

namespace zelvan::writer {

// Writes SQLite database files for zelvan-demo and the tests. The program
// itself never writes: its back end opens every file read-only.
class SqliteWriter
{
public:
    class Error : public std::runtime_error
    {
    public:
        using std::runtime_error::runtime_error;
    };

    class Statement
    {
    public:
        ~Statement();
        Statement(Statement &&other) noexcept;
        Statement &operator=(Statement &&) = delete;
        Statement(const Statement &) = delete;

        // Binds by 1-based position: an invalid QVariant is NULL; integers,
        // bools, doubles, strings (UTF-8) and byte arrays (BLOB) as they are.
        Statement &bind(int position, const QVariant &value);
        // Runs the statement and resets it for the next binding.
        void run();

    private:
        friend class SqliteWriter;
        Statement(sqlite3 *db, sqlite3_stmt *stmt);
        sqlite3 *m_db;
        sqlite3_stmt *m_stmt;
    };

    // Creates the file (replacing one that exists) and opens it for writing.
    explicit SqliteWriter(const QString &path, bool replaceExisting = true);
    ~SqliteWriter();
    SqliteWriter(const SqliteWriter &) = delete;
    SqliteWriter &operator=(const SqliteWriter &) = delete;

    void exec(const QString &sql);
    Statement prepare(const QString &sql);
    void begin() { exec(QStringLiteral("BEGIN")); }
    void commit() { exec(QStringLiteral("COMMIT")); }

private:
    sqlite3 *m_db = nullptr;
};

} // namespace zelvan::writer
