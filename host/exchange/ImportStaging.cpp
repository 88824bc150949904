#include "ImportStaging.h"

#include "ChecklistVocabulary.h"
#include "ImportSummary.h"
#include "NameAuthorship.h"
#include "db/Database.h"
#include "db/SampleData.h"
#include "error/Error.h"

#include <QRegularExpression>

namespace bryx::host {

namespace {

// Lengths the database's columns hold.
constexpr qsizetype NameLength = 255;
constexpr qsizetype CitationLength = 2000;
constexpr qsizetype CodeLength = 40;
// The SQLite database the staging tables are kept in.
constexpr const char* ScratchSchema = "import_staging";
// IDs reserved at a time for new names: few round trips, few IDs left unused at the end.
constexpr int32_t IdBlock = 4096;

const char* const TableDefinitions[] = {
    "import_name (seq integer PRIMARY KEY, file varchar(255), line integer, name_key varchar(255),"
    " scientific_name varchar(255), author_name varchar(255), formatted varchar(1000), placeholder char(1),"
    " category_id integer, level_id integer, est_id integer, relationship varchar(255),"
    " accepted_key varchar(255), basionym_key varchar(255), state char(1), existing_id integer,"
    " name_id integer, link_id integer)",
    "import_reference (ref_key varchar(255), code varchar(40), citation varchar(2000), year integer,"
    " file varchar(255), line integer)",
    "import_link (seq integer PRIMARY KEY, file varchar(255), line integer, name_key varchar(255),"
    " ref_key varchar(255), code varchar(40), citation varchar(2000), year integer, original char(1),"
    " primary_ind char(1), from_name_row char(1))",
    "import_citation (seq integer PRIMARY KEY, citation varchar(2000), code varchar(40), year integer,"
    " reference_id integer, created char(1))",
};

QVariant textOrNull(const QString& text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// A year as publications write it: the first four-digit run that reads as one.
QVariant yearOf(const QString& year, const QString& citation)
{
    static const QRegularExpression digits(QStringLiteral("(?<!\\d)(1[5-9]\\d\\d|20\\d\\d)(?!\\d)"));
    for (const QString& text : {year, citation}) {
        const QRegularExpressionMatch match = digits.match(text);
        if (match.hasMatch())
            return match.captured(1).toInt();
    }
    return {};
}

// A short code for a publication that has none: the first author's first letters and the
// year, as in "LINN1753".
QString codeOf(const QString& given, const QString& citation, const QVariant& year)
{
    if (!given.isEmpty() && given.size() <= CodeLength)
        return given;
    QString letters;
    for (const QChar c : citation) {
        if (c.isLetter())
            letters += c.toUpper();
        else if (!letters.isEmpty())
            break;
        if (letters.size() == 4)
            break;
    }
    return (letters + (year.isNull() ? QString() : year.toString())).left(CodeLength);
}

} // namespace

ImportStaging::ImportStaging(Database& db, ImportSummary& summary, bool skipBadRows, Progress progress)
    : m_db(db)
    , m_summary(summary)
    , m_skipBadRows(skipBadRows)
    , m_progress(std::move(progress))
    , m_codes(db)
    , m_names(
          RowInserter::open(db, QStringLiteral("import_name"),
                            QStringList {"seq", "file", "line", "name_key", "scientific_name", "author_name",
                                         "formatted", "placeholder", "category_id", "level_id", "est_id",
                                         "relationship", "accepted_key", "basionym_key", "name_id"}))
    , m_references(RowInserter::open(db, QStringLiteral("import_reference"),
                                     QStringList {"ref_key", "code", "citation", "year", "file", "line"}))
    , m_links(RowInserter::open(db, QStringLiteral("import_link"),
                                QStringList {"seq", "file", "line", "name_key", "ref_key", "code", "citation",
                                             "year", "original", "primary_ind", "from_name_row"}))
{
}

ImportStaging::Tables::Tables(Database& db)
    : m_db(db)
{
    if (db.dialect() != Dialect::SQLite)
        return;
    // An empty name gives a private database file, deleted when it is detached.
    db.exec(QStringLiteral("ATTACH DATABASE '' AS %1").arg(QLatin1String(ScratchSchema)));
    m_attached = true;
}

ImportStaging::Tables::~Tables()
{
    if (!m_attached)
        return;
    try {
        m_db.exec(QStringLiteral("DETACH DATABASE %1").arg(QLatin1String(ScratchSchema)));
    } catch (const Error&) {
        // The scratch file goes with the connection at the latest.
    }
}

void ImportStaging::Tables::create()
{
    const QString prefix = m_attached ? QStringLiteral("CREATE TABLE %1.").arg(QLatin1String(ScratchSchema))
                                      : QStringLiteral("CREATE TEMP TABLE ");
    const QString suffix = m_attached ? QString() : QStringLiteral(" ON COMMIT DROP");
    for (const char* table : TableDefinitions)
        m_db.exec(prefix + QLatin1String(table) + suffix);
}

void ImportStaging::Tables::createIndex(const QString& definition)
{
    const QString schema = m_attached ? QLatin1String(ScratchSchema) + QLatin1Char('.') : QString();
    m_db.exec(QStringLiteral("CREATE INDEX ") + schema + definition);
}

void ImportStaging::badRow(const RowOrigin& origin, const QString& reason)
{
    if (!m_skipBadRows)
        throw Error(ErrorNumber::InvalidArgument, QStringLiteral("%1: %2").arg(origin.text(), reason));
    m_summary.skip(origin, reason);
}

void ImportStaging::warning(const RowOrigin& origin, const QString& kind, const QString& detail)
{
    m_summary.warn(origin, kind, detail);
}

void ImportStaging::progress(qint64 done, qint64 total)
{
    if (m_progress)
        m_progress(done, total);
}

void ImportStaging::name(const ChecklistName& row)
{
    ++m_summary.namesRead;
    const NameAndAuthor parts = row.nameAndAuthor();
    if (parts.name.isEmpty())
        return badRow(row.origin, QStringLiteral("the row has no scientific name"));
    if (parts.name.size() > NameLength || parts.author.size() > NameLength)
        return badRow(
            row.origin,
            QStringLiteral("the name or its authorship is longer than %1 characters").arg(NameLength));
    std::optional<QChar> type = ChecklistVocabulary::nameTypeOf(row.nomenclaturalCode, row.kingdom);
    if (!type && !row.category.isEmpty())
        type = m_codes.typeOfCategory(row.category);
    if (!type)
        return badRow(row.origin,
                      QStringLiteral("neither the nomenclatural code (\"%1\") nor the kingdom (\"%2\") "
                                     "tells whether the name is botanical, zoological or a community")
                          .arg(row.nomenclaturalCode, row.kingdom));
    const QString categoryName = row.category.isEmpty()
        ? ChecklistVocabulary::categoryOf(*type, row.kingdom, row.phylum, row.className)
        : row.category;
    const std::optional<ImportCodeLists::Category> category = m_codes.category(categoryName, *type);
    if (!category)
        return badRow(row.origin,
                      QStringLiteral("the category \"%1\" is not one for %2 names")
                          .arg(categoryName, ChecklistVocabulary::nameTypeDescription(*type).toLower()));
    QVariant level;
    if (!row.rank.isEmpty()) {
        const std::optional<int32_t> levelId = m_codes.level(category->framework, row.rank);
        if (!levelId)
            return badRow(row.origin, QStringLiteral("the rank \"%1\" is unknown").arg(row.rank));
        level = *levelId;
    }
    QString establishment = ChecklistVocabulary::establishmentOf(row.taxonomicStatus);
    if (!row.acceptedKey.isEmpty() && (establishment.isEmpty() || establishment == QLatin1String("Accepted")))
        establishment = QStringLiteral("Synonym");
    QString relationship = row.relationship;
    if (relationship.isEmpty() && row.acceptedKey.isEmpty() && !row.basionymKey.isEmpty())
        relationship = QStringLiteral("Basionym");
    // A status that says more than the establishment code ("heterotypic synonym") is kept.
    if (relationship.isEmpty() && !row.acceptedKey.isEmpty() && !row.taxonomicStatus.isEmpty()
        && row.taxonomicStatus.compare(establishment, Qt::CaseInsensitive) != 0)
        relationship = row.taxonomicStatus.trimmed();
    if (m_idsLeft == 0) {
        m_nextId = m_db.reserveIds(IdBlock);
        m_idsLeft = IdBlock;
    }
    --m_idsLeft;
    if (!row.acceptedKey.isEmpty() || !row.basionymKey.isEmpty())
        ++m_linkedNames;
    const QString key =
        row.key.isEmpty() ? QStringLiteral("@%1:%2").arg(row.origin.file).arg(row.origin.line) : row.key;
    m_names->add({++m_sequence, row.origin.file, row.origin.line, key, parts.name, textOrNull(parts.author),
                  SampleData::formattedName(parts.name, QString(*type)),
                  parts.name.endsWith(QLatin1String(" sp."), Qt::CaseInsensitive) ? "Y" : "N", category->id,
                  level,
                  establishment.isEmpty() ? QVariant() : QVariant(m_codes.establishment(establishment)),
                  textOrNull(relationship.left(NameLength)), textOrNull(row.acceptedKey),
                  row.acceptedKey.isEmpty() ? textOrNull(row.basionymKey) : QVariant(), m_nextId++});
}

void ImportStaging::reference(const ChecklistReference& row)
{
    const QString citation = row.citation.left(CitationLength);
    const QVariant year = yearOf(row.year, citation);
    m_references->add(
        {row.key, codeOf(row.code, citation, year), citation, year, row.origin.file, row.origin.line});
}

void ImportStaging::link(const ChecklistLink& row)
{
    const QString citation = row.citation.left(CitationLength);
    const QVariant year = yearOf(row.year, citation);
    m_links->add(
        {++m_linkSequence, row.origin.file, row.origin.line, row.nameKey, textOrNull(row.referenceKey),
         citation.isEmpty() ? QVariant() : QVariant(codeOf(row.code, citation, year)), textOrNull(citation),
         year, row.original ? "Y" : "N", row.primary ? "Y" : "N", row.fromNameRow ? "Y" : "N"});
}

void ImportStaging::flush()
{
    m_names->flush();
    m_references->flush();
    m_links->flush();
}

} // namespace bryx::host
