#pragma once

#include "services/CurationLog.h"
#include "services/UserSession.h"

#include <QString>
#include <cstdint>

namespace bryx::host {

class Database;

// Takes changes back: a field's old value (written as an ordinary save of the record), a merge
// (the merged names back with their IDs, values and links), a deleted name. Each refuses with
// a clear message, writing nothing, where a later change or a rule stands in the way.
class NameRestorer {
public:
    NameRestorer(Database& db, UserSession user);

    // The change is a row of the name's history: a field's change or a merge into it. Answers
    // what was done, for the user.
    QString restoreChange(int32_t auditLogId);
    QString restoreMerge(int32_t curationChangeId);
    struct Restored {
        int32_t nameId = 0;
        int establishedSet = 0; // names that rested on it and do again
        int establishedLeft = 0; // names changed since, left as they are
        int linksLeftOut = 0; // links whose reference is gone
        QString describe() const;
    };
    Restored restoreDeleted(int32_t curationChangeId);

private:
    QString restoreField(int32_t nameId, const QString& column, const QVariant& oldValue, int32_t auditLogId);
    void refuseUnlessAllowed(const char* what) const;
    // The change to take back; throws when it is of another kind or was taken back already.
    CurationLog::Change openChange(int32_t curationChangeId, CurationLog::Kind kind) const;
    // Throws when another name has this name and author, as the save's duplicate test compares them.
    void refuseDuplicate(const QString& name, const QString& author, int32_t nameId) const;

    Database& m_db;
    UserSession m_user;
};

} // namespace bryx::host
