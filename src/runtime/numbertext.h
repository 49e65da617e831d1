#pragma once

#include "runtime/wideint.h"

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

#include <optional>

namespace zelvan::runtime {

// A number as exact decimal digits: (-1)^negative * digits * 10^exponent.
// The digits carry no leading or trailing zeros (none at all for zero). Text
// with more digits than kept sets `moreDigits`: nonzero digits followed.
struct NumberText
{
    static constexpr int MaxDigits = 60;

    bool negative = false;
    bool moreDigits = false;
    int exponent = 0;
    QVarLengthArray<char, MaxDigits> digits;

    bool isZero() const { return digits.isEmpty() && !moreDigits; }
};

// Plain number text: blanks around it, an optional sign, digits with an
// optional '.', an optional exponent (e or E, optional sign, digits). No
// grouping, no locale. nullopt when the text is anything else.
std::optional<NumberText> parseNumberText(QStringView text);

// The double's exact value rounded to 15 significant digits, the precision
// the runtime shows and converts doubles with. The value must be finite.
NumberText numberTextFromDouble(double value);

// The number text of a whole number.
NumberText numberTextFromInt(qint64 value);

enum class HalfRounding { ToEven, AwayFromZero };

// |number| * 10^scale rounded to a whole number. False when the result would
// have 60 digits or more (too large for any of our types).
bool roundToScale(const NumberText &number, int scale, HalfRounding mode, WideUInt<7> &out);

// Text to double, correctly rounded, through parseNumberText's grammar.
// nullopt when the text is no number; throws overflow beyond the double range.
std::optional<double> parseDouble(QStringView text);

// The runtime's text of a double: at most 15 significant digits, "1E+20"
// and "1E-05" where the exponent form is shorter, '.' as decimal point.
QString doubleToString(double value);

} // namespace zelvan::runtime
