#include "AuthorshipSplitter.h"

#include "WordMatch.h"

namespace bryx::host {

namespace {

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
    return word == QStringLiteral("×") || word == QLatin1String("x") || word == QLatin1String("X");
}

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"' || c == u'‘' || c == u'’' || c == u'“' || c == u'”';
}

// Markers of ranks below the species, and the placeholders written like them ("Acer sp.").
bool isInfraspecificMarker(const QString& word)
{
    return isOneOf(word, {"subsp.",    "ssp.",    "subsp",     "var.",  "var",      "subvar.",
                          "f.",        "fo.",     "forma",     "subf.", "subforma", "nothosubsp.",
                          "nothovar.", "nothof.", "nothossp.", "cv.",   "convar.",  "prol.",
                          "lusus",     "grex",    "sp.",       "spp.",  "sp",       "agg."});
}

// Markers of ranks between genus and species, and above: the word after them is a capitalised
// name ("Abies sect. Abies").
bool isSupraspecificMarker(const QString& word)
{
    return isOneOf(word,
                   {"subgen.", "subg.", "sect.", "subsect.", "ser.", "subser.", "trib.", "subtrib.",
                    "supertrib.", "subfam.", "fam.", "div.", "subdiv.", "gen.", "nothosect.",
                    "nothosubgen."});
}

// Words that qualify a name rather than credit it.
bool isNameQualifier(const QString& word)
{
    return isOneOf(word,
                   {"cf.", "aff.", "s.l.", "s.lat.", "s.str.", "s.s.", "s.ampl.", "s.latiss.", "nothosp."});
}

// Words that only an authorship holds: they start it wherever they stand.
bool isAuthorWord(const QString& word)
{
    return isOneOf(word, {"ex",  "in",   "apud",   "sensu", "auct.", "auct", "auctt.", "auctor.",
                          "non", "nec",  "emend.", "emend", "hort.", "hort", "et",     "&",
                          "and", "fide", "teste",  "nom.",  "comb.", "p.p.", "pro",    "s.n."});
}

// The lower-case particles of authors' names.
bool isParticle(const QString& word)
{
    return isOneOf(word, {"de",  "da",  "dal", "dalla", "del", "della", "delle", "dem", "den",
                          "der", "des", "di",  "do",    "dos", "du",    "la",    "le",  "lo",
                          "ten", "ter", "van", "von",   "v",   "v.",    "zu",    "y",   "'t"});
}

// "d'Orbigny", "d’Urville": an author; "d'urvilleana" is an epithet.
bool isElidedParticle(const QString& word)
{
    return word.size() > 2 && (word.front() == u'd' || word.front() == u'D') && isQuote(word.at(1))
        && word.at(2).isUpper();
}

bool isSubgenus(const QString& word)
{
    if (word.size() < 4 || word.front() != u'(' || word.back() != u')' || !word.at(1).isUpper())
        return false;
    for (qsizetype i = 2; i + 1 < word.size(); ++i) {
        if (!word.at(i).isLetter() && word.at(i) != u'-')
            return false;
    }
    return true;
}

} // namespace

AuthorshipSplitter::AuthorshipSplitter(QStringList words)
    : m_words(std::move(words))
{
    scan();
}

bool AuthorshipSplitter::belongsToName(qsizetype at) const
{
    const QString& word = m_words.at(at);
    if (isAuthorWord(word) || isElidedParticle(word))
        return false;
    if (isParticle(word)) {
        // "de Candolle", "van der Meer": particles, then the name they belong to.
        qsizetype next = at + 1;
        while (next < m_words.size() && isParticle(m_words.at(next)))
            ++next;
        if (next < m_words.size() && (startsUpper(m_words.at(next)) || isElidedParticle(m_words.at(next))))
            return false;
    }
    return startsLower(word) || isNameQualifier(word) || isInfraspecificMarker(word);
}

void AuthorshipSplitter::scan()
{
    const qsizetype count = m_words.size();
    if (count == 0)
        return;
    qsizetype at = 1;
    // A nothogenus may be written with its sign apart ("× Triticosecale").
    if (count > 1 && isHybridSign(m_words.front()))
        at = 2;
    const qsizetype subgenusAt = at;
    while (at < count) {
        const QString& word = m_words.at(at);
        if (isHybridSign(word) || word.startsWith(QStringLiteral("×"))) {
            // The sign joins what follows it to the name, a genus of a formula too.
            at += isHybridSign(word) && at + 1 < count ? 2 : 1;
            continue;
        }
        if (isQuote(word.front())) {
            // A cultivar epithet, which may run over several words: 'Red Sunset'.
            while (at < count && !(m_words.at(at).size() > 1 && isQuote(m_words.at(at).back())))
                ++at;
            at = std::min(at + 1, count);
            continue;
        }
        if (at == subgenusAt && isSubgenus(word)) {
            ++at;
            continue;
        }
        if (isSupraspecificMarker(word)) {
            at = std::min(at + 2, count);
            continue;
        }
        if (isOneOf(word, {"sensu", "s."}) && at + 1 < count
            && isOneOf(m_words.at(at + 1), {"lato", "stricto", "latiore", "l.", "str.", "lat."})) {
            at += 2;
            continue;
        }
        if (!belongsToName(at))
            break;
        ++at;
    }
    m_nameWords = at;
    m_resumeAt = resumedNameAt(at);
    if (m_resumeAt < 0)
        return;
    qsizetype end = m_resumeAt + 2;
    while (end < count && belongsToName(end))
        ++end;
    m_resumedWords = end - m_resumeAt;
}

qsizetype AuthorshipSplitter::resumedNameAt(qsizetype from) const
{
    for (qsizetype at = from + 1; at + 1 < m_words.size(); ++at) {
        const QString& word = m_words.at(at);
        if (isInfraspecificMarker(word) && !isOneOf(word, {"sp.", "spp.", "sp", "agg.", "cv."})
            && startsLower(m_words.at(at + 1)) && !isAuthorWord(m_words.at(at + 1))
            && !isParticle(m_words.at(at + 1)))
            return at;
    }
    return -1;
}

NameAndAuthor AuthorshipSplitter::withoutRepeated(const QString& scientificName, const QString& authorship)
{
    const QString name = scientificName.simplified();
    const QString author = authorship.simplified();
    if (!author.isEmpty() && name.size() > author.size() && name.endsWith(author)
        && name.at(name.size() - author.size() - 1) == u' ')
        return {name.left(name.size() - author.size() - 1), author};
    return {name, author};
}

NameAndAuthor AuthorshipSplitter::split(const QString& scientificName, const QString& authorship)
{
    const NameAndAuthor repeated = withoutRepeated(scientificName, authorship);
    if (!repeated.author.isEmpty() && repeated.name.size() < scientificName.simplified().size())
        return repeated;
    const AuthorshipSplitter splitter(repeated.name.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const QStringList& words = splitter.m_words;
    QStringList name = words.mid(0, splitter.m_nameWords);
    QString author;
    if (splitter.m_resumeAt < 0) {
        author = words.mid(splitter.m_nameWords).join(QLatin1Char(' '));
    } else {
        name += words.mid(splitter.m_resumeAt, splitter.m_resumedWords);
        author = words.mid(splitter.m_resumeAt + splitter.m_resumedWords).join(QLatin1Char(' '));
    }
    // A name that repeats its authorship column in another form keeps the column's.
    return {name.join(QLatin1Char(' ')), repeated.author.isEmpty() ? author : repeated.author};
}

} // namespace bryx::host
