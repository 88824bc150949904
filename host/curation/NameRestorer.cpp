#include "NameRestorer.h"

#include "CurationAudit.h"
#include "DuplicateRules.h"
#include "MergePlan.h"
#include "NameHistory.h"
#include "NameMerger.h"
#include "data/SqlScientificNameRecord.h"
#include "db/Database.h"
#include "error/Error.h"
#include "services/CurationLog.h"
#include "services/NameSnapshot.h"
#include "services/ServerRegistry.h"
#include "services/SqlAppManager.h"

#include <QJsonArray>
#include <QSqlQuery>

namespace bryx::host {

namespace {

Error refusal(const QString& text)
{
    return Error(ErrorNumber::InvalidArgument, text);
}

const RecordField* fieldOfColumn(const QString& column)
{
    for (size_t i = 0; i < ScientificNameFieldCount; ++i) {
        if (column.compare(QLatin1String(ScientificNameFields[i].column), Qt::CaseInsensitive) == 0)
            return &ScientificNameFields[i];
    }
    return nullptr;
}

QString shown(const QVariant& value)
{
    return value.isNull() || value.toString().isEmpty() ? QStringLiteral("(empty)")
                                                        : QStringLiteral("\"%1\"").arg(value.toString());
}

} // namespace

QString NameRestorer::Restored::describe() const
{
    QString text = QStringLiteral("Name ID %1 is back").arg(nameId);
    if (establishedSet + establishedLeft > 0)
        text += QStringLiteral("; %1 name(s) rest on it again, %2 changed since were left as they are")
                    .arg(establishedSet)
                    .arg(establishedLeft);
    if (linksLeftOut > 0)
        text += QStringLiteral("; %1 reference link(s) were left out, as their reference is gone")
                    .arg(linksLeftOut);
    return text + QLatin1Char('.');
}

NameRestorer::NameRestorer(Database& db, UserSession user)
    : m_db(db)
    , m_user(std::move(user))
{
}

void NameRestorer::refuseUnlessAllowed(const char* what) const
{
    if (!m_user.maySave)
        throw refusal(QStringLiteral("%1 may not %2: this user's role does not allow changing names")
                          .arg(m_user.loginName, QLatin1String(what)));
}

void NameRestorer::refuseDuplicate(const QString& name, const QString& author, int32_t nameId) const
{
    const QString key = m_db.dialect() == Dialect::SQLite ? QStringLiteral("scientific_name_key")
                                                          : QStringLiteral("upper(scientific_name)");
    QSqlQuery same =
        m_db.query(QStringLiteral("SELECT scientific_name_id, author_name FROM scientific_name WHERE "
                                  "%1 = ? AND scientific_name_id <> ?")
                       .arg(key),
                   {DuplicateRules::nameKey(name), nameId}, Database::Reading::Buffered);
    const QString authorKey = DuplicateRules::authorKey(author);
    while (same.next()) {
        if (DuplicateRules::authorKey(same.value(1).toString()) == authorKey)
            throw refusal(QStringLiteral("%1 is stored already as ID %2; restoring would make it a duplicate "
                                         "name. Nothing was changed")
                              .arg(describeName(name, author, nameId).section(QLatin1String(" (ID"), 0, 0))
                              .arg(same.value(0).toInt()));
    }
}

QString NameRestorer::restoreChange(int32_t auditLogId)
{
    refuseUnlessAllowed("restore a change");
    QSqlQuery row =
        m_db.query(QStringLiteral("SELECT primary_key, action, column_name, old_value, upper(table_name) "
                                  "FROM audit_log WHERE audit_log_id = ?"),
                   {auditLogId}, Database::Reading::Buffered);
    if (!row.next() || row.value(4).toString() != QLatin1String("SCIENTIFIC_NAME"))
        throw refusal(QStringLiteral("Change %1 is no change of a scientific name").arg(auditLogId));
    const int32_t nameId = row.value(0).toInt();
    const QString column = row.value(2).toString().toLower();
    if (column == QLatin1String(CurationAudit::MergedNamesColumn)) {
        const auto change = CurationLog::ofAuditRow(m_db, auditLogId);
        if (!change)
            throw refusal(QStringLiteral("Change %1 records the taking back of a merge; to merge the names "
                                         "again, merge them anew")
                              .arg(auditLogId));
        return restoreMerge(change->id);
    }
    if (row.value(1).toString() != QLatin1String("U") || column.isEmpty())
        throw refusal(
            QStringLiteral("Change %1 is no change of a field; a deleted name comes back through File > "
                           "Recently Deleted Names")
                .arg(auditLogId));
    return restoreField(nameId, column, row.value(3), auditLogId);
}

QString NameRestorer::restoreField(int32_t nameId, const QString& column, const QVariant& oldValue,
                                   int32_t auditLogId)
{
    refuseUnlessAllowed("restore a field");
    const RecordField* field = fieldOfColumn(column);
    if (!field)
        throw refusal(QStringLiteral("The %1 is no field of the record and cannot be restored").arg(column));
    // What the change made of the field: the next change's old value, else what is stored. The
    // field must hold it still; a later change that a restore took back again does not count.
    QSqlQuery next =
        m_db.query(QStringLiteral("SELECT old_value FROM audit_log WHERE table_name = "
                                  "'SCIENTIFIC_NAME' AND primary_key = ? AND lower(column_name) = ? "
                                  "AND audit_log_id > ? ORDER BY audit_log_id"),
                   {nameId, column, auditLogId}, Database::Reading::Buffered);
    const bool changedLater = next.next();
    const QVariant madeOf = changedLater ? next.value(0) : QVariant();
    const DatabaseUrl url = m_db.url();
    ServerRegistry::remember(url.display(), url);
    SqlScientificNameRecord record;
    record.Connect(url.display(), SqlAppManager::serverTypeOf(url.dialect));
    if (!record.Retrieve(nameId, {}, {}))
        throw refusal(QStringLiteral("Scientific name ID %1 does not exist (any more)").arg(nameId));
    const QString name =
        column == QLatin1String("scientific_name") ? oldValue.toString() : record.ScientificName();
    const QString author = column == QLatin1String("author_name") ? oldValue.toString() : record.AuthorName();
    refuseDuplicate(name, author, nameId);
    const QVariant before = record.value(QLatin1String(field->field));
    if (changedLater
        && !sameStoredValue(before.toString().isEmpty() ? QVariant() : QVariant(before.toString()),
                            madeOf.toString().isEmpty() ? QVariant() : madeOf))
        throw refusal(
            QStringLiteral("The %1 of name ID %2 was changed again after this change; restore the later "
                           "change first. Nothing was changed")
                .arg(NameHistory::fieldOf(column).toLower())
                .arg(nameId));
    record.setValue(QLatin1String(field->field), oldValue);
    // The formatted name follows a restored plain name, as the editor keeps them together.
    if (column == QLatin1String("scientific_name"))
        record.setValue(QStringLiteral("FormattedScientificName"), QString());
    record.SetModifiedBy(m_user.loginName);
    if (!record.Save())
        throw refusal(QStringLiteral("The %1 could not be restored: %2. Nothing was changed")
                          .arg(NameHistory::fieldOf(column).toLower(), record.lastRefusal()));
    record.Release();
    return QStringLiteral("The %1 of name ID %2 is %3 again (was %4).")
        .arg(NameHistory::fieldOf(column).toLower())
        .arg(nameId)
        .arg(shown(oldValue), shown(before));
}

CurationLog::Change NameRestorer::openChange(int32_t curationChangeId, CurationLog::Kind kind) const
{
    const bool merge = kind == CurationLog::Kind::Merge;
    std::optional<CurationLog::Change> change = CurationLog::load(m_db, curationChangeId);
    if (!change || change->kind != kind)
        throw refusal(QStringLiteral("Curation change %1 is no %2")
                          .arg(curationChangeId)
                          .arg(merge ? QStringLiteral("merge") : QStringLiteral("deleted name")));
    if (change->restored)
        throw refusal(merge ? QStringLiteral("That merge was taken back already")
                            : QStringLiteral("That name was restored already"));
    if (!change->damage.isEmpty())
        throw refusal(QStringLiteral("What curation change %1 kept cannot be read (%2); nothing was changed")
                          .arg(curationChangeId)
                          .arg(change->damage));
    return std::move(*change);
}

QString NameRestorer::restoreMerge(int32_t curationChangeId)
{
    refuseUnlessAllowed("take a merge back");
    QString done;
    m_db.transaction([&] {
        const CurationLog::Change change = openChange(curationChangeId, CurationLog::Kind::Merge);
        const MergePlan plan = MergePlan::fromJson(change.snapshot);
        std::vector<QJsonObject> duplicates;
        QStringList names;
        for (const QJsonValue& value : change.snapshot.value(QLatin1String("duplicates")).toArray()) {
            duplicates.push_back(value.toObject());
            const NameSnapshot name = NameSnapshot::fromJson(duplicates.back());
            names << describeName(name.scientificName(), name.author(), name.id());
        }
        plan.takeBack(m_db, m_user, duplicates);
        CurationAudit::nameTouched(m_db, m_user, plan.keepId);
        CurationAudit::writeNote(
            m_db, m_user, plan.keepId,
            QStringLiteral("Merge taken back: %1").arg(names.join(QStringLiteral("; "))));
        CurationLog::markRestored(m_db, curationChangeId, m_user.loginName);
        done = QStringLiteral("The merge is taken back: %1 %2 back.")
                   .arg(names.join(QStringLiteral(", ")),
                        names.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    });
    return done;
}

NameRestorer::Restored NameRestorer::restoreDeleted(int32_t curationChangeId)
{
    refuseUnlessAllowed("restore a deleted name");
    if (!m_user.mayCreate)
        throw refusal(
            QStringLiteral("%1 may not restore a deleted name: this user's role does not allow adding "
                           "names")
                .arg(m_user.loginName));
    Restored restored;
    m_db.transaction([&] {
        const CurationLog::Change change = openChange(curationChangeId, CurationLog::Kind::Delete);
        const NameSnapshot name = NameSnapshot::fromJson(change.snapshot);
        restored.nameId = name.id();
        if (nameIsStored(m_db, name.id()))
            throw refusal(QStringLiteral("Name ID %1 is stored already").arg(name.id()));
        refuseDuplicate(name.scientificName(), name.author(), name.id());
        const QJsonValue established = name.name.value(QLatin1String("nomenclaturally_est_sn_id"));
        const bool establishedExists = !established.isNull() && nameIsStored(m_db, storedOfJson(established));
        name.putBackName(m_db, establishedExists ? established : QJsonValue(QJsonValue::Null));
        CurationAudit::nameInserted(m_db, m_user, name.id());
        restored.linksLeftOut = name.putBackLinks(m_db);
        for (const QJsonValue& value : change.snapshot.value(QLatin1String("resting")).toArray()) {
            const QJsonObject resting = value.toObject();
            const QVariant id = storedOfJson(resting.value(QLatin1String("scientific_name_id")));
            QSqlQuery now = m_db.query(QStringLiteral("SELECT row_version, nomenclaturally_est_sn_id FROM "
                                                      "scientific_name WHERE scientific_name_id = ?"),
                                       {id}, Database::Reading::Buffered);
            const bool unchanged = now.next()
                && now.value(0).toLongLong() == resting.value(QLatin1String("row_version")).toInteger()
                && now.value(1).isNull();
            if (!unchanged) {
                ++restored.establishedLeft;
                continue;
            }
            m_db.exec(QStringLiteral("UPDATE scientific_name SET nomenclaturally_est_sn_id = ? WHERE "
                                     "scientific_name_id = ?"),
                      {name.id(), id});
            CurationAudit::columnChanged(m_db, m_user, id.toInt(),
                                         QStringLiteral("nomenclaturally_est_sn_id"), QVariant(), name.id());
            ++restored.establishedSet;
        }
        CurationLog::markRestored(m_db, curationChangeId, m_user.loginName);
    });
    return restored;
}

} // namespace bryx::host
