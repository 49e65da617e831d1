#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <initializer_list>

namespace zelvan::demo {

struct ColumnDef
{
    const char16_t *name;
    const char16_t *type;  // SQL Server type name, constraints allowed ("INT PRIMARY KEY")
};

// The T-SQL script that builds one demo database on a SQL Server with the
// same tables, keys, indexes and rows as its SQLite file. Written as UTF-8
// with a byte order mark, so that sqlcmd and Management Studio read the
// Turkish text right; each statement is a batch of its own (GO).
class TsqlScript
{
public:
    // Starts the script with a comment line saying what it builds.
    TsqlScript(const QString &path, const QString &title);
    TsqlScript(const TsqlScript &) = delete;
    TsqlScript &operator=(const TsqlScript &) = delete;

    // The database is created when missing, with the collation of a Turkish
    // server (the program's queries compare with plain '...' literals, which
    // the server reads in its code page), and made current.
    void createDatabase(const QString &database);
    // Drops the table when it exists, then creates it. The tables' statements
    // follow each other in the order they were created.
    void createTable(const QString &table, const QList<ColumnDef> &columns, const QString &tableConstraint);
    // One row of the table, in column order; an invalid QVariant is NULL.
    // Rows go out in INSERT statements of up to 500 rows.
    void addRow(const QString &table, std::initializer_list<QVariant> values);
    void statement(const QString &sql);
    // Writes the file. Throws std::runtime_error when it can't.
    void save();

private:
    // One table's CREATE and INSERT statements: the demo fills several
    // tables row by row at once, the script fills one after the other.
    struct Section
    {
        QList<ColumnDef> columns;
        QString text;
        int rowsInInsert = 0;  // rows of the INSERT still open
    };

    QString m_path;
    QString m_head;   // up to the first table
    QStringList m_tables;
    QHash<QString, Section> m_sections;
    QString m_tail;   // after the tables: indexes
};

struct SqlLogin;

// The logins of the demo on a SQL Server, each a read-only user
// (db_datareader) of every database in `databases`.
void writeLoginsScript(const QString &path, const QList<SqlLogin> &logins, const QStringList &databases);

// A value as a T-SQL literal for a column of the given type: NULL, numbers
// as exact decimal text, Unicode text as N'...', dates as 'yyyymmdd hh:mm:ss'
// (read the same under every language and date format of the server).
QString tsqlLiteral(const QVariant &value, QStringView columnType);

} // namespace zelvan::demo
