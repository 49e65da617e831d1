#include "report/stockvaluation.h"

#include "database/recordset.h"
#include "runtime/err.h"

namespace zelvan::report {

using runtime::Currency;
using runtime::Variant;

namespace {

int columnOf(database::Recordset &rs, const QString &name)
{
    const int index = rs.fieldIndex(name);
    if (index < 0 && !rs.eof())
        throw runtime::itemNotFoundError();
    return index;
}

} // namespace

MovementColumns MovementColumns::of(database::Recordset &movements, bool withItem)
{
    MovementColumns columns;
    columns.giris = columnOf(movements, QStringLiteral("Giris"));
    columns.cikis = columnOf(movements, QStringLiteral("Cikis"));
    columns.maliyet = columnOf(movements, QStringLiteral("Maliyet"));
    if (withItem)
        columns.item = columnOf(movements, QStringLiteral("Stok_ID"));
    return columns;
}

ItemValuation valueItemMovements(database::Recordset &movements, const MovementColumns &columns)
{
    // Running state, stored as fixed-point after every step.
    Currency quantity;
    Currency unitCost;
    Currency totalCost;

    const Variant zero = Variant::integer(0);
    const Variant item = columns.item >= 0 && !movements.eof() ? movements.field(columns.item) : Variant();

    while (!movements.eof()) {
        if (columns.item >= 0 && !Variant::equals(movements.field(columns.item), item).value_or(false))
            break;
        const Variant &in = movements.field(columns.giris);
        const Variant &out = movements.field(columns.cikis);
        const Variant &cost = movements.field(columns.maliyet);

        if (!in.isNull() && !out.isNull())
            quantity = (Variant::currency(quantity) + in - out).toCurrency();

        const Variant net = in - out;  // NULL when either is
        if (Variant::compare(net, zero).value_or(0) > 0) {
            if (!cost.isNull())
                totalCost = (Variant::currency(totalCost) + net * cost).toCurrency();
            if (quantity > Currency()) {
                unitCost = Currency::fromDouble(totalCost.toDouble() / quantity.toDouble());
            } else {
                // The shortfall is written off: start again from this receipt's
                // cost. Without a cost the previous average stands.
                if (!cost.isNull())
                    unitCost = cost.toCurrency();
                totalCost = Currency();
                quantity = Currency();
            }
        } else if (!net.isNull()) {
            totalCost = (Variant::currency(totalCost) + net * Variant::currency(unitCost)).toCurrency();
        }
        movements.moveNext();
    }

    const Currency value = quantity * unitCost;
    return {quantity, unitCost, value < Currency() ? Currency() : value};
}

Currency StockItemValue(database::Recordset &movements)
{
    return valueItemMovements(movements, MovementColumns::of(movements, false)).value;
}

} // namespace zelvan::report
