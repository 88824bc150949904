#include "ImportStaging.h"

#include "AuthorshipSplitter.h"
#include "ChecklistVocabulary.h"
#include "ImportSummary.h"
#include "NameTypeRules.h"
#include "db/Database.h"
#include "db/SampleData.h"
#include "error/Error.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace bryx::host {

namespace {

// Lengths the database's columns hold.
constexpr qsizetype NameLength = 255;
constexpr qsizetype CitationLength = 2000;
// A NUL cannot be stored in PostgreSQL's text, and means a damaged file anywhere.
const QString NulReason = QStringLiteral("the row holds a NUL character, which no name or citation may");
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
    " name_id integer, link_id integer, name_type char(1), parent_key varchar(255), category_text "
    "varchar(255),"
    " kingdom varchar(255), phylum varchar(255), class_name varchar(255), rank_text varchar(255),"
    " atomised char(1), groups varchar(1000))",
    "import_typed (seq integer PRIMARY KEY, scientific_name varchar(255), name_type char(1),"
    " category_id integer, level_id integer, formatted varchar(1000), state char(1), inherits char(1))",
    "import_reference (ref_key varchar(255), code varchar(40), citation varchar(2000), year integer,"
    " file varchar(255), line integer)",
    "import_link (seq integer PRIMARY KEY, file varchar(255), line integer, name_key varchar(255),"
    " ref_key varchar(255), code varchar(40), citation varchar(2000), year integer, original char(1),"
    " primary_ind char(1), from_name_row char(1))",
    "import_citation (seq integer PRIMARY KEY, citation varchar(2000), code varchar(40), year integer,"
    " reference_id integer, created char(1))",
};

bool holdsNul(std::initializer_list<const QString*> texts)
{
    for (const QString* text : texts) {
        if (text->contains(QChar(0)))
            return true;
    }
    return false;
}

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
    , m_names(RowInserter::open(
          db, QStringLiteral("import_name"),
          QStringList {"seq",         "file",         "line",         "name_key",      "scientific_name",
                       "author_name", "formatted",    "placeholder",  "category_id",   "level_id",
                       "est_id",      "relationship", "accepted_key", "basionym_key",  "name_id",
                       "name_type",   "parent_key",   "state",        "category_text", "kingdom",
                       "phylum",      "class_name",   "rank_text",    "atomised",      "groups"}))
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

std::optional<ImportStaging::Codes> ImportStaging::codesFor(QChar type, const RowFacts& facts, QString& why)
{
    const QString categoryName = facts.category.isEmpty()
        ? ChecklistVocabulary::categoryOf(type, facts.kingdom, facts.phylum, facts.className, facts.groups)
        : facts.category;
    const std::optional<ImportCodeLists::Category> category = m_codes.category(categoryName, type);
    if (!category) {
        why = QStringLiteral("the category \"%1\" is not one for %2 names")
                  .arg(categoryName, ChecklistVocabulary::nameTypeDescription(type).toLower());
        return std::nullopt;
    }
    Codes codes {category->id, {}};
    if (!facts.rank.isEmpty()) {
        const std::optional<int32_t> levelId = m_codes.level(category->framework, facts.rank);
        if (!levelId) {
            why = QStringLiteral("the rank \"%1\" is unknown").arg(facts.rank);
            return std::nullopt;
        }
        codes.level = *levelId;
    }
    return codes;
}

void ImportStaging::name(const ChecklistName& row)
{
    ++m_summary.namesRead;
    const NameAndAuthor parts = row.nameAndAuthor();
    if (parts.name.isEmpty())
        return badRow(row.origin,
                      row.scientificName.trimmed().isEmpty() && row.parts.isEmpty()
                          ? QStringLiteral("the row has no name and no genus")
                          : QStringLiteral("the row has no scientific name"));
    if (holdsNul({&parts.name, &parts.author, &row.key, &row.acceptedKey, &row.basionymKey, &row.parentKey,
                  &row.rank, &row.category}))
        return badRow(row.origin, NulReason);
    if (!row.acceptedKey.isEmpty() && row.acceptedKey == row.key)
        return badRow(row.origin, QStringLiteral("the name is given as its own accepted name"));
    if (parts.name.size() > NameLength || parts.author.size() > NameLength)
        return badRow(
            row.origin,
            QStringLiteral("the name or its authorship is longer than %1 characters").arg(NameLength));
    NameTypeRules::Finding finding = NameTypeRules::fromRow(row);
    if (!finding.type && finding.refusal.isEmpty() && !row.category.isEmpty()) {
        finding.type = m_codes.typeOfCategory(row.category);
        finding.rule = NameTypeRules::ByCategory;
    }
    if (!finding.refusal.isEmpty())
        return badRow(row.origin, finding.refusal);
    // A family row names itself where a species row names its family.
    const QStringList groups {row.order, row.family, row.scientificName.section(QLatin1Char(' '), 0, 0)};
    const RowFacts facts {row.category, row.kingdom, row.phylum, row.className, row.rank, groups};
    std::optional<Codes> codes;
    if (finding.type) {
        QString why;
        codes = codesFor(*finding.type, facts, why);
        if (!codes)
            return badRow(row.origin, why);
        m_summary.countTypeRule(finding.rule);
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
    // A name whose type only its parents or the user can tell waits for them with what its
    // codes are worked out from (resolvePendingTypes).
    const bool pending = !finding.type;
    if (pending)
        ++m_pendingTypes;
    m_names->add(
        {++m_sequence,
         row.origin.file,
         row.origin.line,
         key,
         parts.name,
         textOrNull(parts.author),
         pending ? QVariant() : QVariant(SampleData::formattedName(parts.name, QString(*finding.type))),
         parts.name.endsWith(QLatin1String(" sp."), Qt::CaseInsensitive) ? "Y" : "N",
         pending ? QVariant() : QVariant(codes->category),
         pending ? QVariant() : codes->level,
         establishment.isEmpty() ? QVariant() : QVariant(m_codes.establishment(establishment)),
         textOrNull(relationship.left(NameLength)),
         textOrNull(row.acceptedKey),
         row.acceptedKey.isEmpty() ? textOrNull(row.basionymKey) : QVariant(),
         m_nextId++,
         pending ? QVariant() : QVariant(QString(*finding.type)),
         textOrNull(row.parentKey),
         pending ? QVariant("T") : QVariant(),
         pending ? textOrNull(row.category) : QVariant(),
         pending ? textOrNull(row.kingdom) : QVariant(),
         pending ? textOrNull(row.phylum) : QVariant(),
         pending ? textOrNull(row.className) : QVariant(),
         pending ? textOrNull(row.rank) : QVariant(),
         pending && row.scientificName.trimmed().isEmpty() ? QVariant("Y") : QVariant(),
         pending ? QVariant(groups.join(QLatin1Char('|'))) : QVariant()});
}

qint64 ImportStaging::resolvePendingTypes(std::optional<QChar> chosen)
{
    if (m_pendingTypes == 0)
        return 0;
    // A name takes the type of its nearest ancestor (or accepted name) that has one, wherever
    // in the package that is: one step up the tree at a time.
    const QString parentOf = QStringLiteral("FROM import_name p WHERE p.name_key = "
                                            "coalesce(import_name.parent_key, import_name.accepted_key) AND "
                                            "p.name_type IS NOT NULL");
    for (;;) {
        const qint64 changed =
            m_db.query(QStringLiteral(
                           "UPDATE import_name SET name_type = (SELECT min(p.name_type) %1) WHERE state "
                           "= 'T' AND name_type IS NULL AND EXISTS (SELECT 1 %1)")
                           .arg(parentOf))
                .numRowsAffected();
        if (changed <= 0)
            break;
    }

    const std::unique_ptr<RowInserter> typed =
        RowInserter::open(m_db, QStringLiteral("import_typed"),
                          QStringList {"seq", "scientific_name", "name_type", "category_id", "level_id",
                                       "formatted", "state", "inherits"});
    QSqlQuery rows = m_db.query(QStringLiteral(
        "SELECT seq, file, line, scientific_name, name_type, category_text, kingdom, phylum, class_name, "
        "rank_text, atomised, groups FROM import_name WHERE state = 'T' ORDER BY seq"));
    qint64 undecided = 0;
    while (rows.next()) {
        const RowOrigin origin {rows.value(1).toString(), rows.value(2).toLongLong()};
        QString name = rows.value(3).toString();
        std::optional<QChar> type;
        if (!rows.value(4).isNull())
            type = rows.value(4).toString().front();
        else
            type = chosen;
        QString why;
        std::optional<Codes> codes;
        if (!type) {
            ++undecided;
            why = NameTypeRules::UndecidedReason;
        } else {
            codes = codesFor(*type,
                             {rows.value(5).toString(), rows.value(6).toString(), rows.value(7).toString(),
                              rows.value(8).toString(), rows.value(9).toString(),
                              rows.value(11).toString().split(QLatin1Char('|'))},
                             why);
        }
        if (!codes) {
            badRow(origin, why);
            typed->add(
                {rows.value(0), name, QVariant(), QVariant(), QVariant(), QVariant(), "B", QVariant()});
            continue;
        }
        // A name put together from its parts before its type was known: a zoological
        // subspecies has no marker.
        if (*type == u'A' && rows.value(10).toString() == QLatin1String("Y"))
            name.replace(QLatin1String(" subsp. "), QLatin1String(" "));
        // Every pending name that has a type now took it from its parent chain, or else from the
        // choice.
        m_summary.countTypeRule(rows.value(4).isNull() ? NameTypeRules::ByChoice : NameTypeRules::ByParent);
        // A name typed by its parent that says nothing of its own group takes its parent's
        // category too (a whale species under a family of whales).
        const bool inherits = !rows.value(4).isNull() && rows.value(5).toString().isEmpty()
            && rows.value(7).toString().isEmpty() && rows.value(8).toString().isEmpty();
        typed->add({rows.value(0), name, QString(*type), codes->category, codes->level,
                    SampleData::formattedName(name, QString(*type)), QVariant(),
                    inherits ? QVariant("Y") : QVariant()});
    }
    typed->flush();
    m_db.exec(QStringLiteral(
        "UPDATE import_name SET scientific_name = t.scientific_name, name_type = t.name_type, category_id = "
        "t.category_id, level_id = t.level_id, "
        "formatted = t.formatted, state = t.state FROM import_typed t WHERE t.seq = import_name.seq"));
    inheritCategories(parentOf);
    return undecided;
}

void ImportStaging::inheritCategories(const QString& parentOf)
{
    // Down the tree a step at a time; a loop of names in the package cannot keep it going.
    constexpr int DeepestTree = 64;
    const QString parentCategory =
        QStringLiteral("%1 AND p.name_type = import_name.name_type AND p.category_id IS NOT NULL")
            .arg(parentOf);
    for (int step = 0; step < DeepestTree; ++step) {
        const qint64 changed =
            m_db.query(QStringLiteral(
                           "UPDATE import_name SET category_id = (SELECT min(p.category_id) %1) WHERE seq "
                           "IN (SELECT seq FROM import_typed WHERE inherits = 'Y') AND EXISTS (SELECT 1 "
                           "%1 AND p.category_id <> import_name.category_id)")
                           .arg(parentCategory))
                .numRowsAffected();
        if (changed <= 0)
            break;
    }
}

QString ImportStaging::storedCitation(const RowOrigin& origin, const QString& citation)
{
    if (citation.size() <= CitationLength)
        return citation;
    m_summary.warn(
        origin,
        QStringLiteral("citations longer than %1 characters (kept to their first %1)").arg(CitationLength),
        QStringLiteral("%1 characters").arg(citation.size()));
    return citation.left(CitationLength);
}

void ImportStaging::reference(const ChecklistReference& row)
{
    if (holdsNul({&row.citation, &row.code, &row.key}))
        return badRow(row.origin, NulReason);
    const QString citation = storedCitation(row.origin, row.citation);
    const QVariant year = yearOf(row.year, citation);
    m_references->add(
        {row.key, codeOf(row.code, citation, year), citation, year, row.origin.file, row.origin.line});
}

void ImportStaging::link(const ChecklistLink& row)
{
    if (holdsNul({&row.citation, &row.code, &row.nameKey, &row.referenceKey}))
        return badRow(row.origin, NulReason);
    const QString citation = storedCitation(row.origin, row.citation);
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
