#include "DuplicateRules.h"

#include "common/SqlText.h"

#include <utility>

namespace bryx::host::DuplicateRules {

namespace {

const QChar HybridSign(0x00D7);

QString withoutDiacritics(const QString& text)
{
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString plain;
    plain.reserve(decomposed.size());
    for (const QChar character : decomposed) {
        if (character.category() != QChar::Mark_NonSpacing)
            plain += character;
    }
    return plain;
}

bool isConnective(const QString& word)
{
    return word == QLatin1String("&") || word == QLatin1String("et") || word == QLatin1String("and");
}

} // namespace

QString nameKey(const QString& name)
{
    return upperCaseForSql(name);
}

QString authorKey(const QString& author)
{
    return upperCaseForSql(author);
}

QString equivalentAuthorKey(const QString& author)
{
    QString folded = withoutDiacritics(author).toCaseFolded();
    // "&" may stand without spaces ("Hook.&Arn."): it becomes a word of its own first.
    folded.replace(QLatin1Char('&'), QLatin1String(" & "));
    QString key;
    key.reserve(folded.size());
    for (const QString& word : folded.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (isConnective(word)) {
            key += QLatin1Char('&');
            continue;
        }
        for (const QChar character : word) {
            if (character != QLatin1Char('.') && character != QLatin1Char(',') && !character.isSpace())
                key += character;
        }
    }
    return key;
}

QStringList spellingWords(const QString& name)
{
    QStringList words;
    for (QString word : upperCaseForSql(name).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        // "x" alone between genus and epithet is the hybrid sign typed on a keyboard.
        if (word == QLatin1String("X") && !words.isEmpty())
            continue;
        word.remove(HybridSign);
        if (!word.isEmpty())
            words << word;
    }
    return words;
}

QString epithetStem(const QString& epithet)
{
    // Endings that stand for one another, each set marked by its own sign after the stem.
    static const std::pair<const char*, char> Endings[] = {{"II", '3'}, {"US", '1'}, {"UM", '1'}, {"IS", '2'},
                                                           {"A", '1'},  {"E", '2'},  {"I", '3'}};
    QString stem = epithet.toUpper();
    stem.replace(QLatin1String("AE"), QLatin1String("E"));
    for (const auto& [ending, set] : Endings) {
        const QLatin1String suffix(ending);
        // A stem of at least three letters: "sp." or "ea" have no ending to compare.
        if (stem.size() >= suffix.size() + 3 && stem.endsWith(suffix)) {
            stem.chop(suffix.size());
            return stem + QLatin1Char('#') + QLatin1Char(set);
        }
    }
    return stem;
}

bool oneEditApart(const QString& left, const QString& right)
{
    const qsizetype difference = left.size() - right.size();
    if (difference > 1 || difference < -1)
        return false;
    const QString& longer = difference >= 0 ? left : right;
    const QString& shorter = difference >= 0 ? right : left;
    qsizetype first = 0;
    while (first < shorter.size() && longer[first] == shorter[first])
        ++first;
    if (first == shorter.size())
        return true; // equal, or one letter appended
    // The first difference is the one edit: the rest must agree after it.
    const qsizetype skip = longer.size() == shorter.size() ? 1 : 0;
    return QStringView(longer).mid(first + 1) == QStringView(shorter).mid(first + skip);
}

} // namespace bryx::host::DuplicateRules
