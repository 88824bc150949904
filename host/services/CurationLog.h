#pragma once

#include <QJsonObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace bryx::host {

class Database;

// The curation changes that can be taken back - a merge of duplicates into a kept name, a
// delete of a name - each with what it took away (curation_change).
class CurationLog {
public:
    enum class Kind { Merge, Delete };
    struct Change {
        int32_t id = 0;
        Kind kind = Kind::Delete;
        int32_t nameId = 0; // the kept name of a merge, the deleted name of a delete
        int32_t auditLogId = 0; // the trail's row that shows the change in the name's history
        QString changeDate;
        QString userName;
        QJsonObject snapshot;
        // Why the stored snapshot cannot be read (edited by hand, a damaged file); empty when it can.
        QString damage;
        bool restored = false;
    };

    static int32_t record(Database& db, Kind kind, int32_t nameId, int32_t auditLogId,
                          const QString& userName, const QJsonObject& snapshot);
    static std::optional<Change> load(Database& db, int32_t changeId);
    static std::optional<Change> ofAuditRow(Database& db, int32_t auditLogId);
    // Deletes not taken back yet, the latest first.
    static std::vector<Change> deletedNames(Database& db, int limit);
    static void markRestored(Database& db, int32_t changeId, const QString& userName);

private:
    static std::vector<Change> read(Database& db, const QString& condition, const QVariantList& bindings);
};

} // namespace bryx::host
