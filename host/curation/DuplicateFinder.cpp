#include "DuplicateFinder.h"

#include "DuplicateRules.h"
#include "db/Database.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <numeric>
#include <unordered_map>

namespace bryx::host {

namespace {

// IDs per statement when members are described: well inside both engines' limits.
constexpr size_t DescribeBatch = 500;
const QChar KeySeparator(0x1f);

// Names joined through the spelling rule, each group ending at its smallest index.
class UnionFind {
public:
    explicit UnionFind(size_t size)
        : m_parent(size)
    {
        std::iota(m_parent.begin(), m_parent.end(), size_t(0));
    }
    size_t root(size_t item)
    {
        while (m_parent[item] != item)
            item = m_parent[item] = m_parent[m_parent[item]];
        return item;
    }
    void join(size_t left, size_t right)
    {
        const size_t a = root(left);
        const size_t b = root(right);
        if (a != b)
            m_parent[std::max(a, b)] = std::min(a, b);
    }

private:
    std::vector<size_t> m_parent;
};

QString text(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

DuplicateFinder::DuplicateFinder(Database& db)
    : m_db(db)
{
}

std::optional<DuplicateMode> DuplicateFinder::modeNamed(const QString& word)
{
    static const std::pair<const char*, DuplicateMode> Words[] = {
        {"exact", DuplicateMode::SameNameAndAuthor},
        {"author", DuplicateMode::EquivalentAuthor},
        {"name", DuplicateMode::SameName},
        {"spelling", DuplicateMode::SimilarSpelling}};
    for (const auto& [name, mode] : Words) {
        if (word.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return mode;
    }
    return std::nullopt;
}

std::vector<DuplicateFinder::StoredName> DuplicateFinder::readNames(std::optional<QChar> type,
                                                                    bool onlyRepeatedKeys)
{
    // Answered in the order of the name key, so that equal names come together; sorted here,
    // as a scan in the key index's order reads the table by random access and takes longer.
    const QString key = m_db.dialect() == Dialect::SQLite ? QStringLiteral("sn.scientific_name_key")
                                                          : QStringLiteral("upper(sn.scientific_name)");
    QString sql = QStringLiteral("SELECT sn.scientific_name_id, sn.scientific_name, sn.author_name, "
                                 "nc.name_type_cd, %1 FROM scientific_name sn LEFT JOIN d_name_category nc "
                                 "ON nc.d_name_category_id = sn.d_name_category_id")
                      .arg(key);
    QStringList conditions;
    QVariantList bindings;
    // The key rules need only the names whose key is stored more than once; the engine finds
    // those keys in its key index, and the rest of the table is never read.
    if (onlyRepeatedKeys)
        conditions << QStringLiteral(
                          "%1 IN (SELECT %2 FROM scientific_name s2 GROUP BY %2 HAVING count(*) > 1)")
                          .arg(key, QString(key).replace(QLatin1String("sn."), QLatin1String("s2.")));
    if (type) {
        conditions << QStringLiteral("nc.name_type_cd = ?");
        bindings << QString(*type);
    }
    if (!conditions.isEmpty())
        sql += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    QSqlQuery query = m_db.query(sql, bindings);
    std::vector<StoredName> names;
    while (query.next()) {
        const QString code = query.value(3).toString();
        names.push_back({query.value(0).toLongLong(), query.value(1).toString(), text(query.value(2)),
                         code.isEmpty() ? QChar() : code.front(), query.value(4).toString()});
    }
    std::sort(names.begin(), names.end(), [](const StoredName& left, const StoredName& right) {
        return left.key != right.key ? left.key < right.key : left.id < right.id;
    });
    return names;
}

std::vector<std::vector<size_t>> DuplicateFinder::groupByKey(const std::vector<StoredName>& names,
                                                             DuplicateMode mode)
{
    // The names come in name-key order: each run of one key is grouped on its own by type and
    // author, so that only a run's few names are ever sorted.
    std::vector<std::vector<size_t>> groups;
    std::vector<std::pair<QString, size_t>> keyed;
    for (size_t first = 0; first < names.size();) {
        size_t last = first + 1;
        while (last < names.size() && names[last].key == names[first].key)
            ++last;
        if (last - first > 1) {
            keyed.clear();
            for (size_t index = first; index < last; ++index) {
                const StoredName& name = names[index];
                QString key(name.type);
                if (mode == DuplicateMode::SameNameAndAuthor)
                    key += KeySeparator + DuplicateRules::authorKey(name.author);
                else if (mode == DuplicateMode::EquivalentAuthor)
                    key += KeySeparator + DuplicateRules::equivalentAuthorKey(name.author);
                keyed.emplace_back(std::move(key), index);
            }
            std::sort(keyed.begin(), keyed.end());
            for (size_t from = 0; from < keyed.size();) {
                size_t to = from + 1;
                while (to < keyed.size() && keyed[to].first == keyed[from].first)
                    ++to;
                if (to - from > 1) {
                    std::vector<size_t> group;
                    for (size_t at = from; at < to; ++at)
                        group.push_back(keyed[at].second);
                    groups.push_back(std::move(group));
                }
                from = to;
            }
        }
        first = last;
    }
    return groups;
}

std::vector<std::vector<size_t>> DuplicateFinder::groupBySpelling(const std::vector<StoredName>& names)
{
    struct Parts {
        QString genus; // with the type, so that types never meet
        QString rest; // the words after the genus
        QString stems; // the same with their endings made one
    };
    std::vector<Parts> parts(names.size());
    std::vector<size_t> order(names.size());
    for (size_t index = 0; index < names.size(); ++index) {
        const QStringList words = DuplicateRules::spellingWords(names[index].name);
        Parts& part = parts[index];
        part.genus = QString(names[index].type) + KeySeparator + words.value(0);
        QStringList stems;
        for (qsizetype word = 1; word < words.size(); ++word)
            stems << DuplicateRules::epithetStem(words[word]);
        part.rest = words.mid(1).join(QLatin1Char(' '));
        part.stems = stems.join(QLatin1Char(' '));
        order[index] = index;
    }
    std::sort(order.begin(), order.end(),
              [&](size_t left, size_t right) { return parts[left].genus < parts[right].genus; });

    UnionFind joined(names.size());
    // Genus by genus: within one, names pair by their stems, and by the texts left when one
    // letter is taken out (two texts one edit apart always leave one such text in common).
    for (size_t first = 0; first < order.size();) {
        size_t last = first + 1;
        while (last < order.size() && parts[order[last]].genus == parts[order[first]].genus)
            ++last;
        if (last - first > 1) {
            QHash<QString, size_t> byStems;
            QHash<QString, std::vector<size_t>> byVariant;
            for (size_t at = first; at < last; ++at) {
                const size_t index = order[at];
                const Parts& part = parts[index];
                if (part.rest.isEmpty())
                    continue; // a genus alone has no epithet to misspell
                const auto stem = byStems.constFind(part.stems);
                if (stem != byStems.constEnd())
                    joined.join(*stem, index);
                else
                    byStems.insert(part.stems, index);
                for (qsizetype drop = -1; drop < part.rest.size(); ++drop) {
                    QString variant = part.rest;
                    if (drop >= 0)
                        variant.remove(drop, 1);
                    std::vector<size_t>& bucket = byVariant[variant];
                    for (const size_t other : bucket) {
                        if (joined.root(other) != joined.root(index)
                            && DuplicateRules::oneEditApart(parts[other].rest, part.rest))
                            joined.join(other, index);
                    }
                    bucket.push_back(index);
                }
            }
        }
        first = last;
    }
    std::unordered_map<size_t, std::vector<size_t>> byRoot;
    for (size_t index = 0; index < names.size(); ++index)
        byRoot[joined.root(index)].push_back(index);
    std::vector<std::vector<size_t>> groups;
    for (auto& [root, members] : byRoot) {
        if (members.size() > 1)
            groups.push_back(std::move(members));
    }
    return groups;
}

std::vector<DuplicateGroup> DuplicateFinder::find(DuplicateMode mode, std::optional<QChar> type)
{
    const std::vector<StoredName> names = readNames(type, mode != DuplicateMode::SimilarSpelling);
    const auto indexGroups =
        mode == DuplicateMode::SimilarSpelling ? groupBySpelling(names) : groupByKey(names, mode);
    std::vector<DuplicateGroup> groups;
    groups.reserve(indexGroups.size());
    for (const std::vector<size_t>& indexes : indexGroups) {
        DuplicateGroup group;
        for (const size_t index : indexes) {
            const StoredName& name = names[index];
            group.members.push_back({name.id, name.name, name.author, name.type, {}, {}, 0, 0, {}, {}});
        }
        std::sort(
            group.members.begin(), group.members.end(),
            [](const DuplicateMember& left, const DuplicateMember& right) { return left.id < right.id; });
        groups.push_back(std::move(group));
    }
    std::sort(groups.begin(), groups.end(), [](const DuplicateGroup& left, const DuplicateGroup& right) {
        const DuplicateMember& a = left.members.front();
        const DuplicateMember& b = right.members.front();
        return a.name != b.name ? a.name < b.name : a.id < b.id;
    });
    describe(groups);
    return groups;
}

void DuplicateFinder::describe(std::vector<DuplicateGroup>& groups)
{
    std::unordered_map<qint64, DuplicateMember*> members;
    for (DuplicateGroup& group : groups) {
        for (DuplicateMember& member : group.members)
            members.emplace(member.id, &member);
    }
    std::vector<qint64> ids;
    ids.reserve(members.size());
    for (const auto& [id, member] : members)
        ids.push_back(id);
    for (size_t first = 0; first < ids.size(); first += DescribeBatch) {
        QStringList batch;
        for (size_t at = first; at < std::min(ids.size(), first + DescribeBatch); ++at)
            batch << QString::number(ids[at]);
        const QString list = batch.join(QLatin1Char(','));
        QSqlQuery rows = m_db.query(
            QStringLiteral(
                "SELECT sn.scientific_name_id, nc.name_category_desc, cl.classification_level_name, "
                "sn.rec_last_mod_date, sn.rec_last_mod_user FROM scientific_name sn "
                "LEFT JOIN d_name_category nc ON nc.d_name_category_id = sn.d_name_category_id "
                "LEFT JOIN d_classification_level cl "
                "ON cl.d_classification_level_id = sn.d_classification_level_id "
                "WHERE sn.scientific_name_id IN (%1)")
                .arg(list));
        while (rows.next()) {
            DuplicateMember& member = *members.at(rows.value(0).toLongLong());
            member.category = text(rows.value(1));
            member.level = text(rows.value(2));
            // Stored as an ISO text on SQLite and as a timestamp on PostgreSQL; shown alike.
            const QDateTime changed = rows.value(3).toDateTime();
            member.lastChanged = changed.isValid() ? changed.toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                                                   : text(rows.value(3));
            member.changedBy = text(rows.value(4));
        }
        QSqlQuery links = m_db.query(QStringLiteral("SELECT scientific_name_id, count(*) FROM "
                                                    "scientific_name_reference WHERE scientific_name_id IN "
                                                    "(%1) GROUP BY scientific_name_id")
                                         .arg(list));
        while (links.next())
            members.at(links.value(0).toLongLong())->references = links.value(1).toInt();
    }
    if (members.empty())
        return;
    // The established-name links have no index of their own: they are counted in one pass.
    QSqlQuery resting =
        m_db.query(QStringLiteral("SELECT nomenclaturally_est_sn_id, count(*) FROM "
                                  "scientific_name WHERE nomenclaturally_est_sn_id IS NOT NULL "
                                  "GROUP BY nomenclaturally_est_sn_id"));
    while (resting.next()) {
        const auto member = members.find(resting.value(0).toLongLong());
        if (member != members.end())
            member->second->resting = resting.value(1).toInt();
    }
}

} // namespace bryx::host
