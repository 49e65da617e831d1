#include "runtime/asciitext.h"

namespace zelvan::runtime {

QString toAsciiLower(const QString &text)
{
    qsizetype first = 0;
    while (first < text.size() && asciiLower(text[first].unicode()) == text[first].unicode())
        ++first;
    if (first == text.size())
        return text;
    QString lower = text;
    for (qsizetype i = first; i < lower.size(); ++i)
        lower[i] = QChar(asciiLower(lower[i].unicode()));
    return lower;
}

bool equalsAsciiCaseInsensitive(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i].unicode()) != asciiLower(b[i].unicode()))
            return false;
    }
    return true;
}

QStringView trimBlanks(QStringView text, Blanks blanks)
{
    const auto isBlank = [blanks](QChar c) { return c == u' ' || (blanks == Blanks::SpacesAndTabs && c == u'\t'); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace zelvan::runtime
