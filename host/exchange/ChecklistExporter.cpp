#include "ChecklistExporter.h"

#include "ArchivePacker.h"
#include "ChecklistVocabulary.h"
#include "ColdpChecklistReader.h"
#include "DelimitedWriter.h"
#include "DwcaChecklistReader.h"
#include "ExportTarget.h"
#include "db/Database.h"
#include "error/Error.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <vector>

namespace bryx::host {

namespace {

constexpr int ReportEvery = 4096;
constexpr int NamesDone = 950;

const char* const NameColumns[] = {"taxonID",         "scientificName",      "scientificNameAuthorship",
                                   "taxonRank",       "nomenclaturalCode",   "kingdom",
                                   "taxonomicStatus", "acceptedNameUsageID", "originalNameUsageID",
                                   "namePublishedIn", "namePublishedInID",   "namePublishedInYear"};

struct NameRow {
    qint64 id = 0;
    QString name;
    QString author;
    QChar type;
    QString category;
    QString level;
    QString establishment;
    QString link;
    QString relationship;

    // Whether the link is to the accepted name (a synonym's) rather than to a basionym or
    // another related name of an accepted one.
    bool linksToAccepted() const
    {
        return !link.isEmpty() && !establishment.isEmpty() && establishment != QLatin1String("Accepted");
    }
    QString status() const { return establishment.toLower(); }
};

struct LinkRow {
    qint64 nameId = 0;
    QString referenceId;
    QString code;
    QString citation;
    QString year;
    bool original = false;
    bool primary = false;

    QString type() const
    {
        QStringList words;
        if (original)
            words << QStringLiteral("original");
        if (primary)
            words << QStringLiteral("primary");
        return words.join(QLatin1Char(' '));
    }
};

// Steps through the names' publication links, ordered by name, beside the names themselves.
class LinkCursor {
public:
    explicit LinkCursor(QSqlQuery query)
        : m_query(std::move(query))
    {
        advance();
    }
    std::vector<LinkRow> linksOf(qint64 nameId)
    {
        std::vector<LinkRow> links;
        while (m_has && m_current.nameId < nameId)
            advance();
        while (m_has && m_current.nameId == nameId) {
            links.push_back(m_current);
            advance();
        }
        return links;
    }

private:
    void advance()
    {
        m_has = m_query.next();
        if (!m_has)
            return;
        m_current = {m_query.value(0).toLongLong(),
                     m_query.value(1).toString(),
                     m_query.value(2).toString(),
                     m_query.value(3).toString(),
                     m_query.value(4).isNull() ? QString() : m_query.value(4).toString(),
                     m_query.value(5).toString() == QLatin1String("Y"),
                     m_query.value(6).toString() == QLatin1String("Y")};
    }

    QSqlQuery m_query;
    bool m_has = false;
    LinkRow m_current;
};

QString nullableText(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

const LinkRow* originalOf(const std::vector<LinkRow>& links)
{
    for (const LinkRow& link : links) {
        if (link.original)
            return &link;
    }
    return nullptr;
}

QString displayName(const NameRow& row)
{
    return row.author.isEmpty() ? row.name : row.name + QLatin1Char(' ') + row.author;
}

void writeText(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        throw Error(ErrorNumber::PathFileAccess,
                    QStringLiteral("%1 cannot be written: %2").arg(path, file.errorString()));
}

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

QByteArray yamlText(const QString& text)
{
    return '"'
        + QString(text)
              .replace(QLatin1Char('\\'), QLatin1String("\\\\"))
              .replace(QLatin1Char('"'), QLatin1String("\\\""))
              .toUtf8()
        + '"';
}

} // namespace

ChecklistExporter::ChecklistExporter(Database& db)
    : m_db(db)
{
}

std::optional<ChecklistFormat> ChecklistExporter::formatNamed(const QString& word)
{
    if (word.compare(QLatin1String("dwca"), Qt::CaseInsensitive) == 0)
        return ChecklistFormat::DarwinCoreArchive;
    if (word.compare(QLatin1String("coldp"), Qt::CaseInsensitive) == 0)
        return ChecklistFormat::ColDP;
    return std::nullopt;
}

ExportSummary ChecklistExporter::exportTo(const QString& path, ChecklistFormat format,
                                          const Progress& progress)
{
    ExportSummary summary;
    ExportTarget target(path);
    const QStringList files = writeFiles(target.filesFolder(), format, summary, progress);
    if (!path.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive)) {
        target.commitFolder();
        return summary;
    }
    const QString packed = target.stagedFile(QStringLiteral("package.zip"));
    // The last moment a cancel is taken: once the archive is in place, the export is done.
    if (progress)
        progress(NamesDone, QStringLiteral("Packing %1").arg(QFileInfo(path).fileName()));
    packZip(target.filesFolder(), files, packed);
    target.commitFile(packed);
    return summary;
}

QStringList ChecklistExporter::writeFiles(const QString& folder, ChecklistFormat format,
                                          ExportSummary& summary, const Progress& progress)
{
    const QDir dir(folder);
    const qint64 total = m_db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name")).toLongLong();
    // The names and their links are read side by side, both ordered by name; the links are
    // the smaller of the two, and PostgreSQL reads them whole first.
    const auto linkReading =
        m_db.dialect() == Dialect::PostgreSQL ? Database::Reading::Buffered : Database::Reading::ForwardOnce;
    LinkCursor links(m_db.query(
        QStringLiteral("SELECT x.scientific_name_id, r.reference_id, r.reference_code, r.full_citation, "
                       "r.publication_year, x.original_publication_ind, x.primary_reference_ind FROM "
                       "scientific_name_reference x JOIN reference r ON r.reference_id = "
                       "x.reference_id ORDER BY x.scientific_name_id, x.display_order, "
                       "x.scientific_name_reference_id"),
        {}, linkReading));
    QSqlQuery names =
        m_db.query(QStringLiteral("SELECT sn.scientific_name_id, sn.scientific_name, sn.author_name, "
                                  "nc.name_type_cd, nc.name_category_desc, cl.classification_level_name, "
                                  "est.nomenclaturally_est_desc, sn.nomenclaturally_est_sn_id, "
                                  "sn.relationship_to_establ_name FROM scientific_name sn LEFT JOIN "
                                  "d_name_category nc ON nc.d_name_category_id = sn.d_name_category_id LEFT "
                                  "JOIN d_classification_level cl ON cl.d_classification_level_id = "
                                  "sn.d_classification_level_id LEFT JOIN d_nomenclaturally_est est ON "
                                  "est.d_nomenclaturally_est_id = sn.d_nomenclaturally_est_id ORDER BY "
                                  "sn.scientific_name_id"));
    const bool dwca = format == ChecklistFormat::DarwinCoreArchive;
    const QStringList files = dwca ? QStringList {"meta.xml", "taxon.txt", "reference.txt"}
                                   : QStringList {"metadata.yaml", "NameUsage.tsv", "Reference.tsv"};
    const auto quoting = dwca ? DelimitedWriter::Quoting::WhenNeeded : DelimitedWriter::Quoting::Never;
    DelimitedWriter nameFile(dir.filePath(files[1]), quoting);
    std::optional<DelimitedWriter> linkFile;
    if (dwca) {
        QStringList header;
        for (const char* column : NameColumns)
            header << QLatin1String(column);
        nameFile.write(header << QStringLiteral("nameCategory")
                              << QStringLiteral("relationshipToEstablishedName"));
        linkFile.emplace(dir.filePath(files[2]), quoting);
        linkFile->write({"coreid", "bibliographicCitation", "identifier", "date", "type"});
    } else {
        nameFile.write({"ID", "parentID", "basionymID", "status", "scientificName", "authorship", "rank",
                        "code", "kingdom", "nameReferenceID", "referenceID",
                        ColdpChecklistReader::CategoryColumn, ColdpChecklistReader::RelationshipColumn,
                        ColdpChecklistReader::PrimaryColumn});
    }
    const QString stage = QStringLiteral("Writing %1").arg(files[1]);
    while (names.next()) {
        NameRow row {names.value(0).toLongLong(),
                     names.value(1).toString(),
                     nullableText(names.value(2)),
                     names.value(3).toString().isEmpty() ? QChar() : names.value(3).toString().front(),
                     nullableText(names.value(4)),
                     nullableText(names.value(5)),
                     nullableText(names.value(6)),
                     nullableText(names.value(7)),
                     nullableText(names.value(8))};
        const std::vector<LinkRow> nameLinks = links.linksOf(row.id);
        const LinkRow* original = originalOf(nameLinks);
        const QString id = QString::number(row.id);
        const QString rank = row.level.isEmpty() ? QString() : ChecklistVocabulary::rankWord(row.level);
        const QString code = ChecklistVocabulary::nomenclaturalCodeOf(row.type);
        const QString kingdom = ChecklistVocabulary::kingdomOf(row.type, row.category);
        if (dwca) {
            nameFile.write({id, displayName(row), row.author, rank, code, kingdom, row.status(),
                            row.linksToAccepted() ? row.link : QString(),
                            row.linksToAccepted() ? QString() : row.link,
                            original ? original->citation : QString(), original ? original->code : QString(),
                            original ? original->year : QString(), row.category, row.relationship});
            for (const LinkRow& link : nameLinks)
                linkFile->write({id, link.citation, link.code, link.year, link.type()});
        } else {
            QStringList others;
            QStringList primary;
            for (const LinkRow& link : nameLinks) {
                if (&link != original)
                    others << link.referenceId;
                if (link.primary)
                    primary << link.referenceId;
            }
            nameFile.write({id, row.linksToAccepted() ? row.link : QString(),
                            row.linksToAccepted() ? QString() : row.link, row.status(), row.name, row.author,
                            rank, code, kingdom, original ? original->referenceId : QString(),
                            others.join(QLatin1Char(',')), row.category, row.relationship,
                            primary.join(QLatin1Char(','))});
        }
        summary.links += qint64(nameLinks.size());
        if (++summary.names % ReportEvery == 0 && progress)
            progress(int(summary.names * NamesDone / std::max<qint64>(total, 1)), stage);
    }
    nameFile.close();
    if (dwca) {
        linkFile->close();
        writeText(dir.filePath(files[0]), metaXml());
        summary.references =
            m_db.scalar(QStringLiteral("SELECT count(DISTINCT reference_id) FROM scientific_name_reference"))
                .toLongLong();
        return files;
    }
    // A ColDP package holds every publication, linked to a name or not.
    DelimitedWriter referenceFile(dir.filePath(files[2]), quoting);
    referenceFile.write({"ID", "citation", "year", ColdpChecklistReader::CodeColumn});
    QSqlQuery references = m_db.query(QStringLiteral("SELECT reference_id, full_citation, publication_year, "
                                                     "reference_code FROM reference ORDER BY reference_id"));
    while (references.next()) {
        referenceFile.write({references.value(0).toString(), references.value(1).toString(),
                             nullableText(references.value(2)), references.value(3).toString()});
        ++summary.references;
    }
    referenceFile.close();
    writeText(dir.filePath(files[0]),
              "title: " + yamlText(QStringLiteral("Scientific names of %1").arg(m_db.url().display()))
                  + "\nissued: " + QDate::currentDate().toString(Qt::ISODate).toUtf8() + "\ndescription: "
                  + yamlText(QStringLiteral("%1 names exported by bryx-db").arg(summary.names)) + "\n");
    return files;
}

} // namespace bryx::host
