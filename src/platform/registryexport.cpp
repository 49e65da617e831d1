#include "platform/registryexport.h"

#include "platform/registry.h"
#include "runtime/codepage1254.h"

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace zelvan::platform {

namespace {

constexpr QStringView RootName = u"HKEY_CURRENT_USER";
constexpr qsizetype HexLineWidth = 78;

// Names match as Windows matches them: upper-cased without regard to any
// locale, so that "ı" and "i" both match "I".
QString matchKey(QStringView text)
{
    return text.toString().toUpper();
}

bool hasLineBreak(QStringView text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// 1 to `maxDigits` hexadecimal digits, the whole of `text`.
std::optional<quint32> parseHex(QStringView text, qsizetype maxDigits)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return std::nullopt;
    quint32 result = 0;
    for (QChar c : text) {
        const int d = hexDigit(c);
        if (d < 0)
            return std::nullopt;
        result = result * 16 + quint32(d);
    }
    return result;
}

// What may follow a complete value on its line: blanks, or a comment.
bool isLineEnd(QStringView rest)
{
    rest = rest.trimmed();
    return rest.isEmpty() || rest.startsWith(u';');
}

// A quoted text starting at text[*pos] == '"', with \\ and \" escaped; other
// backslashes stand for themselves. Moves *pos past the closing quote.
std::optional<QString> readQuoted(QStringView text, qsizetype *pos)
{
    qsizetype i = *pos + 1;
    QString result;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\\' && i + 1 < text.size() && (text[i + 1] == u'\\' || text[i + 1] == u'"')) {
            result.append(text[i + 1]);
            i += 2;
        } else if (c == u'"') {
            *pos = i + 1;
            return result;
        } else {
            result.append(c);
            ++i;
        }
    }
    return std::nullopt;
}

QString quoted(const QString &text)
{
    QString result;
    result.reserve(text.size() + 2);
    result.append(u'"');
    for (QChar c : text) {
        if (c == u'\\' || c == u'"')
            result.append(u'\\');
        result.append(c);
    }
    result.append(u'"');
    return result;
}

// Comma-separated bytes of one or two hex digits; a trailing comma is allowed.
std::optional<QByteArray> parseHexBytes(QStringView text)
{
    QByteArray result;
    if (text.trimmed().isEmpty())
        return result;
    const auto parts = text.split(u',');
    result.reserve(parts.size());
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i].trimmed();
        if (part.isEmpty() && i == parts.size() - 1 && i > 0)
            break;
        const auto byte = parseHex(part, 2);
        if (!byte)
            return std::nullopt;
        result.append(char(*byte));
    }
    return result;
}

class Parser
{
public:
    explicit Parser(QByteArrayView bytes) : m_bytes(bytes)
    {
        if (m_bytes.startsWith("\xEF\xBB\xBF"))
            m_pos = 3;
    }

    RegistryTree run()
    {
        while (nextLine())
            readLine();
        return std::move(m_tree);
    }

private:
    enum class Section { None, CurrentUser, OtherRoot, Skipped };

    bool nextLine()
    {
        if (m_pos >= m_bytes.size())
            return false;
        qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            end = m_bytes.size();
        m_raw = m_bytes.sliced(m_pos, end - m_pos);
        // Every carriage return before the line feed ends the line, so that a
        // line kept as it stood reads back the same once written with "\n".
        while (m_raw.endsWith('\r'))
            m_raw.chop(1);
        m_line = QString::fromUtf8(m_raw);
        m_pos = end + 1;
        return true;
    }

    // The next line without taking it.
    QString peekLine() const
    {
        if (m_pos >= m_bytes.size())
            return QString();
        qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            end = m_bytes.size();
        return QString::fromUtf8(m_bytes.sliced(m_pos, end - m_pos));
    }

    void readLine()
    {
        const QStringView line = QStringView(m_line).trimmed();
        if (line.isEmpty())
            return;
        if (line.startsWith(u'[')) {
            readSectionHeader(line);
            return;
        }
        switch (m_section) {
        case Section::CurrentUser:
            if (!line.startsWith(u';'))
                readValue(line);
            break;
        case Section::OtherRoot:
            m_tree.otherRoots.last().append(m_raw.toByteArray());
            break;
        case Section::None:
        case Section::Skipped:
            break;
        }
    }

    void readSectionHeader(QStringView line)
    {
        m_section = Section::Skipped;
        if (!line.endsWith(u']'))
            return;
        const QStringView inner = line.sliced(1, line.size() - 2);
        const qsizetype slash = inner.indexOf(u'\\');
        const QStringView root = slash < 0 ? inner : inner.first(slash);
        if (root.compare(RootName, Qt::CaseInsensitive) == 0) {
            const QStringView path = slash < 0 ? QStringView() : inner.sliced(slash + 1);
            if ((slash < 0 || !path.isEmpty()) && isValidKeyPath(path)) {
                m_key = &m_tree.addKey(path.toString());
                m_section = Section::CurrentUser;
            }
        } else if (root.startsWith(u"HKEY_", Qt::CaseInsensitive)) {
            m_tree.otherRoots.append(QByteArrayList{m_raw.toByteArray()});
            m_section = Section::OtherRoot;
        }
    }

    void readValue(QStringView line)
    {
        RegistryValue value;
        qsizetype pos = 0;
        if (line.startsWith(u'@')) {
            pos = 1;
        } else if (line.startsWith(u'"')) {
            auto name = readQuoted(line, &pos);
            if (!name)
                return;
            value.name = *name;
        } else {
            return;
        }
        QStringView rest = line.sliced(pos).trimmed();
        if (!rest.startsWith(u'='))
            return;
        rest = rest.sliced(1).trimmed();
        if (readData(rest, &value))
            m_key->setValue(value);
    }

    bool readData(QStringView rest, RegistryValue *value)
    {
        if (rest.startsWith(u'"')) {
            qsizetype pos = 0;
            auto text = readQuoted(rest, &pos);
            if (!text || !isLineEnd(rest.sliced(pos)))
                return false;
            value->type = Registry::TypeString;
            value->isText = true;
            value->text = *text;
            return true;
        }
        const qsizetype colon = rest.indexOf(u':');
        if (colon < 0)
            return false;
        const QStringView kind = rest.first(colon);
        const QStringView payload = rest.sliced(colon + 1);
        if (kind.compare(u"dword", Qt::CaseInsensitive) == 0) {
            const qsizetype end = payload.indexOf(u';');
            const auto number = parseHex(payload.first(end < 0 ? payload.size() : end).trimmed(), 8);
            if (!number)
                return false;
            value->type = Registry::TypeDword;
            for (int i = 0; i < 4; ++i)
                value->data.append(char((*number >> (8 * i)) & 0xFF));
            return true;
        }
        if (kind.compare(u"hex", Qt::CaseInsensitive) == 0) {
            value->type = Registry::TypeBinary;
        } else if (kind.startsWith(u"hex(", Qt::CaseInsensitive) && kind.endsWith(u')')) {
            const auto type = parseHex(kind.sliced(4, kind.size() - 5), 8);
            if (!type)
                return false;
            value->type = *type;
        } else {
            return false;
        }
        auto bytes = readHexPayload(payload);
        if (!bytes)
            return false;
        value->data = std::move(*bytes);
        return true;
    }

    // Hex bytes, continued on the following lines while a line ends with a
    // backslash. A continuation must start with a hex digit; otherwise the
    // value is incomplete and the line is left for the next round.
    std::optional<QByteArray> readHexPayload(QStringView payload)
    {
        QString all;
        QString piece = payload.trimmed().toString();
        while (piece.endsWith(u'\\')) {
            piece.chop(1);
            all.append(piece);
            const QString next = peekLine().trimmed();
            if (next.isEmpty() || hexDigit(next.front()) < 0)
                return std::nullopt;
            nextLine();
            piece = QStringView(m_line).trimmed().toString();
        }
        all.append(piece);
        return parseHexBytes(all);
    }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
    QByteArrayView m_raw;
    QString m_line;
    Section m_section = Section::None;
    RegistryTree m_tree;
    RegistryKeyData *m_key = nullptr;
};

void writeHexBytes(QString *out, qsizetype lineLength, const QByteArray &bytes)
{
    static constexpr char Digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            out->append(u',');
            ++lineLength;
            if (lineLength + 3 > HexLineWidth) {
                out->append(u"\\\n  ");
                lineLength = 2;
            }
        }
        const auto byte = quint8(bytes[i]);
        out->append(QLatin1Char(Digits[byte >> 4]));
        out->append(QLatin1Char(Digits[byte & 0x0F]));
        lineLength += 2;
    }
}

void writeValue(QString *out, const RegistryValue &value)
{
    const qsizetype lineStart = out->size();
    out->append(value.name.isEmpty() ? u"@"_s : quoted(value.name));
    out->append(u'=');
    if (value.isText && !hasLineBreak(value.text)) {
        out->append(quoted(value.text));
    } else if (!value.isText && value.type == Registry::TypeDword && value.data.size() == 4) {
        quint32 number = 0;
        for (int i = 3; i >= 0; --i)
            number = (number << 8) | quint8(value.data[i]);
        out->append(u"dword:"_s + QString::number(number, 16).rightJustified(8, u'0'));
    } else {
        if (value.type == Registry::TypeBinary)
            out->append(u"hex:");
        else
            out->append(u"hex("_s + QString::number(value.type, 16) + u"):"_s);
        writeHexBytes(out, out->size() - lineStart, value.isText ? value.toData() : value.data);
    }
    out->append(u'\n');
}

} // namespace

RegistryValue RegistryValue::fromData(const QString &name, quint32 type, const QByteArray &data)
{
    RegistryValue value;
    value.name = name;
    value.type = type;
    if (type == Registry::TypeString && data.endsWith('\0')) {
        const QByteArrayView body(data.constData(), data.size() - 1);
        if (!body.contains('\0') && !body.contains('\n') && !body.contains('\r')) {
            value.isText = true;
            value.text = runtime::fromCp1254(body);
            return value;
        }
    }
    value.data = data;
    return value;
}

QByteArray RegistryValue::toData() const
{
    if (!isText)
        return data;
    QByteArray result = runtime::toCp1254(text);
    result.append('\0');
    return result;
}

const RegistryValue *RegistryKeyData::value(QStringView name) const
{
    const auto it = m_index.constFind(matchKey(name));
    return it == m_index.cend() ? nullptr : &m_values[*it];
}

void RegistryKeyData::setValue(const RegistryValue &value)
{
    const QString key = matchKey(value.name);
    const auto it = m_index.constFind(key);
    if (it == m_index.cend()) {
        m_index.insert(key, m_values.size());
        m_values.append(value);
        return;
    }
    RegistryValue &existing = m_values[*it];
    const QString name = existing.name;
    existing = value;
    existing.name = name;
}

const RegistryKeyData *RegistryTree::key(QStringView path) const
{
    const auto it = m_index.constFind(matchKey(path));
    return it == m_index.cend() ? nullptr : &m_keys[*it];
}

RegistryKeyData *RegistryTree::key(QStringView path)
{
    const auto it = m_index.constFind(matchKey(path));
    return it == m_index.cend() ? nullptr : &m_keys[*it];
}

bool RegistryTree::keyExists(QStringView path) const
{
    if (path.isEmpty())
        return true;
    const QString wanted = matchKey(path);
    if (m_index.contains(wanted))
        return true;
    const QString parent = wanted + u'\\';
    for (auto it = m_index.cbegin(); it != m_index.cend(); ++it) {
        if (it.key().startsWith(parent))
            return true;
    }
    return false;
}

RegistryKeyData &RegistryTree::addKey(const QString &path)
{
    const QString wanted = matchKey(path);
    const auto it = m_index.constFind(wanted);
    if (it != m_index.cend())
        return m_keys[*it];
    m_index.insert(wanted, m_keys.size());
    m_keys.append(RegistryKeyData(path));
    return m_keys.last();
}

bool isValidKeyPath(QStringView path)
{
    if (path.isEmpty())
        return true;
    return !path.startsWith(u'\\') && !path.endsWith(u'\\') && !path.contains(u"\\\\");
}

RegistryTree parseRegistryFile(QByteArrayView bytes)
{
    if (const auto text = utf16AsUtf8(bytes))
        return Parser(*text).run();
    return Parser(bytes).run();
}

QByteArray writeRegistryFile(const RegistryTree &tree, const RegistryFileFormat &format)
{
    QString text = QString::fromLatin1(registryFileHeader(format)) + u'\n';
    for (const RegistryKeyData &key : tree.keys()) {
        text.append(u"\n[").append(RootName);
        if (!key.path().isEmpty())
            text.append(u'\\' + key.path());
        text.append(u"]\n");
        for (const RegistryValue &value : key.values())
            writeValue(&text, value);
    }
    QByteArray result = text.toUtf8();
    for (const QByteArrayList &section : tree.otherRoots) {
        result.append('\n');
        for (const QByteArray &line : section)
            result.append(line).append('\n');
    }
    return encodeRegistryFile(result, format);
}

} // namespace zelvan::platform
