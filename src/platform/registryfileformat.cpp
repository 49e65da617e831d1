#include "platform/registryfileformat.h"

#include <QString>

namespace zelvan::platform {

namespace {

using Encoding = RegistryFileFormat::Encoding;

constexpr QByteArrayView Utf8Mark = "\xEF\xBB\xBF";
constexpr QByteArrayView Regedit4 = "REGEDIT4";
constexpr QByteArrayView Version5 = "Windows Registry Editor Version 5.00";
constexpr char16_t ByteOrderMark = u'\uFEFF';

std::optional<Encoding> utf16Mark(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return Encoding::Utf16LE;
    if (bytes.startsWith("\xFE\xFF"))
        return Encoding::Utf16BE;
    return std::nullopt;
}

// The code units after the byte order mark; an odd last byte is left out.
QString utf16Units(QByteArrayView bytes, Encoding encoding)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
        const auto first = char16_t(quint8(bytes[i]));
        const auto second = char16_t(quint8(bytes[i + 1]));
        text.append(QChar(encoding == Encoding::Utf16LE ? char16_t(first | second << 8) : char16_t(first << 8 | second)));
    }
    return text;
}

// No surrogate without its other half.
bool surrogatesPaired(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return false;
    }
    return true;
}

// The first line without its line end and trailing blanks.
QByteArrayView firstLine(QByteArrayView text)
{
    const qsizetype end = text.indexOf('\n');
    QByteArrayView line = end < 0 ? text : text.first(end);
    while (!line.isEmpty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.chop(1);
    return line;
}

bool keepsCrlf(QByteArrayView text, Encoding encoding)
{
    const qsizetype lineFeeds = text.count('\n');
    const qsizetype crlfs = text.count("\r\n");
    if (lineFeeds > 0 && crlfs == lineFeeds)
        return true;
    if (lineFeeds > 0 && crlfs == 0)
        return false;
    return encoding != Encoding::Utf8;
}

void appendUnit(QByteArray *out, char16_t unit, Encoding encoding)
{
    const char low = char(unit & 0xFF);
    const char high = char(unit >> 8);
    out->append(encoding == Encoding::Utf16LE ? low : high);
    out->append(encoding == Encoding::Utf16LE ? high : low);
}

} // namespace

std::optional<RegistryFileFormat> registryFileFormat(QByteArrayView bytes)
{
    RegistryFileFormat format;
    if (bytes.isEmpty())
        return format;
    QByteArray text;
    if (const auto encoding = utf16Mark(bytes)) {
        const QString units = utf16Units(bytes, *encoding);
        if (bytes.size() % 2 != 0 || !surrogatesPaired(units))
            return std::nullopt;
        format.encoding = *encoding;
        format.byteOrderMark = true;
        text = units.toUtf8();
    } else {
        format.byteOrderMark = bytes.startsWith(Utf8Mark);
        text = bytes.sliced(format.byteOrderMark ? Utf8Mark.size() : 0).toByteArray();
        if (!QByteArrayView(text).isValidUtf8())
            return std::nullopt;
    }
    const QByteArrayView header = firstLine(text);
    if (text.contains('\0') || (header != Regedit4 && header != Version5))
        return std::nullopt;
    format.version5 = header == Version5;
    format.crlf = keepsCrlf(text, format.encoding);
    return format;
}

std::optional<QByteArray> utf16AsUtf8(QByteArrayView bytes)
{
    const auto encoding = utf16Mark(bytes);
    if (!encoding)
        return std::nullopt;
    return utf16Units(bytes, *encoding).toUtf8();
}

QByteArray registryFileHeader(const RegistryFileFormat &format)
{
    return (format.version5 ? Version5 : Regedit4).toByteArray();
}

QByteArray encodeRegistryFile(const QByteArray &text, const RegistryFileFormat &format)
{
    QByteArray lines = text;
    if (format.crlf)
        lines.replace("\n", "\r\n");
    if (format.encoding == Encoding::Utf8)
        return format.byteOrderMark ? Utf8Mark.toByteArray() + lines : lines;
    const QString unicode = QString::fromUtf8(lines);
    QByteArray result;
    result.reserve(2 * (unicode.size() + 1));
    appendUnit(&result, ByteOrderMark, format.encoding);
    for (QChar c : unicode)
        appendUnit(&result, c.unicode(), format.encoding);
    return result;
}

} // namespace zelvan::platform
