#pragma once

#include <QList>
#include <QString>
#include <QStringView>

namespace zelvan::database {

// What a result column of the first SELECT is made of, when it is an aggregate
// over one plain column (`SUM(Bakiye) as Toplam`, `COUNT(*)`). The embedded
// back end uses it to give the result the type SQL Server would give it.
struct SelectItemHint
{
    QString function;   // "SUM", "MIN", "MAX", "AVG", "COUNT"; empty when not an aggregate over a column
    QString qualifier;  // table or alias before the column, if any
    QString column;     // the column, or "*" for COUNT(*)
    bool allRows = false;  // the argument is a bare *, not a column that a delimited name calls "*"
};

// One entry per top-level item of the first SELECT's list; empty when the
// text does not start with SELECT.
QList<SelectItemHint> selectItemHints(QStringView sql);

} // namespace zelvan::database
