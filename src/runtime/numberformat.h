#pragma once

#include "runtime/variant.h"

#include <QString>
#include <QStringView>

namespace zelvan::runtime {

// The workstation's separators used when a picture is applied.
struct Separators
{
    QChar decimal = u',';
    QChar thousands = u'.';
};

// The runtime's Format for the picture notation the program uses: '#' an
// optional digit, '0' a required digit, ',' thousands grouping, '.' the
// decimal point ("#,##0.00"). The value is rounded to the picture's places,
// halves away from zero, from its exact decimal value (a Double from its
// shortest 15-digit form). Negative values get a leading '-'; a value that
// rounds to zero prints without a sign. Null and Empty give "" and the
// text of a String is used when it is a number, else returned as it is.
QString formatNumber(const Variant &value, QStringView picture, const Separators &separators);

// A Windows date or time picture ("dd.MM.yyyy", "HH:mm:ss", "h:mm:ss tt")
// applied to a date-time: d dd M MM MMM MMMM yy yyyy, h hh H HH m mm s ss, t tt,
// text in single quotes literal, other characters copied.
QString formatDateTime(const QDateTime &value, QStringView picture);

} // namespace zelvan::runtime
