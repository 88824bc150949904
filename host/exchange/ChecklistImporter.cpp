#include "ChecklistImporter.h"

#include "ArchiveFolder.h"
#include "ChecklistPipe.h"
#include "ChecklistVocabulary.h"
#include "ColdpChecklistReader.h"
#include "DwcaChecklistReader.h"
#include "ImportStaging.h"
#include "SpreadsheetDialect.h"
#include "db/AuditTriggers.h"
#include "db/Database.h"
#include "db/DeferredSchema.h"
#include "db/NameKey.h"
#include "error/Error.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace bryx::host {

namespace {

// Where in the whole import each step starts, in thousandths: reading is most of it.
constexpr int ReadingEnds = 800;
constexpr int KeysChecked = 830;
constexpr int NamesStored = 890;
constexpr int NamesWritten = 930;
// Added to the place of a link given by a name's own row, to order it after its package's list.
constexpr int LaterThanAnyLink = 1'000'000'000;

// Ends a first pass, which rolls its transaction back.
struct PreviewReady { };

// Synonyms that are each other's accepted name.
const QString MutualSynonyms = QStringLiteral("FROM import_name s JOIN import_name t ON t.name_key = "
                                              "s.accepted_key WHERE t.accepted_key = s.name_key AND "
                                              "s.state IS NULL AND t.state IS NULL");

// Establishment columns a --update may change, with the staging column that holds the new value.
const std::pair<const char*, const char*> UpdatedColumns[] = {
    {"d_name_category_id", "category_id"},           {"d_classification_level_id", "level_id"},
    {"d_nomenclaturally_est_id", "est_id"},          {"nomenclaturally_est_sn_id", "link_id"},
    {"relationship_to_establ_name", "relationship"},
};

qint64 count(Database& db, const QString& sql)
{
    return db.scalar(sql).toLongLong();
}

// "a differs from b", nulls included, in the engine's words.
QString differs(Database& db, const QString& a, const QString& b)
{
    return db.dialect() == Dialect::SQLite ? QStringLiteral("%1 IS NOT %2").arg(a, b)
                                           : QStringLiteral("%1 IS DISTINCT FROM %2").arg(a, b);
}

// Refuses the first of the rows a check query found, or logs them all as skipped; answers
// whether there were any. The query answers file, line and the reason's argument.
bool reportRows(QSqlQuery query, ImportSummary& summary, bool skipBadRows, const QString& reason)
{
    bool any = false;
    while (query.next()) {
        any = true;
        const RowOrigin origin {query.value(0).toString(), query.value(1).toLongLong()};
        QString why = reason;
        for (int column = 2; column < query.record().count(); ++column)
            why = why.arg(query.value(column).toString());
        if (!skipBadRows)
            throw Error(ErrorNumber::InvalidArgument, QStringLiteral("%1: %2").arg(origin.text(), why));
        summary.skip(origin, why);
    }
    return any;
}

} // namespace

ChecklistImporter::ChecklistImporter(Database& db, UserSession user)
    : m_db(db)
    , m_user(std::move(user))
{
}

ImportSummary ChecklistImporter::import(const QString& path, const ImportOptions& options)
{
    return run(path, options, nullptr);
}

ImportPreview ChecklistImporter::preview(const QString& path, ImportOptions options)
{
    options.skipBadRows = true;
    options.onSkipped = {};
    ImportPreview preview;
    try {
        run(path, options, &preview);
    } catch (const PreviewReady&) {
        return preview;
    }
    throw Error(ErrorNumber::InvalidArgument, QStringLiteral("%1: the first pass did not finish").arg(path));
}

ImportSummary ChecklistImporter::run(const QString& path, const ImportOptions& options,
                                     ImportPreview* preview)
{
    if (!m_user.mayCreate)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("User \"%1\" may not add names to %2")
                        .arg(m_user.loginName, m_db.url().display()));
    auto progress = [&](int permille, const QString& stage) {
        if (options.progress)
            options.progress(permille, stage);
    };
    const ArchiveFolder package(path);
    std::optional<DwcaChecklistReader> dwca;
    std::optional<ColdpChecklistReader> coldp;
    ImportSummary summary;
    if (!package.find(QStringLiteral("meta.xml")).isEmpty()) {
        dwca.emplace(package);
        summary.format = QStringLiteral("Darwin Core Archive");
    } else if (ColdpChecklistReader::recognises(package)) {
        coldp.emplace(package);
        summary.format = QStringLiteral("ColDP");
    } else if (const QString sheet = SpreadsheetDialect::soleDataFile(package); !sheet.isEmpty()) {
        dwca.emplace(package, SpreadsheetDialect::describe(package, sheet));
        summary.format = QStringLiteral("Spreadsheet");
    } else {
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 is neither a Darwin Core Archive (it holds no meta.xml), a ColDP "
                                   "package (it holds no NameUsage.tsv or Name.tsv) nor a single spreadsheet")
                        .arg(path));
    }
    summary.reportSkipped = options.onSkipped;
    m_now = QDateTime::currentDateTimeUtc();
    // The import writes through SQLite's write-ahead log like any other writer: readers keep
    // reading the names as they were until it commits, and an import killed outright leaves the
    // file as it found it. (Switching to a rollback journal for the bulk write saves little and
    // locks every reader out, and outlives a killed process.)
    ImportStaging::Tables stagingTables(m_db);
    m_db.transaction([&] {
        stagingTables.create();
        ImportStaging staging(m_db, summary, options.skipBadRows, [&](qint64 done, qint64 total) {
            progress(total > 0 ? int(done * ReadingEnds / total) : 0, QStringLiteral("Reading %1").arg(path));
        });
        ChecklistPipe::run(
            [&](ChecklistSink& sink) {
                if (dwca)
                    dwca->read(sink);
                else
                    coldp->read(sink);
            },
            staging);
        staging.flush();
        progress(ReadingEnds, QStringLiteral("Checking the names' IDs and links"));
        stagingTables.createIndex(QStringLiteral("import_name_key_idx ON import_name (name_key)"));
        const qint64 untyped = staging.resolvePendingTypes(options.nameType);
        summary.untypedNames = untyped;
        if (!preview)
            refuseWhenNothingIsImportable(summary, untyped);
        checkKeys(stagingTables, summary, options.skipBadRows);
        findPresentNames(summary, options.update);
        if (preview) {
            collectPreview(*preview);
            preview->summary = summary;
            // Nothing of the pass stays: the transaction unwinds.
            throw PreviewReady();
        }
        progress(KeysChecked, QStringLiteral("Writing the names"));
        writeNames(summary, staging.lastSequence(), staging.linkedNames());
        if (m_db.dialect() == Dialect::SQLite) {
            progress(NamesStored, QStringLiteral("Indexing the names' texts"));
            indexNewNameTexts();
        }
        updatePresentNames(summary, staging.lastSequence());
        progress(NamesWritten, QStringLiteral("Writing the references"));
        writeReferences(stagingTables, summary, options.skipBadRows);
        progress(1000, QStringLiteral("Done"));
    });
    return summary;
}

void ChecklistImporter::collectPreview(ImportPreview& preview)
{
    preview.importable =
        count(m_db, QStringLiteral("SELECT count(*) FROM import_name WHERE state IS NULL OR state = 'U'"));
    QSqlQuery rows = m_db.query(
        QStringLiteral("SELECT n.scientific_name, n.author_name, c.name_type_cd, c.name_category_desc, "
                       "l.classification_level_name, t.scientific_name FROM import_name n LEFT JOIN "
                       "d_name_category c ON "
                       "c.d_name_category_id = n.category_id LEFT JOIN d_classification_level l ON "
                       "l.d_classification_level_id "
                       "= n.level_id LEFT JOIN import_name t ON t.seq = (SELECT min(f.seq) FROM import_name "
                       "f WHERE f.name_key "
                       "= coalesce(n.accepted_key, n.basionym_key)) WHERE n.state IS NULL OR n.state = 'U' "
                       "ORDER BY n.seq "
                       "LIMIT %1")
            .arg(ImportPreview::ShownRows));
    while (rows.next()) {
        const QString type = rows.value(2).toString();
        preview.rows.push_back(
            {rows.value(0).toString(), rows.value(1).toString(),
             type.isEmpty() ? QString() : ChecklistVocabulary::nameTypeDescription(type.front()),
             rows.value(3).toString(), rows.value(4).toString(), rows.value(5).toString()});
    }
}

void ChecklistImporter::refuseWhenNothingIsImportable(const ImportSummary& summary, qint64 untyped)
{
    if (summary.namesRead == 0 || summary.skippedRows < summary.namesRead
        || m_db.scalar(QStringLiteral("SELECT 1 FROM import_name WHERE state IS NULL LIMIT 1")).isValid())
        return;
    if (untyped * 2 >= summary.namesRead)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("No row says whether its names are botanical, zoological or ecological "
                                   "communities; choose a name type for the import."));
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("None of the %1 names can be imported; the first is passed over because %2.")
                    .arg(summary.namesRead)
                    .arg(summary.skipped.empty() ? QString() : summary.skipped.front().reason));
}

void ChecklistImporter::checkKeys(ImportStaging::Tables& tables, ImportSummary& summary, bool skipBadRows)
{
    tables.createIndex(QStringLiteral("import_link_name_idx ON import_link (name_key)"));
    tables.createIndex(QStringLiteral("import_reference_key_idx ON import_reference (ref_key)"));
    const QString earlier =
        QStringLiteral("FROM import_name f WHERE f.name_key = d.name_key AND f.seq < d.seq");
    if (count(m_db,
              QStringLiteral("SELECT count(*) FROM (SELECT name_key FROM import_name GROUP BY name_key "
                             "HAVING count(*) > 1) duplicated"))
        > 0) {
        reportRows(m_db.query(QStringLiteral("SELECT d.file, d.line, d.name_key, (SELECT min(f.line) %1) "
                                             "FROM import_name d WHERE EXISTS (SELECT 1 %1) ORDER BY d.seq")
                                  .arg(earlier)),
                   summary, skipBadRows, QStringLiteral("the ID \"%1\" is used already on line %2"));
        m_db.exec(QStringLiteral("UPDATE import_name SET state = 'B' WHERE EXISTS (SELECT 1 %1)")
                      .arg(QString(earlier).replace(QLatin1String("d."), QLatin1String("import_name."))));
    }
    // Two synonyms that name each other as their accepted name leave neither an accepted name.
    if (count(m_db, QStringLiteral("SELECT count(*) %1").arg(MutualSynonyms)) > 0) {
        reportRows(m_db.query(QStringLiteral("SELECT s.file, s.line, s.accepted_key %1 ORDER BY s.seq")
                                  .arg(MutualSynonyms)),
                   summary, skipBadRows,
                   QStringLiteral("the accepted name \"%1\" is itself a synonym of this name"));
        m_db.exec(QStringLiteral("UPDATE import_name SET state = 'B' WHERE seq IN (SELECT s.seq %1)")
                      .arg(MutualSynonyms));
    }
    // A name left out for its broken link may be what another one links to: check again until
    // every remaining link holds.
    const QString broken = QStringLiteral(
        "FROM import_name s WHERE s.state IS NULL AND s.accepted_key IS NOT NULL AND NOT EXISTS "
        "(SELECT 1 FROM import_name t WHERE t.name_key = s.accepted_key AND t.state IS NULL)");
    while (reportRows(
        m_db.query(QStringLiteral("SELECT s.file, s.line, s.accepted_key %1 ORDER BY s.seq").arg(broken)),
        summary, skipBadRows, QStringLiteral("the accepted name \"%1\" is not in the checklist")))
        m_db.exec(
            QStringLiteral("UPDATE import_name SET state = 'B' WHERE seq IN (SELECT s.seq %1)").arg(broken));
}

void ChecklistImporter::findPresentNames(ImportSummary& summary, bool update)
{
    if (!m_db.scalar(QStringLiteral("SELECT 1 FROM scientific_name LIMIT 1")).isValid())
        return;
    const QString sameKey = m_db.dialect() == Dialect::SQLite
        ? QStringLiteral("sn.scientific_name_key = bryx_name_key(import_name.scientific_name)")
        : QStringLiteral("upper(sn.scientific_name) = upper(import_name.scientific_name)");
    m_db.exec(
        QStringLiteral("UPDATE import_name SET existing_id = (SELECT min(sn.scientific_name_id) FROM "
                       "scientific_name sn WHERE %1 AND sn.scientific_name = import_name.scientific_name "
                       "AND coalesce(sn.author_name, '') = coalesce(import_name.author_name, '')) "
                       "WHERE state IS NULL")
            .arg(sameKey));
    m_db.exec(
        QStringLiteral("UPDATE import_name SET state = ? WHERE state IS NULL AND existing_id IS NOT NULL"),
        {update ? "U" : "P"});
    const qint64 present =
        count(m_db, QStringLiteral("SELECT count(*) FROM import_name WHERE state IN ('U', 'P')"));
    (update ? summary.updated : summary.alreadyPresent) = present;
}

void ChecklistImporter::writeNames(ImportSummary& summary, qint64 lastSequence, qint64 linkedNames)
{
    if (lastSequence == 0)
        return;
    // Names the database holds already stand in for their rows of the checklist. (Each step
    // reads the whole staging table, so it is left out when it has nothing to do.)
    if (summary.updated + summary.alreadyPresent > 0)
        m_db.exec(
            QStringLiteral("UPDATE import_name SET name_id = existing_id WHERE existing_id IS NOT NULL"));
    if (linkedNames > 0)
        m_db.exec(QStringLiteral(
            "UPDATE import_name SET link_id = (SELECT t.name_id FROM import_name t WHERE t.name_key "
            "= coalesce(import_name.accepted_key, import_name.basionym_key) AND coalesce(t.state, "
            "'') <> 'B') WHERE coalesce(state, 'U') = 'U' AND coalesce(accepted_key, "
            "basionym_key) IS NOT NULL"));
    const bool sqlite = m_db.dialect() == Dialect::SQLite;
    // On SQLite a checklist larger than what is stored already goes in faster with the name
    // index built afterwards; readers keep seeing the names as they were meanwhile. PostgreSQL
    // would lock every reader out of the names until the import ends, so there the index is
    // kept up row by row. The insert writes each name's key itself, so the trigger that would
    // work it out a second time to check it stands aside while it runs, and so does the one that
    // would index each name's text: the new names are indexed in one statement afterwards
    // (indexNewNameTexts).
    const QString keyColumn = QString::fromLatin1(NameKey::Column);
    std::optional<DeferredSchema> deferred;
    if (sqlite) {
        QStringList objects {keyColumn + QStringLiteral("_insert"),
                             QStringLiteral("scientific_name_fts_insert")};
        if (lastSequence > count(m_db, QStringLiteral("SELECT count(*) FROM scientific_name")))
            objects << keyColumn + QStringLiteral("_idx");
        deferred.emplace(m_db, objects);
    }
    const QString insertNames = QStringLiteral(
        "INSERT INTO scientific_name (scientific_name_id, scientific_name, formatted_scientific_name, "
        "author_name, d_name_category_id, d_classification_level_id, placeholder_name_ind, "
        "d_nomenclaturally_est_id, nomenclaturally_est_sn_id, relationship_to_establ_name, org_unit_id, "
        "key_number, rec_create_user, rec_create_date%1) SELECT name_id, scientific_name, formatted, "
        "author_name, category_id, level_id, placeholder, est_id, link_id, CASE WHEN link_id IS NULL AND "
        "relationship = 'Basionym' THEN NULL ELSE relationship END, ?, name_id, ?, "
        "?%2 FROM import_name WHERE state IS NULL ORDER BY seq");
    summary.imported =
        m_db.query(insertNames.arg(sqlite ? QStringLiteral(", scientific_name_key") : QString(),
                                   sqlite ? QStringLiteral(", bryx_name_key(scientific_name)") : QString()),
                   {m_user.orgUnitId, m_user.loginName, m_now})
            .numRowsAffected();
    // PostgreSQL's own trigger writes the names' 'I' rows.
    if (!AuditTriggers::auditsNames(m_db)) {
        const int32_t firstAudit = m_db.reserveIds(int32_t(lastSequence));
        m_db.exec(
            QStringLiteral(
                "INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                "column_name, old_value, primary_key, org_unit_id, audit_log_column_id) SELECT ? + seq "
                "- 1, ?, ?, 'SCIENTIFIC_NAME', 'I', CAST(NULL AS varchar(60)), CAST(NULL AS "
                "varchar(4000)), name_id, ?, CAST(NULL AS integer) FROM import_name WHERE state IS NULL"),
            {firstAudit, m_now, m_user.loginName, m_user.orgUnitId});
    }
    if (deferred)
        deferred->restore();
}

void ChecklistImporter::indexNewNameTexts()
{
    // SQLite only: PostgreSQL keeps its trigram index of names row by row. In ascending IDs, so
    // that the index appends to what it holds rather than starting a new segment at each step back.
    m_db.exec(QStringLiteral(
        "INSERT INTO scientific_name_fts (rowid, scientific_name_key) SELECT scientific_name_id, "
        "scientific_name_key FROM scientific_name WHERE scientific_name_id IN (SELECT name_id FROM "
        "import_name WHERE state IS NULL) ORDER BY scientific_name_id"));
}

void ChecklistImporter::updatePresentNames(ImportSummary& summary, qint64 lastSequence)
{
    if (summary.updated == 0)
        return;
    constexpr int Columns = int(std::size(UpdatedColumns));
    // The database's own trigger writes the trail of the update on PostgreSQL.
    const bool auditHere = !AuditTriggers::auditsNames(m_db);
    const int32_t firstAudit = auditHere ? m_db.reserveIds(int32_t((lastSequence + 1) * Columns)) : 0;
    for (int i = 0; auditHere && i < Columns; ++i) {
        const QString column = QLatin1String(UpdatedColumns[i].first);
        const QString source = QLatin1String(UpdatedColumns[i].second);
        const QString auditId = QStringLiteral("? + n.seq * %1 + %2").arg(Columns).arg(i);
        m_db.exec(QStringLiteral(
                      "INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                      "column_name, old_value, primary_key, org_unit_id, audit_log_column_id) SELECT "
                      "AUDIT_ID, ?, ?, 'SCIENTIFIC_NAME', 'U', 'COLUMN', CAST(sn.COLUMN AS varchar(4000)), "
                      "sn.scientific_name_id, ?, AUDIT_ID FROM import_name n JOIN scientific_name sn ON "
                      "sn.scientific_name_id = n.existing_id WHERE n.state = 'U' AND CHANGED")
                      .replace(QLatin1String("AUDIT_ID"), auditId)
                      .replace(QLatin1String("CHANGED"),
                               differs(m_db, QStringLiteral("sn.") + column, QStringLiteral("n.") + source))
                      .replace(QLatin1String("COLUMN"), column),
                  {firstAudit, m_now, m_user.loginName, m_user.orgUnitId, firstAudit});
    }
    QStringList assignments;
    for (const auto& [column, source] : UpdatedColumns)
        assignments << QStringLiteral("%1 = n.%2").arg(QLatin1String(column), QLatin1String(source));
    m_db.exec(QStringLiteral("UPDATE scientific_name SET %1, rec_last_mod_user = ?, rec_last_mod_date = ?, "
                             "row_version = row_version + 1 FROM import_name n WHERE n.existing_id = "
                             "scientific_name.scientific_name_id AND n.state = 'U'")
                  .arg(assignments.join(QStringLiteral(", "))),
              {m_user.loginName, m_now});
}

void ChecklistImporter::writeReferences(ImportStaging::Tables& tables, ImportSummary& summary,
                                        bool skipBadRows)
{
    m_db.exec(
        QStringLiteral("UPDATE import_link SET citation = r.citation, code = r.code, year = r.year FROM "
                       "import_reference r WHERE import_link.ref_key IS NOT NULL AND r.ref_key = "
                       "import_link.ref_key"));
    const QString unknownName =
        QStringLiteral("NOT EXISTS (SELECT 1 FROM import_name n WHERE n.name_key = l.name_key)");
    bool bad =
        reportRows(m_db.query(QStringLiteral("SELECT l.file, l.line, l.ref_key FROM import_link l WHERE "
                                             "l.citation IS NULL ORDER BY l.seq")),
                   summary, skipBadRows, QStringLiteral("the reference \"%1\" is not in the package"));
    bad =
        reportRows(m_db.query(QStringLiteral("SELECT l.file, l.line, l.name_key FROM import_link l WHERE %1 "
                                             "ORDER BY l.seq")
                                  .arg(unknownName)),
                   summary, skipBadRows, QStringLiteral("the name \"%1\" is not in the checklist"))
        || bad;
    if (bad)
        m_db.exec(
            QStringLiteral("DELETE FROM import_link WHERE seq IN (SELECT l.seq FROM import_link l WHERE "
                           "l.citation IS NULL OR %1)")
                .arg(unknownName));
    // The links of names that are imported or updated; those of names left as they were go.
    const QString kept =
        QStringLiteral("FROM import_link l JOIN import_name n ON n.name_key = l.name_key WHERE "
                       "coalesce(n.state, 'U') = 'U'");
    // The publications of those links, and every one a package describes on its own (ColDP),
    // each once.
    m_db.exec(QStringLiteral(
                  "INSERT INTO import_citation (seq, citation, code, year) SELECT row_number() OVER "
                  "(ORDER BY min(u.seq)), u.citation, min(u.code), min(u.year) FROM (SELECT l.seq, "
                  "l.citation, l.code, l.year %1 UNION ALL SELECT ? + r.line, r.citation, r.code, r.year "
                  "FROM import_reference r) u GROUP BY u.citation")
                  .arg(kept),
              {LaterThanAnyLink});
    tables.createIndex(QStringLiteral("import_citation_idx ON import_citation (citation)"));
    m_db.exec(QStringLiteral(
        "UPDATE import_citation SET reference_id = m.id FROM (SELECT r.full_citation AS citation, "
        "min(r.reference_id) AS id FROM reference r JOIN import_citation c ON c.citation = r.full_citation "
        "GROUP "
        "BY r.full_citation) m WHERE m.citation = import_citation.citation"));
    const qint64 citations = count(m_db, QStringLiteral("SELECT count(*) FROM import_citation"));
    if (citations == 0)
        return;
    const int32_t firstReference = m_db.reserveIds(int32_t(citations));
    m_db.exec(QStringLiteral("UPDATE import_citation SET reference_id = ? + seq - 1, created = 'Y' WHERE "
                             "reference_id IS NULL"),
              {firstReference});
    m_db.exec(QStringLiteral(
        "INSERT INTO reference (reference_id, reference_code, full_citation, publication_year) "
        "SELECT reference_id, code, citation, year FROM import_citation WHERE created = 'Y' "
        "ORDER BY seq"));
    summary.referencesAdded =
        count(m_db, QStringLiteral("SELECT count(*) FROM import_citation WHERE created = 'Y'"));

    const qint64 links = count(m_db, QStringLiteral("SELECT count(*) FROM import_link"));
    // A name has one original publication: the first the package gives it, unless it has one
    // already.
    const int32_t firstLink = m_db.reserveIds(int32_t(links));
    m_db.exec(
        QStringLiteral(
            "INSERT INTO scientific_name_reference (scientific_name_reference_id, scientific_name_id, "
            "reference_id, primary_reference_ind, original_publication_ind, display_order, org_unit_id, "
            "rec_create_user, rec_last_mod_user) SELECT ? + row_number() OVER (ORDER BY g.first_seq) - 1, "
            "g.name_id, g.reference_id, g.primary_ind, CASE WHEN g.original = 'Y' AND g.first_seq = min(CASE "
            "WHEN g.original = 'Y' THEN g.first_seq END) OVER (PARTITION BY g.name_id) AND NOT EXISTS "
            "(SELECT 1 "
            "FROM scientific_name_reference o WHERE o.scientific_name_id = g.name_id AND "
            "o.original_publication_ind = 'Y') THEN 'Y' ELSE 'N' END, row_number() OVER (PARTITION BY "
            "g.name_id "
            "ORDER BY g.first_seq), ?, ?, ? FROM (SELECT n.name_id, c.reference_id, max(l.primary_ind) AS "
            "primary_ind, max(l.original) AS original, min(CASE WHEN l.from_name_row = 'Y' THEN l.seq + ? "
            "ELSE l.seq END) AS "
            "first_seq FROM import_link l JOIN "
            "import_name n ON n.name_key = l.name_key JOIN import_citation c ON c.citation = l.citation "
            "WHERE "
            "coalesce(n.state, 'U') = 'U' GROUP BY n.name_id, c.reference_id) g WHERE NOT EXISTS (SELECT 1 "
            "FROM scientific_name_reference x WHERE x.scientific_name_id = g.name_id AND x.reference_id = "
            "g.reference_id)"),
        {firstLink, m_user.orgUnitId, m_user.loginName, m_user.loginName, LaterThanAnyLink});
    const QString added =
        QStringLiteral("FROM scientific_name_reference WHERE scientific_name_reference_id BETWEEN ? "
                       "AND ?");
    summary.linksAdded = m_db.scalar(QStringLiteral("SELECT count(*) %1").arg(added),
                                     {firstLink, firstLink + int32_t(links) - 1})
                             .toLongLong();

    // The audit trail of the publications and links added.
    const int32_t firstAudit = m_db.reserveIds(int32_t(citations + links));
    m_db.exec(QStringLiteral(
                  "INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                  "column_name, old_value, primary_key, org_unit_id, audit_log_column_id) SELECT ? + seq "
                  "- 1, ?, ?, 'REFERENCE', 'I', CAST(NULL AS varchar(60)), CAST(NULL AS varchar(4000)), "
                  "reference_id, ?, CAST(NULL AS integer) FROM import_citation WHERE created = 'Y'"),
              {firstAudit, m_now, m_user.loginName, m_user.orgUnitId});
    m_db.exec(QStringLiteral(
                  "INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, "
                  "column_name, old_value, primary_key, org_unit_id, audit_log_column_id) SELECT ? + "
                  "scientific_name_reference_id - ?, ?, ?, 'SCIENTIFIC_NAME_REFERENCE', 'I', CAST(NULL AS "
                  "varchar(60)), CAST(NULL AS varchar(4000)), scientific_name_reference_id, ?, CAST(NULL "
                  "AS integer) %1")
                  .arg(added),
              {firstAudit + int32_t(citations), firstLink, m_now, m_user.loginName, m_user.orgUnitId,
               firstLink, firstLink + int32_t(links) - 1});
}

} // namespace bryx::host
