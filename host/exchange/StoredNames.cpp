#include "StoredNames.h"

#include "ChecklistVocabulary.h"
#include "db/Database.h"

#include <QVariant>

namespace bryx::host {

namespace {

QString nullableText(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

QString NameRow::displayName() const
{
    return author.isEmpty() ? name : name + QLatin1Char(' ') + author;
}

QString NameRow::rank() const
{
    return level.isEmpty() ? QString() : ChecklistVocabulary::rankWord(level);
}

QString NameRow::code() const
{
    return ChecklistVocabulary::nomenclaturalCodeOf(type);
}

QString NameRow::kingdom() const
{
    return ChecklistVocabulary::kingdomOf(type, category);
}

QString LinkRow::type() const
{
    QStringList words;
    if (original)
        words << QStringLiteral("original");
    if (primary)
        words << QStringLiteral("primary");
    return words.join(QLatin1Char(' '));
}

StoredNames::StoredNames(Database& db)
    : m_total(db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name")).toLongLong())
{
    // The links are the smaller of the two, and PostgreSQL reads them whole first.
    const auto linkReading =
        db.dialect() == Dialect::PostgreSQL ? Database::Reading::Buffered : Database::Reading::ForwardOnce;
    m_linkQuery = db.query(
        QStringLiteral("SELECT x.scientific_name_id, r.reference_id, r.reference_code, r.full_citation, "
                       "r.publication_year, x.original_publication_ind, x.primary_reference_ind FROM "
                       "scientific_name_reference x JOIN reference r ON r.reference_id = "
                       "x.reference_id ORDER BY x.scientific_name_id, x.display_order, "
                       "x.scientific_name_reference_id"),
        {}, linkReading);
    m_names =
        db.query(QStringLiteral("SELECT sn.scientific_name_id, sn.scientific_name, sn.author_name, "
                                "nc.name_type_cd, nc.name_category_desc, cl.classification_level_name, "
                                "est.nomenclaturally_est_desc, sn.nomenclaturally_est_sn_id, "
                                "sn.relationship_to_establ_name FROM scientific_name sn LEFT JOIN "
                                "d_name_category nc ON nc.d_name_category_id = sn.d_name_category_id LEFT "
                                "JOIN d_classification_level cl ON cl.d_classification_level_id = "
                                "sn.d_classification_level_id LEFT JOIN d_nomenclaturally_est est ON "
                                "est.d_nomenclaturally_est_id = sn.d_nomenclaturally_est_id ORDER BY "
                                "sn.scientific_name_id"));
    advanceLink();
}

bool StoredNames::next()
{
    if (!m_names.next())
        return false;
    const QString type = m_names.value(3).toString();
    m_row = {m_names.value(0).toLongLong(),  m_names.value(1).toString(),
             nullableText(m_names.value(2)), type.isEmpty() ? QChar() : type.front(),
             nullableText(m_names.value(4)), nullableText(m_names.value(5)),
             nullableText(m_names.value(6)), nullableText(m_names.value(7)),
             nullableText(m_names.value(8))};
    m_links.clear();
    while (m_hasLink && m_nextLink.nameId < m_row.id)
        advanceLink();
    while (m_hasLink && m_nextLink.nameId == m_row.id) {
        m_links.push_back(m_nextLink);
        advanceLink();
    }
    return true;
}

const LinkRow* StoredNames::original() const
{
    for (const LinkRow& link : m_links) {
        if (link.original)
            return &link;
    }
    return nullptr;
}

void StoredNames::advanceLink()
{
    m_hasLink = m_linkQuery.next();
    if (!m_hasLink)
        return;
    m_nextLink = {m_linkQuery.value(0).toLongLong(),
                  m_linkQuery.value(1).toString(),
                  m_linkQuery.value(2).toString(),
                  m_linkQuery.value(3).toString(),
                  nullableText(m_linkQuery.value(4)),
                  m_linkQuery.value(5).toString() == QLatin1String("Y"),
                  m_linkQuery.value(6).toString() == QLatin1String("Y")};
}

} // namespace bryx::host
