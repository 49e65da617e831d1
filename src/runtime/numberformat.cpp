#include "runtime/numberformat.h"

#include "runtime/numbertext.h"

#include <algorithm>
#include <cmath>

namespace zelvan::runtime {

namespace {

bool isPictureChar(QChar ch)
{
    return ch == u'#' || ch == u'0' || ch == u',' || ch == u'.';
}

// What a number picture asks for: the literal text around the digits, the
// least number of whole digits, the places (required and at most) and grouping.
struct NumberPicture
{
    QStringView prefix;
    QStringView suffix;
    int minWholeDigits = 0;
    int minPlaces = 0;
    int maxPlaces = 0;
    bool hasPoint = false;
    bool grouping = false;
};

NumberPicture parsePicture(QStringView picture)
{
    NumberPicture result;
    qsizetype first = 0;
    while (first < picture.size() && !isPictureChar(picture[first]))
        ++first;
    qsizetype last = picture.size();
    while (last > first && !isPictureChar(picture[last - 1]))
        --last;
    result.prefix = picture.first(first);
    result.suffix = picture.sliced(last);
    for (qsizetype i = first; i < last; ++i) {
        const QChar ch = picture[i];
        if (ch == u'.' && !result.hasPoint) {
            result.hasPoint = true;
        } else if (result.hasPoint) {
            if (ch == u'0' || ch == u'#')
                ++result.maxPlaces;
            if (ch == u'0')
                result.minPlaces = result.maxPlaces;
        } else if (ch == u',') {
            result.grouping = true;
        } else if (ch == u'0') {
            ++result.minWholeDigits;
        }
    }
    return result;
}

// The value's exact decimal digits; nullopt for text that is no number.
std::optional<NumberText> exactDigits(const Variant &value)
{
    switch (value.type()) {
    case Variant::Type::String:
        return parseNumberText(value.stringValue());
    case Variant::Type::Currency: {
        NumberText number = numberTextFromInt(value.currencyValue().raw());
        if (!number.isZero())
            number.exponent -= 4;
        return number;
    }
    case Variant::Type::Decimal:
        return parseNumberText(value.decimalValue().toString());
    case Variant::Type::Double:
    case Variant::Type::Date:
        return numberTextFromDouble(value.doubleValue());
    default:
        return numberTextFromInt(value.toLong());
    }
}

// The digits of |number| * 10^places rounded to a whole number, halves away
// from zero; no leading zeros, empty for zero.
QByteArray scaledDigits(const NumberText &number, int places)
{
    const int count = int(number.digits.size());
    const int shift = number.exponent + places;
    QByteArray digits;
    if (shift >= 0) {
        digits.reserve(count + shift);
        for (char d : number.digits)
            digits.append(char('0' + d));
        if (count > 0)
            digits.append(QByteArray(shift, '0'));
        return digits;
    }
    const int kept = count + shift;
    if (kept < 0)
        return digits;  // below a tenth of the last place
    for (int i = 0; i < kept; ++i)
        digits.append(char('0' + number.digits[i]));
    if (number.digits[kept] >= 5) {
        qsizetype i = digits.size() - 1;
        for (; i >= 0 && digits[i] == '9'; --i)
            digits[i] = '0';
        if (i < 0)
            digits.prepend('1');
        else
            ++digits[i];
    }
    return digits;
}

} // namespace

QString formatNumber(const Variant &value, QStringView picture, const Separators &separators)
{
    if (value.isNull() || value.isEmpty())
        return QString();
    if (value.type() == Variant::Type::Double && !std::isfinite(value.doubleValue()))
        return value.toString();
    const std::optional<NumberText> number = exactDigits(value);
    if (!number)
        return value.stringValue();
    if (picture.isEmpty())
        return value.toString();

    const NumberPicture pic = parsePicture(picture);
    const QByteArray digits = scaledDigits(*number, pic.maxPlaces);
    const qsizetype wholeCount = std::max<qsizetype>(digits.size() - pic.maxPlaces, 0);
    QByteArray whole = digits.first(wholeCount);
    QByteArray fraction = digits.sliced(wholeCount).rightJustified(pic.maxPlaces, '0');
    while (fraction.size() > pic.minPlaces && fraction.endsWith('0'))
        fraction.chop(1);
    if (whole.size() < pic.minWholeDigits)
        whole = whole.rightJustified(pic.minWholeDigits, '0');

    QString text;
    if (number->negative && !digits.isEmpty())
        text += u'-';
    text += pic.prefix;
    for (qsizetype i = 0; i < whole.size(); ++i) {
        if (pic.grouping && i > 0 && (whole.size() - i) % 3 == 0)
            text += separators.thousands;
        text += QLatin1Char(whole[i]);
    }
    if (pic.hasPoint)
        text += separators.decimal;
    text += QLatin1StringView(fraction);
    text += pic.suffix;
    return text;
}

namespace {

const char16_t *const DayNames[] = {u"Pazartesi", u"Salı", u"Çarşamba", u"Perşembe",
                                    u"Cuma", u"Cumartesi", u"Pazar"};
const char16_t *const DayAbbreviations[] = {u"Pzt", u"Sal", u"Çar", u"Per", u"Cum", u"Cmt", u"Paz"};
const char16_t *const MonthNames[] = {u"Ocak", u"Şubat", u"Mart", u"Nisan", u"Mayıs", u"Haziran",
                                      u"Temmuz", u"Ağustos", u"Eylül", u"Ekim", u"Kasım", u"Aralık"};
const char16_t *const MonthAbbreviations[] = {u"Oca", u"Şub", u"Mar", u"Nis", u"May", u"Haz",
                                              u"Tem", u"Ağu", u"Eyl", u"Eki", u"Kas", u"Ara"};

QString number(int value, int width)
{
    return QString::number(value).rightJustified(width, u'0');
}

// One run of a picture letter: the letter and how many times it repeats.
QString field(char16_t letter, int count, const QDate &date, const QTime &time)
{
    const bool pm = time.hour() >= 12;
    switch (letter) {
    case u'd':
        if (count >= 4)
            return QString::fromUtf16(DayNames[date.dayOfWeek() - 1]);
        if (count == 3)
            return QString::fromUtf16(DayAbbreviations[date.dayOfWeek() - 1]);
        return number(date.day(), count);
    case u'M':
        if (count >= 4)
            return QString::fromUtf16(MonthNames[date.month() - 1]);
        if (count == 3)
            return QString::fromUtf16(MonthAbbreviations[date.month() - 1]);
        return number(date.month(), count);
    case u'y':
        if (count >= 3)
            return number(date.year(), 4);
        return number(date.year() % 100, count);
    case u'h': {
        const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
        return number(hour12, std::min(count, 2));
    }
    case u'H':
        return number(time.hour(), std::min(count, 2));
    case u'm':
        return number(time.minute(), std::min(count, 2));
    case u's':
        return number(time.second(), std::min(count, 2));
    case u't': {
        const QString designator = pm ? QStringLiteral(u"ÖS") : QStringLiteral(u"ÖÖ");
        return count == 1 ? designator.first(1) : designator;
    }
    }
    return QString();
}

} // namespace

QString formatDateTime(const QDateTime &value, QStringView picture)
{
    const QDate date = value.date();
    const QTime time = value.time();
    QString text;
    for (qsizetype i = 0; i < picture.size();) {
        const char16_t ch = picture[i].unicode();
        if (ch == u'\'') {
            // Quoted text is literal; two quotes inside stand for one.
            ++i;
            while (i < picture.size()) {
                if (picture[i] == u'\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == u'\'') {
                        text += u'\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += picture[i++];
            }
            continue;
        }
        if (QStringView(u"dMyhHmst").contains(QChar(ch))) {
            qsizetype end = i;
            while (end < picture.size() && picture[end] == QChar(ch))
                ++end;
            text += field(ch, int(end - i), date, time);
            i = end;
            continue;
        }
        text += QChar(ch);
        ++i;
    }
    return text;
}

} // namespace zelvan::runtime
