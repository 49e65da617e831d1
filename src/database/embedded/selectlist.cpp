#include "database/embedded/selectlist.h"

namespace zelvan::database {

namespace {

class Scanner
{
public:
    explicit Scanner(QStringView text)
        : m_text(text)
    {
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    qsizetype pos() const { return m_pos; }

    void skipSpaceAndComments()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (c.isSpace()) {
                ++m_pos;
            } else if (c == u'-' && peek(1) == u'-') {
                const qsizetype nl = m_text.indexOf(u'\n', m_pos);
                m_pos = nl < 0 ? m_text.size() : nl + 1;
            } else if (c == u'/' && peek(1) == u'*') {
                const qsizetype close = m_text.indexOf(u"*/", m_pos + 2);
                m_pos = close < 0 ? m_text.size() : close + 2;
            } else {
                return;
            }
        }
    }

    // A keyword or identifier word at the current position (not consumed).
    QStringView word() const
    {
        qsizetype i = m_pos;
        while (i < m_text.size() && (m_text[i].isLetterOrNumber() || m_text[i] == u'_'))
            ++i;
        return m_text.mid(m_pos, i - m_pos);
    }

    bool takeKeyword(QStringView keyword)
    {
        skipSpaceAndComments();
        if (word().compare(keyword, Qt::CaseInsensitive) != 0)
            return false;
        m_pos += keyword.size();
        return true;
    }

    // Skips one token: a quoted literal, bracketed name, parenthesised group
    // or a single character. Groups are skipped whole, without recursion.
    void skipToken()
    {
        const QChar c = m_text[m_pos];
        if (c == u'\'' || c == u'"' || c == u'[') {
            const QChar close = c == u'[' ? u']' : c;
            ++m_pos;
            while (m_pos < m_text.size()) {
                if (m_text[m_pos] == close) {
                    if (peek(1) == close) {
                        m_pos += 2;
                        continue;
                    }
                    ++m_pos;
                    return;
                }
                ++m_pos;
            }
            return;
        }
        if (c == u'(') {
            int depth = 0;
            while (m_pos < m_text.size()) {
                const QChar d = m_text[m_pos];
                if (d == u'\'' || d == u'"' || d == u'[') {
                    skipToken();
                    continue;
                }
                if (d == u'(')
                    ++depth;
                else if (d == u')' && --depth == 0) {
                    ++m_pos;
                    return;
                }
                ++m_pos;
            }
            return;
        }
        const QStringView w = word();
        m_pos += w.isEmpty() ? 1 : w.size();
    }

    QChar peek(qsizetype ahead) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : QChar();
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

QString unquote(QStringView name)
{
    name = name.trimmed();
    if (name.size() >= 2 && ((name.front() == u'[' && name.back() == u']') || (name.front() == u'"' && name.back() == u'"')))
        return name.mid(1, name.size() - 2).toString();
    return name.toString();
}

bool isPlainName(QStringView name)
{
    name = name.trimmed();
    if (name.isEmpty())
        return false;
    // A delimited name holds at least one character: "" and [] name nothing.
    if (name.front() == u'[' || name.front() == u'"')
        return name.size() > 2 && name.back() == (name.front() == u'[' ? u']' : u'"');
    for (QChar c : name) {
        if (!(c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$'))
            return false;
    }
    return true;
}

// `SUM(x)`, `SUM(t.x)`, `COUNT(*)`, optionally followed by an alias.
SelectItemHint hintFor(QStringView item)
{
    SelectItemHint hint;
    item = item.trimmed();
    const qsizetype open = item.indexOf(u'(');
    if (open <= 0)
        return hint;
    const QStringView function = item.left(open).trimmed();
    static const QStringView functions[] = {u"SUM", u"MIN", u"MAX", u"AVG", u"COUNT"};
    QString name;
    for (QStringView f : functions) {
        if (function.compare(f, Qt::CaseInsensitive) == 0)
            name = f.toString();
    }
    if (name.isEmpty())
        return hint;
    const qsizetype close = item.indexOf(u')', open);
    if (close < 0)
        return hint;
    QStringView argument = item.mid(open + 1, close - open - 1).trimmed();
    if (argument.startsWith(u"DISTINCT ", Qt::CaseInsensitive))
        argument = argument.mid(9).trimmed();
    // What follows the call may only be an alias.
    QStringView rest = item.mid(close + 1).trimmed();
    if (rest.startsWith(u"AS ", Qt::CaseInsensitive) || rest.startsWith(u"AS\t", Qt::CaseInsensitive))
        rest = rest.mid(3).trimmed();
    if (!rest.isEmpty() && !isPlainName(rest))
        return hint;

    if (argument == u"*") {
        hint.function = name;
        hint.column = QStringLiteral("*");
        hint.allRows = true;
        return hint;
    }
    const qsizetype dot = argument.lastIndexOf(u'.');
    const QStringView column = dot < 0 ? argument : argument.mid(dot + 1);
    const QStringView qualifier = dot < 0 ? QStringView() : argument.left(dot);
    if (!isPlainName(column) || (dot >= 0 && !isPlainName(qualifier.mid(qualifier.lastIndexOf(u'.') + 1))))
        return hint;
    hint.function = name;
    hint.column = unquote(column);
    if (dot >= 0)
        hint.qualifier = unquote(qualifier.mid(qualifier.lastIndexOf(u'.') + 1));
    return hint;
}

} // namespace

QList<SelectItemHint> selectItemHints(QStringView sql)
{
    QList<SelectItemHint> hints;
    Scanner scanner(sql);
    if (!scanner.takeKeyword(u"SELECT"))
        return hints;
    if (!scanner.takeKeyword(u"DISTINCT"))
        scanner.takeKeyword(u"ALL");
    if (scanner.takeKeyword(u"TOP")) {
        scanner.skipSpaceAndComments();
        if (!scanner.atEnd())
            scanner.skipToken();
        scanner.takeKeyword(u"PERCENT");
    }
    scanner.skipSpaceAndComments();

    qsizetype itemStart = scanner.pos();
    while (!scanner.atEnd()) {
        const QChar c = sql[scanner.pos()];
        if (c == u',') {
            hints.append(hintFor(sql.mid(itemStart, scanner.pos() - itemStart)));
            scanner.skipToken();
            itemStart = scanner.pos();
            continue;
        }
        if ((c.isLetter() || c == u'_') && (scanner.pos() == 0 || !(sql[scanner.pos() - 1].isLetterOrNumber() || sql[scanner.pos() - 1] == u'_'))) {
            const QStringView w = scanner.word();
            if (w.compare(u"FROM", Qt::CaseInsensitive) == 0 || w.compare(u"INTO", Qt::CaseInsensitive) == 0)
                break;
        }
        scanner.skipToken();
    }
    hints.append(hintFor(sql.mid(itemStart, scanner.pos() - itemStart)));
    return hints;
}

} // namespace zelvan::database
