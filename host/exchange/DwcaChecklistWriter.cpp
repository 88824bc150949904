#include "DwcaChecklistWriter.h"

#include "ChecklistExporter.h"
#include "DwcaChecklistReader.h"
#include "StoredNames.h"
#include "db/Database.h"

namespace bryx::host {

namespace {

const char* const NameColumns[] = {"taxonID",         "scientificName",      "scientificNameAuthorship",
                                   "taxonRank",       "nomenclaturalCode",   "kingdom",
                                   "taxonomicStatus", "acceptedNameUsageID", "originalNameUsageID",
                                   "namePublishedIn", "namePublishedInID",   "namePublishedInYear"};

QByteArray metaXml()
{
    QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<archive xmlns="http://rs.tdwg.org/dwc/text/">
  <core encoding="UTF-8" fieldsTerminatedBy="\t" linesTerminatedBy="\n" fieldsEnclosedBy="&quot;"
        ignoreHeaderLines="1" rowType="http://rs.tdwg.org/dwc/terms/Taxon">
    <files><location>taxon.txt</location></files>
    <id index="0"/>
)";
    int index = 0;
    for (const char* column : NameColumns)
        xml += QStringLiteral("    <field index=\"%1\" term=\"http://rs.tdwg.org/dwc/terms/%2\"/>\n")
                   .arg(index++)
                   .arg(QLatin1String(column))
                   .toUtf8();
    for (const QString& term : {DwcaChecklistReader::CategoryTerm, DwcaChecklistReader::RelationshipTerm})
        xml += QStringLiteral("    <field index=\"%1\" term=\"%2\"/>\n").arg(index++).arg(term).toUtf8();
    xml += R"(  </core>
  <extension encoding="UTF-8" fieldsTerminatedBy="\t" linesTerminatedBy="\n" fieldsEnclosedBy="&quot;"
             ignoreHeaderLines="1" rowType="http://rs.gbif.org/terms/1.0/Reference">
    <files><location>reference.txt</location></files>
    <coreid index="0"/>
    <field index="1" term="http://purl.org/dc/terms/bibliographicCitation"/>
    <field index="2" term="http://purl.org/dc/terms/identifier"/>
    <field index="3" term="http://purl.org/dc/terms/date"/>
    <field index="4" term="http://purl.org/dc/terms/type"/>
  </extension>
</archive>
)";
    return xml;
}

} // namespace

DwcaChecklistWriter::DwcaChecklistWriter(const QString& folder)
    : m_folder(folder)
    , m_taxa(m_folder.filePath(QStringLiteral("taxon.txt")), DelimitedWriter::Quoting::WhenNeeded)
    , m_references(m_folder.filePath(QStringLiteral("reference.txt")), DelimitedWriter::Quoting::WhenNeeded)
{
    QStringList header;
    for (const char* column : NameColumns)
        header << QLatin1String(column);
    m_taxa.write(header << QStringLiteral("nameCategory") << QStringLiteral("relationshipToEstablishedName"));
    m_references.write({"coreid", "bibliographicCitation", "identifier", "date", "type"});
}

QStringList DwcaChecklistWriter::files() const
{
    return {"meta.xml", "taxon.txt", "reference.txt"};
}

QString DwcaChecklistWriter::namesFile() const
{
    return QStringLiteral("taxon.txt");
}

void DwcaChecklistWriter::writeName(const StoredNames& names)
{
    const NameRow& row = names.row();
    const LinkRow* original = names.original();
    const QString id = QString::number(row.id);
    m_taxa.write({id, row.displayName(), row.author, row.rank(), row.code(), row.kingdom(), row.status(),
                  row.linksToAccepted() ? row.link : QString(), row.linksToAccepted() ? QString() : row.link,
                  original ? original->citation : QString(), original ? original->code : QString(),
                  original ? original->year : QString(), row.category, row.relationship});
    for (const LinkRow& link : names.links())
        m_references.write({id, link.citation, link.code, link.year, link.type()});
}

void DwcaChecklistWriter::finish(Database& db, ExportSummary& summary)
{
    m_taxa.close();
    m_references.close();
    writeText(m_folder.filePath(QStringLiteral("meta.xml")), metaXml());
    summary.references =
        db.scalar(QStringLiteral("SELECT count(DISTINCT reference_id) FROM scientific_name_reference"))
            .toLongLong();
}

} // namespace bryx::host
