#include "database/embedded/selectlist.h"

#include "database/embedded/sqlscanner.h"

namespace zelvan::database {

namespace {

// A keyword or identifier word at the scanner's place (not taken).
QStringView wordAt(const SqlScanner &scanner)
{
    const QStringView text = scanner.text();
    qsizetype end = scanner.pos();
    while (end < text.size() && (text[end].isLetterOrNumber() || text[end] == u'_'))
        ++end;
    return text.sliced(scanner.pos(), end - scanner.pos());
}

bool takeKeyword(SqlScanner &scanner, QStringView keyword)
{
    scanner.skipSpaceAndComments();
    if (wordAt(scanner).compare(keyword, Qt::CaseInsensitive) != 0)
        return false;
    scanner.advance(keyword.size());
    return true;
}

// Steps over a parenthesised group whole, quoted runs in it included.
// A comment inside is plain text here: a ')' in it closes the group.
void skipGroup(SqlScanner &scanner)
{
    int depth = 0;
    while (!scanner.atEnd()) {
        const QChar c = scanner.peek();
        if (scanner.atQuote()) {
            scanner.skipQuoted();
            continue;
        }
        scanner.advance(1);
        if (c == u'(')
            ++depth;
        else if (c == u')' && --depth == 0)
            return;
    }
}

// Steps over one token of the select list: a quoted run, a parenthesised
// group, a word or a single character.
void skipToken(SqlScanner &scanner)
{
    if (scanner.atQuote()) {
        scanner.skipQuoted();
    } else if (scanner.peek() == u'(') {
        skipGroup(scanner);
    } else {
        const QStringView word = wordAt(scanner);
        scanner.advance(word.isEmpty() ? 1 : word.size());
    }
}

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
    SqlScanner scanner(sql);
    if (!takeKeyword(scanner, u"SELECT"))
        return hints;
    if (!takeKeyword(scanner, u"DISTINCT"))
        takeKeyword(scanner, u"ALL");
    if (takeKeyword(scanner, u"TOP")) {
        scanner.skipSpaceAndComments();
        if (!scanner.atEnd())
            skipToken(scanner);
        takeKeyword(scanner, u"PERCENT");
    }
    scanner.skipSpaceAndComments();

    // Items end at top-level commas; the list ends at FROM or INTO. Only
    // before the list are comments skipped as such: within it they are plain
    // text, and a comma in one ends an item.
    qsizetype itemStart = scanner.pos();
    while (!scanner.atEnd()) {
        const QChar c = scanner.peek();
        if (c == u',') {
            hints.append(hintFor(sql.sliced(itemStart, scanner.pos() - itemStart)));
            skipToken(scanner);
            itemStart = scanner.pos();
            continue;
        }
        const QChar before = scanner.pos() == 0 ? QChar() : sql[scanner.pos() - 1];
        if ((c.isLetter() || c == u'_') && !(before.isLetterOrNumber() || before == u'_')) {
            const QStringView word = wordAt(scanner);
            if (word.compare(u"FROM", Qt::CaseInsensitive) == 0 || word.compare(u"INTO", Qt::CaseInsensitive) == 0)
                break;
        }
        skipToken(scanner);
    }
    hints.append(hintFor(sql.sliced(itemStart, scanner.pos() - itemStart)));
    return hints;
}

} // namespace zelvan::database
