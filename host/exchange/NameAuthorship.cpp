#include "NameAuthorship.h"

#include <QStringList>

namespace bryx::host {

namespace {

const char* const AuthorParticles[] = {"de",  "da",  "del", "della", "der", "den",
                                       "van", "von", "du",  "le",    "la"};

bool startsLower(const QString& word)
{
    return !word.isEmpty() && word.front().isLower();
}

bool startsUpper(const QString& word)
{
    return !word.isEmpty() && word.front().isUpper();
}

bool isHybridSign(const QString& word)
{
    return word == QStringLiteral("×") || word == QLatin1String("x");
}

// "sp.", "subsp.", "var.", "f." and the like, in any case ("ACER SP.").
bool isRankWord(const QString& word)
{
    static const QStringList words = {"sp.",  "spp.", "ssp.",        "subsp.",   "var.", "subvar.",
                                      "f.",   "fo.",  "forma",       "subf.",    "cv.",  "agg.",
                                      "aff.", "cf.",  "nothosubsp.", "nothovar."};
    return words.contains(word, Qt::CaseInsensitive);
}

bool isSubgenus(const QString& word)
{
    if (word.size() < 4 || word.front() != u'(' || word.back() != u')' || !word.at(1).isUpper())
        return false;
    for (qsizetype i = 2; i + 1 < word.size(); ++i) {
        if (!word.at(i).isLetter())
            return false;
    }
    return true;
}

// Whether the word after the first, followed by `next`, still belongs to the name.
bool belongsToName(const QString& word, const QString& next)
{
    if (isHybridSign(word) || word.startsWith(u'\'') || word.startsWith(u'"'))
        return true;
    if (isSubgenus(word))
        return startsLower(next);
    if (isRankWord(word))
        return true;
    if (!startsLower(word))
        return false;
    // "d'Orbigny", "de Candolle": the particle of an author's name, not an epithet.
    if (word.startsWith(QLatin1String("d'")) && word.size() > 2 && word.at(2).isUpper())
        return false;
    for (const char* particle : AuthorParticles) {
        if (word == QLatin1String(particle) && startsUpper(next))
            return false;
    }
    return true;
}

QString simplified(const QString& text)
{
    return text.simplified();
}

} // namespace

NameAndAuthor withoutRepeatedAuthorship(const QString& scientificName, const QString& authorship)
{
    const QString name = simplified(scientificName);
    const QString author = simplified(authorship);
    if (!author.isEmpty() && name.size() > author.size() && name.endsWith(author)
        && name.at(name.size() - author.size() - 1) == u' ')
        return {name.left(name.size() - author.size() - 1), author};
    return {name, author};
}

NameAndAuthor splitAuthorship(const QString& scientificName, const QString& authorship)
{
    const NameAndAuthor repeated = withoutRepeatedAuthorship(scientificName, authorship);
    const QString& name = repeated.name;
    const QString& author = repeated.author;
    if (!author.isEmpty() && name.size() < simplified(scientificName).size())
        return repeated;

    const QStringList words = name.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    qsizetype nameWords = words.isEmpty() ? 0 : 1;
    // A nothogenus may be written with its sign apart ("× Triticosecale").
    if (words.size() > 1 && isHybridSign(words.front()))
        nameWords = 2;
    while (nameWords < words.size() && belongsToName(words.at(nameWords), words.value(nameWords + 1)))
        ++nameWords;
    const QString nameOnly = words.mid(0, nameWords).join(QLatin1Char(' '));
    if (!author.isEmpty())
        return {nameOnly, author}; // the name repeated the authorship in another form
    return {nameOnly, words.mid(nameWords).join(QLatin1Char(' '))};
}

} // namespace bryx::host
