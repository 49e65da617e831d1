#include "database/embedded/sqlscanner.h"

namespace zelvan::database {

namespace {

QChar closerOf(QChar opener)
{
    return opener == u'[' ? QChar(u']') : opener;
}

} // namespace

bool SqlScanner::atQuote() const
{
    const QChar c = peek();
    return c == u'\'' || c == u'"' || c == u'[';
}

bool SqlScanner::atComment() const
{
    return (peek() == u'-' && peek(1) == u'-') || (peek() == u'/' && peek(1) == u'*');
}

bool SqlScanner::skipQuoted()
{
    const QChar close = closerOf(peek());
    for (++m_pos; m_pos < m_text.size(); ++m_pos) {
        if (m_text[m_pos] != close)
            continue;
        if (peek(1) != close) {
            ++m_pos;
            return true;
        }
        ++m_pos;  // a doubled closer: the loop steps over its second half
    }
    return false;
}

void SqlScanner::skipComment()
{
    if (peek() == u'-') {
        const qsizetype nl = m_text.indexOf(u'\n', m_pos);
        m_pos = nl < 0 ? m_text.size() : nl + 1;
    } else {
        const qsizetype close = m_text.indexOf(u"*/", m_pos + 2);
        m_pos = close < 0 ? m_text.size() : close + 2;
    }
}

void SqlScanner::skipSpaceAndComments()
{
    while (!atEnd()) {
        if (peek().isSpace())
            ++m_pos;
        else if (atComment())
            skipComment();
        else
            return;
    }
}

QString unquotedRun(QStringView run)
{
    const QChar close = closerOf(run.front());
    QString text = run.sliced(1, run.size() - 2).toString();
    text.replace(QString(2, close), QString(close));
    return text;
}

} // namespace zelvan::database
