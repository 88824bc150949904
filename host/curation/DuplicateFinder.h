#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

namespace bryx::host {

class Database;

// The rules by which stored names are found to be one name written more than once.
enum class DuplicateMode {
    SameNameAndAuthor, // as the save's duplicate test compares them
    EquivalentAuthor, // the same name, an author written another way
    SameName, // the same name, whatever the author
    SimilarSpelling, // the same genus, the rest one edit or a Latin ending apart, or a hybrid sign
};

// A name of a duplicate group, with what a curator weighs before choosing the one to keep.
struct DuplicateMember {
    qint64 id = 0;
    QString name;
    QString author;
    QChar type;
    QString category;
    QString level;
    int references = 0;
    // How many names rest on this one as their established name.
    int resting = 0;
    QString lastChanged;
    QString changedBy;
};

struct DuplicateGroup {
    std::vector<DuplicateMember> members; // by ID
};

// Finds the groups of stored names that one rule calls duplicates. Names of different types are
// never grouped: a botanical and a zoological name may be spelled alike and still be two names.
class DuplicateFinder {
public:
    explicit DuplicateFinder(Database& db);

    // Groups ordered by their first member's name; `type` ('P', 'A' or 'C') keeps to one type.
    std::vector<DuplicateGroup> find(DuplicateMode mode, std::optional<QChar> type = std::nullopt);

    // The mode a word of the command line names ("exact", "author", "name", "spelling").
    static std::optional<DuplicateMode> modeNamed(const QString& word);

private:
    struct StoredName {
        qint64 id;
        QString name;
        QString author;
        QChar type;
        QString key; // the name as names are compared
    };
    // Every name, or only those whose name key some other name has too.
    std::vector<StoredName> readNames(std::optional<QChar> type, bool onlyRepeatedKeys);
    // Index groups of `names` whose keys are equal.
    static std::vector<std::vector<size_t>> groupByKey(const std::vector<StoredName>& names,
                                                       DuplicateMode mode);
    static std::vector<std::vector<size_t>> groupBySpelling(const std::vector<StoredName>& names);
    // Fills in category, level, counts and last change of every member.
    void describe(std::vector<DuplicateGroup>& groups);

    Database& m_db;
};

} // namespace bryx::host
