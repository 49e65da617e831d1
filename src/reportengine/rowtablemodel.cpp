#include "reportengine/rowtablemodel.h"

#include "runtime/err.h"

#include <QFont>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::reportengine {

using runtime::Variant;

RowTableModel::RowTableModel(RowTable table, const CellFormats &formats, QObject *parent)
    : QAbstractTableModel(parent)
    , m_table(std::move(table))
    , m_formats(formats)
    , m_totalRow(size_t(m_table.columns.size()))
{
    if (m_totalRow.empty())
        return;
    const int amount = m_table.amountColumn;
    m_totalRow[amount == 0 && m_totalRow.size() > 1 ? 1 : 0] = Variant::string(u"Toplam"_s);
    if (amount >= 0 && size_t(amount) < m_totalRow.size())
        m_totalRow[size_t(amount)] = m_table.total;
}

int RowTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size()) + 1;
}

int RowTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_table.columns.size());
}

const Variant &RowTableModel::cell(int row, int column) const
{
    static const Variant none;
    const std::vector<Variant> &cells = isTotalRow(row) ? m_totalRow : m_table.rows[size_t(row)];
    return size_t(column) < cells.size() ? cells[size_t(column)] : none;
}

namespace {

// The value to sort by: numbers and dates as numbers, text as text, NULL as nothing (first).
QVariant sortKey(const Variant &value)
{
    try {
        if (value.type() == Variant::Type::String)
            return value.stringValue();
        if (value.type() == Variant::Type::Date)
            return value.doubleValue();
        if (value.isNumeric())
            return value.toDouble();
    } catch (const runtime::Err &) {
    }
    return QVariant();
}

} // namespace

QVariant RowTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return QVariant();
    const Variant &value = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(value, m_formats);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter | (isNumberCell(value) ? Qt::AlignRight : Qt::AlignLeft));
    case Qt::FontRole:
        if (isTotalRow(index.row())) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return QVariant();
    case SortRole:
        return sortKey(value);
    default:
        return QVariant();
    }
}

QVariant RowTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_table.columns.size())
        return m_table.columns[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RowTableModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

bool RowTableSortModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    const auto *rows = qobject_cast<const RowTableModel *>(sourceModel());
    // The total stays under the rows in either order (a descending sort asks the other way round).
    if (rows && rows->isTotalRow(left.row()))
        return sortOrder() == Qt::DescendingOrder;
    if (rows && rows->isTotalRow(right.row()))
        return sortOrder() == Qt::AscendingOrder;
    const QVariant a = left.data(RowTableModel::SortRole);
    const QVariant b = right.data(RowTableModel::SortRole);
    if (!a.isValid() || !b.isValid())
        return !a.isValid() && b.isValid();
    const bool aText = a.typeId() == QMetaType::QString;
    const bool bText = b.typeId() == QMetaType::QString;
    if (aText != bText)
        return !aText;  // numbers before text
    if (aText)
        return a.toString().localeAwareCompare(b.toString()) < 0;
    return a.toDouble() < b.toDouble();
}

} // namespace zelvan::reportengine
