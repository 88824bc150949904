#include "Criteria.h"

#include "CellConversion.h"
#include "Field.h"
#include "FieldIndex.h"
#include "error/Error.h"

#include <cmath>

namespace bryx {

struct Criteria::Node {
    enum class Kind { Leaf, And, Or } kind = Kind::Leaf;
    Comparison leaf;
    std::vector<std::unique_ptr<Node>> children;

    bool matches(size_t row) const
    {
        switch (kind) {
        case Kind::Leaf:
            return leaf.matches(row);
        case Kind::And:
            for (const auto& child : children) {
                if (!child->matches(row))
                    return false;
            }
            return true;
        case Kind::Or:
            for (const auto& child : children) {
                if (child->matches(row))
                    return true;
            }
            return false;
        }
        return false;
    }
};

namespace {

bool isAscii(std::string_view bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

int compareAsciiNoCase(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

template<typename T> int compareValues(T a, T b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool applyOp(Criteria::Op op, int cmp)
{
    switch (op) {
    case Criteria::Op::Equal:
        return cmp == 0;
    case Criteria::Op::NotEqual:
        return cmp != 0;
    case Criteria::Op::Less:
        return cmp < 0;
    case Criteria::Op::Greater:
        return cmp > 0;
    case Criteria::Op::LessEqual:
        return cmp <= 0;
    case Criteria::Op::GreaterEqual:
        return cmp >= 0;
    default:
        return false;
    }
}

enum class TokenKind {
    End,
    Name,
    String,
    Number,
    Date,
    Op,
    LParen,
    RParen,
    And,
    Or,
    Like,
    Is,
    Not,
    Null,
    True,
    False
};

struct Token {
    TokenKind kind = TokenKind::End;
    QString text; // name, string contents, number or date source, operator
    qsizetype position = 0;
};

class Parser {
public:
    Parser(const QString& text, const Criteria::FieldResolver& resolve, const QString& operation)
        : m_text(text)
        , m_resolve(resolve)
        , m_operation(operation)
    {
        advance();
    }

    std::unique_ptr<Criteria::Node> parseAll()
    {
        auto node = parseOr();
        if (m_token.kind != TokenKind::End)
            fail(QStringLiteral("unexpected \"%1\"").arg(m_token.text));
        return node;
    }

private:
    [[noreturn]] void fail(const QString& why, qsizetype position = -1) const
    {
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 \"%2\": %3 at position %4")
                        .arg(m_operation, m_text, why)
                        .arg((position < 0 ? m_token.position : position) + 1));
    }

    std::unique_ptr<Criteria::Node> parseOr()
    {
        auto first = parseAnd();
        if (m_token.kind != TokenKind::Or)
            return first;
        auto node = std::make_unique<Criteria::Node>();
        node->kind = Criteria::Node::Kind::Or;
        node->children.push_back(std::move(first));
        while (m_token.kind == TokenKind::Or) {
            advance();
            node->children.push_back(parseAnd());
        }
        return node;
    }

    std::unique_ptr<Criteria::Node> parseAnd()
    {
        auto first = parsePrimary();
        if (m_token.kind != TokenKind::And)
            return first;
        auto node = std::make_unique<Criteria::Node>();
        node->kind = Criteria::Node::Kind::And;
        node->children.push_back(std::move(first));
        while (m_token.kind == TokenKind::And) {
            advance();
            node->children.push_back(parsePrimary());
        }
        return node;
    }

    std::unique_ptr<Criteria::Node> parsePrimary()
    {
        if (m_token.kind == TokenKind::LParen) {
            const qsizetype open = m_token.position;
            advance();
            auto inner = parseOr();
            if (m_token.kind != TokenKind::RParen)
                fail(QStringLiteral("the parenthesis opened at position %1 is not closed").arg(open + 1));
            advance();
            return inner;
        }
        auto node = std::make_unique<Criteria::Node>();
        node->leaf = parseComparison();
        return node;
    }

    Criteria::Comparison parseComparison()
    {
        if (m_token.kind != TokenKind::Name)
            fail(m_token.kind == TokenKind::End
                     ? QStringLiteral("a field name is missing")
                     : QStringLiteral("expected a field name, found \"%1\"").arg(m_token.text));
        Criteria::Comparison comparison;
        comparison.field = m_resolve(m_token.text);
        if (!comparison.field)
            throw Error(ErrorNumber::ItemNotFound,
                        QStringLiteral("%1 \"%2\": the recordset has no field named \"%3\"")
                            .arg(m_operation, m_text, m_token.text));
        advance();

        if (m_token.kind == TokenKind::Is) {
            advance();
            bool negated = false;
            if (m_token.kind == TokenKind::Not) {
                negated = true;
                advance();
            }
            if (m_token.kind != TokenKind::Null)
                fail(QStringLiteral("expected NULL after IS"));
            advance();
            comparison.op = negated ? Criteria::Op::IsNotNull : Criteria::Op::IsNull;
            return comparison;
        }

        const QString opText = m_token.text;
        const qsizetype opPosition = m_token.position;
        if (m_token.kind == TokenKind::Like)
            comparison.op = Criteria::Op::Like;
        else if (m_token.kind == TokenKind::Op)
            comparison.op = opFromText(opText);
        else
            fail(m_token.kind == TokenKind::End
                     ? QStringLiteral("a comparison operator is missing after \"%1\"")
                           .arg(comparison.field->Name())
                     : QStringLiteral("expected a comparison operator, found \"%1\"").arg(m_token.text));
        advance();

        const Token literal = m_token;
        switch (literal.kind) {
        case TokenKind::String:
        case TokenKind::Number:
        case TokenKind::Date:
        case TokenKind::Null:
        case TokenKind::True:
        case TokenKind::False:
            break;
        case TokenKind::End:
            fail(QStringLiteral("a value is missing after \"%1\"").arg(opText), opPosition);
        default:
            fail(QStringLiteral("expected a value after \"%1\", found \"%2\"").arg(opText, literal.text));
        }
        advance();
        prepareLiteral(comparison, literal);
        return comparison;
    }

    Criteria::Op opFromText(const QString& op) const
    {
        if (op == QLatin1String("="))
            return Criteria::Op::Equal;
        if (op == QLatin1String("<>") || op == QLatin1String("!="))
            return Criteria::Op::NotEqual;
        if (op == QLatin1String("<"))
            return Criteria::Op::Less;
        if (op == QLatin1String(">"))
            return Criteria::Op::Greater;
        if (op == QLatin1String("<="))
            return Criteria::Op::LessEqual;
        if (op == QLatin1String(">="))
            return Criteria::Op::GreaterEqual;
        fail(QStringLiteral("unknown operator \"%1\"").arg(op));
    }

    static QString literalText(const Token& literal)
    {
        switch (literal.kind) {
        case TokenKind::True:
            return QStringLiteral("True");
        case TokenKind::False:
            return QStringLiteral("False");
        default:
            return literal.text;
        }
    }

    void prepareLiteral(Criteria::Comparison& c, const Token& literal) const
    {
        if (literal.kind == TokenKind::Null) {
            if (c.op != Criteria::Op::Equal && c.op != Criteria::Op::NotEqual)
                fail(QStringLiteral("NULL can only be compared with = or <>"), literal.position);
            c.literalIsNull = true;
            return;
        }
        const QString text = literalText(literal);
        if (c.op == Criteria::Op::Like) {
            c.pattern = text.toCaseFolded();
            return;
        }
        const Column& column = c.field->column();
        const QString& fieldName = c.field->Name();
        auto notA = [&](const QString& what) {
            fail(QStringLiteral("\"%1\" is not %2, which field \"%3\" holds").arg(text, what, fieldName),
                 literal.position);
        };
        switch (column.kind()) {
        case StorageKind::Text:
        case StorageKind::Binary:
            c.text = text;
            c.utf8 = text.toUtf8();
            return;
        case StorageKind::Date: {
            std::optional<int64_t> ms;
            if (literal.kind == TokenKind::Number)
                ms = cell::oleDaysToMs(text.toDouble());
            else if (literal.kind == TokenKind::Date || literal.kind == TokenKind::String)
                ms = cell::parseDateText(text);
            if (!ms)
                notA(QStringLiteral("a date"));
            c.hasWord = true;
            c.word = *ms;
            c.real = double(*ms);
            return;
        }
        case StorageKind::Boolean: {
            if (literal.kind == TokenKind::True || literal.kind == TokenKind::False) {
                c.word = literal.kind == TokenKind::True ? 1 : 0;
            } else if (const auto number = cell::parseNumberText(text)) {
                c.word = (number->isInteger ? number->integer != 0 : number->real != 0.0) ? 1 : 0;
            } else if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) {
                c.word = 1;
            } else if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) {
                c.word = 0;
            } else {
                notA(QStringLiteral("True or False"));
            }
            c.hasWord = true;
            c.real = double(c.word);
            return;
        }
        case StorageKind::Integer:
        case StorageKind::Real:
        case StorageKind::Currency: {
            std::optional<cell::Number> number;
            if (literal.kind == TokenKind::True || literal.kind == TokenKind::False)
                number = cell::Number {true, literal.kind == TokenKind::True ? -1 : 0,
                                       literal.kind == TokenKind::True ? -1.0 : 0.0};
            else if (literal.kind != TokenKind::Date)
                number = cell::parseNumberText(text);
            if (!number)
                notA(QStringLiteral("a number"));
            c.real = number->isInteger ? double(number->integer) : number->real;
            if (column.kind() == StorageKind::Integer && number->isInteger) {
                c.hasWord = true;
                c.word = number->integer;
            } else if (column.kind() == StorageKind::Currency) {
                const double scaled = c.real * 10000.0;
                if (std::nearbyint(scaled) == scaled && std::fabs(scaled) < 9.2e18) {
                    c.hasWord = true;
                    c.word = static_cast<int64_t>(scaled);
                }
            }
            return;
        }
        }
    }

    void advance()
    {
        const qsizetype n = m_text.size();
        while (m_pos < n && m_text.at(m_pos).isSpace())
            ++m_pos;
        m_token = Token {};
        m_token.position = m_pos;
        if (m_pos >= n)
            return;
        const QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('(') || c == QLatin1Char(')')) {
            m_token.kind = c == QLatin1Char('(') ? TokenKind::LParen : TokenKind::RParen;
            m_token.text = c;
            ++m_pos;
            return;
        }
        if (c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')
            || c == QLatin1Char('!')) {
            qsizetype end = m_pos + 1;
            if (end < n
                && (m_text.at(end) == QLatin1Char('=')
                    || (c == QLatin1Char('<') && m_text.at(end) == QLatin1Char('>'))))
                ++end;
            m_token.kind = TokenKind::Op;
            m_token.text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
            if (m_token.text == QLatin1String("!"))
                fail(QStringLiteral("unknown operator \"!\""));
            return;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            readQuoted(c);
            return;
        }
        if (c == QLatin1Char('#')) {
            const qsizetype close = m_text.indexOf(QLatin1Char('#'), m_pos + 1);
            if (close < 0)
                fail(QStringLiteral("the date opened with # is not closed"));
            m_token.kind = TokenKind::Date;
            m_token.text = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return;
        }
        if (c == QLatin1Char('[')) {
            const qsizetype close = m_text.indexOf(QLatin1Char(']'), m_pos + 1);
            if (close < 0)
                fail(QStringLiteral("the field name opened with [ is not closed"));
            m_token.kind = TokenKind::Name;
            m_token.text = m_text.mid(m_pos + 1, close - m_pos - 1);
            m_pos = close + 1;
            return;
        }
        if (c.isDigit() || c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('.')) {
            qsizetype end = m_pos + 1;
            while (end < n
                   && (m_text.at(end).isDigit() || m_text.at(end) == QLatin1Char('.')
                       || m_text.at(end) == QLatin1Char('e') || m_text.at(end) == QLatin1Char('E')
                       || ((m_text.at(end) == QLatin1Char('-') || m_text.at(end) == QLatin1Char('+'))
                           && (m_text.at(end - 1) == QLatin1Char('e')
                               || m_text.at(end - 1) == QLatin1Char('E')))))
                ++end;
            m_token.kind = TokenKind::Number;
            m_token.text = m_text.mid(m_pos, end - m_pos);
            m_pos = end;
            if (!cell::parseNumberText(m_token.text))
                fail(QStringLiteral("\"%1\" is not a number").arg(m_token.text));
            return;
        }
        qsizetype end = m_pos;
        while (end < n) {
            const QChar ch = m_text.at(end);
            if (ch.isSpace() || ch == QLatin1Char('=') || ch == QLatin1Char('<') || ch == QLatin1Char('>')
                || ch == QLatin1Char('!') || ch == QLatin1Char('(') || ch == QLatin1Char(')')
                || ch == QLatin1Char('\'') || ch == QLatin1Char('"') || ch == QLatin1Char('#'))
                break;
            ++end;
        }
        m_token.text = m_text.mid(m_pos, end - m_pos);
        m_pos = end;
        m_token.kind = keywordKind(m_token.text);
    }

    void readQuoted(QChar quote)
    {
        QString value;
        qsizetype i = m_pos + 1;
        const qsizetype n = m_text.size();
        while (true) {
            if (i >= n)
                fail(QStringLiteral("the text opened with %1 is not closed").arg(quote));
            if (m_text.at(i) == quote) {
                if (i + 1 < n && m_text.at(i + 1) == quote) {
                    value += quote;
                    i += 2;
                    continue;
                }
                break;
            }
            value += m_text.at(i++);
        }
        m_token.kind = TokenKind::String;
        m_token.text = value;
        m_pos = i + 1;
    }

    static TokenKind keywordKind(const QString& word)
    {
        static const std::pair<const char*, TokenKind> keywords[] = {
            {"AND", TokenKind::And},   {"OR", TokenKind::Or},       {"LIKE", TokenKind::Like},
            {"IS", TokenKind::Is},     {"NOT", TokenKind::Not},     {"NULL", TokenKind::Null},
            {"TRUE", TokenKind::True}, {"FALSE", TokenKind::False},
        };
        for (const auto& [keyword, kind] : keywords) {
            if (word.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0)
                return kind;
        }
        return TokenKind::Name;
    }

    const QString& m_text;
    const Criteria::FieldResolver& m_resolve;
    const QString& m_operation;
    qsizetype m_pos = 0;
    Token m_token;
};

} // namespace

bool Criteria::Comparison::matches(size_t row) const
{
    const Column& column = field->column();
    const bool cellIsNull = column.isNull(row);
    if (op == Op::IsNull)
        return cellIsNull;
    if (op == Op::IsNotNull)
        return !cellIsNull;
    if (literalIsNull)
        return op == Op::Equal ? cellIsNull : !cellIsNull;
    if (cellIsNull)
        return false;
    if (op == Op::Like)
        return likeMatch(field->textAt(row).toCaseFolded(), pattern);

    int cmp = 0;
    switch (column.kind()) {
    case StorageKind::Text:
    case StorageKind::Binary: {
        const std::string_view bytes = column.bytes(row);
        if (isAscii(bytes) && isAscii(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()))))
            cmp = compareAsciiNoCase(bytes,
                                     std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
        else
            cmp = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()))
                      .compare(text, Qt::CaseInsensitive);
        break;
    }
    case StorageKind::Real:
        cmp = compareValues(column.real(row), real);
        break;
    case StorageKind::Currency:
        cmp = hasWord ? compareValues(column.word(row), word)
                      : compareValues(double(column.word(row)) / 10000.0, real);
        break;
    default:
        cmp = hasWord ? compareValues(column.word(row), word) : compareValues(double(column.word(row)), real);
        break;
    }
    return applyOp(op, cmp < 0 ? -1 : (cmp > 0 ? 1 : 0));
}

std::optional<uint64_t> Criteria::Comparison::indexKey(bool& noMatch) const
{
    noMatch = false;
    if (op != Op::Equal || literalIsNull)
        return std::nullopt;
    switch (field->column().kind()) {
    case StorageKind::Text:
    case StorageKind::Binary:
        return FieldIndex::keyOfText(text);
    case StorageKind::Real:
        return FieldIndex::keyOfReal(real);
    default:
        if (!hasWord)
            noMatch = true;
        return static_cast<uint64_t>(word);
    }
}

Criteria Criteria::parse(const QString& text, const FieldResolver& resolve, const QString& operation)
{
    if (text.trimmed().isEmpty())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1: the criteria text is empty").arg(operation));
    Parser parser(text, resolve, operation);
    return Criteria(parser.parseAll());
}

Criteria::Criteria(std::unique_ptr<Node> root)
    : m_root(std::move(root))
{
}

Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;
Criteria::~Criteria() = default;

bool Criteria::matches(size_t row) const
{
    return m_root->matches(row);
}

const Criteria::Comparison* Criteria::single() const
{
    return m_root->kind == Node::Kind::Leaf ? &m_root->leaf : nullptr;
}

bool likeMatch(QStringView text, QStringView pattern)
{
    // Iterative wildcard match with single-point backtracking: linear for patterns with one
    // star, and never exponential.
    qsizetype t = 0, p = 0, starP = -1, starT = 0;
    auto isStar = [](QChar c) { return c == QLatin1Char('*') || c == QLatin1Char('%'); };
    while (t < text.size()) {
        if (p < pattern.size() && isStar(pattern[p])) {
            starP = p++;
            starT = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && isStar(pattern[p]))
        ++p;
    return p == pattern.size();
}

} // namespace bryx
