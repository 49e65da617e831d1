#include "tablewriter.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::demo {

namespace {

QString createSql(const QString &table, const QList<ColumnDef> &columns, const QString &tableConstraint)
{
    QStringList parts;
    for (const ColumnDef &column : columns)
        parts.append(QString::fromUtf16(column.name) + u' ' + QString::fromUtf16(column.type));
    if (!tableConstraint.isEmpty())
        parts.append(tableConstraint);
    return u"CREATE TABLE "_s + table + u" ("_s + parts.join(u", "_s) + u')';
}

QString insertSql(const QString &table, const QList<ColumnDef> &columns)
{
    QStringList names;
    QStringList marks;
    for (const ColumnDef &column : columns) {
        names.append(QString::fromUtf16(column.name));
        marks.append(u"?"_s);
    }
    return u"INSERT INTO "_s + table + u" ("_s + names.join(u',') + u") VALUES ("_s + marks.join(u',') + u')';
}

writer::SqliteWriter::Statement prepareAfterCreate(DemoDatabase &db, const QString &table,
                                                   const QList<ColumnDef> &columns,
                                                   const QString &tableConstraint)
{
    db.sqlite.exec(createSql(table, columns, tableConstraint));
    if (db.script)
        db.script->createTable(table, columns, tableConstraint);
    return db.sqlite.prepare(insertSql(table, columns));
}

} // namespace

void DemoDatabase::exec(const QString &sql)
{
    sqlite.exec(sql);
    if (script)
        script->statement(sql);
}

TableWriter::TableWriter(DemoDatabase &db, const QString &table, const QList<ColumnDef> &columns,
                         const QString &tableConstraint)
    : m_table(table)
    , m_columns(int(columns.size()))
    , m_script(db.script)
    , m_insert(prepareAfterCreate(db, table, columns, tableConstraint))
{
}

void TableWriter::add(std::initializer_list<QVariant> values)
{
    if (int(values.size()) != m_columns)
        throw writer::SqliteWriter::Error("wrong number of values for " + m_table.toStdString());
    int position = 0;
    for (const QVariant &value : values)
        m_insert.bind(++position, value);
    m_insert.run();
    if (m_script)
        m_script->addRow(m_table, values);
    ++m_rows;
}

} // namespace zelvan::demo
