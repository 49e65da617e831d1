#pragma once

#include "platform/currency.h"

namespace zelvan {

namespace platform {
class Recordset;
}

// The value of one stock item's remaining quantity at moving weighted-average
// cost, from its movements (columns Giris, Cikis, Maliyet) ordered by date and
// outgoing quantity. Walks `movements` to its end; never negative.
platform::Currency StockItemValue(platform::Recordset &movements);

} // namespace zelvan
