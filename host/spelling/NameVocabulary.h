#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <memory>
#include <vector>

namespace bryx::host {

class Database;

// Every word of the scientific names stored in the database, once each: genera, epithets, the
// words of association names. Rank marks ("subsp.", "var.") count as words too, without
// their point. Latin has no dictionary to check against, so these words are the checker's:
// a word is known when it is one of them, and a misspelt word is offered those one or two
// letters away from it.
class NameVocabulary {
public:
    NameVocabulary() = default;
    NameVocabulary(const NameVocabulary&) = delete;
    NameVocabulary& operator=(const NameVocabulary&) = delete;
    NameVocabulary(NameVocabulary&&) = default;
    NameVocabulary& operator=(NameVocabulary&&) = default;

    static NameVocabulary load(Database& db);
    // The words of one name as the vocabulary takes them.
    static QStringList wordsOf(const QString& name);

    void add(QStringView word);
    qsizetype size() const { return m_index.size(); }
    // As written, or with its first letter in lower case (a word that opens a sentence).
    bool contains(QStringView word) const;
    // Known words one edit away (a letter left out, added, changed or two swapped), else two;
    // at most `limit`, in alphabetical order.
    QStringList nearWords(const QString& word, int limit = 5) const;

private:
    // The words themselves; the index points into them, so they never move once made.
    std::vector<std::unique_ptr<QString>> m_words;
    QSet<QStringView> m_index;
};

} // namespace bryx::host
