#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace bryx {

class Field;

// A parsed criteria text such as "ID = 42", "Name = 'O''Neil'", "Name LIKE 'Ab*'" or
// "(A = 1 OR A = 2) AND B <> NULL", bound to the fields it names. Text comparisons ignore
// case; LIKE knows the wildcards * and %. Literals are converted once, to the type of the
// field they are compared with, so evaluating a row converts nothing.
class Criteria {
public:
    enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, IsNull, IsNotNull };

    struct Comparison {
        const Field* field = nullptr;
        Op op = Op::Equal;
        bool literalIsNull = false;
        bool hasWord = false; // literal is exactly one stored word of the field's kind
        int64_t word = 0;
        double real = 0; // literal as a number, for kinds compared numerically
        QString text; // literal as text, for text kinds
        QByteArray utf8;
        QString pattern; // case-folded LIKE pattern

        bool matches(size_t row) const;
        // Index key for an equality lookup: nullopt when the index cannot answer it,
        // an empty candidate list (noMatch) when no stored value can be equal.
        std::optional<uint64_t> indexKey(bool& noMatch) const;
    };

    using FieldResolver = std::function<const Field*(const QString& name)>;

    // Throws Error 3001 for malformed text and 3265 for an unknown field. `operation` names
    // the caller ("Find", "Filter") in error messages.
    static Criteria parse(const QString& text, const FieldResolver& resolve, const QString& operation);

    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;
    ~Criteria();

    bool matches(size_t row) const;
    // The comparison when the criteria is exactly one, else null.
    const Comparison* single() const;

    struct Node;

private:
    explicit Criteria(std::unique_ptr<Node> root);
    std::unique_ptr<Node> m_root;
};

bool likeMatch(QStringView foldedText, QStringView foldedPattern);

} // namespace bryx
