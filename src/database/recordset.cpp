#include "database/recordset.h"

#include "runtime/asciitext.h"
#include "runtime/err.h"

namespace zelvan::database {

namespace {

// The key of a column name: lower case. Column names are nearly always
// ASCII, and the full Unicode conversion costs more than the query's own
// parse of the name; any other letter (a Turkish one) takes Unicode's rules.
QString nameKey(const QString &name)
{
    for (const QChar c : name) {
        if (c.unicode() >= 0x80)
            return name.toLower();
    }
    return runtime::toAsciiLower(name);
}

} // namespace

void Recordset::open()
{
    if (!m_connection || !m_connection->isOpen())
        throw runtime::objectClosedError();
    close();
    auto cursor = m_connection->execute(m_source);
    const int columns = cursor->columnCount();
    m_names.clear();
    m_index.clear();
    m_names.reserve(columns);
    for (int i = 0; i < columns; ++i) {
        const QString name = cursor->columnName(i);
        m_names.append(name);
        m_index.insert(nameKey(name), i);  // the first of two equal names wins
    }
    m_cursor = std::move(cursor);
    m_open = true;
    m_consumed = 0;
    m_eof = !m_cursor->fetch(m_row);
    if (m_eof)
        m_cursor.reset();  // nothing left to read; free the statement early
}

void Recordset::close()
{
    m_open = false;
    m_cursor.reset();
    m_names.clear();
    m_index.clear();
    m_row.clear();
    m_eof = true;
    m_consumed = 0;
    m_materialized = false;
    m_rows.clear();
    m_position = 0;
}

void Recordset::requireOpen() const
{
    if (!m_open)
        throw runtime::objectClosedError();
}

bool Recordset::eof() const
{
    requireOpen();
    if (m_materialized)
        return m_position >= qint64(m_rows.size());
    return m_eof;
}

void Recordset::moveNext()
{
    if (eof())
        throw runtime::noCurrentRecordError();
    if (m_materialized) {
        ++m_position;
        return;
    }
    ++m_consumed;
    if (!m_cursor->fetch(m_row)) {
        m_eof = true;
        m_cursor.reset();
    }
}

qint64 Recordset::materialize()
{
    requireOpen();
    if (!m_materialized) {
        if (!m_eof) {
            m_rows.push_back(std::move(m_row));
            std::vector<runtime::Variant> row;
            while (m_cursor->fetch(row))
                m_rows.push_back(std::move(row));
        }
        m_cursor.reset();
        m_row.clear();
        m_materialized = true;
        m_position = 0;
    }
    return qint64(m_rows.size());
}

qint64 Recordset::recordCount()
{
    requireOpen();
    const qint64 ahead = materialize();
    return m_consumed + ahead;
}

void Recordset::setAbsolutePosition(qint64 position)
{
    materialize();
    if (position < 0 || position >= qint64(m_rows.size()))
        throw runtime::noCurrentRecordError();
    m_position = position;
}

const std::vector<runtime::Variant> &Recordset::currentRow() const
{
    if (eof())
        throw runtime::noCurrentRecordError();
    return m_materialized ? m_rows[size_t(m_position)] : m_row;
}

int Recordset::fieldIndex(const QString &name) const
{
    return m_index.value(nameKey(name), -1);
}

const runtime::Variant &Recordset::field(const QString &name) const
{
    requireOpen();
    const int index = fieldIndex(name);
    if (index < 0)
        throw runtime::itemNotFoundError();
    return currentRow()[size_t(index)];
}

const runtime::Variant &Recordset::field(int index) const
{
    requireOpen();
    if (index < 0 || index >= m_names.size())
        throw runtime::itemNotFoundError();
    return currentRow()[size_t(index)];
}

int Recordset::fieldCount() const
{
    return m_open ? int(m_names.size()) : 0;
}

QString Recordset::fieldName(int index) const
{
    requireOpen();
    if (index < 0 || index >= m_names.size())
        throw runtime::itemNotFoundError();
    return m_names.at(index);
}

const runtime::Variant &Recordset::cell(qint64 row, int column) const
{
    requireOpen();
    if (!m_materialized || row < 0 || row >= qint64(m_rows.size()))
        throw runtime::noCurrentRecordError();
    if (column < 0 || column >= m_names.size())
        throw runtime::itemNotFoundError();
    return m_rows[size_t(row)][size_t(column)];
}

} // namespace zelvan::database
