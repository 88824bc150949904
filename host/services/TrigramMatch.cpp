#include "TrigramMatch.h"

#include <QStringList>
#include <string>

namespace bryx::host {

namespace {

bool isWildcard(char32_t c)
{
    return c == U'%' || c == U'_';
}

// A phrase of one trigram, quoted as the full-text query syntax quotes it.
QString phrase(const char32_t* start)
{
    QString text = QString::fromUcs4(start, TrigramMatch::TrigramLength);
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Trigrams side by side from the run's start, and one more ending where the run ends when they
// fall short of it.
void coverRun(const char32_t* run, qsizetype length, QStringList& phrases)
{
    if (length < TrigramMatch::TrigramLength)
        return;
    qsizetype at = 0;
    for (; at + TrigramMatch::TrigramLength <= length; at += TrigramMatch::TrigramLength)
        phrases << phrase(run + at);
    if (at < length)
        phrases << phrase(run + length - TrigramMatch::TrigramLength);
}

} // namespace

QString TrigramMatch::expression(const QString& likePattern)
{
    // Counted in characters, as the index's tokenizer counts them, not in UTF-16 units.
    const std::u32string characters = likePattern.toStdU32String();
    QStringList phrases;
    qsizetype runStart = 0;
    const auto length = static_cast<qsizetype>(characters.size());
    for (qsizetype i = 0; i <= length; ++i) {
        if (i == length || isWildcard(characters[i])) {
            coverRun(characters.data() + runStart, i - runStart, phrases);
            runStart = i + 1;
        }
    }
    phrases.removeDuplicates();
    return phrases.join(QLatin1Char(' '));
}

} // namespace bryx::host
