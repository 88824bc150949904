#include "MergePlan.h"

#include "CurationAudit.h"
#include "db/Database.h"
#include "db/SqlText.h"
#include "error/Error.h"
#include "services/NameSnapshot.h"

#include <QJsonArray>
#include <QSqlQuery>
#include <set>

namespace bryx::host {

namespace {

const QString Established = QStringLiteral("nomenclaturally_est_sn_id");

void repoint(Database& db, const UserSession& user, int32_t nameId, const QVariant& from, const QVariant& to)
{
    db.exec(
        QStringLiteral("UPDATE scientific_name SET nomenclaturally_est_sn_id = ?, row_version = row_version "
                       "+ 1 WHERE scientific_name_id = ?"),
        {to, nameId});
    CurationAudit::columnChanged(db, user, nameId, Established, from, to);
}

QVariant establishedOf(Database& db, int32_t nameId)
{
    return db.scalar(
        QStringLiteral("SELECT nomenclaturally_est_sn_id FROM scientific_name WHERE scientific_name_id = ?"),
        {nameId});
}

Error standingInTheWay(const QString& text)
{
    return Error(ErrorNumber::InvalidArgument,
                 QStringLiteral("The merge cannot be taken back: %1. Nothing was changed").arg(text));
}

} // namespace

MergePlan MergePlan::workOut(Database& db, int32_t keepId, const std::vector<int32_t>& duplicateIds)
{
    MergePlan plan;
    plan.keepId = keepId;
    std::set<qint64> references;
    bool hasOriginal = false;
    QSqlQuery kept = db.query(
        QStringLiteral("SELECT reference_id, original_publication_ind FROM scientific_name_reference "
                       "WHERE scientific_name_id = ?"),
        {keepId}, Database::Reading::Buffered);
    while (kept.next()) {
        references.insert(kept.value(0).toLongLong());
        hasOriginal = hasOriginal || kept.value(1).toString() == QLatin1String("Y");
    }
    for (const int32_t duplicate : duplicateIds) {
        QSqlQuery links = db.query(
            QStringLiteral("SELECT scientific_name_reference_id, reference_id, original_publication_ind FROM "
                           "scientific_name_reference WHERE scientific_name_id = ? ORDER BY "
                           "coalesce(display_order, 0), scientific_name_reference_id"),
            {duplicate}, Database::Reading::Buffered);
        while (links.next()) {
            const int32_t link = links.value(0).toInt();
            if (!references.insert(links.value(1).toLongLong()).second) {
                plan.drops.push_back(link);
                continue;
            }
            const bool original = links.value(2).toString() == QLatin1String("Y");
            plan.moves.push_back({link, duplicate, original && hasOriginal});
            hasOriginal = hasOriginal || original;
        }
    }
    const QString duplicates = sqlIdList(duplicateIds);
    QSqlQuery resting = db.query(QStringLiteral("SELECT scientific_name_id, nomenclaturally_est_sn_id FROM "
                                                "scientific_name WHERE nomenclaturally_est_sn_id IN (%1) AND "
                                                "scientific_name_id NOT IN (%1) ORDER BY scientific_name_id")
                                     .arg(duplicates),
                                 {}, Database::Reading::Buffered);
    while (resting.next()) {
        const int32_t id = resting.value(0).toInt();
        const int32_t from = resting.value(1).toInt();
        if (id == keepId)
            plan.keptEstablished = from;
        else
            plan.repointed.push_back({id, from});
    }
    return plan;
}

int MergePlan::originalsCleared() const
{
    return int(
        std::count_if(moves.begin(), moves.end(), [](const LinkMove& move) { return move.clearsOriginal; }));
}

void MergePlan::apply(Database& db, const UserSession& user) const
{
    if (!drops.empty())
        db.exec(
            QStringLiteral("DELETE FROM scientific_name_reference WHERE scientific_name_reference_id IN (%1)")
                .arg(sqlIdList(drops)));
    for (const LinkMove& move : moves) {
        db.exec(move.clearsOriginal
                    ? QStringLiteral("UPDATE scientific_name_reference SET scientific_name_id = ?, "
                                     "original_publication_ind = 'N' WHERE scientific_name_reference_id = ?")
                    : QStringLiteral("UPDATE scientific_name_reference SET scientific_name_id = ? WHERE "
                                     "scientific_name_reference_id = ?"),
                {keepId, move.linkId});
    }
    for (const Repoint& name : repointed)
        repoint(db, user, name.nameId, name.fromName, keepId);
    if (keptEstablished)
        repoint(db, user, keepId, *keptEstablished, QVariant());
}

void MergePlan::takeBack(Database& db, const UserSession& user,
                         const std::vector<QJsonObject>& duplicates) const
{
    if (!nameIsStored(db, keepId))
        throw standingInTheWay(QStringLiteral("the kept name (ID %1) has been deleted since").arg(keepId));
    std::vector<NameSnapshot> names;
    std::set<qint64> restoring;
    for (const QJsonObject& json : duplicates) {
        names.push_back(NameSnapshot::fromJson(json));
        restoring.insert(names.back().id());
        if (nameIsStored(db, names.back().id()))
            throw standingInTheWay(QStringLiteral("ID %1 is a stored name again").arg(names.back().id()));
    }
    for (const LinkMove& move : moves) {
        const QVariant holder =
            db.scalar(QStringLiteral("SELECT scientific_name_id FROM scientific_name_reference WHERE "
                                     "scientific_name_reference_id = ?"),
                      {move.linkId});
        if (holder.isNull() || holder.toInt() != keepId)
            throw standingInTheWay(
                QStringLiteral("a reference link that came from ID %1 is no longer on the kept name")
                    .arg(move.fromName));
    }
    for (const Repoint& name : repointed) {
        const QVariant now = establishedOf(db, name.nameId);
        if (now.isNull() || now.toInt() != keepId)
            throw standingInTheWay(QStringLiteral("name ID %1 no longer rests on the kept name (ID %2)")
                                       .arg(name.nameId)
                                       .arg(keepId));
    }
    if (keptEstablished && !establishedOf(db, keepId).isNull())
        throw standingInTheWay(QStringLiteral("the kept name rests on another name since"));

    if (!moves.empty()) {
        std::vector<int32_t> moved;
        for (const LinkMove& move : moves)
            moved.push_back(move.linkId);
        db.exec(
            QStringLiteral("DELETE FROM scientific_name_reference WHERE scientific_name_reference_id IN (%1)")
                .arg(sqlIdList(moved)));
    }
    // A duplicate that rested on another one gets its established name once both are back; one
    // whose established name is gone since rests on none.
    std::vector<std::pair<int32_t, QJsonValue>> later;
    for (const NameSnapshot& name : names) {
        const QJsonValue established = name.name.value(Established);
        const bool restoredAlongside = !established.isNull() && restoring.count(established.toInteger());
        const bool stored =
            !established.isNull() && !restoredAlongside && nameIsStored(db, storedOfJson(established));
        name.putBackName(db, stored ? established : QJsonValue(QJsonValue::Null));
        CurationAudit::nameInserted(db, user, name.id());
        if (restoredAlongside)
            later.emplace_back(name.id(), established);
    }
    for (const auto& [id, established] : later)
        db.exec(QStringLiteral(
                    "UPDATE scientific_name SET nomenclaturally_est_sn_id = ? WHERE scientific_name_id = ?"),
                {storedOfJson(established), id});
    for (const NameSnapshot& name : names)
        name.putBackLinks(db);
    for (const Repoint& name : repointed)
        repoint(db, user, name.nameId, keepId, name.fromName);
    if (keptEstablished)
        repoint(db, user, keepId, QVariant(), *keptEstablished);
}

QJsonObject MergePlan::toJson() const
{
    QJsonArray movesJson;
    for (const LinkMove& move : moves)
        movesJson.append(QJsonObject {{QStringLiteral("link"), move.linkId},
                                      {QStringLiteral("from"), move.fromName},
                                      {QStringLiteral("clearsOriginal"), move.clearsOriginal}});
    QJsonArray dropsJson;
    for (const int32_t link : drops)
        dropsJson.append(link);
    QJsonArray repointedJson;
    for (const Repoint& name : repointed)
        repointedJson.append(
            QJsonObject {{QStringLiteral("name"), name.nameId}, {QStringLiteral("from"), name.fromName}});
    QJsonObject json {{QStringLiteral("keep"), keepId},
                      {QStringLiteral("moves"), movesJson},
                      {QStringLiteral("drops"), dropsJson},
                      {QStringLiteral("repointed"), repointedJson}};
    if (keptEstablished)
        json.insert(QStringLiteral("keptEstablished"), *keptEstablished);
    return json;
}

MergePlan MergePlan::fromJson(const QJsonObject& json)
{
    MergePlan plan;
    plan.keepId = json.value(QLatin1String("keep")).toInt();
    for (const QJsonValue& value : json.value(QLatin1String("moves")).toArray()) {
        const QJsonObject move = value.toObject();
        plan.moves.push_back({move.value(QLatin1String("link")).toInt(),
                              move.value(QLatin1String("from")).toInt(),
                              move.value(QLatin1String("clearsOriginal")).toBool()});
    }
    for (const QJsonValue& value : json.value(QLatin1String("drops")).toArray())
        plan.drops.push_back(value.toInt());
    for (const QJsonValue& value : json.value(QLatin1String("repointed")).toArray()) {
        const QJsonObject name = value.toObject();
        plan.repointed.push_back(
            {name.value(QLatin1String("name")).toInt(), name.value(QLatin1String("from")).toInt()});
    }
    if (json.contains(QLatin1String("keptEstablished")))
        plan.keptEstablished = json.value(QLatin1String("keptEstablished")).toInt();
    return plan;
}

} // namespace bryx::host
