#include "DwcaChecklistReader.h"

#include "ArchiveFolder.h"
#include "ChecklistRecords.h"
#include "ChecklistVocabulary.h"
#include "DwcaRowReader.h"
#include "error/Error.h"

#include <QHash>
#include <QIODevice>

namespace bryx::host {

const QString DwcaChecklistReader::CategoryTerm = QStringLiteral("http://bryx.invalid/terms/nameCategory");
const QString DwcaChecklistReader::RelationshipTerm =
    QStringLiteral("http://bryx.invalid/terms/relationshipToEstablishedName");

namespace {

const QString TaxonRowType = QStringLiteral("http://rs.tdwg.org/dwc/terms/Taxon");
const QString ReferenceRowType = QStringLiteral("http://rs.gbif.org/terms/1.0/Reference");

// The cells of one row, read through the file's declared columns and defaults. Columns are
// looked up by term once per file, not once per cell.
class DeclaredRow {
public:
    DeclaredRow(const DwcaFile& file, const QStringList& cells)
        : m_file(file)
        , m_cells(cells)
    {
    }
    QString value(const DwcaField* field) const
    {
        if (!field)
            return {};
        const QString cell = field->index >= 0 ? m_cells.value(field->index).trimmed() : QString();
        return cell.isEmpty() && field->hasDefault ? field->defaultValue : cell;
    }
    QString id() const { return m_file.idIndex >= 0 ? m_cells.value(m_file.idIndex).trimmed() : QString(); }

private:
    const DwcaFile& m_file;
    const QStringList& m_cells;
};

// The declared columns of a file by term, found before its rows are read.
class Columns {
public:
    explicit Columns(const DwcaFile& file)
        : m_file(file)
    {
    }
    const DwcaField* operator[](const QString& term)
    {
        const auto found = m_fields.constFind(term);
        if (found != m_fields.cend())
            return *found;
        const DwcaField* field = m_file.field(term);
        m_fields.insert(term, field);
        return field;
    }

private:
    const DwcaFile& m_file;
    QHash<QString, const DwcaField*> m_fields;
};

// The widest column a file's description names: every row must reach it.
int declaredWidth(const DwcaFile& file)
{
    int width = file.idIndex + 1;
    for (const DwcaField& field : file.fields)
        width = std::max(width, field.index + 1);
    return width;
}

// Streams the rows of one data file and hands them on. A row shorter than the header has its
// trailing fields empty, as archives that drop them mean it; a row longer keeps the declared
// fields, and the summary counts it.
template<typename Row>
void readRows(const ArchiveFolder& package, const DwcaFile& file, ChecklistSink& sink, qint64& done,
              qint64 total, Row&& row)
{
    const std::unique_ptr<QIODevice> device = package.open(file.location);
    DwcaRowReader reader(*device, file, file.location);
    const int needed = declaredWidth(file);
    QStringList cells;
    qint64 rows = 0;
    const qint64 before = done;
    bool first = true;
    while (reader.next(cells)) {
        const RowOrigin origin {file.location, reader.rowLine()};
        const qsizetype width = reader.header().isEmpty() ? needed : reader.header().size();
        if (first && !reader.header().isEmpty() && width < needed)
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("%1: meta.xml declares column %2, but the header has %3 columns")
                            .arg(origin.text())
                            .arg(needed - 1)
                            .arg(width));
        first = false;
        if (cells.size() > width)
            sink.warning(origin, longRowsWarning(),
                         QStringLiteral("%1 fields where the header has %2").arg(cells.size()).arg(width));
        row(DeclaredRow(file, cells), origin);
        if (++rows % 4096 == 0)
            sink.progress(before + reader.bytesRead(), total);
    }
    done = before + reader.bytesRead();
    sink.progress(done, total);
}

} // namespace

DwcaChecklistReader::DwcaChecklistReader(const ArchiveFolder& package)
    : m_package(package)
{
    m_metaName = package.find(QStringLiteral("meta.xml"));
    if (m_metaName.isEmpty())
        throw Error(ErrorNumber::FileNotFound, QStringLiteral("%1 holds no meta.xml").arg(package.path()));
    m_meta = DwcaMeta::parse(package.readAll(m_metaName, DwcaMeta::MaxBytes), m_metaName);
    check();
}

DwcaChecklistReader::DwcaChecklistReader(const ArchiveFolder& package, DwcaMeta meta)
    : m_package(package)
    , m_metaName(meta.core.location)
    , m_meta(std::move(meta))
{
    check();
}

void DwcaChecklistReader::check() const
{
    if (m_package.find(m_meta.core.location).isEmpty())
        throw Error(ErrorNumber::FileNotFound,
                    QStringLiteral("%1: meta.xml names the data file %2, which the archive does not hold")
                        .arg(m_package.path(), m_meta.core.location));
    if (m_meta.core.rowType != TaxonRowType)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1: the archive's core holds %2 records, not a checklist of taxa")
                        .arg(m_package.path(), DwcaMeta::termName(m_meta.core.rowType)));
    if (!m_meta.core.field(QStringLiteral("scientificName")) && !m_meta.core.field(QStringLiteral("genus")))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1: meta.xml declares neither a scientificName nor a genus column")
                        .arg(m_metaName));
}

void DwcaChecklistReader::read(ChecklistSink& sink) const
{
    const DwcaFile& core = m_meta.core;
    const DwcaFile* references = nullptr;
    for (const DwcaFile& extension : m_meta.extensions) {
        const RowOrigin declared {m_metaName, extension.declaredOnLine};
        if (extension.rowType != ReferenceRowType)
            sink.warning(
                declared, QStringLiteral("extensions this program does not read"),
                QStringLiteral("%1 (%2)").arg(DwcaMeta::termName(extension.rowType), extension.location));
        else if (m_package.find(extension.location).isEmpty())
            sink.warning(declared, QStringLiteral("extension files missing from the archive"),
                         QStringLiteral("%1 is not in the archive; its references are not read")
                             .arg(extension.location));
        else if (extension.idIndex < 0)
            sink.warning(declared, QStringLiteral("extensions without a coreid column"),
                         QStringLiteral("%1 does not say which name each row belongs to; it is not read")
                             .arg(extension.location));
        else if (!references)
            references = &extension;
    }
    qint64 total = m_package.size(core.location);
    if (references)
        total += m_package.size(references->location);
    qint64 done = 0;

    const bool authorshipColumn = core.field(QStringLiteral("scientificNameAuthorship")) != nullptr;
    Columns coreColumn(core);
    const DwcaField* const taxonId = coreColumn[QStringLiteral("taxonID")];
    const DwcaField* const scientificName = coreColumn[QStringLiteral("scientificName")];
    const DwcaField* const authorship = coreColumn[QStringLiteral("scientificNameAuthorship")];
    const DwcaField* const rank = coreColumn[QStringLiteral("taxonRank")];
    const DwcaField* const code = coreColumn[QStringLiteral("nomenclaturalCode")];
    const DwcaField* const kingdom = coreColumn[QStringLiteral("kingdom")];
    const DwcaField* const phylum = coreColumn[QStringLiteral("phylum")];
    const DwcaField* const className = coreColumn[QStringLiteral("class")];
    const DwcaField* const order = coreColumn[QStringLiteral("order")];
    const DwcaField* const family = coreColumn[QStringLiteral("family")];
    const DwcaField* const higher = coreColumn[QStringLiteral("higherClassification")];
    const DwcaField* const parent = coreColumn[QStringLiteral("parentNameUsageID")];
    const DwcaField* const genus = coreColumn[QStringLiteral("genus")];
    const DwcaField* const subgenus = coreColumn[QStringLiteral("subgenus")];
    const DwcaField* const specific = coreColumn[QStringLiteral("specificEpithet")];
    const DwcaField* const infraspecific = coreColumn[QStringLiteral("infraspecificEpithet")];
    const DwcaField* const verbatimRank = coreColumn[QStringLiteral("verbatimTaxonRank")];
    const DwcaField* const category = coreColumn[CategoryTerm];
    const DwcaField* const relationship = coreColumn[RelationshipTerm];
    const DwcaField* const status = coreColumn[QStringLiteral("taxonomicStatus")];
    const DwcaField* const accepted = coreColumn[QStringLiteral("acceptedNameUsageID")];
    const DwcaField* const basionym = coreColumn[QStringLiteral("originalNameUsageID")];
    const DwcaField* const publishedIn = coreColumn[QStringLiteral("namePublishedIn")];
    const DwcaField* const publishedInYear = coreColumn[QStringLiteral("namePublishedInYear")];
    const DwcaField* const publishedInId = coreColumn[QStringLiteral("namePublishedInID")];
    readRows(m_package, core, sink, done, total, [&](const DeclaredRow& row, const RowOrigin& origin) {
        ChecklistName name;
        name.authorshipColumn = authorshipColumn;
        name.origin = origin;
        name.key = row.id();
        if (name.key.isEmpty())
            name.key = row.value(taxonId);
        name.scientificName = row.value(scientificName);
        name.authorship = row.value(authorship);
        name.rank = row.value(rank);
        name.nomenclaturalCode = row.value(code);
        name.kingdom = row.value(kingdom);
        name.phylum = row.value(phylum);
        name.className = row.value(className);
        name.order = row.value(order);
        name.family = row.value(family);
        name.higherClassification = row.value(higher);
        // A link to the row itself (as archives write it for an accepted name) is no link.
        auto linkOf = [&](const DwcaField* field) {
            const QString key = row.value(field);
            return key == name.key ? QString() : key;
        };
        name.parentKey = linkOf(parent);
        if (name.scientificName.isEmpty()) {
            name.parts.genus = row.value(genus);
            name.parts.infrageneric = row.value(subgenus);
            name.parts.specific = row.value(specific);
            name.parts.infraspecific = row.value(infraspecific);
            name.parts.rank = name.rank;
            name.parts.verbatimRank = row.value(verbatimRank);
        }
        name.category = row.value(category);
        name.relationship = row.value(relationship);
        name.taxonomicStatus = row.value(status);
        name.acceptedKey = linkOf(accepted);
        name.basionymKey = linkOf(basionym);
        sink.name(name);
        const QString citation = row.value(publishedIn);
        if (!citation.isEmpty()) {
            ChecklistLink link;
            link.origin = origin;
            link.nameKey = name.key;
            link.citation = citation;
            link.year = row.value(publishedInYear);
            link.code = row.value(publishedInId);
            link.original = true;
            link.fromNameRow = true;
            sink.link(link);
        }
    });
    if (!references)
        return;
    Columns referenceColumn(*references);
    readRows(m_package, *references, sink, done, total, [&](const DeclaredRow& row, const RowOrigin& origin) {
        ChecklistLink link;
        link.origin = origin;
        link.nameKey = row.id();
        link.citation = row.value(referenceColumn[QStringLiteral("bibliographicCitation")]);
        if (link.citation.isEmpty()) {
            link.citation = citationFrom({row.value(referenceColumn[QStringLiteral("creator")]),
                                          row.value(referenceColumn[QStringLiteral("date")]),
                                          row.value(referenceColumn[QStringLiteral("title")]),
                                          row.value(referenceColumn[QStringLiteral("source")])});
        }
        if (link.citation.isEmpty()) {
            sink.badRow(origin, QStringLiteral("the reference has no citation"));
            return;
        }
        link.code = row.value(referenceColumn[QStringLiteral("identifier")]);
        link.year = row.value(referenceColumn[QStringLiteral("date")]);
        const QString type = row.value(referenceColumn[QStringLiteral("type")]);
        link.original = type.contains(QLatin1String("original"), Qt::CaseInsensitive);
        link.primary = type.contains(QLatin1String("primary"), Qt::CaseInsensitive);
        sink.link(link);
    });
}

} // namespace bryx::host
