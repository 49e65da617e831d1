#include "runtime/numbertext.h"

#include "runtime/asciitext.h"
#include "runtime/err.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace zelvan::runtime {

namespace {

bool isDigit(char16_t ch)
{
    return ch >= u'0' && ch <= u'9';
}

// The grammar on any character type, so that both QString text and the
// ASCII of std::to_chars go through one parser.
template <typename Ch>
std::optional<NumberText> parseChars(const Ch *p, const Ch *end)
{
    NumberText result;
    if (p != end && (*p == '+' || *p == '-')) {
        result.negative = *p == '-';
        ++p;
    }
    int mantissaDigits = 0;
    bool seenPoint = false;
    for (; p != end; ++p) {
        const char16_t ch = char16_t(*p);
        if (ch == u'.' && !seenPoint) {
            seenPoint = true;
            continue;
        }
        if (!isDigit(ch))
            break;
        ++mantissaDigits;
        const char digit = char(ch - u'0');
        if (result.digits.isEmpty() && digit == 0) {
            if (seenPoint)
                --result.exponent;  // a leading zero of the fraction
            continue;
        }
        if (result.digits.size() < NumberText::MaxDigits) {
            result.digits.append(digit);
            if (seenPoint)
                --result.exponent;
        } else {
            result.moreDigits |= digit != 0;
            if (!seenPoint)
                ++result.exponent;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        bool negativeExponent = false;
        if (p != end && (*p == '+' || *p == '-')) {
            negativeExponent = *p == '-';
            ++p;
        }
        if (p == end)
            return std::nullopt;
        int exponent = 0;
        for (; p != end && isDigit(char16_t(*p)); ++p) {
            if (exponent < 100000)  // far beyond any range; keeps the sum safe
                exponent = exponent * 10 + int(*p - '0');
        }
        result.exponent += negativeExponent ? -exponent : exponent;
    }
    if (p != end)
        return std::nullopt;
    while (!result.digits.isEmpty() && result.digits.last() == 0 && !result.moreDigits) {
        result.digits.removeLast();
        ++result.exponent;
    }
    if (result.digits.isEmpty())
        result.exponent = 0;
    return result;
}

} // namespace

std::optional<NumberText> parseNumberText(QStringView text)
{
    const QStringView trimmed = trimBlanks(text, Blanks::SpacesAndTabs);
    return parseChars(trimmed.utf16(), trimmed.utf16() + trimmed.size());
}

NumberText numberTextFromDouble(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific, 14);
    Q_ASSERT(ec == std::errc());
    return *parseChars<char>(buffer, end);
}

NumberText numberTextFromInt(qint64 value)
{
    char buffer[24];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    Q_ASSERT(ec == std::errc());
    return *parseChars<char>(buffer, end);
}

bool roundToScale(const NumberText &number, int scale, HalfRounding mode, WideUInt<7> &out)
{
    out = {};
    const int count = int(number.digits.size());
    const int shift = number.exponent + scale;
    const int whole = count + shift;  // digits before the point once scaled
    if (whole >= NumberText::MaxDigits)
        return false;
    const int kept = std::clamp(whole, 0, count);
    for (int i = 0; i < kept; ++i) {
        out.mulSmall(10);
        out.addSmall(quint32(number.digits[i]));
    }
    if (shift >= 0) {
        out.mulPow10(shift);
        return true;
    }
    const int firstDropped = whole >= 0 && whole < count ? number.digits[whole] : 0;
    const bool restNonzero = number.moreDigits || (whole >= 0 && whole + 1 < count);
    bool up;
    if (mode == HalfRounding::AwayFromZero)
        up = firstDropped >= 5;
    else
        up = firstDropped > 5 || (firstDropped == 5 && (restNonzero || out.isOdd()));
    if (up)
        out.addSmall(1);
    return true;
}

std::optional<double> parseDouble(QStringView text)
{
    const std::optional<NumberText> number = parseNumberText(text);
    if (!number)
        return std::nullopt;
    QStringView trimmed = trimBlanks(text, Blanks::SpacesAndTabs);
    if (trimmed.startsWith(u'+'))
        trimmed = trimmed.sliced(1);
    QVarLengthArray<char, 64> ascii;
    for (QChar ch : trimmed)
        ascii.append(char(ch.unicode()));  // the grammar let only ASCII through
    double value = 0;
    const auto [end, ec] = std::from_chars(ascii.constData(), ascii.constData() + ascii.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Below the smallest double the value is zero; above the largest it can't be held.
        if (number->isZero() || number->exponent + int(number->digits.size()) < 0)
            return number->negative ? -0.0 : 0.0;
        throw overflowError();
    }
    if (ec != std::errc() || end != ascii.constData() + ascii.size())
        return std::nullopt;
    return value;
}

QString doubleToString(double value)
{
    if (value == 0)
        return QStringLiteral(u"0");
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::general, 15);
    Q_ASSERT(ec == std::errc());
    QString text = QString::fromLatin1(buffer, end - buffer);
    text.replace(u'e', u'E');
    return text;
}

} // namespace zelvan::runtime
