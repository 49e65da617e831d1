// The three-part-name rewrite for an embedded instance (`db.dbo.table`).
#include "fuzzsupport.h"

#include "database/embedded/sqlnames.h"
#include "runtime/asciitext.h"

#include <QStringList>


using namespace Qt::Literals::StringLiterals;

namespace zelvan::fuzz {

namespace {

// The string literals and comments of a statement, in order, read as the
// rewrite must read them: a [bracketed] or "quoted" name is one token, so a
// quote inside it starts nothing.
QStringList literalsAndComments(QStringView sql)
{
    // The position after the `close` that ends a token begun before `from`
    // (a doubled `close` stands for itself); -1 when none does.
    const auto closing = [sql](QChar close, qsizetype from) -> qsizetype {
        for (qsizetype j = from; j < sql.size(); ++j) {
            if (sql[j] != close)
                continue;
            if (j + 1 < sql.size() && sql[j + 1] == close) {
                ++j;
                continue;
            }
            return j + 1;
        }
        return -1;
    };
    QStringList found;
    qsizetype i = 0;
    while (i < sql.size()) {
        const QChar c = sql[i];
        const QChar next = i + 1 < sql.size() ? sql[i + 1] : QChar();
        qsizetype end = i + 1;
        if (c == u'\'') {
            end = closing(u'\'', i + 1);
            if (end < 0)
                end = sql.size();
        } else if (c == u'-' && next == u'-') {
            const qsizetype nl = sql.indexOf(u'\n', i);
            end = nl < 0 ? sql.size() : nl + 1;
        } else if (c == u'/' && next == u'*') {
            const qsizetype close = sql.indexOf(u"*/", i + 2);
            end = close < 0 ? sql.size() : close + 2;
        } else if (c == u'[' || c == u'"') {
            // A name; an unterminated one runs to the end of the text.
            const qsizetype close = closing(c == u'[' ? u']' : u'"', i + 1);
            i = close < 0 ? sql.size() : close;
            continue;
        } else {
            i = end;
            continue;
        }
        found.append(sql.sliced(i, end - i).toString());
        i = end;
    }
    return found;
}

} // namespace

void fuzzSqlNames(QByteArrayView data)
{
    FuzzInput input(data);
    const QString current = input.text();
    const QString sql = QString::fromUtf8(input.rest());

    const database::ThreePartRewrite rewrite = database::rewriteThreePartNames(sql, current);
    check(literalsAndComments(rewrite.sql) == literalsAndComments(sql), "the rewrite never touches quoted text or comments",
          sql + u" -> "_s + rewrite.sql);
    for (const QString &database : rewrite.databases) {
        check(!runtime::equalsAsciiCaseInsensitive(database, current), "the current database is never attached", database);
        check(sql.contains(database) || sql.contains(QString(database).replace(u"]"_s, u"]]"_s))
                  || sql.contains(QString(database).replace(u"\""_s, u"\"\""_s)),
              "an attached database is named in the text", database);
        check(rewrite.databases.count(database) == 1, "each database once", database);
    }
    if (!sql.contains(u'.'))
        check(rewrite.sql == sql, "a text without a dot is left as it is", sql);
}

} // namespace zelvan::fuzz
