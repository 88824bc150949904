#include "StatementScanner.h"

namespace bryx::host {

namespace {

bool startsName(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}

// Both engines let a name go on with digits and dollar signs ("abc$1").
bool continuesName(QChar c)
{
    return startsName(c) || c.isDigit() || c == QLatin1Char('$');
}

class Scanner {
public:
    Scanner(const QString& sql, Dialect dialect)
        : m_sql(sql)
        , m_postgres(dialect == Dialect::PostgreSQL)
    {
    }

    StatementScanner::Result run()
    {
        while (m_at < m_sql.size() && m_result.unclosed.isEmpty())
            step();
        return m_result;
    }

private:
    QChar at(qsizetype offset = 0) const
    {
        const qsizetype index = m_at + offset;
        return index < m_sql.size() ? m_sql.at(index) : QChar();
    }

    // Something that belongs to a statement: the first of it opens a new one.
    void token(const QString& word = {})
    {
        if (m_inStatement)
            return;
        m_inStatement = true;
        if (++m_result.statements == 1)
            m_result.firstWord = word.toUpper();
    }

    void step()
    {
        const QChar c = at();
        if (c.isSpace()) {
            ++m_at;
        } else if (c == QLatin1Char('-') && at(1) == QLatin1Char('-')) {
            const qsizetype end = m_sql.indexOf(QLatin1Char('\n'), m_at);
            m_at = end < 0 ? m_sql.size() : end + 1;
        } else if (c == QLatin1Char('/') && at(1) == QLatin1Char('*')) {
            blockComment();
        } else if (c == QLatin1Char(';')) {
            m_inStatement = false;
            ++m_at;
        } else if (c == QLatin1Char('\'')) {
            token();
            quoted(QLatin1Char('\''), false, QStringLiteral("a quoted text"));
        } else if (c == QLatin1Char('"')) {
            token();
            quoted(QLatin1Char('"'), false, QStringLiteral("a quoted name"));
        } else if (!m_postgres && c == QLatin1Char('`')) {
            token();
            quoted(QLatin1Char('`'), false, QStringLiteral("a quoted name"));
        } else if (!m_postgres && c == QLatin1Char('[')) {
            token();
            const qsizetype end = m_sql.indexOf(QLatin1Char(']'), m_at + 1);
            if (end < 0)
                m_result.unclosed = QStringLiteral("a quoted name");
            m_at = end < 0 ? m_sql.size() : end + 1;
        } else if (m_postgres && c == QLatin1Char('$')) {
            token();
            dollar();
        } else if (startsName(c)) {
            name();
        } else if (c.isDigit()) {
            token();
            number();
        } else {
            token();
            ++m_at;
        }
    }

    void blockComment()
    {
        int depth = 0;
        while (m_at < m_sql.size()) {
            if (at() == QLatin1Char('/') && at(1) == QLatin1Char('*')) {
                // PostgreSQL nests block comments; SQLite ends one at the first "*/".
                if (depth == 0 || m_postgres)
                    ++depth;
                m_at += 2;
            } else if (at() == QLatin1Char('*') && at(1) == QLatin1Char('/')) {
                m_at += 2;
                if (--depth == 0)
                    return;
            } else {
                ++m_at;
            }
        }
        // SQLite lets a comment run to the end of the text; PostgreSQL calls it an error.
        if (m_postgres)
            m_result.unclosed = QStringLiteral("a comment");
    }

    // A text in `quote`s, the quote doubled inside; with `backslashEscapes` a backslash
    // also takes the next character as it is (PostgreSQL's E'' strings).
    void quoted(QChar quote, bool backslashEscapes, const QString& what)
    {
        ++m_at;
        while (m_at < m_sql.size()) {
            const QChar c = at();
            if (backslashEscapes && c == QLatin1Char('\\')) {
                m_at += 2;
            } else if (c == quote) {
                if (at(1) == quote) {
                    m_at += 2;
                } else {
                    ++m_at;
                    return;
                }
            } else {
                ++m_at;
            }
        }
        m_result.unclosed = what;
    }

    // "$tag$ ... $tag$" (the tag may be empty), or a parameter such as "$1".
    void dollar()
    {
        qsizetype end = m_at + 1;
        if (end < m_sql.size() && startsName(m_sql.at(end))) {
            while (end < m_sql.size() && m_sql.at(end) != QLatin1Char('$')
                   && (startsName(m_sql.at(end)) || m_sql.at(end).isDigit()))
                ++end;
        }
        if (end >= m_sql.size() || m_sql.at(end) != QLatin1Char('$')) {
            ++m_at; // a parameter or an operator character
            while (at().isDigit())
                ++m_at;
            return;
        }
        const QString delimiter = m_sql.mid(m_at, end - m_at + 1);
        const qsizetype close = m_sql.indexOf(delimiter, end + 1);
        if (close < 0) {
            m_result.unclosed = QStringLiteral("a dollar-quoted text");
            m_at = m_sql.size();
            return;
        }
        m_at = close + delimiter.size();
    }

    void name()
    {
        const qsizetype start = m_at;
        while (m_at < m_sql.size() && continuesName(m_sql.at(m_at)))
            ++m_at;
        const QString word = m_sql.mid(start, m_at - start);
        token(word);
        if (!m_postgres || word.size() != 1)
            return;
        const QChar letter = word.at(0).toUpper();
        if (letter == QLatin1Char('E') && at() == QLatin1Char('\'')) {
            quoted(QLatin1Char('\''), true, QStringLiteral("a quoted text"));
        } else if (letter == QLatin1Char('U') && at() == QLatin1Char('&')
                   && (at(1) == QLatin1Char('\'') || at(1) == QLatin1Char('"'))) {
            ++m_at; // U&'...' and U&"..." quote as the plain forms do
        }
    }

    // Digits, a fraction and an exponent only where digits follow it: PostgreSQL gives a
    // dangling "e" back to the next token, which may then open an E'' string.
    void number()
    {
        while (at().isDigit() || at() == QLatin1Char('.'))
            ++m_at;
        if (at().toUpper() == QLatin1Char('E')) {
            qsizetype digits = 1;
            if (at(1) == QLatin1Char('+') || at(1) == QLatin1Char('-'))
                digits = 2;
            if (at(digits).isDigit()) {
                m_at += digits;
                while (at().isDigit())
                    ++m_at;
            }
        }
    }

    const QString& m_sql;
    const bool m_postgres;
    qsizetype m_at = 0;
    bool m_inStatement = false;
    StatementScanner::Result m_result;
};

} // namespace

StatementScanner::Result StatementScanner::scan(const QString& sql, Dialect dialect)
{
    return Scanner(sql, dialect).run();
}

} // namespace bryx::host
