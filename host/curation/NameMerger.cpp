#include "NameMerger.h"

#include "CurationAudit.h"
#include "MergePlan.h"
#include "db/Database.h"
#include "db/SqlText.h"
#include "error/Error.h"
#include "services/CurationLog.h"
#include "services/NameSnapshot.h"
#include "services/SqlAppManager.h"

#include <QJsonArray>
#include <QSqlQuery>
#include <set>

namespace bryx::host {

namespace {

QString typeWords(const QString& code)
{
    if (code == QLatin1String("P"))
        return QStringLiteral("a botanical name");
    if (code == QLatin1String("A"))
        return QStringLiteral("a zoological name");
    if (code == QLatin1String("C"))
        return QStringLiteral("an ecological community name");
    return QStringLiteral("a name of no category");
}

Error refusal(const QString& text)
{
    return Error(ErrorNumber::InvalidArgument, text);
}

} // namespace

QString describeName(const QString& name, const QString& author, int32_t id)
{
    return author.isEmpty() ? QStringLiteral("%1 (ID %2)").arg(name).arg(id)
                            : QStringLiteral("%1 %2 (ID %3)").arg(name, author).arg(id);
}

QString MergePreview::describe() const
{
    QStringList parts;
    parts << QStringLiteral("%1 reference link(s) move to the kept name, %2 it already has %3 dropped")
                 .arg(linksMoved)
                 .arg(linksDropped)
                 .arg(linksDropped == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    if (originalsCleared > 0)
        parts << QStringLiteral("%1 moved link(s) stop being the original publication, as the kept name "
                                "keeps its own")
                     .arg(originalsCleared);
    parts << QStringLiteral("%1 name(s) that rest on the duplicate%2 will rest on the kept name")
                 .arg(namesRepointed)
                 .arg(duplicateIds.size() == 1 ? QString() : QStringLiteral("s"));
    if (keptEstablishedCleared)
        parts << QStringLiteral("the kept name rested on a duplicate and will rest on no name");
    parts << (duplicateIds.size() == 1
                  ? QStringLiteral("the duplicate is deleted")
                  : QStringLiteral("the %1 duplicates are deleted").arg(duplicateIds.size()));
    return QStringLiteral("Keep %1 and merge %2 into it:\n%3.")
        .arg(keptName, duplicateNames.join(QStringLiteral(", ")), parts.join(QStringLiteral(";\n")));
}

NameMerger::NameMerger(Database& db, UserSession user)
    : m_db(db)
    , m_user(std::move(user))
{
}

void NameMerger::refuseUnlessAllowed() const
{
    if (!m_user.maySave || !m_user.mayDelete)
        throw refusal(QStringLiteral("%1 may not merge names: a merge changes the kept name and deletes the "
                                     "duplicates, which this user's role does not allow")
                          .arg(m_user.loginName));
}

std::map<int32_t, NameMerger::Name> NameMerger::readNames(const std::vector<int32_t>& ids, bool locking)
{
    const bool postgres = m_db.dialect() == Dialect::PostgreSQL;
    QSqlQuery query = m_db.query(
        QStringLiteral(
            "SELECT sn.scientific_name_id, sn.scientific_name, sn.author_name, nc.name_type_cd, "
            "sn.row_version, sn.rec_last_mod_user FROM scientific_name sn LEFT JOIN d_name_category nc "
            "ON nc.d_name_category_id = sn.d_name_category_id WHERE sn.scientific_name_id IN (%1)%2")
            .arg(sqlIdList(ids), locking && postgres ? QStringLiteral(" FOR UPDATE OF sn") : QString()),
        {}, Database::Reading::Buffered);
    std::map<int32_t, Name> names;
    while (query.next()) {
        const int32_t id = query.value(0).toInt();
        names.emplace(id,
                      Name {id, query.value(1).toString(), query.value(2).toString(),
                            query.value(3).toString(), query.value(4).toInt(), query.value(5).toString()});
    }
    return names;
}

MergePreview NameMerger::preview(int32_t keepId, const std::vector<int32_t>& duplicateIds)
{
    refuseUnlessAllowed();
    std::vector<int32_t> duplicates;
    for (const int32_t id : duplicateIds) {
        if (id == keepId)
            throw refusal(
                QStringLiteral("Name ID %1 cannot be merged with itself; choose the names to merge into "
                               "it besides the one to keep")
                    .arg(id));
        if (std::find(duplicates.begin(), duplicates.end(), id) == duplicates.end())
            duplicates.push_back(id);
    }
    if (duplicates.empty())
        throw refusal(QStringLiteral("Choose at least one name to merge into the kept name"));
    std::vector<int32_t> all = duplicates;
    all.push_back(keepId);
    const std::map<int32_t, Name> names = readNames(all, false);
    for (const int32_t id : all) {
        if (!names.count(id))
            throw refusal(
                QStringLiteral("Scientific name ID %1 does not exist (any more); nothing was merged")
                    .arg(id));
    }
    const Name& kept = names.at(keepId);
    MergePreview preview;
    preview.keepId = keepId;
    preview.duplicateIds = duplicates;
    preview.keptName = describeName(kept.name, kept.author, keepId);
    preview.rowVersions[keepId] = kept.rowVersion;
    for (const int32_t id : duplicates) {
        const Name& duplicate = names.at(id);
        if (duplicate.type != kept.type)
            throw refusal(QStringLiteral("%1 is %2 and %3 is %4; only names of one type can be merged")
                              .arg(describeName(duplicate.name, duplicate.author, id),
                                   typeWords(duplicate.type), preview.keptName, typeWords(kept.type)));
        preview.duplicateNames << describeName(duplicate.name, duplicate.author, id);
        preview.rowVersions[id] = duplicate.rowVersion;
    }
    const MergePlan plan = MergePlan::workOut(m_db, keepId, duplicates);
    preview.linksMoved = int(plan.moves.size());
    preview.linksDropped = int(plan.drops.size());
    preview.originalsCleared = plan.originalsCleared();
    preview.namesRepointed = int(plan.repointed.size());
    preview.keptEstablishedCleared = plan.keptEstablished.has_value();
    return preview;
}

int32_t NameMerger::merge(const MergePreview& preview)
{
    refuseUnlessAllowed();
    int32_t changeId = 0;
    m_db.transaction([&] {
        std::vector<int32_t> all = preview.duplicateIds;
        all.push_back(preview.keepId);
        const std::map<int32_t, Name> names = readNames(all, true);
        for (const auto& [id, version] : preview.rowVersions) {
            const auto found = names.find(id);
            if (found == names.end())
                throw refusal(
                    QStringLiteral("Scientific name ID %1 was deleted after the preview; nothing was "
                                   "merged")
                        .arg(id));
            if (found->second.rowVersion != version)
                throw refusal(
                    QStringLiteral("%1 was changed after the preview (by %2); nothing was merged. Look "
                                   "at it again and merge anew")
                        .arg(describeName(found->second.name, found->second.author, id),
                             found->second.changedBy.isEmpty() ? QStringLiteral("another user")
                                                               : found->second.changedBy));
        }
        const MergePlan plan = MergePlan::workOut(m_db, preview.keepId, preview.duplicateIds);

        QJsonArray taken;
        std::vector<std::pair<int32_t, QVariantMap>> befores;
        for (const int32_t id : preview.duplicateIds) {
            befores.emplace_back(
                id,
                readRow(m_db, QStringLiteral("scientific_name"), QStringLiteral("scientific_name_id"), id));
            taken.append(NameSnapshot::capture(m_db, befores.back().second).toJson());
        }
        plan.apply(m_db, m_user);
        for (const auto& [id, before] : befores)
            CurationAudit::nameDeleted(m_db, m_user, id, before);
        const QString idList = sqlIdList(preview.duplicateIds);
        m_db.exec(QStringLiteral("DELETE FROM scientific_name_reference WHERE scientific_name_id IN (%1)")
                      .arg(idList));
        m_db.exec(QStringLiteral("DELETE FROM scientific_name WHERE scientific_name_id IN (%1)").arg(idList));
        CurationAudit::nameTouched(m_db, m_user, preview.keepId);
        const int32_t note =
            CurationAudit::writeNote(m_db, m_user, preview.keepId,
                                     QStringLiteral("Merged into this name: %1")
                                         .arg(preview.duplicateNames.join(QStringLiteral("; "))));
        QJsonObject snapshot = plan.toJson();
        snapshot.insert(QStringLiteral("duplicates"), taken);
        changeId = CurationLog::record(m_db, CurationLog::Kind::Merge, preview.keepId, note, m_user.loginName,
                                       snapshot);
    });
    return changeId;
}

} // namespace bryx::host
