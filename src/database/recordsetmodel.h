#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <memory>

namespace zelvan::database {

class Recordset;

// A read-only table over a recordset, for a grid bound to it (in place of a
// data grid's data source). One column per field, in the query's order; one
// row per record, read ahead when bound. A closed recordset gives an empty
// table. Values show as text; NULL as nothing.
class RecordsetModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RecordsetModel(QObject *parent = nullptr);

    // Binds the model to `recordset` (or to nothing) afresh: rows and columns
    // are read again and captions go back to the field names.
    void setRecordset(std::shared_ptr<Recordset> recordset);
    const std::shared_ptr<Recordset> &recordset() const { return m_recordset; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Column captions (horizontal, display role) can be set.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    std::shared_ptr<Recordset> m_recordset;
    int m_rows = 0;
    QStringList m_captions;
};

} // namespace zelvan::database
