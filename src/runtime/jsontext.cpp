#include "runtime/jsontext.h"

#include <QString>

namespace zelvan::runtime {

QByteArray jsonString(QStringView text)
{
    QByteArray out;
    out.reserve(text.size() + 2);
    out.append('"');
    const QByteArray utf8 = text.toUtf8();
    for (char c : utf8) {
        switch (c) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': out.append("\\n"); break;
        case '\r': out.append("\\r"); break;
        case '\t': out.append("\\t"); break;
        case '\b': out.append("\\b"); break;
        case '\f': out.append("\\f"); break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static const char hex[] = "0123456789abcdef";
                out.append("\\u00");
                out.append(hex[(c >> 4) & 0xF]);
                out.append(hex[c & 0xF]);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
    return out;
}

} // namespace zelvan::runtime
