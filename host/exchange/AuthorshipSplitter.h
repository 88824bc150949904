#pragma once

#include <QString>
#include <QStringList>

namespace bryx::host {

// A scientific name and its authorship as the database keeps them: apart.
struct NameAndAuthor {
    QString name;
    QString author;
};

// Takes a checklist's scientific name and its authorship apart where the checklist writes them
// together ("Abies alba Mill.", "Vulpes vulpes (Linnaeus, 1758)", "Fagion sylvaticae Luquet
// 1926"). The name is its first word and every word after it that belongs to a name: lower-case
// epithets, hybrid signs and the words they join, rank markers (with the word they introduce,
// "sect. Abies"), a subgenus in brackets after the genus, quoted cultivar epithets, "cf.",
// "agg.", "s.l.". The authorship starts at the first other word: a capital, a bracket, a year,
// an author's particle before a capital ("de Candolle", "van der Meer", "d'Orbigny"), or one of
// the words that only authorships hold ("ex", "in", "apud", "sensu", "auct.", "non", "hort.").
// An infraspecific part after the species' own authorship ("Quercus robur L. subsp. broteroana
// O.Schwarz") continues the name, and the species' authorship is left out.
class AuthorshipSplitter {
public:
    static NameAndAuthor split(const QString& scientificName, const QString& authorship);
    // The name as written, less the authorship when it is repeated at its end: for packages
    // that give every name's authorship in a column of its own.
    static NameAndAuthor withoutRepeated(const QString& scientificName, const QString& authorship);

private:
    explicit AuthorshipSplitter(QStringList words);
    // How many of the words are the name, and where an infraspecific part resumes it.
    void scan();
    bool belongsToName(qsizetype at) const;
    // Where an infraspecific marker and its epithet follow the authorship, if one does.
    qsizetype resumedNameAt(qsizetype from) const;

    QStringList m_words;
    qsizetype m_nameWords = 0;
    qsizetype m_resumeAt = -1; // the marker that continues the name after an authorship
    qsizetype m_resumedWords = 0;
};

} // namespace bryx::host
