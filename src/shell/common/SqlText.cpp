#include "SqlText.h"

#include <QList>

namespace bryx {

QString doubledQuotes(const QString& text)
{
    return QString(text).replace(QLatin1Char('\''), QLatin1String("''"));
}

QString upperCaseForSql(const QString& text)
{
    QString upper;
    upper.reserve(text.size());
    for (const char32_t codePoint : text.toUcs4()) {
        const char32_t mapped = QChar::toUpper(codePoint);
        if (QChar::requiresSurrogates(mapped)) {
            upper += QChar(QChar::highSurrogate(mapped));
            upper += QChar(QChar::lowSurrogate(mapped));
        } else {
            upper += QChar(static_cast<char16_t>(mapped));
        }
    }
    return upper;
}

} // namespace bryx
