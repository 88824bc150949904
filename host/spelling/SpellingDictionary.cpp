#include "SpellingDictionary.h"

#include "error/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <hunspell/hunspell.hxx>

namespace bryx::host {

namespace {

// The letters of a word in order, case ignored: equal for words that differ in order only.
QString lettersOf(const QString& word)
{
    QString letters = word.toLower();
    std::sort(letters.begin(), letters.end());
    return letters;
}

std::string utf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

SpellingDictionary::SpellingDictionary(const QString& affixFile, const QString& dictionaryFile,
                                       QString userWordsFile)
    : m_userWordsFile(std::move(userWordsFile))
{
    if (!QFileInfo::exists(affixFile) || !QFileInfo::exists(dictionaryFile))
        throw Error(
            ErrorNumber::FileNotFound,
            QStringLiteral("The spelling dictionary %1 is not installed (Debian package hunspell-en-us)")
                .arg(dictionaryFile));
    m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(affixFile).constData(),
                                            QFile::encodeName(dictionaryFile).constData());
    QFile words(m_userWordsFile);
    if (words.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&words);
        while (!in.atEnd()) {
            const QString word = in.readLine().trimmed();
            if (!word.isEmpty())
                m_hunspell->add(utf8(word));
        }
    }
}

SpellingDictionary::~SpellingDictionary() = default;

QString SpellingDictionary::systemAffixFile()
{
    return QStringLiteral("/usr/share/hunspell/en_US.aff");
}

QString SpellingDictionary::systemDictionaryFile()
{
    return QStringLiteral("/usr/share/hunspell/en_US.dic");
}

QString SpellingDictionary::defaultUserWordsFile()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/spelling-words.txt");
}

bool SpellingDictionary::isCorrect(const QString& word) const
{
    return m_vocabulary.contains(word) || m_hunspell->spell(utf8(word));
}

QStringList SpellingDictionary::suggestions(const QString& word) const
{
    QStringList found = m_vocabulary.nearWords(word);
    for (const std::string& suggestion : m_hunspell->suggest(utf8(word))) {
        const QString english = QString::fromStdString(suggestion);
        if (!found.contains(english))
            found << english;
    }
    // Letters typed in the wrong order are the commonest slip ("Teh"): a suggestion with the
    // same letters as the word comes first.
    std::stable_partition(found.begin(), found.end(), [key = lettersOf(word)](const QString& suggestion) {
        return lettersOf(suggestion) == key;
    });
    return found;
}

void SpellingDictionary::addVocabulary(const QStringList& words)
{
    for (const QString& word : words)
        m_vocabulary.add(word);
}

void SpellingDictionary::addUserWord(const QString& word)
{
    m_hunspell->add(utf8(word));
    QDir().mkpath(QFileInfo(m_userWordsFile).absolutePath());
    QFile words(m_userWordsFile);
    if (!words.open(QIODevice::Append | QIODevice::Text))
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("The word list %1 cannot be written: %2")
                        .arg(m_userWordsFile, words.errorString()));
    QTextStream(&words) << word << '\n';
}

} // namespace bryx::host
