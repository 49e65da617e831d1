#pragma once

#include "runtime/currency.h"

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

// The value of one stock item's remaining quantity at moving weighted-average
// cost, from its movements ordered by date and outgoing quantity: the rows
// from the current one to the end of `movements`, or, when `columns.item` is
// set, to the first row of another item. Never negative.
runtime::Currency valueItemMovements(database::Recordset &movements, const MovementColumns &columns);

// The value of one stock item whose movements (columns Giris, Cikis,
// Maliyet) fill `movements`. Walks it to its end.
runtime::Currency StockItemValue(database::Recordset &movements);

} // namespace zelvan::report
