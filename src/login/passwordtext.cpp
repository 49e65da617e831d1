#include "login/passwordtext.h"

#include "runtime/codepage1254.h"

#include <QList>

namespace zelvan::login {

QString EncodePassword(const QString &password)
{
    QString result;
    int position = 0;
    for (char32_t ch : password.toUcs4()) {
        ++position;
        int code = runtime::cp1254Code(ch);
        if (code < 0)
            code = '?';
        const int encoded = 2 * code + position;
        if (encoded <= 255)
            result.append(QChar(char16_t(runtime::cp1254Char(quint8(encoded)))));
    }
    return result;
}

namespace {
// One character to one character, as the system's upper-casing does (no
// expansion of ß to SS), so that the length never changes.
QString simpleUpper(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (char32_t ch : text.toUcs4()) {
        const char32_t upper = QChar::toUpper(ch);
        result.append(QString::fromUcs4(&upper, 1));
    }
    return result;
}
} // namespace

QString TurkishUpperCase(const QString &text)
{
    if (!text.contains(u'i') && !text.contains(u'ı'))
        return simpleUpper(text);
    QString result;
    result.reserve(text.size());
    for (char32_t ch : text.toUcs4()) {
        if (ch == U'ı')
            result.append(u'I');
        else if (ch == U'i')
            result.append(QChar(0x0130));
        else
            result.append(simpleUpper(QString::fromUcs4(&ch, 1)));
    }
    return result;
}

} // namespace zelvan::login
