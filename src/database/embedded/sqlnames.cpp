#include "database/embedded/sqlnames.h"

namespace zelvan::database {

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
    if (pos >= sql.size())
        return part;
    const QChar c = sql[pos];
    if (c == u'[' || c == u'"') {
        const QChar close = c == u'[' ? u']' : u'"';
        qsizetype i = pos + 1;
        QString name;
        while (i < sql.size()) {
            if (sql[i] == close) {
                if (i + 1 < sql.size() && sql[i + 1] == close) {  // doubled closer
                    name.append(close);
                    i += 2;
                    continue;
                }
                part.begin = pos;
                part.end = i + 1;
                part.name = name;
                return part;
            }
            name.append(sql[i]);
            ++i;
        }
        return part;  // unterminated: not a name
    }
    if (!isIdentStart(c))
        return part;
    qsizetype i = pos + 1;
    while (i < sql.size() && isIdentPart(sql[i]))
        ++i;
    part.begin = pos;
    part.end = i;
    part.name = sql.mid(pos, i - pos).toString();
    return part;
}

// Skips a quoted literal or comment starting at `pos`; returns the position
// after it, or `pos` when there is none there.
qsizetype skipLiteralOrComment(QStringView sql, qsizetype pos)
{
    const QChar c = sql[pos];
    if (c == u'\'') {
        qsizetype i = pos + 1;
        while (i < sql.size()) {
            if (sql[i] == u'\'') {
                if (i + 1 < sql.size() && sql[i + 1] == u'\'') {
                    i += 2;
                    continue;
                }
                return i + 1;
            }
            ++i;
        }
        return sql.size();
    }
    if (c == u'-' && pos + 1 < sql.size() && sql[pos + 1] == u'-') {
        const qsizetype nl = sql.indexOf(u'\n', pos);
        return nl < 0 ? sql.size() : nl + 1;
    }
    if (c == u'/' && pos + 1 < sql.size() && sql[pos + 1] == u'*') {
        const qsizetype close = sql.indexOf(u"*/", pos + 2);
        return close < 0 ? sql.size() : close + 2;
    }
    return pos;
}

// Whether "dbo" (any letter case) or ".." occurs anywhere in the text.
bool mayNameDboOrShorthand(QStringView sql)
{
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
    for (qsizetype i = 0; i + 1 < sql.size(); ++i) {
        const char16_t c = lower(sql[i].unicode());
        if (c == u'.' && sql[i + 1] == u'.')
            return true;
        if (c == u'd' && i + 2 < sql.size() && lower(sql[i + 1].unicode()) == u'b' && lower(sql[i + 2].unicode()) == u'o')
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

} // namespace

bool equalsAsciiCaseInsensitive(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a[i].unicode();
        char16_t y = b[i].unicode();
        if (x >= u'A' && x <= u'Z')
            x = char16_t(x + 32);
        if (y >= u'A' && y <= u'Z')
            y = char16_t(y + 32);
        if (x != y)
            return false;
    }
    return true;
}

QString schemaNameFor(QStringView database)
{
    QString schema = database.toString();
    for (QChar &c : schema) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return schema;
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
    qsizetype pos = 0;
    qsizetype copied = 0;  // sql[copied, pos) not yet appended
    bool afterDot = false; // the previous token was a '.', so a name here is a member, not a start

    while (pos < sql.size()) {
        const qsizetype skipped = skipLiteralOrComment(sql, pos);
        if (skipped != pos) {
            pos = skipped;
            afterDot = false;
            continue;
        }
        const QChar c = sql[pos];
        if (c == u'.') {
            afterDot = true;
            ++pos;
            continue;
        }
        if (c.isSpace()) {
            ++pos;
            continue;
        }
        const NamePart first = readNamePart(sql, pos);
        if (first.begin < 0 && (c == u'[' || c == u'"'))
            break;  // an unterminated quoted name runs to the end: nothing after it is a name
        if (first.begin < 0) {
            afterDot = false;
            ++pos;
            continue;
        }
        if (afterDot) {  // a member of some qualified name: leave it
            pos = first.end;
            afterDot = false;
            continue;
        }

        // Longest chain of dotted parts starting here (no blanks around dots).
        // `db..table` is SQL Server's shorthand for `db.dbo.table`.
        QList<NamePart> parts{first};
        qsizetype end = first.end;
        bool shorthand = false;
        while (end < sql.size() && sql[end] == u'.') {
            if (parts.size() == 1 && end + 1 < sql.size() && sql[end + 1] == u'.') {
                const NamePart table = readNamePart(sql, end + 2);
                if (table.begin < 0)
                    break;
                NamePart schema;
                schema.name = QStringLiteral("dbo");
                parts.append(schema);
                parts.append(table);
                end = table.end;
                shorthand = true;
                break;
            }
            const NamePart next = readNamePart(sql, end + 1);
            if (next.begin < 0)
                break;
            parts.append(next);
            end = next.end;
        }

        QString replacement;
        bool rewrite = false;
        if (parts.size() == 3 && (shorthand || equalsAsciiCaseInsensitive(parts[1].name, u"dbo"))) {
            const QString &database = parts[0].name;
            const QStringView table = sql.mid(parts[2].begin, parts[2].end - parts[2].begin);
            if (equalsAsciiCaseInsensitive(database, currentDatabase)) {
                replacement = QStringLiteral("main.") + table.toString();
            } else {
                replacement = quoteIdentifier(schemaNameFor(database)) + u'.' + table.toString();
                bool known = false;
                for (const QString &d : std::as_const(result.databases))
                    known = known || equalsAsciiCaseInsensitive(d, database);
                if (!known)
                    result.databases.append(database);
            }
            rewrite = true;
        } else if (parts.size() >= 2 && equalsAsciiCaseInsensitive(parts[0].name, u"dbo")) {
            // dbo.table or dbo.table.column: the schema is the current database
            replacement = sql.mid(parts[1].begin, end - parts[1].begin).toString();
            rewrite = true;
        }
        if (rewrite) {
            const QString schema = parts.size() == 3 && !equalsAsciiCaseInsensitive(parts[0].name, currentDatabase)
                ? schemaNameFor(parts[0].name)
                : QStringLiteral("main");
            result.names.append({schema + u'.' + parts.last().name, sql.mid(first.begin, end - first.begin).toString()});
            result.sql.append(sql.mid(copied, first.begin - copied));
            result.sql.append(replacement);
            copied = end;
        }
        pos = end;
        afterDot = false;
    }
    result.sql.append(sql.mid(copied));
    return result;
}

} // namespace zelvan::database
