#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QTime>

#include <optional>

namespace zelvan::runtime {

// The runtime's dates are numbers: days since 30 December 1899, the fraction
// the time of day. These convert them to and from calendar values and text.

double oleDateFrom(const QDate &date, const QTime &time = QTime(0, 0));
QDateTime dateTimeFromOleDate(double oleDate);

// Throws Overflow (6) outside the runtime's range, 1 January 100 to
// 31 December 9999.
void checkDateRange(double oleDate);

// Which date texts parseDateText accepts.
enum class DateTextForm {
    // Text of a user or a Variant: blanks around it (as QString::trimmed
    // takes them); "yyyy-MM-dd" or "dd.MM.yyyy", optionally with a time
    // "HH:mm:ss" after a blank (or a 'T' after the ISO form), and then
    // ".f" to ".fff".
    Runtime,
    // Text as the embedded instance stores it: exactly "yyyy-MM-dd",
    // optionally with a time "HH:mm" after a blank or a 'T', then ":ss",
    // then '.' and any number of digits (those beyond milliseconds dropped).
    Stored,
};

// The date number of a date text; nullopt when the text has no such form
// or names no valid day or time.
std::optional<double> parseDateText(QStringView text, DateTextForm form);

// "dd.MM.yyyy", with " HH:mm:ss" when there is a time of day, or "HH:mm:ss"
// alone on day 0, as CStr gives a date.
QString dateText(double oleDate);

} // namespace zelvan::runtime
