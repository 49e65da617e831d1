#include "database/recordsetmodel.h"

#include "database/recordset.h"
#include "runtime/err.h"

namespace zelvan::database {

RecordsetModel::RecordsetModel(QObject *parent)
    : QAbstractTableModel(parent)
{
}

void RecordsetModel::setRecordset(std::shared_ptr<Recordset> recordset)
{
    beginResetModel();
    m_recordset = std::move(recordset);
    m_rows = 0;
    m_captions.clear();
    if (m_recordset && m_recordset->state() == Recordset::StateOpen) {
        m_rows = int(m_recordset->materialize());
        for (int i = 0; i < m_recordset->fieldCount(); ++i)
            m_captions.append(m_recordset->fieldName(i));
    }
    endResetModel();
}

int RecordsetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int RecordsetModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant RecordsetModel::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows || index.column() >= m_captions.size())
        return QVariant();
    try {
        const runtime::Variant &value = m_recordset->cell(index.row(), index.column());
        return value.isNull() ? QString() : value.toString();
    } catch (const runtime::Err &) {
        // A value without a text form (a date out of range) shows as nothing.
        return QString();
    }
}

QVariant RecordsetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_captions.size())
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool RecordsetModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant &value, int role)
{
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole) || section < 0
        || section >= m_captions.size())
        return false;
    m_captions[section] = value.toString();
    Q_EMIT headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags RecordsetModel::flags(const QModelIndex &index) const
{
    return index.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace zelvan::database
