#include "ColdpChecklistReader.h"

#include "ArchiveFolder.h"
#include "ChecklistRecords.h"
#include "ChecklistVocabulary.h"
#include "DwcaRowReader.h"
#include "error/Error.h"

#include <QHash>
#include <QIODevice>

namespace bryx::host {

const QString ColdpChecklistReader::CategoryColumn = QStringLiteral("bryx:nameCategory");
const QString ColdpChecklistReader::RelationshipColumn = QStringLiteral("bryx:relationship");
const QString ColdpChecklistReader::CodeColumn = QStringLiteral("bryx:code");
const QString ColdpChecklistReader::PrimaryColumn = QStringLiteral("bryx:primaryReferenceID");

namespace {

// The member holding a table, whichever of the extensions ColDP allows it has.
QString tableFile(const ArchiveFolder& package, const QString& table)
{
    for (const char* extension : {".tsv", ".txt", ".csv"}) {
        const QString member = package.find(table + QLatin1String(extension));
        if (!member.isEmpty())
            return member;
    }
    return {};
}

// One ColDP table read row by row, its cells found by column name.
class Table {
public:
    Table(const ArchiveFolder& package, const QString& member, const ColdpDefaults& defaults)
        : m_member(member)
        , m_device(package.open(member))
        , m_reader(*m_device, dialect(member), member)
        , m_defaults(defaults.of(member.section(QLatin1Char('/'), -1).section(QLatin1Char('.'), 0, 0)))
    {
    }
    // The next row. One shorter than the header has its trailing fields empty; one longer
    // keeps the header's, and the summary counts it.
    bool next(ChecklistSink& sink)
    {
        if (!m_reader.next(m_cells))
            return false;
        if (m_columns.isEmpty())
            indexColumns();
        if (m_cells.size() > m_width)
            sink.warning(
                origin(), longRowsWarning(),
                QStringLiteral("%1 fields where the header has %2").arg(m_cells.size()).arg(m_width));
        return true;
    }
    QString value(const QString& column) const
    {
        const QString name = column.toLower();
        const int index = m_columns.value(name, -1);
        const QString cell = index >= 0 ? m_cells.value(index).trimmed() : QString();
        return cell.isEmpty() ? m_defaults.value(name) : cell;
    }
    bool has(const QString& column) const
    {
        return m_columns.contains(column.toLower()) || m_defaults.contains(column.toLower());
    }
    RowOrigin origin() const { return {m_member, m_reader.rowLine()}; }
    qint64 bytesRead() const { return m_reader.bytesRead(); }

private:
    static DwcaFile dialect(const QString& member)
    {
        DwcaFile file;
        file.location = member;
        file.ignoreHeaderLines = 1;
        if (member.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
            file.fieldsTerminatedBy = QStringLiteral(",");
        } else {
            file.fieldsTerminatedBy = QStringLiteral("\t");
            file.fieldsEnclosedBy.reset();
        }
        return file;
    }
    void indexColumns()
    {
        const QStringList& header = m_reader.header();
        m_width = header.size();
        for (int i = 0; i < header.size(); ++i) {
            QString name = header.at(i).trimmed().toLower();
            if (name.startsWith(QLatin1String("col:")))
                name = name.mid(4);
            m_columns.insert(name, i);
        }
    }

    QString m_member;
    std::unique_ptr<QIODevice> m_device;
    DwcaRowReader m_reader;
    QStringList m_cells;
    QHash<QString, int> m_columns;
    QHash<QString, QString> m_defaults;
    qsizetype m_width = 0;
};

// What a taxon row tells a name: its higher classification.
struct Classification {
    QString kingdom;
    QString phylum;
    QString className;
    QString order;
    QString family;
};

// Whether a status makes the row's parent its accepted name rather than its higher taxon.
bool linksToAccepted(const QString& status)
{
    const QString establishment = ChecklistVocabulary::establishmentOf(status);
    return !establishment.isEmpty() && establishment != QLatin1String("Accepted");
}

Classification classificationOf(const Table& table)
{
    return {table.value(QStringLiteral("kingdom")), table.value(QStringLiteral("phylum")),
            table.value(QStringLiteral("class")), table.value(QStringLiteral("order")),
            table.value(QStringLiteral("family"))};
}

void classify(ChecklistName& name, const Classification& classification)
{
    name.kingdom = classification.kingdom;
    name.phylum = classification.phylum;
    name.className = classification.className;
    name.order = classification.order;
    name.family = classification.family;
}

// Authors by ID (Author.tsv), as a name's authorship writes them: the botanical abbreviation
// when there is one, else the family name.
using Authors = QHash<QString, QString>;

// "Linnaeus", "Linnaeus & Smith", "Linnaeus, Smith & Jones" from a list of author IDs, or the
// team as written when the package gives it.
QString teamOf(const Table& table, const QString& prefix, const Authors& authors)
{
    QString written = table.value(prefix + QStringLiteral("Authorship"));
    if (written.isEmpty()) {
        QStringList names;
        for (const QString& id :
             table.value(prefix + QStringLiteral("AuthorshipID")).split(QLatin1Char(','), Qt::SkipEmptyParts))
            names << authors.value(id.trimmed(), id.trimmed());
        const QString last = names.isEmpty() ? QString() : names.takeLast();
        written = names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" & ") + last;
    }
    const QString ex = table.value(prefix + QStringLiteral("ExAuthorship"));
    if (!ex.isEmpty() && !written.isEmpty())
        written = ex + QStringLiteral(" ex ") + written;
    const QString year = table.value(prefix + QStringLiteral("AuthorshipYear"));
    if (!year.isEmpty())
        written = written.isEmpty() ? year : written + QStringLiteral(", ") + year;
    return written;
}

// A name's authorship from its parts, for a package that gives no whole authorship:
// "(basionym authors, year) combination authors, year".
QString authorshipFromParts(const Table& table, const Authors& authors)
{
    const QString basionym = teamOf(table, QStringLiteral("basionym"), authors);
    const QString combination = teamOf(table, QStringLiteral("combination"), authors);
    if (basionym.isEmpty())
        return combination;
    return combination.isEmpty() ? QStringLiteral("(%1)").arg(basionym)
                                 : QStringLiteral("(%1) %2").arg(basionym, combination);
}

// The columns a name row has in either layout (NameUsage.tsv or Name.tsv).
ChecklistName nameOf(const Table& table, const Authors& authors)
{
    ChecklistName name;
    name.origin = table.origin();
    name.key = table.value(QStringLiteral("ID"));
    name.scientificName = table.value(QStringLiteral("scientificName"));
    name.authorship = table.value(QStringLiteral("authorship"));
    name.authorshipColumn = table.has(QStringLiteral("authorship"));
    if (name.authorship.isEmpty()) {
        name.authorship = authorshipFromParts(table, authors);
        name.authorshipColumn = name.authorshipColumn || !name.authorship.isEmpty();
    }
    name.rank = table.value(QStringLiteral("rank"));
    if (name.scientificName.isEmpty()) {
        name.parts.uninomial = table.value(QStringLiteral("uninomial"));
        name.parts.genus = table.value(QStringLiteral("genus"));
        name.parts.infrageneric = table.value(QStringLiteral("infragenericEpithet"));
        name.parts.specific = table.value(QStringLiteral("specificEpithet"));
        name.parts.infraspecific = table.value(QStringLiteral("infraspecificEpithet"));
        name.parts.rank = name.rank;
    }
    name.nomenclaturalCode = table.value(QStringLiteral("code"));
    name.category = table.value(ColdpChecklistReader::CategoryColumn);
    name.relationship = table.value(ColdpChecklistReader::RelationshipColumn);
    name.basionymKey = table.value(QStringLiteral("basionymID"));
    if (name.basionymKey == name.key)
        name.basionymKey.clear();
    return name;
}

QStringList idList(const QString& text)
{
    QStringList ids = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString& id : ids)
        id = id.trimmed();
    return ids;
}

void sendLinks(ChecklistSink& sink, const Table& table, const QString& nameKey, const QString& original,
               const QString& others)
{
    const QStringList primary = idList(table.value(ColdpChecklistReader::PrimaryColumn));
    ChecklistLink link;
    link.origin = table.origin();
    link.nameKey = nameKey;
    if (!original.isEmpty()) {
        link.referenceKey = original;
        link.original = true;
        link.primary = primary.contains(original);
        sink.link(link);
    }
    link.original = false;
    for (const QString& key : idList(others)) {
        link.referenceKey = key;
        link.primary = primary.contains(key);
        if (key != original)
            sink.link(link);
    }
}

} // namespace

ColdpChecklistReader::ColdpChecklistReader(const ArchiveFolder& package)
    : m_package(package)
{
    if (!recognises(package))
        throw Error(ErrorNumber::FileNotFound,
                    QStringLiteral("%1 holds neither NameUsage.tsv nor Name.tsv").arg(package.path()));
    for (const char* name : {"default.yaml", "default.yml"}) {
        const QString member = package.find(QLatin1String(name));
        if (!member.isEmpty()) {
            m_defaults = ColdpDefaults::parse(package.readAll(member, ColdpDefaults::MaxBytes));
            break;
        }
    }
}

bool ColdpChecklistReader::recognises(const ArchiveFolder& package)
{
    return !tableFile(package, QStringLiteral("NameUsage")).isEmpty()
        || !tableFile(package, QStringLiteral("Name")).isEmpty();
}

void ColdpChecklistReader::read(ChecklistSink& sink) const
{
    const QString usageFile = tableFile(m_package, QStringLiteral("NameUsage"));
    const QString nameFile = tableFile(m_package, QStringLiteral("Name"));
    const QString taxonFile = tableFile(m_package, QStringLiteral("Taxon"));
    const QString synonymFile = tableFile(m_package, QStringLiteral("Synonym"));
    const QString referenceFile = tableFile(m_package, QStringLiteral("Reference"));
    qint64 total = 0;
    for (const QString& file :
         {usageFile.isEmpty() ? nameFile : usageFile, taxonFile, synonymFile, referenceFile})
        total += file.isEmpty() ? 0 : m_package.size(file);
    qint64 done = 0;
    Authors authors;
    if (const QString authorFile = tableFile(m_package, QStringLiteral("Author")); !authorFile.isEmpty()) {
        Table table(m_package, authorFile, m_defaults);
        while (table.next(sink)) {
            const QString abbreviation = table.value(QStringLiteral("abbreviationBotany"));
            authors.insert(table.value(QStringLiteral("ID")),
                           abbreviation.isEmpty() ? table.value(QStringLiteral("family")) : abbreviation);
        }
    }
    auto progress = [&](const Table& table, qint64& rows) {
        if (++rows % 4096 == 0)
            sink.progress(done + table.bytesRead(), total);
    };

    if (!referenceFile.isEmpty()) {
        Table table(m_package, referenceFile, m_defaults);
        qint64 rows = 0;
        while (table.next(sink)) {
            ChecklistReference reference;
            reference.origin = table.origin();
            reference.key = table.value(QStringLiteral("ID"));
            reference.code = table.has(CodeColumn) ? table.value(CodeColumn) : reference.key;
            reference.citation = table.value(QStringLiteral("citation"));
            reference.year = table.value(QStringLiteral("year"));
            if (reference.citation.isEmpty()) {
                reference.citation = citationFrom({table.value(QStringLiteral("author")), reference.year,
                                                   table.value(QStringLiteral("title")),
                                                   table.value(QStringLiteral("containerTitle"))});
            }
            if (reference.key.isEmpty() || reference.citation.isEmpty())
                sink.badRow(reference.origin, QStringLiteral("the reference has no ID or no citation"));
            else
                sink.reference(reference);
            progress(table, rows);
        }
        done += table.bytesRead();
    }

    if (!usageFile.isEmpty()) {
        Table table(m_package, usageFile, m_defaults);
        qint64 rows = 0;
        while (table.next(sink)) {
            ChecklistName name = nameOf(table, authors);
            classify(name, classificationOf(table));
            name.taxonomicStatus = table.value(QStringLiteral("status"));
            const QString parent = table.value(QStringLiteral("parentID"));
            if (linksToAccepted(name.taxonomicStatus))
                name.acceptedKey = parent;
            else if (parent != name.key)
                name.parentKey = parent;
            sink.name(name);
            sendLinks(sink, table, name.key, table.value(QStringLiteral("nameReferenceID")),
                      table.value(QStringLiteral("referenceID")));
            progress(table, rows);
        }
        sink.progress(done + table.bytesRead(), total);
        return;
    }

    // The split layout: a name's status and accepted name come from the taxon and synonym
    // tables, which are read first and kept by ID.
    QHash<QString, QString> nameOfTaxon;
    QHash<QString, QString> parentTaxonOfName;
    QHash<QString, Classification> classificationOfName;
    QHash<QString, std::pair<QString, QString>> synonymOfName; // name ID -> accepted taxon ID, status
    if (!taxonFile.isEmpty()) {
        Table table(m_package, taxonFile, m_defaults);
        qint64 rows = 0;
        while (table.next(sink)) {
            const QString nameKey = table.value(QStringLiteral("nameID"));
            nameOfTaxon.insert(table.value(QStringLiteral("ID")), nameKey);
            parentTaxonOfName.insert(nameKey, table.value(QStringLiteral("parentID")));
            classificationOfName.insert(nameKey, classificationOf(table));
            progress(table, rows);
        }
        done += table.bytesRead();
    }
    if (!synonymFile.isEmpty()) {
        Table table(m_package, synonymFile, m_defaults);
        qint64 rows = 0;
        while (table.next(sink)) {
            synonymOfName.insert(
                table.value(QStringLiteral("nameID")),
                {table.value(QStringLiteral("taxonID")), table.value(QStringLiteral("status"))});
            progress(table, rows);
        }
        done += table.bytesRead();
    }
    Table table(m_package, nameFile, m_defaults);
    qint64 rows = 0;
    while (table.next(sink)) {
        ChecklistName name = nameOf(table, authors);
        Classification classification = classificationOfName.value(name.key);
        const auto synonym = synonymOfName.constFind(name.key);
        if (synonym != synonymOfName.cend()) {
            const auto accepted = nameOfTaxon.constFind(synonym->first);
            // A synonym of a taxon the package does not hold keeps its taxon ID, which the import
            // then reports as a link to a missing name.
            name.acceptedKey = accepted != nameOfTaxon.cend() ? *accepted : synonym->first;
            name.taxonomicStatus = synonym->second.isEmpty() ? QStringLiteral("synonym") : synonym->second;
            if (accepted != nameOfTaxon.cend())
                classification = classificationOfName.value(*accepted);
        } else if (classificationOfName.contains(name.key)) {
            name.taxonomicStatus = QStringLiteral("accepted");
            name.parentKey = nameOfTaxon.value(parentTaxonOfName.value(name.key));
        }
        classify(name, classification);
        sink.name(name);
        sendLinks(sink, table, name.key, table.value(QStringLiteral("referenceID")), {});
        progress(table, rows);
    }
    sink.progress(done + table.bytesRead(), total);
}

} // namespace bryx::host
