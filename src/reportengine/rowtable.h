#pragma once

#include "runtime/numberformat.h"
#include "runtime/variant.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zelvan::reportengine {

using Row = std::vector<runtime::Variant>;

// The rows behind one figure of a page, read once from start to end as they
// are written out (a workbook sheet, JSON), so that no more than a row is held.
class RowSource
{
public:
    virtual ~RowSource() = default;

    // The figure's caption as the page shows it, and its value.
    virtual QString caption() const = 0;
    virtual runtime::Variant figure() const = 0;
    // Starts reading; false when the rows cannot be read (the reader has
    // already told the user why).
    virtual bool open() = 0;
    // After open(): the column names, and which of them the figure sums.
    virtual QStringList columns() const = 0;
    virtual int amountColumn() const = 0;
    // The next row; false after the last.
    virtual bool next(Row &row) = 0;
};

// The total of an amount column as the figure above it is made: NULLs count
// nothing, the signed sum is made positive; no rows give 0.
class AmountTotal
{
public:
    void add(const runtime::Variant &cell);
    runtime::Variant value() const { return m_sum.abs(); }

private:
    runtime::Variant m_sum;
};

// The rows behind a figure held in memory, for a window that sorts them.
struct RowTable
{
    QString caption;
    QStringList columns;
    int amountColumn = -1;
    std::vector<Row> rows;
    runtime::Variant total;   // of the amount column, as AmountTotal makes it
    runtime::Variant figure;  // the page's; differs from total when the data changed between the reads

    // Reads a source to its end; nullopt when it cannot be opened.
    static std::optional<RowTable> read(RowSource &source);
    bool totalDiffers() const;
};

// A table's rows read again as a source (to write them to a workbook).
class TableRowSource : public RowSource
{
public:
    explicit TableRowSource(const RowTable &table) : m_table(table) {}
    QString caption() const override { return m_table.caption; }
    runtime::Variant figure() const override { return m_table.figure; }
    bool open() override;
    QStringList columns() const override { return m_table.columns; }
    int amountColumn() const override { return m_table.amountColumn; }
    bool next(Row &row) override;

private:
    const RowTable &m_table;
    size_t m_next = 0;
};

// How cells read on this workstation.
struct CellFormats
{
    runtime::Separators separators;
    QString shortDate = QStringLiteral("dd.MM.yyyy");
    QString timeFormat = QStringLiteral("HH:mm:ss");
};

// A cell as the user reads it: NULL as nothing; money and other fractional
// numbers grouped with two places at least (all of a value's places kept);
// whole numbers (ids) as they are; a date in the short date form, with the
// time when it has one; Yes/No for a bit.
QString cellText(const runtime::Variant &cell, const CellFormats &formats);
// Numbers are right-aligned.
bool isNumberCell(const runtime::Variant &cell);

} // namespace zelvan::reportengine
