#pragma once

#include "runtime/currency.h"

#include <QHash>
#include <QString>

namespace zelvan::database {
class Recordset;
} // namespace zelvan::database

namespace zelvan::report {

// The positions of the movement columns Giris, Cikis and Maliyet, and of the
// item's Stok_ID when one recordset holds the movements of many items.
struct MovementColumns
{
    int giris = -1;
    int cikis = -1;
    int maliyet = -1;
    int item = -1;

    // Looks the columns up; a missing one raises "item not found" unless the
    // recordset has no row to read it from.
    static MovementColumns of(database::Recordset &movements, bool withItem);
};

// What the valuation of one item leaves: the quantity on hand and the moving
// average unit cost, and the value, their product, never negative.
struct ItemValuation
{
    runtime::Currency quantity;
    runtime::Currency unitCost;
    runtime::Currency value;
};

// Each valued item's valuation by its Stok_ID as text, as the stock step
// leaves them: the rows behind the stock figure show them.
using ItemValuations = QHash<QString, ItemValuation>;

// The valuation of one stock item's remaining quantity at moving weighted-average
// cost, from its movements ordered by date and outgoing quantity: the rows
// from the current one to the end of `movements`, or, when `columns.item` is
// set, to the first row of another item.
ItemValuation valueItemMovements(database::Recordset &movements, const MovementColumns &columns);

// The value of one stock item whose movements (columns Giris, Cikis,
// Maliyet) fill `movements`. Walks it to its end.
runtime::Currency StockItemValue(database::Recordset &movements);

} // namespace zelvan::report
