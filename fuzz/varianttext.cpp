// Text converted by the runtime's conversions (CBool ... CDate), as text from
// a database, the registry or the user reaches them.
#include "fuzzsupport.h"

#include "runtime/err.h"
#include "runtime/variant.h"

#include <cmath>
#include <optional>


using namespace Qt::Literals::StringLiterals;

namespace zelvan::fuzz {

using runtime::Currency;
using runtime::Decimal;
using runtime::Variant;

namespace {

// The value of `convert`, or nothing when it raises Overflow or Type mismatch;
// any other error breaks the property.
template <typename Convert>
auto attempt(const QString &text, Convert &&convert) -> std::optional<decltype(convert())>
{
    try {
        return convert();
    } catch (const runtime::Err &error) {
        check(error.number() == runtime::ErrNo::Overflow || error.number() == runtime::ErrNo::TypeMismatch,
              "text raises only Overflow or Type mismatch", text + u": "_s + QString::number(error.number()));
        return std::nullopt;
    }
}

// A whole number converts to the narrower types exactly when it is in their range.
void checkWholeNumbers(const QString &text, std::optional<qint32> l, std::optional<qint16> i, std::optional<quint8> b)
{
    check(!i || (l && *l == *i), "an Integer is a Long", text);
    check(!b || (i && *i == *b), "a Byte is an Integer", text);
    if (l) {
        check(bool(i) == (*l >= -32768 && *l <= 32767), "Integer's range", text);
        check(bool(b) == (*l >= 0 && *l <= 255), "Byte's range", text);
    }
}

} // namespace

void fuzzVariantText(QByteArrayView data)
{
    const QString text = QString::fromUtf8(data);
    const Variant v = Variant::string(text);

    const auto boolean = attempt(text, [&] { return v.toBool(); });
    const auto byte = attempt(text, [&] { return v.toByte(); });
    const auto integer = attempt(text, [&] { return v.toInteger(); });
    const auto whole = attempt(text, [&] { return v.toLong(); });
    const auto currency = attempt(text, [&] { return v.toCurrency(); });
    const auto decimal = attempt(text, [&] { return v.toDecimal(); });
    const auto dbl = attempt(text, [&] { return v.toDouble(); });
    const auto date = attempt(text, [&] { return v.toDate(); });
    check(v.toString() == text, "text converts to itself");

    checkWholeNumbers(text, whole, integer, byte);
    check(!decimal || dbl, "a Decimal text is a number", text);
    check(!currency || dbl, "a Currency text is a number", text);
    check(!whole || dbl, "a Long text is a number", text);

    const bool exactDecimal = decimal && decimalIsExact(text);
    if (exactDecimal) {
        if (whole)
            check(decimal->rounded(0) == Decimal::fromInt64(*whole), "CLng rounds halves to even", text);
        if (currency)
            check(Decimal::fromCurrency(*currency) == decimal->rounded(4), "CCur keeps four places, halves to even", text);
        if (boolean)
            check(*boolean == !decimal->isZero(), "CBool is true for any number but 0", text);
    }

    if (currency)
        check(Currency::parse(Variant::currency(*currency).toString()) == *currency, "a Currency's text reads back", text);
    if (decimal)
        check(Decimal::parse(Variant::decimal(*decimal).toString()) == *decimal, "a Decimal's text reads back", text);
    if (dbl && std::isfinite(*dbl)) {
        const QString shown = Variant::dbl(*dbl).toString();
        const auto again = attempt(shown, [&] { return Variant::string(shown).toDouble(); });
        check(again && Variant::dbl(*again).toString() == shown, "a Double's text reads back", text + u" -> "_s + shown);
        const auto order = attempt(text, [&] { return Variant::compare(v, Variant::longInt(0)); });
        check(order && *order == (*dbl < 0 ? -1 : *dbl > 0 ? 1 : 0), "number text compares as its number", text);
    }
    if (date) {
        const QString shown = Variant::date(*date).toString();
        if (shown.size() >= 10) {
            const auto again = attempt(shown, [&] { return Variant::string(shown).toDate(); });
            check(again && Variant::date(*again).toString() == shown, "a date's text reads back", text + u" -> "_s + shown);
        }
    }
}

} // namespace zelvan::fuzz
