#pragma once

#include <QString>
#include <QStringView>

namespace zelvan::runtime {

// Letter case and blanks by ASCII alone, as SQL names, file names and the
// runtime's Trim treat them: no Unicode rules and no locale. Where a
// comparison must also match other letters (Turkish ones in a column name),
// callers use Qt's Unicode case rules instead.

// 'A' to 'Z' as 'a' to 'z'; every other character as it is.
constexpr char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

// The text with its ASCII capitals lowered. A text without any comes back
// shared, not copied.
QString toAsciiLower(const QString &text);

// Equal when only the case of ASCII letters differs.
bool equalsAsciiCaseInsensitive(QStringView a, QStringView b);

// Which characters trimBlanks takes off: the runtime's Trim takes only
// spaces; number text may also have tabs around it. QString::trimmed, in
// contrast, also takes line breaks and Unicode spaces.
enum class Blanks { Spaces, SpacesAndTabs };

QStringView trimBlanks(QStringView text, Blanks blanks);

} // namespace zelvan::runtime
