// Number and date formatting with the workstation's separators.
#include "fuzzsupport.h"

#include "program/companysettings.h"
#include "runtime/err.h"
#include "runtime/numberformat.h"

#include <cmath>
#include <cstring>
#include <optional>


using namespace Qt::Literals::StringLiterals;

namespace zelvan::fuzz {

using runtime::Decimal;
using runtime::Variant;

namespace {

double doubleFromBits(quint64 bits)
{
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// A plain number text: a sign, up to 40 digits, a point somewhere.
QString numberText(FuzzInput &input)
{
    QString text;
    if (input.flag())
        text += u'-';
    const int digits = 1 + input.pick(40);
    const int point = input.pick(digits + 1);
    for (int i = 0; i < digits; ++i) {
        if (i == point && i > 0)
            text += u'.';
        text += QChar(u'0' + input.pick(10));
    }
    return text;
}

Variant variantFrom(FuzzInput &input)
{
    switch (input.pick(12)) {
    case 0: return Variant();
    case 1: return Variant::null();
    case 2: return Variant::boolean(input.flag());
    case 3: return Variant::byte(input.byte());
    case 4: return Variant::integer(qint16(input.bits(2)));
    case 5: return Variant::longInt(qint32(input.bits(4)));
    case 6: return Variant::currency(runtime::Currency::fromRaw(qint64(input.bits(8))));
    case 7: {
        const bool negative = input.flag();
        const auto hi = quint32(input.bits(4));
        const quint64 lo = input.bits(8);
        return Variant::decimal(Decimal::fromParts(negative, hi, lo, input.pick(Decimal::MaxScale + 1)));
    }
    case 8: return Variant::dbl(doubleFromBits(input.bits(8)));
    case 9: {
        // A date as a database gives one: within the runtime's years.
        const double date = doubleFromBits(input.bits(8));
        return Variant::date(std::isfinite(date) ? std::fmod(date, 2958465.0) : 0.0);
    }
    case 10: return Variant::string(numberText(input));
    default: return Variant::string(input.text());
    }
}

QChar separatorFrom(FuzzInput &input)
{
    static const char16_t Choices[] = {u',', u'.', u' ', u'\'', u'\u00A0', u'_'};
    const int choice = input.pick(7);
    return choice < 6 ? QChar(Choices[choice]) : QChar(char16_t(input.bits(2)));
}

// The text "#,##0.00"-style pictures must give, worked out through Decimal:
// the value rounded half away from zero, whole digits in groups of three.
std::optional<QString> expectedText(const Variant &value, int places, const runtime::Separators &separators)
{
    std::optional<Decimal> exact;
    try {
        if (value.type() == Variant::Type::String) {
            // Decimal keeps 28 places: a longer text would be rounded twice.
            if (!decimalIsExact(value.stringValue()))
                return std::nullopt;
            exact = Decimal::parse(value.stringValue());
        } else {
            exact = value.toDecimal();
        }
        if (!exact)
            return std::nullopt;
        exact = exact->rounded(places, Decimal::Rounding::HalfAwayFromZero);
    } catch (const runtime::Err &) {
        return std::nullopt;
    }
    QString digits = exact->abs().toString();
    QString fraction;
    if (const qsizetype point = digits.indexOf(u'.'); point >= 0) {
        fraction = digits.mid(point + 1);
        digits.truncate(point);
    }
    fraction = fraction.leftJustified(places, u'0');
    QString text = exact->isNegative() ? QStringLiteral("-") : QString();
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separators.thousands;
        text += digits[i];
    }
    if (places > 0)
        text += separators.decimal + fraction;
    return text;
}

void checkDateFormat(FuzzInput &input)
{
    const double date = doubleFromBits(input.bits(8));
    const QDateTime when = runtime::dateTimeFromOleDate(std::isfinite(date) ? std::fmod(date, 2958465.0) : 0.0);
    const QString picture = input.text();
    const QString text = runtime::formatDateTime(when, picture);
    bool plain = true;
    for (QChar c : picture)
        plain = plain && !QStringView(u"dMyhHmst'").contains(c);
    check(!plain || text == picture, "a picture without fields is copied", picture);
}

} // namespace

void fuzzNumberFormat(QByteArrayView data)
{
    FuzzInput input(data);
    const Variant value = variantFrom(input);
    runtime::Separators separators;
    separators.decimal = separatorFrom(input);
    separators.thousands = separatorFrom(input);
    const bool ownPicture = input.flag();
    const int places = input.pick(9);
    const QString picture = ownPicture ? input.text() : program::numberFormatFor(places);

    QString text;
    try {
        text = runtime::formatNumber(value, picture, separators);
    } catch (const runtime::Err &) {
        return;  // a run-time error is the runtime's answer too
    }
    if (value.isNull() || value.isEmpty())
        check(text.isEmpty(), "Null and Empty give no text");
    if (!ownPicture && !value.isNull() && !value.isEmpty()) {
        const std::optional<QString> expected = expectedText(value, places, separators);
        check(!expected || text == *expected, "the value, rounded, in groups of three",
              picture + u": "_s + text + u" <> "_s + expected.value_or(QString()));
    }
    checkDateFormat(input);
}

} // namespace zelvan::fuzz
