#include "ColdpChecklistWriter.h"

#include "ChecklistExporter.h"
#include "ColdpChecklistReader.h"
#include "StoredNames.h"
#include "db/Database.h"

#include <QDate>
#include <QSqlQuery>

namespace bryx::host {

namespace {

QByteArray yamlText(const QString& text)
{
    return '"'
        + QString(text)
              .replace(QLatin1Char('\\'), QLatin1String("\\\\"))
              .replace(QLatin1Char('"'), QLatin1String("\\\""))
              .toUtf8()
        + '"';
}

QString nullableText(const QVariant& value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

ColdpChecklistWriter::ColdpChecklistWriter(const QString& folder)
    : m_folder(folder)
    , m_usages(m_folder.filePath(QStringLiteral("NameUsage.tsv")), DelimitedWriter::Quoting::Never)
{
    m_usages.write({"ID", "parentID", "basionymID", "status", "scientificName", "authorship", "rank", "code",
                    "kingdom", "nameReferenceID", "referenceID", ColdpChecklistReader::CategoryColumn,
                    ColdpChecklistReader::RelationshipColumn, ColdpChecklistReader::PrimaryColumn});
}

QStringList ColdpChecklistWriter::files() const
{
    return {"metadata.yaml", "NameUsage.tsv", "Reference.tsv"};
}

QString ColdpChecklistWriter::namesFile() const
{
    return QStringLiteral("NameUsage.tsv");
}

void ColdpChecklistWriter::writeName(const StoredNames& names)
{
    const NameRow& row = names.row();
    const LinkRow* original = names.original();
    QStringList others;
    QStringList primary;
    for (const LinkRow& link : names.links()) {
        if (&link != original)
            others << link.referenceId;
        if (link.primary)
            primary << link.referenceId;
    }
    m_usages.write({QString::number(row.id), row.linksToAccepted() ? row.link : QString(),
                    row.linksToAccepted() ? QString() : row.link, row.status(), row.name, row.author,
                    row.rank(), row.code(), row.kingdom(), original ? original->referenceId : QString(),
                    others.join(QLatin1Char(',')), row.category, row.relationship,
                    primary.join(QLatin1Char(','))});
}

void ColdpChecklistWriter::finish(Database& db, ExportSummary& summary)
{
    m_usages.close();
    // A ColDP package holds every publication, linked to a name or not.
    DelimitedWriter referenceFile(m_folder.filePath(QStringLiteral("Reference.tsv")),
                                  DelimitedWriter::Quoting::Never);
    referenceFile.write({"ID", "citation", "year", ColdpChecklistReader::CodeColumn});
    QSqlQuery references = db.query(QStringLiteral("SELECT reference_id, full_citation, publication_year, "
                                                   "reference_code FROM reference ORDER BY reference_id"));
    while (references.next()) {
        referenceFile.write({references.value(0).toString(), references.value(1).toString(),
                             nullableText(references.value(2)), references.value(3).toString()});
        ++summary.references;
    }
    referenceFile.close();
    writeText(m_folder.filePath(QStringLiteral("metadata.yaml")),
              "title: " + yamlText(QStringLiteral("Scientific names of %1").arg(db.url().display()))
                  + "\nissued: " + QDate::currentDate().toString(Qt::ISODate).toUtf8() + "\ndescription: "
                  + yamlText(QStringLiteral("%1 names exported by bryx-db").arg(summary.names)) + "\n");
}

} // namespace bryx::host
