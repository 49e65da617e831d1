#include "reportengine/rowtable.h"

#include "runtime/err.h"

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

using runtime::Variant;

void AmountTotal::add(const Variant &cell)
{
    if (cell.isNull() || cell.isEmpty())
        return;
    try {
        m_sum = m_sum + cell;
    } catch (const runtime::Err &) {
        // Text that is no number: the figure's own sum fails on it, so a page
        // with such a figure is never made; here it counts nothing.
    }
}

std::optional<RowTable> RowTable::read(RowSource &source)
{
    if (!source.open())
        return std::nullopt;
    RowTable table;
    table.caption = source.caption();
    table.figure = source.figure();
    table.columns = source.columns();
    table.amountColumn = source.amountColumn();
    AmountTotal total;
    Row row;
    while (source.next(row)) {
        if (table.amountColumn >= 0 && size_t(table.amountColumn) < row.size())
            total.add(row[size_t(table.amountColumn)]);
        table.rows.push_back(std::move(row));
        row = Row();
    }
    table.total = total.value();
    return table;
}

bool RowTable::totalDiffers() const
{
    return Variant::compare(total, figure).value_or(1) != 0;
}

bool TableRowSource::open()
{
    m_next = 0;
    return true;
}

bool TableRowSource::next(Row &row)
{
    if (m_next >= m_table.rows.size())
        return false;
    row = m_table.rows[m_next++];
    return true;
}

bool isNumberCell(const Variant &cell)
{
    return cell.isNumeric() && cell.type() != Variant::Type::Boolean;
}

QString cellText(const Variant &cell, const CellFormats &formats)
{
    // Every place a Decimal can hold, so that no digit of a value is hidden.
    static const QString Fractional = u"#,##0.00"_s + QString(26, u'#');
    try {
        switch (cell.type()) {
        case Variant::Type::Empty:
        case Variant::Type::Null:
            return QString();
        case Variant::Type::Boolean:
            return cell.boolValue() ? u"Evet"_s : u"Hayır"_s;
        case Variant::Type::Byte:
        case Variant::Type::Integer:
        case Variant::Type::Long:
            return QString::number(cell.intValue());
        case Variant::Type::Currency:
        case Variant::Type::Decimal:
        case Variant::Type::Double:
            return runtime::formatNumber(cell, Fractional, formats.separators);
        case Variant::Type::Date: {
            const QDateTime when = cell.toDateTime();
            const QString date = runtime::formatDateTime(when, formats.shortDate);
            return when.time() == QTime(0, 0) ? date : date + u' ' + runtime::formatDateTime(when, formats.timeFormat);
        }
        case Variant::Type::String:
            return cell.stringValue();
        }
    } catch (const runtime::Err &) {
        // A date beyond the runtime's range has no text form.
    }
    return QString();
}

} // namespace zelvan::reportengine
