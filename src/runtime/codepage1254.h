#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zelvan::runtime {

// Windows code page 1254 (Turkish), the ANSI code page of the systems this
// program was written for. Text crosses into the registry and into the
// password encoding through it.

// The code of a character in code page 1254, or -1 when the page lacks it.
int cp1254Code(char32_t ch);
// The character of a code 0..255 (the page's undefined codes give the C1
// control of the same number).
char32_t cp1254Char(quint8 code);
// Characters the page lacks become '?' (as the system's conversion does).
QByteArray toCp1254(QStringView text);
QString fromCp1254(QByteArrayView bytes);

} // namespace zelvan::runtime
