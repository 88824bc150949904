#include "SqlReferenceLinks.h"

#include "db/Database.h"
#include "db/SqlText.h"
#include "error/Error.h"

#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>
#include <iterator>

namespace bryx::host {

namespace {

struct LinkField {
    const char* field;
    const char* column; // null for fields shown but not stored on the link
};
const LinkField LinkFields[] = {
    {"ScientificNameReferenceId", "scientific_name_reference_id"},
    {"ScientificNameId", "scientific_name_id"},
    {"ReferenceID", "reference_id"},
    {"PrimaryReferenceInd", "primary_reference_ind"},
    {"OriginalPublicationInd", "original_publication_ind"},
    {"DisplayOrder", "display_order"},
    {"OrgUnitId", "org_unit_id"},
    {"RecCreateUser", "rec_create_user"},
    {"RecLastModUser", "rec_last_mod_user"},
    {"ReferenceCode", nullptr},
    {"FullCitation", nullptr},
};

void run(QSqlQuery& query, bool original = false)
{
    if (query.exec())
        return;
    const QString why = query.lastError().text().simplified();
    // The database lets one link per name be the original publication (a unique index).
    if (original && why.contains(QLatin1String("unique"), Qt::CaseInsensitive))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Only one reference can be the original publication of a scientific name, "
                                   "and another reference of this name is marked so already (perhaps by "
                                   "another user). Uncheck one of them and save again."));
    throw Error(ErrorNumber::InvalidArgument, QStringLiteral("Saving a reference link failed: %1").arg(why));
}

} // namespace

SqlReferenceLink::SqlReferenceLink(std::shared_ptr<Database> db, QVariantMap fields, bool isNew)
    : m_db(std::move(db))
    , m_fields(std::move(fields))
    , m_new(isNew)
{
}

QString SqlReferenceLink::checkedName(const QString& name) const
{
    for (const LinkField& field : LinkFields) {
        if (name.compare(QLatin1String(field.field), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(field.field);
    }
    throw Error(ErrorNumber::ItemNotFound, QStringLiteral("A reference link has no field \"%1\"").arg(name));
}

QVariant SqlReferenceLink::Field(const QString& name) const
{
    return m_fields.value(checkedName(name));
}

void SqlReferenceLink::SetField(const QString& name, const QVariant& value)
{
    const QString field = checkedName(name);
    if (sameStoredValue(m_fields.value(field), value))
        return;
    m_fields.insert(field, value);
    m_changed = true;
}

bool SqlReferenceLink::Save()
{
    QSqlQuery query(m_db->sql());
    const QVariant id = m_fields.value(QStringLiteral("ScientificNameReferenceId"));
    if (m_deleted) {
        if (!m_new) {
            query.prepare(QStringLiteral(
                "DELETE FROM scientific_name_reference WHERE scientific_name_reference_id = ?"));
            query.addBindValue(id);
            run(query);
        }
        return true;
    }
    if (!m_new && !m_changed)
        return true;
    QStringList columns;
    QVariantList values;
    for (const LinkField& field : LinkFields) {
        if (!field.column)
            continue;
        columns << QLatin1String(field.column);
        values << m_fields.value(QLatin1String(field.field));
    }
    if (m_new) {
        query.prepare(insertStatement(QStringLiteral("scientific_name_reference"), columns));
    } else {
        query.prepare(updateStatement(QStringLiteral("scientific_name_reference"), columns,
                                      QStringLiteral("scientific_name_reference_id = ?")));
        values << id;
    }
    for (const QVariant& value : std::as_const(values))
        query.addBindValue(value);
    run(query, m_fields.value(QStringLiteral("OriginalPublicationInd")).toString() == QLatin1String("Y"));
    m_new = false;
    m_changed = false;
    return true;
}

SqlReferenceLinks::SqlReferenceLinks(std::shared_ptr<Database> db, int32_t scientificNameId)
    : m_db(std::move(db))
    , m_scientificNameId(scientificNameId)
{
    QSqlQuery query(m_db->sql());
    query.prepare(QStringLiteral(
        "SELECT l.scientific_name_reference_id, l.scientific_name_id, l.reference_id, "
        "l.primary_reference_ind, l.original_publication_ind, l.display_order, l.org_unit_id, "
        "l.rec_create_user, l.rec_last_mod_user, r.reference_code, r.full_citation "
        "FROM scientific_name_reference l JOIN reference r ON r.reference_id = l.reference_id "
        "WHERE l.scientific_name_id = ? ORDER BY l.display_order, l.scientific_name_reference_id"));
    query.addBindValue(scientificNameId);
    if (!query.exec())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Reading the reference links failed: %1")
                        .arg(query.lastError().text().simplified()));
    while (query.next()) {
        QVariantMap fields;
        for (int i = 0; i < int(std::size(LinkFields)); ++i)
            fields.insert(QLatin1String(LinkFields[i].field), query.value(i));
        m_links.push_back(std::make_shared<SqlReferenceLink>(m_db, fields, false));
    }
}

const std::vector<std::shared_ptr<SqlReferenceLink>>& SqlReferenceLinks::present() const
{
    const auto deleted = std::stable_partition(m_links.begin(), m_links.end(),
                                               [](const auto& link) { return !link->IsDeleted(); });
    // A link that never reached the database simply vanishes.
    std::copy_if(deleted, m_links.end(), std::back_inserter(m_deleted),
                 [](const auto& link) { return !link->IsNew(); });
    m_links.erase(deleted, m_links.end());
    return m_links;
}

std::shared_ptr<ReferenceLink> SqlReferenceLinks::Item(int index) const
{
    const auto& links = present();
    if (index < 1 || index > int(links.size()))
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("Reference link %1 of %2").arg(index).arg(links.size()));
    return links[size_t(index - 1)];
}

std::shared_ptr<ReferenceLink> SqlReferenceLinks::Find(const QString& criteria) const
{
    const auto [field, value] = splitFieldCriteria(criteria, QStringLiteral("Find"));
    for (const auto& link : present()) {
        if (link->Field(field).toString() == value)
            return link;
    }
    return nullptr;
}

std::shared_ptr<ReferenceLink> SqlReferenceLinks::Add()
{
    QVariantMap fields;
    fields.insert(QStringLiteral("ScientificNameReferenceId"), m_db->nextId());
    fields.insert(QStringLiteral("ScientificNameId"), m_scientificNameId);
    fields.insert(QStringLiteral("PrimaryReferenceInd"), QStringLiteral("N"));
    fields.insert(QStringLiteral("OriginalPublicationInd"), QStringLiteral("N"));
    // A new link starts last; renumbering the grid may move it, which needs a value to change.
    fields.insert(QStringLiteral("DisplayOrder"), Count() + 1);
    m_links.push_back(std::make_shared<SqlReferenceLink>(m_db, fields, true));
    return m_links.back();
}

void SqlReferenceLinks::saveDeletions()
{
    (void)present();
    for (const auto& link : m_deleted)
        link->Save();
}

} // namespace bryx::host
