#include "runtime/dates.h"

#include "runtime/err.h"

#include <cmath>

namespace zelvan::runtime {

namespace {

constexpr qint64 MsPerDay = 86400000;
// The runtime's date range: 1 January 100 to 31 December 9999.
constexpr double MinOleDate = -657434.0;
constexpr double MaxOleDate = 2958466.0;  // exclusive

QDate oleEpoch()
{
    return QDate(1899, 12, 30);
}

// Splits a date number into days from the epoch and the time of day in
// milliseconds, rounded to `unitMs`. Negative numbers keep their fraction
// counting forward within the day, as the runtime's dates do.
void splitOleDate(double oleDate, qint64 &days, qint64 &msOfDay, qint64 unitMs)
{
    const double whole = std::trunc(oleDate);
    const double fraction = std::fabs(oleDate - whole);
    const qint64 units = std::llround(fraction * double(MsPerDay / unitMs));
    days = qint64(whole);
    msOfDay = units * unitMs;
    if (msOfDay >= MsPerDay) {
        msOfDay -= MsPerDay;
        ++days;
    }
}

// Fixed-width digits at `pos`; -1 when they are not all digits.
int fixedDigits(QStringView text, qsizetype pos, int width)
{
    if (pos + width > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < width; ++i) {
        const char16_t ch = text[pos + i].unicode();
        if (ch < u'0' || ch > u'9')
            return -1;
        value = value * 10 + (ch - u'0');
    }
    return value;
}

bool charAt(QStringView text, qsizetype pos, QChar c)
{
    return pos < text.size() && text[pos] == c;
}

// ".f" to the end of the text as milliseconds: 1 to 3 digits in the
// runtime's form, any number in the stored form (the first three count).
std::optional<int> parseFraction(QStringView digits, DateTextForm form)
{
    if (form == DateTextForm::Runtime && (digits.isEmpty() || digits.size() > 3))
        return std::nullopt;
    int ms = 0;
    int scale = 100;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        ms += (c.unicode() - u'0') * scale;
        scale /= 10;
    }
    return ms;
}

// "HH:mm:ss" (in the stored form ":ss" is optional), then a fraction, from
// `pos` to the end of the text.
std::optional<QTime> parseTimeText(QStringView text, qsizetype pos, DateTextForm form)
{
    const int hour = fixedDigits(text, pos, 2);
    const int minute = fixedDigits(text, pos + 3, 2);
    if (hour < 0 || minute < 0 || text[pos + 2] != u':')
        return std::nullopt;
    pos += 5;
    int second = 0;
    if (form == DateTextForm::Runtime || pos < text.size()) {
        second = fixedDigits(text, pos + 1, 2);
        if (second < 0 || text[pos] != u':')
            return std::nullopt;
        pos += 3;
    }
    int ms = 0;
    if (pos < text.size()) {
        const std::optional<int> fraction = text[pos] == u'.' ? parseFraction(text.sliced(pos + 1), form) : std::nullopt;
        if (!fraction)
            return std::nullopt;
        ms = *fraction;
    }
    const QTime time(hour, minute, second, ms);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

// "yyyy-MM-dd" or, in the runtime's form, "dd.MM.yyyy" at the start.
std::optional<QDate> parseDayText(QStringView text, DateTextForm form)
{
    int year = -1;
    int month = -1;
    int day = -1;
    if (charAt(text, 4, u'-') && charAt(text, 7, u'-')) {
        year = fixedDigits(text, 0, 4);
        month = fixedDigits(text, 5, 2);
        day = fixedDigits(text, 8, 2);
    } else if (form == DateTextForm::Runtime && charAt(text, 2, u'.') && charAt(text, 5, u'.')) {
        day = fixedDigits(text, 0, 2);
        month = fixedDigits(text, 3, 2);
        year = fixedDigits(text, 6, 4);
    }
    if (year < 0 || month < 0 || day < 0)
        return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, u'0');
}

} // namespace

double oleDateFrom(const QDate &date, const QTime &time)
{
    const qint64 days = oleEpoch().daysTo(date);
    const double fraction = double(time.isValid() ? time.msecsSinceStartOfDay() : 0) / double(MsPerDay);
    return days >= 0 ? double(days) + fraction : double(days) - fraction;
}

QDateTime dateTimeFromOleDate(double oleDate)
{
    qint64 days = 0;
    qint64 ms = 0;
    splitOleDate(oleDate, days, ms, 1);
    return QDateTime(oleEpoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

void checkDateRange(double oleDate)
{
    if (!(oleDate >= MinOleDate && oleDate < MaxOleDate))
        throw overflowError();
}

std::optional<double> parseDateText(QStringView text, DateTextForm form)
{
    if (form == DateTextForm::Runtime)
        text = text.trimmed();
    const std::optional<QDate> date = parseDayText(text, form);
    if (!date)
        return std::nullopt;
    QTime time(0, 0);
    if (text.size() > 10) {
        const bool iso = text[4] == u'-';
        if (!(text[10] == u' ' || (iso && text[10] == u'T')))
            return std::nullopt;
        const std::optional<QTime> parsed = parseTimeText(text, 11, form);
        if (!parsed)
            return std::nullopt;
        time = *parsed;
    }
    return oleDateFrom(*date, time);
}

QString dateText(double oleDate)
{
    qint64 days = 0;
    qint64 ms = 0;
    splitOleDate(oleDate, days, ms, 1000);
    const qint64 seconds = ms / 1000;
    const QString time = twoDigits(seconds / 3600) + u':' + twoDigits(seconds / 60 % 60) + u':'
                         + twoDigits(seconds % 60);
    if (days == 0)
        return time;
    const QDate date = oleEpoch().addDays(days);
    QString text = twoDigits(date.day()) + u'.' + twoDigits(date.month()) + u'.'
                   + QString::number(date.year()).rightJustified(4, u'0');
    if (ms != 0)
        text += u' ' + time;
    return text;
}

} // namespace zelvan::runtime
