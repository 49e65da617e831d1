#pragma once

#include "reportengine/rowtable.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

namespace zelvan::reportengine {

// A read-only grid model over the rows behind a figure, then one more row:
// "Toplam" and the total under the amount column, in bold. Cells read as
// cellText gives them, numbers right-aligned; SortRole gives each cell's
// value to sort by.
class RowTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int SortRole = Qt::UserRole + 1;

    RowTableModel(RowTable table, const CellFormats &formats, QObject *parent = nullptr);

    const RowTable &table() const { return m_table; }
    const CellFormats &formats() const { return m_formats; }
    bool isTotalRow(int row) const { return size_t(row) == m_table.rows.size(); }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    const runtime::Variant &cell(int row, int column) const;

    RowTable m_table;
    CellFormats m_formats;
    std::vector<runtime::Variant> m_totalRow;
};

// Sorts by RowTableModel::SortRole in either order and keeps the total row last.
class RowTableSortModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;
};

} // namespace zelvan::reportengine
