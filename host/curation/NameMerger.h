#pragma once

#include "services/UserSession.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <vector>

namespace bryx::host {

class Database;

// What a merge will do, worked out before anything is written; the merge itself refuses to go
// on when any of these names changed after it.
struct MergePreview {
    int32_t keepId = 0;
    std::vector<int32_t> duplicateIds;
    QString keptName; // "Abies alba Mill. (ID 1001)"
    QStringList duplicateNames;
    int linksMoved = 0;
    int linksDropped = 0; // the kept name has their reference already
    int originalsCleared = 0; // moved, but the kept name keeps its own original publication
    int namesRepointed = 0;
    bool keptEstablishedCleared = false; // the kept name rested on a duplicate
    std::map<int32_t, int32_t> rowVersions; // of the kept name and the duplicates

    QString describe() const;
};

// Merges duplicate names into the one the curator keeps: their reference links move to it
// (no reference twice, one original publication), the names resting on them rest on it, and
// they are deleted - in one transaction with its audit rows and what it takes to undo it.
class NameMerger {
public:
    NameMerger(Database& db, UserSession user);

    // Throws bryx::Error saying what is wrong: a name merged with itself, a name that does
    // not exist, names of different types, a user who may not merge.
    MergePreview preview(int32_t keepId, const std::vector<int32_t>& duplicateIds);
    // Answers the curation change that can take it back. Throws bryx::Error, writing nothing,
    // when a name changed or vanished since the preview.
    int32_t merge(const MergePreview& preview);

private:
    struct Name {
        int32_t id;
        QString name;
        QString author;
        QString type;
        int32_t rowVersion;
        QString changedBy;
    };
    std::map<int32_t, Name> readNames(const std::vector<int32_t>& ids, bool locking);
    void refuseUnlessAllowed() const;

    Database& m_db;
    UserSession m_user;
};

QString describeName(const QString& name, const QString& author, int32_t id);

} // namespace bryx::host
