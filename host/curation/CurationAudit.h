#pragma once

#include <QString>
#include <QVariantMap>
#include <cstdint>

namespace bryx::host {

class Database;
struct UserSession;

// The audit rows of the curation tools' changes. Column changes go through the trail's own
// writer (on PostgreSQL the server's triggers write them instead); a merge and its taking back
// are one row of the kept name's history of their own.
namespace CurationAudit {

// The pseudo-column under which a name's history shows a merge into it.
inline constexpr const char* MergedNamesColumn = "merged_names";

// Writes a history row of `nameId` that no column change writes; answers its ID.
int32_t writeNote(Database& db, const UserSession& user, int32_t nameId, const QString& text);
void nameInserted(Database& db, const UserSession& user, int32_t nameId);
void nameDeleted(Database& db, const UserSession& user, int32_t nameId, const QVariantMap& before);
// Gives the name a new row version and the user as its last change, as a save does: a details
// window opened on it before refuses to overwrite what the tool did.
void nameTouched(Database& db, const UserSession& user, int32_t nameId);
void columnChanged(Database& db, const UserSession& user, int32_t nameId, const QString& column,
                   const QVariant& oldValue, const QVariant& newValue);

} // namespace CurationAudit

} // namespace bryx::host
