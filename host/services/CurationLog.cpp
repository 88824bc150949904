#include "CurationLog.h"

#include "db/Database.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QSqlQuery>

namespace bryx::host {

namespace {

QChar codeOf(CurationLog::Kind kind)
{
    return kind == CurationLog::Kind::Merge ? QLatin1Char('M') : QLatin1Char('D');
}

} // namespace

int32_t CurationLog::record(Database& db, Kind kind, int32_t nameId, int32_t auditLogId,
                            const QString& userName, const QJsonObject& snapshot)
{
    const int32_t id = db.nextId();
    db.exec(
        QStringLiteral("INSERT INTO curation_change (curation_change_id, change_kind, scientific_name_id, "
                       "audit_log_id, change_date, user_name, snapshot) VALUES (?, ?, ?, ?, ?, ?, ?)"),
        {id, QString(codeOf(kind)), nameId, auditLogId ? QVariant(auditLogId) : QVariant(),
         QDateTime::currentDateTimeUtc(), userName,
         QString::fromUtf8(QJsonDocument(snapshot).toJson(QJsonDocument::Compact))});
    return id;
}

std::vector<CurationLog::Change> CurationLog::read(Database& db, const QString& condition,
                                                   const QVariantList& bindings)
{
    QSqlQuery query =
        db.query(QStringLiteral(
                     "SELECT curation_change_id, change_kind, scientific_name_id, audit_log_id, change_date, "
                     "user_name, snapshot, restored_date FROM curation_change WHERE %1")
                     .arg(condition),
                 bindings, Database::Reading::Buffered);
    std::vector<Change> changes;
    while (query.next()) {
        Change change;
        change.id = query.value(0).toInt();
        change.kind = query.value(1).toString() == QLatin1String("M") ? Kind::Merge : Kind::Delete;
        change.nameId = query.value(2).toInt();
        change.auditLogId = query.value(3).toInt();
        change.changeDate = query.value(4).toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        change.userName = query.value(5).toString();
        QJsonParseError parsing {};
        const QJsonDocument snapshot = QJsonDocument::fromJson(query.value(6).toString().toUtf8(), &parsing);
        if (parsing.error != QJsonParseError::NoError)
            change.damage =
                QStringLiteral("%1 at character %2").arg(parsing.errorString()).arg(parsing.offset);
        else if (!snapshot.isObject())
            change.damage = QStringLiteral("it holds no record of the names");
        change.snapshot = snapshot.object();
        change.restored = !query.value(7).isNull();
        changes.push_back(std::move(change));
    }
    return changes;
}

std::optional<CurationLog::Change> CurationLog::load(Database& db, int32_t changeId)
{
    std::vector<Change> found = read(db, QStringLiteral("curation_change_id = ?"), {changeId});
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::optional<CurationLog::Change> CurationLog::ofAuditRow(Database& db, int32_t auditLogId)
{
    std::vector<Change> found = read(db, QStringLiteral("audit_log_id = ?"), {auditLogId});
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::vector<CurationLog::Change> CurationLog::deletedNames(Database& db, int limit)
{
    return read(db,
                QStringLiteral("change_kind = 'D' AND restored_date IS NULL ORDER BY change_date DESC, "
                               "curation_change_id DESC LIMIT %1")
                    .arg(limit),
                {});
}

void CurationLog::markRestored(Database& db, int32_t changeId, const QString& userName)
{
    db.exec(QStringLiteral("UPDATE curation_change SET restored_date = ?, restored_by = ? WHERE "
                           "curation_change_id = ?"),
            {QDateTime::currentDateTimeUtc(), userName, changeId});
}

} // namespace bryx::host
