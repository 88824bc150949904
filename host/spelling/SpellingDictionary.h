#pragma once

#include "NameVocabulary.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

class Hunspell;

namespace bryx::host {

// What counts as a correct word: an English dictionary of Hunspell, the words of the stored
// scientific names (Latin, which no dictionary ships) and the user's own word list, which
// outlives the session. Suggestions come from all three.
class SpellingDictionary {
public:
    // The language dictionary's two files (".aff" and ".dic") and the user's word list, which
    // need not exist yet. Throws when the dictionary cannot be read.
    SpellingDictionary(const QString& affixFile, const QString& dictionaryFile, QString userWordsFile);
    ~SpellingDictionary();
    SpellingDictionary(const SpellingDictionary&) = delete;
    SpellingDictionary& operator=(const SpellingDictionary&) = delete;

    // The English dictionary as Debian installs it ("hunspell-en-us").
    static QString systemAffixFile();
    static QString systemDictionaryFile();
    // The user's word list under the application's configuration folder.
    static QString defaultUserWordsFile();

    bool isCorrect(const QString& word) const;
    QStringList suggestions(const QString& word) const;

    // Accepts the names' words for the session, and suggests from them first.
    void setVocabulary(NameVocabulary vocabulary) { m_vocabulary = std::move(vocabulary); }
    void addVocabulary(const QStringList& words);
    // Accepts the word from now on, in this session and the ones after it.
    void addUserWord(const QString& word);

private:
    std::unique_ptr<Hunspell> m_hunspell;
    NameVocabulary m_vocabulary;
    QString m_userWordsFile;
};

} // namespace bryx::host
