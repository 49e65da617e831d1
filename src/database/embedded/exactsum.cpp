#include "database/embedded/exactsum.h"

#include "runtime/decimal.h"
#include "runtime/err.h"

#include <QString>
#include <QtNumeric>

#include <new>
#include <optional>
#include <type_traits>

#include <sqlite3.h>

namespace zelvan::database {

namespace {

// A sum beyond the exact range. The aggregate can't see the type of the
// column it sums; the back end puts SQL Server's name of it in place of %1.
constexpr char Overflow[] = "Arithmetic overflow error converting expression to data type %1.";
// SQL Server's error 8114: its implicit conversion of text to a number failed.
constexpr char NotANumber[] = "Error converting data type nvarchar to numeric.";

struct SumState
{
    bool initialized = false;
    bool any = false;      // a non-NULL value was seen
    bool inexact = false;  // a value was not a whole number, or the integers overflowed
    bool failed = false;   // the decimal sum overflowed
    qint64 integers = 0;   // sum of the whole numbers while it fits
    runtime::Decimal decimals;      // sum of everything else
};
static_assert(std::is_trivially_destructible_v<SumState>, "SQLite frees the state without destroying it");

void addDecimal(SumState *state, const runtime::Decimal &value)
{
    try {
        state->decimals = state->decimals + value;
    } catch (const runtime::Err &) {
        state->failed = true;
    }
}

// A value stored as text or as a blob. Text that is a plain number counts as
// that number, as SQL Server converts it; any other text, and any blob, fails
// the statement as that conversion fails: never a figure too small.
void addText(sqlite3_context *context, SumState *state, sqlite3_value *value)
{
    state->any = true;
    std::optional<runtime::Decimal> parsed;
    if (sqlite3_value_type(value) == SQLITE_TEXT) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
        try {
            parsed = runtime::Decimal::parse(QString::fromUtf8(text, sqlite3_value_bytes(value)));
        } catch (const runtime::Err &) {
            state->failed = true;
            return;
        }
    }
    if (!parsed) {
        sqlite3_result_error(context, NotANumber, -1);
        return;
    }
    state->inexact = true;
    addDecimal(state, *parsed);
}

void sumStep(sqlite3_context *context, int, sqlite3_value **argv)
{
    auto *state = static_cast<SumState *>(sqlite3_aggregate_context(context, sizeof(SumState)));
    if (!state)
        return;
    if (!state->initialized) {
        new (state) SumState();
        state->initialized = true;
    }
    sqlite3_value *value = argv[0];
    switch (sqlite3_value_numeric_type(value)) {
    case SQLITE_NULL:
        return;
    case SQLITE_INTEGER: {
        const qint64 v = sqlite3_value_int64(value);
        state->any = true;
        qint64 sum = 0;
        if (qAddOverflow(state->integers, v, &sum)) {
            state->inexact = true;
            addDecimal(state, runtime::Decimal::fromInt64(v));
        } else {
            state->integers = sum;
        }
        return;
    }
    case SQLITE_FLOAT:
        state->any = true;
        state->inexact = true;
        try {
            addDecimal(state, runtime::Decimal::fromDouble(sqlite3_value_double(value)));
        } catch (const runtime::Err &) {
            state->failed = true;
        }
        return;
    default:
        addText(context, state, value);
        return;
    }
}

void sumFinal(sqlite3_context *context)
{
    auto *state = static_cast<SumState *>(sqlite3_aggregate_context(context, 0));
    if (!state || !state->any) {
        sqlite3_result_null(context);
        return;
    }
    if (state->failed) {
        sqlite3_result_error(context, Overflow, -1);
        return;
    }
    if (!state->inexact) {
        sqlite3_result_int64(context, state->integers);
        return;
    }
    runtime::Decimal total;
    try {
        total = state->decimals + runtime::Decimal::fromInt64(state->integers);
    } catch (const runtime::Err &) {
        sqlite3_result_error(context, Overflow, -1);
        return;
    }
    const double asDouble = total.toDouble();
    if (runtime::Decimal::fromDouble(asDouble) == total) {
        sqlite3_result_double(context, asDouble);
    } else {
        const QByteArray text = total.toString().toUtf8();
        sqlite3_result_text(context, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
}

} // namespace

QString withSummedType(const QString &engineMessage, SqlServerType summed)
{
    if (engineMessage != QLatin1String(Overflow))
        return engineMessage;
    switch (summed.kind) {
    case SqlServerType::Decimal:
        return engineMessage.arg(u"numeric");
    case SqlServerType::Int:
        return engineMessage.arg(u"int");
    case SqlServerType::BigInt:
        return engineMessage.arg(u"bigint");
    case SqlServerType::Float:
        return engineMessage.arg(u"float");
    default:
        return engineMessage.arg(u"money");
    }
}

QString sumOverflowText(SqlServerType summed)
{
    return withSummedType(QLatin1String(Overflow), summed);
}

void registerExactSum(sqlite3 *db)
{
    sqlite3_create_function(db, "sum", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nullptr, &sumStep, &sumFinal);
}

} // namespace zelvan::database
