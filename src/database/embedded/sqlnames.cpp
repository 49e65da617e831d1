#include "database/embedded/sqlnames.h"

#include "database/embedded/sqlscanner.h"
#include "runtime/asciitext.h"

#include <algorithm>
#include <optional>

namespace zelvan::database {

using runtime::equalsAsciiCaseInsensitive;

namespace {

bool isIdentStart(QChar c)
{
    return c.isLetter() || c == u'_' || c == u'@' || c == u'#';
}

bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'@' || c == u'#' || c == u'$';
}

// One name part: a bare identifier, [bracketed] or "quoted".
struct NamePart
{
    qsizetype begin = -1;
    qsizetype end = -1;  // one past
    QString name;        // without brackets or quotes
};

// Reads a name part starting at `pos`; begin stays -1 when there is none.
NamePart readNamePart(QStringView sql, qsizetype pos)
{
    NamePart part;
    SqlScanner scanner(sql, pos);
    if (scanner.peek() == u'[' || scanner.peek() == u'"') {
        if (!scanner.skipQuoted())
            return part;  // unterminated: not a name
        part.name = unquotedRun(sql.sliced(pos, scanner.pos() - pos));
    } else {
        if (scanner.atEnd() || !isIdentStart(scanner.peek()))
            return part;
        scanner.advance(1);
        while (!scanner.atEnd() && isIdentPart(scanner.peek()))
            scanner.advance(1);
        part.name = sql.sliced(pos, scanner.pos() - pos).toString();
    }
    part.begin = pos;
    part.end = scanner.pos();
    return part;
}

// The longest chain of dotted name parts from `first` on, without blanks
// around the dots. `db..table` is SQL Server's shorthand for `db.dbo.table`.
struct NameChain
{
    QList<NamePart> parts;
    qsizetype end = -1;  // one past the last part
    bool shorthand = false;
};

NameChain readNameChain(QStringView sql, const NamePart &first)
{
    NameChain chain{{first}, first.end};
    while (chain.end < sql.size() && sql[chain.end] == u'.') {
        if (chain.parts.size() == 1 && chain.end + 1 < sql.size() && sql[chain.end + 1] == u'.') {
            const NamePart table = readNamePart(sql, chain.end + 2);
            if (table.begin < 0)
                break;
            NamePart schema;
            schema.name = QStringLiteral("dbo");
            chain.parts.append(schema);
            chain.parts.append(table);
            chain.end = table.end;
            chain.shorthand = true;
            break;
        }
        const NamePart next = readNamePart(sql, chain.end + 1);
        if (next.begin < 0)
            break;
        chain.parts.append(next);
        chain.end = next.end;
    }
    return chain;
}

// Whether "dbo" (any letter case) or ".." occurs anywhere in the text.
bool mayNameDboOrShorthand(QStringView sql)
{
    const auto lower = [sql](qsizetype i) { return runtime::asciiLower(sql[i].unicode()); };
    for (qsizetype i = 0; i + 1 < sql.size(); ++i) {
        const char16_t c = lower(i);
        if (c == u'.' && sql[i + 1] == u'.')
            return true;
        if (c == u'd' && i + 2 < sql.size() && lower(i + 1) == u'b' && lower(i + 2) == u'o')
            return true;
    }
    return false;
}

QString quoteIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

// What a chain of names becomes, or nullopt when it stays as written. Notes
// another database it names, and the name the engine will report, in `result`.
std::optional<QString> replacementFor(QStringView sql, const NameChain &chain, QStringView currentDatabase,
                                      ThreePartRewrite &result)
{
    const QList<NamePart> &parts = chain.parts;
    QString replacement;
    if (parts.size() == 3 && (chain.shorthand || equalsAsciiCaseInsensitive(parts[1].name, u"dbo"))) {
        const QString &database = parts[0].name;
        const QString table = sql.sliced(parts[2].begin, parts[2].end - parts[2].begin).toString();
        if (equalsAsciiCaseInsensitive(database, currentDatabase)) {
            replacement = QStringLiteral("main.") + table;
        } else {
            replacement = quoteIdentifier(schemaNameFor(database)) + u'.' + table;
            const auto known = [&database](const QString &d) { return equalsAsciiCaseInsensitive(d, database); };
            if (std::none_of(result.databases.cbegin(), result.databases.cend(), known))
                result.databases.append(database);
        }
    } else if (parts.size() >= 2 && equalsAsciiCaseInsensitive(parts[0].name, u"dbo")) {
        // dbo.table or dbo.table.column: the schema is the current database
        replacement = sql.sliced(parts[1].begin, chain.end - parts[1].begin).toString();
    } else {
        return std::nullopt;
    }
    const QString schema = parts.size() == 3 && !equalsAsciiCaseInsensitive(parts[0].name, currentDatabase)
        ? schemaNameFor(parts[0].name)
        : QStringLiteral("main");
    const qsizetype begin = parts.first().begin;
    result.names.append({schema + u'.' + parts.last().name, sql.sliced(begin, chain.end - begin).toString()});
    return replacement;
}

} // namespace

QString schemaNameFor(QStringView database)
{
    return runtime::toAsciiLower(database.toString());
}

QString ThreePartRewrite::originalName(const QString &reported) const
{
    for (const auto &name : names) {
        if (name.first.compare(reported, Qt::CaseInsensitive) == 0)
            return name.second;
    }
    return reported;
}

ThreePartRewrite rewriteThreePartNames(QStringView sql, QStringView currentDatabase)
{
    ThreePartRewrite result;
    // Every rewrite needs a part named dbo or the shorthand "..": most texts
    // have neither and go through untouched.
    if (!mayNameDboOrShorthand(sql)) {
        result.sql = sql.toString();
        return result;
    }
    result.sql.reserve(sql.size() + 16);
    SqlScanner scanner(sql);
    qsizetype copied = 0;   // sql[copied, scanner.pos()) not yet appended
    bool afterDot = false;  // the previous token was a '.', so a name here is a member, not a start

    while (!scanner.atEnd()) {
        const QChar c = scanner.peek();
        if (c == u'\'' || scanner.atComment()) {
            if (c == u'\'')
                scanner.skipQuoted();
            else
                scanner.skipComment();
            afterDot = false;
            continue;
        }
        if (c == u'.' || c.isSpace()) {
            afterDot = afterDot || c == u'.';
            scanner.advance(1);
            continue;
        }
        const NamePart first = readNamePart(sql, scanner.pos());
        if (first.begin < 0 && (c == u'[' || c == u'"'))
            break;  // an unterminated quoted name runs to the end: nothing after it is a name
        if (first.begin < 0 || afterDot) {  // no name, or a member of some qualified name: leave it
            scanner.moveTo(first.begin < 0 ? scanner.pos() + 1 : first.end);
            afterDot = false;
            continue;
        }
        const NameChain chain = readNameChain(sql, first);
        if (const std::optional<QString> replacement = replacementFor(sql, chain, currentDatabase, result)) {
            result.sql.append(sql.sliced(copied, first.begin - copied));
            result.sql.append(*replacement);
            copied = chain.end;
        }
        scanner.moveTo(chain.end);
        afterDot = false;
    }
    result.sql.append(sql.sliced(copied));
    return result;
}

} // namespace zelvan::database
