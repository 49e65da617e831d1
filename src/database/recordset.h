#pragma once

#include "database/connection.h"
#include "runtime/variant.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace zelvan::database {

// A query's result (in place of an ADO Recordset opened with a keyset cursor
// and a read-only lock). Rows stream from the back end as the caller moves;
// only recordCount() and the grid's random access read the rest ahead.
class Recordset
{
public:
    enum State { StateClosed = 0, StateOpen = 1 };

    int state() const { return m_open ? StateOpen : StateClosed; }

    void setActiveConnection(std::shared_ptr<Connection> connection) { m_connection = std::move(connection); }
    const std::shared_ptr<Connection> &activeConnection() const { return m_connection; }
    void setSource(const QString &sql) { m_source = sql; }
    const QString &source() const { return m_source; }

    // Opens the source on the active connection and positions on the first
    // row. Throws Err: 3704 without an open connection, else the back end's.
    void open();
    void close();

    // End of file: no current row (empty result, or moved past the last row).
    // Throws Err 3704 when closed.
    bool eof() const;
    // Throws Err 3021 at end of file, 3704 when closed.
    void moveNext();
    // Total number of rows. Reads the remaining rows ahead to count them.
    qint64 recordCount();

    // The value of a column of the current row, by name without regard to
    // letter case. Throws Err 3265 for an unknown name, 3021 without a current
    // row, 3704 when closed.
    const runtime::Variant &field(const QString &name) const;
    // Column position for a name (-1 when unknown); value by position.
    int fieldIndex(const QString &name) const;
    const runtime::Variant &field(int index) const;

    int fieldCount() const;          // 0 when closed
    QString fieldName(int index) const;

    // Random access for grids: reads all remaining rows ahead; positions are
    // counted from the row that was current when this was first called.
    qint64 materialize();
    void setAbsolutePosition(qint64 position);  // 0-based; throws Err 3021 when out of range
    qint64 absolutePosition() const { return m_position; }
    const runtime::Variant &cell(qint64 row, int column) const;

private:
    void requireOpen() const;
    const std::vector<runtime::Variant> &currentRow() const;

    std::shared_ptr<Connection> m_connection;
    QString m_source;

    bool m_open = false;
    std::unique_ptr<DbCursor> m_cursor;
    QStringList m_names;
    QHash<QString, int> m_index;       // lower-cased name -> position
    std::vector<runtime::Variant> m_row;        // current row while streaming
    bool m_eof = true;
    qint64 m_consumed = 0;             // rows moved past while streaming

    bool m_materialized = false;
    std::vector<std::vector<runtime::Variant>> m_rows;  // rows read ahead, from the current one
    qint64 m_position = 0;             // index into m_rows once materialized
};

} // namespace zelvan::database
