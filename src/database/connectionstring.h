#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringView>

namespace zelvan::database {

// An ADO-style connection string, split as ADO splits it: pairs separated by
// ';', each split at its first '='; keywords trimmed and matched without regard
// to letter case; values taken as they stand, so a ';' inside a value ends
// the value. A keyword given twice keeps its last value.
class ConnectionString
{
public:
    static ConnectionString parse(QStringView text);

    // The value of a keyword ("User ID", "Data Source" ...); empty when absent.
    QString value(QStringView keyword) const;
    bool contains(QStringView keyword) const;
    const QList<QPair<QString, QString>> &pairs() const { return m_pairs; }

    QString userId() const { return value(u"User ID"); }
    QString password() const { return value(u"Password"); }
    QString initialCatalog() const { return value(u"Initial Catalog"); }
    QString dataSource() const { return value(u"Data Source"); }

private:
    QList<QPair<QString, QString>> m_pairs;  // keyword as written, value; last one wins
};

} // namespace zelvan::database
