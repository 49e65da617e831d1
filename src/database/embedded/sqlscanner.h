#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

namespace zelvan::database {

// Walks SQL text for the readers that must step over quoted text and
// comments as SQL Server reads them: a 'literal', a "quoted" or [bracketed]
// name (a doubled closing character stands for itself), a -- comment to the
// end of its line, a /* comment */. Everything else the reader takes itself,
// one character or word at a time.
class SqlScanner
{
public:
    explicit SqlScanner(QStringView text, qsizetype pos = 0)
        : m_text(text)
        , m_pos(pos)
    {
    }

    QStringView text() const { return m_text; }
    qsizetype pos() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_text.size(); }
    // The character `ahead` places on; a null QChar past the end.
    QChar peek(qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_text.size() ? m_text[m_pos + ahead] : QChar();
    }
    void advance(qsizetype count) { m_pos += count; }
    void moveTo(qsizetype pos) { m_pos = pos; }

    // A quoted run or a comment begins here.
    bool atQuote() const;
    bool atComment() const;

    // Steps over the quoted run that begins here, past its closing character.
    // An unterminated run takes the rest of the text, and gives false.
    bool skipQuoted();
    // Steps over the comment that begins here with its line break or `*/`;
    // an unclosed one takes the rest of the text.
    void skipComment();
    void skipSpaceAndComments();

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// The text of a whole quoted run without its quotes, each doubled closing
// character as one.
QString unquotedRun(QStringView run);

} // namespace zelvan::database
