#pragma once

#include "tsqlscript.h"

#include "sqlitewriter/sqlitewriter.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <initializer_list>

namespace zelvan::demo {

struct TableRows
{
    QString table;
    qint64 rows;
};

// What one database file of the instance received, for the summary.
struct WrittenDatabase
{
    QString fileName;
    QList<TableRows> tables;
};

// A demo database being written: its SQLite file and, when asked for, the
// T-SQL script that builds the same database on a SQL Server.
struct DemoDatabase
{
    writer::SqliteWriter &sqlite;
    TsqlScript *script = nullptr;

    // A statement for both, such as an index.
    void exec(const QString &sql);
};

// Creates one table and inserts rows into it through one prepared statement.
class TableWriter
{
public:
    TableWriter(DemoDatabase &db, const QString &table, const QList<ColumnDef> &columns,
                const QString &tableConstraint = {});

    // One value per column, in column order; an invalid QVariant is NULL.
    void add(std::initializer_list<QVariant> values);

    TableRows count() const { return {m_table, m_rows}; }

private:
    QString m_table;
    int m_columns;
    TsqlScript *m_script;
    writer::SqliteWriter::Statement m_insert;
    qint64 m_rows = 0;
};

// Money goes in as the double nearest to its decimal value, so that it reads
// back as exactly that decimal.
inline QVariant money(qint64 cents)
{
    return QVariant(double(cents) / 100.0);
}
inline QVariant money4(qint64 tenThousandths)
{
    return QVariant(double(tenThousandths) / 10000.0);
}
inline QVariant bit(bool value)
{
    return QVariant(value ? 1 : 0);
}

} // namespace zelvan::demo
