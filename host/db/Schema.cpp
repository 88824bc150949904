#include "Schema.h"

#include "AuditTriggers.h"
#include "Database.h"
#include "SqlText.h"
#include "error/Error.h"

#include <QSqlQuery>
#include <QStringList>
#include <span>

namespace bryx::host {

namespace {

// Statements both dialects accept as written.
const char* const CommonTables[] = {
    R"(CREATE TABLE schema_version (version integer NOT NULL))",
    R"(CREATE TABLE org_unit (
            org_unit_id integer PRIMARY KEY,
            org_unit_code varchar(20) NOT NULL UNIQUE,
            org_unit_name varchar(120) NOT NULL))",
    R"(CREATE TABLE app_role (
            role_id integer PRIMARY KEY,
            role_name varchar(40) NOT NULL UNIQUE,
            may_save char(1) NOT NULL CHECK (may_save IN ('Y','N')),
            may_delete char(1) NOT NULL CHECK (may_delete IN ('Y','N')),
            may_create char(1) NOT NULL CHECK (may_create IN ('Y','N'))))",
    R"(CREATE TABLE app_user (
            user_id integer PRIMARY KEY,
            login_name varchar(60) NOT NULL UNIQUE,
            full_name varchar(120) NOT NULL,
            role_id integer NOT NULL REFERENCES app_role (role_id),
            org_unit_id integer NOT NULL REFERENCES org_unit (org_unit_id)))",
    R"(CREATE TABLE d_classification_framework (
            d_classification_framework_id integer PRIMARY KEY,
            classification_framework_desc varchar(120) NOT NULL))",
    R"(CREATE TABLE d_classification_level (
            d_classification_level_id integer PRIMARY KEY,
            d_class_framework_id integer NOT NULL REFERENCES d_classification_framework (d_classification_framework_id),
            classification_level_name varchar(60) NOT NULL,
            lower_level_ind char(1) NOT NULL CHECK (lower_level_ind IN ('Y','N')),
            display_order integer NOT NULL))",
    R"(CREATE TABLE d_name_category (
            d_name_category_id integer PRIMARY KEY,
            name_type_cd char(1) NOT NULL CHECK (name_type_cd IN ('P','A','C')),
            name_type_desc varchar(40) NOT NULL,
            name_category_desc varchar(80) NOT NULL UNIQUE,
            d_class_framework_id integer NOT NULL REFERENCES d_classification_framework (d_classification_framework_id),
            display_order integer NOT NULL))",
    R"(CREATE TABLE d_nomenclaturally_est (
            d_nomenclaturally_est_id integer PRIMARY KEY,
            nomenclaturally_est_desc varchar(80) NOT NULL,
            display_order integer NOT NULL))",
    R"(CREATE TABLE scientific_name (
            scientific_name_id integer PRIMARY KEY,
            scientific_name varchar(255) NOT NULL,
            formatted_scientific_name varchar(1000),
            author_name varchar(255),
            translated_name varchar(255),
            acronym varchar(40),
            d_name_category_id integer REFERENCES d_name_category (d_name_category_id),
            d_classification_level_id integer REFERENCES d_classification_level (d_classification_level_id),
            placeholder_name_ind char(1) NOT NULL DEFAULT 'N' CHECK (placeholder_name_ind IN ('Y','N')),
            d_nomenclaturally_est_id integer REFERENCES d_nomenclaturally_est (d_nomenclaturally_est_id),
            nomenclaturally_est_sn_id integer REFERENCES scientific_name (scientific_name_id),
            relationship_to_establ_name varchar(255),
            scientific_name_com varchar(4000),
            scientific_name_internal_notes varchar(4000),
            org_unit_id integer REFERENCES org_unit (org_unit_id),
            key_number integer,
            rec_create_user varchar(60),
            rec_create_date timestamp,
            rec_last_mod_user varchar(60),
            rec_last_mod_date timestamp,
            row_version integer NOT NULL DEFAULT 1))",
    R"(CREATE TABLE reference (
            reference_id integer PRIMARY KEY,
            reference_code varchar(40) NOT NULL,
            full_citation varchar(2000) NOT NULL,
            publication_year integer))",
    R"(CREATE TABLE scientific_name_reference (
            scientific_name_reference_id integer PRIMARY KEY,
            scientific_name_id integer NOT NULL REFERENCES scientific_name (scientific_name_id) ON DELETE CASCADE,
            reference_id integer NOT NULL REFERENCES reference (reference_id),
            primary_reference_ind char(1) NOT NULL DEFAULT 'N' CHECK (primary_reference_ind IN ('Y','N')),
            original_publication_ind char(1) NOT NULL DEFAULT 'N' CHECK (original_publication_ind IN ('Y','N')),
            display_order integer,
            org_unit_id integer REFERENCES org_unit (org_unit_id),
            rec_create_user varchar(60),
            rec_last_mod_user varchar(60),
            UNIQUE (scientific_name_id, reference_id)))",
    R"(CREATE TABLE user_option_category (
            user_option_category_id integer PRIMARY KEY,
            category_name varchar(80) NOT NULL UNIQUE))",
    R"(CREATE TABLE user_option (
            user_option_id integer PRIMARY KEY,
            user_option_category_id integer NOT NULL REFERENCES user_option_category (user_option_category_id),
            option_name varchar(255) NOT NULL,
            user_id integer NOT NULL REFERENCES app_user (user_id),
            option_value text,
            UNIQUE (user_option_category_id, option_name, user_id)))",
    R"(CREATE TABLE audit_log (
            audit_log_id integer PRIMARY KEY,
            audit_date timestamp NOT NULL,
            user_name varchar(60) NOT NULL,
            table_name varchar(60) NOT NULL,
            action char(1) NOT NULL CHECK (action IN ('I','U','D')),
            column_name varchar(60),
            old_value varchar(4000),
            primary_key integer NOT NULL,
            org_unit_id integer,
            audit_log_column_id integer UNIQUE))",
    R"(CREATE TABLE audit_comment (
            audit_comment_id integer PRIMARY KEY,
            audit_log_column_id integer NOT NULL UNIQUE REFERENCES audit_log (audit_log_column_id),
            comment_text varchar(4000)))",
    R"(CREATE INDEX scientific_name_category_idx ON scientific_name (d_name_category_id))",
    R"(CREATE INDEX scientific_name_level_idx ON scientific_name (d_classification_level_id))",
    R"(CREATE INDEX sn_reference_name_idx ON scientific_name_reference (scientific_name_id))",
    R"(CREATE INDEX audit_log_record_idx ON audit_log (table_name, primary_key))",
    R"(CREATE VIEW scientific_wl_vw AS
            SELECT sn.scientific_name_id AS ID,
                   sn.scientific_name AS Scientific_Name,
                   sn.author_name AS Author,
                   nc.name_category_desc AS Category,
                   cl.classification_level_name AS Classification_Level
            FROM scientific_name sn
            LEFT JOIN d_name_category nc ON nc.d_name_category_id = sn.d_name_category_id
            LEFT JOIN d_classification_level cl ON cl.d_classification_level_id = sn.d_classification_level_id)",
    R"(CREATE VIEW reference_wl_vw AS
            SELECT reference_id AS ID, reference_code AS Reference_Code, full_citation AS Full_Citation,
                   publication_year AS Publication_Year
            FROM reference)",
};

// SQLite: IDs come from one counter row. (Version 1 also indexed upper(scientific_name);
// version 2 replaces that index, and new databases never get it.)
const char* const SqliteOnly[] = {
    R"(CREATE TABLE key_sequence (next_id integer NOT NULL))",
    R"(INSERT INTO key_sequence (next_id) VALUES (1000))",
};

// What a search answers. Position 3 holds the name type code, which the search panel hides:
// the category shown beside it already tells the type. On SQLite a second view adds the name
// key after these columns: the host's query path runs the components' name searches on it (a
// view over the first one would cost a join per row in a full scan).
QString searchView(const char* name, const char* extraColumns)
{
    return QStringLiteral(
               "CREATE VIEW %1 AS\n"
               "    SELECT sn.scientific_name_id AS ID,\n"
               "           sn.scientific_name AS Scientific_Name,\n"
               "           sn.author_name AS Author,\n"
               "           nc.name_type_cd AS Name_Type,\n"
               "           nc.name_category_desc AS Category,\n"
               "           cl.classification_level_name AS Classification_Level%2\n"
               "    FROM scientific_name sn\n"
               "    LEFT JOIN d_name_category nc ON nc.d_name_category_id = sn.d_name_category_id\n"
               "    LEFT JOIN d_classification_level cl\n"
               "           ON cl.d_classification_level_id = sn.d_classification_level_id")
        .arg(QLatin1String(name), QLatin1String(extraColumns));
}

// SQLite, version 2: names are compared through a stored key column with a plain index, so the
// file reads as sound to every SQLite tool (see NameKey).
const char* const SqliteVersion2[] = {
    R"(DROP INDEX IF EXISTS scientific_name_upper_idx)",
    R"(ALTER TABLE scientific_name ADD COLUMN scientific_name_key varchar(255))",
    R"(UPDATE scientific_name SET scientific_name_key = bryx_name_key(scientific_name))",
    R"(CREATE INDEX scientific_name_key_idx ON scientific_name (scientific_name_key))",
    R"(CREATE TRIGGER scientific_name_key_insert AFTER INSERT ON scientific_name
       BEGIN
            UPDATE scientific_name SET scientific_name_key = bryx_name_key(NEW.scientific_name)
            WHERE scientific_name_id = NEW.scientific_name_id;
       END)",
    R"(CREATE TRIGGER scientific_name_key_update AFTER UPDATE OF scientific_name ON scientific_name
       BEGIN
            UPDATE scientific_name SET scientific_name_key = bryx_name_key(NEW.scientific_name)
            WHERE scientific_name_id = NEW.scientific_name_id;
       END)",
};

// Keys that disagree with the application's upper case: none, unless something wrote names
// past the triggers.
const char* const StaleKeys = "scientific_name_key IS NOT bryx_name_key(scientific_name)";

// PostgreSQL: a sequence for IDs, a pattern index for equality and begins-with, and a
// trigram index for contains, ends-with and wildcard searches.
const char* const PostgresOnly[] = {
    R"(CREATE EXTENSION IF NOT EXISTS pg_trgm)",
    R"(CREATE SEQUENCE bryx_id_seq START WITH 1000)",
    R"(CREATE INDEX scientific_name_upper_idx ON scientific_name (upper(scientific_name) text_pattern_ops))",
    R"(CREATE INDEX scientific_name_upper_trgm_idx ON scientific_name USING gin (upper(scientific_name) gin_trgm_ops))",
};

// Version 4: reference searches look for text anywhere in a code or citation, so both engines
// index every three-letter run. On SQLite that is a full-text table of trigrams kept in step with
// the reference table by triggers, which any SQLite tool fires as well; on PostgreSQL, trigram
// indexes on the upper-case texts that the search compares. Each step may find its object made
// already, by a file that was turned back to an earlier version.
const char* const SqliteVersion4[] = {
    R"(CREATE VIRTUAL TABLE IF NOT EXISTS reference_fts USING fts5(reference_code, full_citation, content='reference',
       content_rowid='reference_id', tokenize='trigram'))",
    R"(CREATE TRIGGER IF NOT EXISTS reference_fts_insert AFTER INSERT ON reference
       BEGIN
            INSERT INTO reference_fts (rowid, reference_code, full_citation)
            VALUES (NEW.reference_id, NEW.reference_code, NEW.full_citation);
       END)",
    R"(CREATE TRIGGER IF NOT EXISTS reference_fts_delete AFTER DELETE ON reference
       BEGIN
            INSERT INTO reference_fts (reference_fts, rowid, reference_code, full_citation)
            VALUES ('delete', OLD.reference_id, OLD.reference_code, OLD.full_citation);
       END)",
    R"(CREATE TRIGGER IF NOT EXISTS reference_fts_update AFTER UPDATE ON reference
       BEGIN
            INSERT INTO reference_fts (reference_fts, rowid, reference_code, full_citation)
            VALUES ('delete', OLD.reference_id, OLD.reference_code, OLD.full_citation);
            INSERT INTO reference_fts (rowid, reference_code, full_citation)
            VALUES (NEW.reference_id, NEW.reference_code, NEW.full_citation);
       END)",
    R"(INSERT INTO reference_fts (reference_fts) VALUES ('rebuild'))",
};
const char* const PostgresVersion4[] = {
    R"(CREATE INDEX IF NOT EXISTS reference_code_upper_trgm_idx ON reference USING gin (upper(reference_code) gin_trgm_ops))",
    R"(CREATE INDEX IF NOT EXISTS reference_citation_upper_trgm_idx ON reference USING gin (upper(full_citation) gin_trgm_ops))",
};

// Version 5: a writer that supplies the right key with the name (the checklist import, a
// whole table at a time) no longer has the trigger write it a second time. A writer that leaves
// it out, or another tool that changes a name, still gets it written, or fails for want of the
// application's function.
const char* const SqliteVersion5[] = {
    R"(DROP TRIGGER IF EXISTS scientific_name_key_insert)",
    R"(CREATE TRIGGER scientific_name_key_insert AFTER INSERT ON scientific_name
       WHEN NEW.scientific_name_key IS NOT bryx_name_key(NEW.scientific_name)
       BEGIN
            UPDATE scientific_name SET scientific_name_key = bryx_name_key(NEW.scientific_name)
            WHERE scientific_name_id = NEW.scientific_name_id;
       END)",
    R"(DROP TRIGGER IF EXISTS scientific_name_key_update)",
    R"(CREATE TRIGGER scientific_name_key_update AFTER UPDATE OF scientific_name ON scientific_name
       WHEN NEW.scientific_name_key IS NOT bryx_name_key(NEW.scientific_name)
       BEGIN
            UPDATE scientific_name SET scientific_name_key = bryx_name_key(NEW.scientific_name)
            WHERE scientific_name_id = NEW.scientific_name_id;
       END)",
};

// Version 6: a category or level text goes into the components' statements between straight
// quotes, as it is; one with a straight quote of its own could never be searched and would end
// the statement's text early. Such texts are written with the typographic apostrophe instead,
// and the database refuses new ones, whichever client writes them.
struct CodeListText {
    const char* table;
    const char* column;
    const char* words;
};
const CodeListText QuotedCodeLists[] = {
    {"d_name_category", "name_category_desc", "a name category"},
    {"d_classification_level", "classification_level_name", "a classification level"}};

void guardCodeListTexts(Database& db)
{
    const bool sqlite = db.dialect() == Dialect::SQLite;
    for (const CodeListText& list : QuotedCodeLists) {
        const QString table = QLatin1String(list.table);
        const QString column = QLatin1String(list.column);
        db.exec(QStringLiteral("UPDATE %1 SET %2 = replace(%2, '''', ?) WHERE %3")
                    .arg(table, column, Schema::straightQuoteIn(db, column)),
                {QString(QChar(Schema::TypographicApostrophe))});
        const QString refusal =
            QStringLiteral("%1 may not contain a straight single quote; write %2 instead")
                .arg(QLatin1String(list.words), QString(QChar(Schema::TypographicApostrophe)));
        if (!sqlite) {
            // A step may be run again over a database it already changed.
            db.exec(
                QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT IF EXISTS %1_no_straight_quote").arg(table));
            db.exec(QStringLiteral(
                        "ALTER TABLE %1 ADD CONSTRAINT %1_no_straight_quote CHECK (strpos(%2, '''') = 0)")
                        .arg(table, column));
            continue;
        }
        for (const char* event : {"INSERT", "UPDATE"}) {
            db.exec(QStringLiteral("CREATE TRIGGER IF NOT EXISTS %1_no_straight_quote_%2 BEFORE %3 ON %1 "
                                   "WHEN instr(NEW.%4, '''') > 0 BEGIN SELECT RAISE(ABORT, %5); END")
                        .arg(table, QString::fromLatin1(event).toLower(), QLatin1String(event), column,
                             sqlLiteral(refusal)));
        }
    }
}

// Version 7, SQLite: names are searched for text anywhere in them as references are, through a
// full-text table of trigrams over the stored key, kept in step by triggers. The triggers index
// the key the application works out from the name rather than the key column, so that they agree
// with the key triggers whichever of them SQLite fires first; the key triggers keep the column
// equal to it. A change of anything but the name leaves the index alone. The searches only ask
// which names hold every trigram of a few, so the index keeps neither positions nor sizes: a
// third of the size, and a bulk load that much quicker.
const char* const SqliteVersion7[] = {
    R"(CREATE VIRTUAL TABLE IF NOT EXISTS scientific_name_fts USING fts5(scientific_name_key,
       content='scientific_name', content_rowid='scientific_name_id', tokenize='trigram',
       detail='none', columnsize=0))",
    R"(CREATE TRIGGER IF NOT EXISTS scientific_name_fts_insert AFTER INSERT ON scientific_name
       BEGIN
            INSERT INTO scientific_name_fts (rowid, scientific_name_key)
            VALUES (NEW.scientific_name_id, bryx_name_key(NEW.scientific_name));
       END)",
    R"(CREATE TRIGGER IF NOT EXISTS scientific_name_fts_delete AFTER DELETE ON scientific_name
       BEGIN
            INSERT INTO scientific_name_fts (scientific_name_fts, rowid, scientific_name_key)
            VALUES ('delete', OLD.scientific_name_id, bryx_name_key(OLD.scientific_name));
       END)",
    R"(CREATE TRIGGER IF NOT EXISTS scientific_name_fts_update
       AFTER UPDATE OF scientific_name, scientific_name_id ON scientific_name
       WHEN OLD.scientific_name IS NOT NEW.scientific_name OR OLD.scientific_name_id IS NOT NEW.scientific_name_id
       BEGIN
            INSERT INTO scientific_name_fts (scientific_name_fts, rowid, scientific_name_key)
            VALUES ('delete', OLD.scientific_name_id, bryx_name_key(OLD.scientific_name));
            INSERT INTO scientific_name_fts (rowid, scientific_name_key)
            VALUES (NEW.scientific_name_id, bryx_name_key(NEW.scientific_name));
       END)",
    // Up to 16 MB of new trigrams are gathered before they are written out, rather than 1 MB: a
    // bulk load writes fewer, larger segments and has less to merge (a third less time on a
    // million names); a single edit never comes near it.
    R"(INSERT INTO scientific_name_fts (scientific_name_fts, rank) VALUES ('hashsize', 16777216))",
    R"(INSERT INTO scientific_name_fts (scientific_name_fts) VALUES ('rebuild'))",
};

// Version 8: what a merge or a delete took away, whole, so that it can be brought back with its
// own IDs. The audit trail says what changed column by column; this keeps the rows and links
// themselves (a merged name's links can be far more than an audit value holds).
const char* const CurationChangeTable = R"(CREATE TABLE IF NOT EXISTS curation_change (
            curation_change_id integer PRIMARY KEY,
            change_kind char(1) NOT NULL CHECK (change_kind IN ('M','D')),
            scientific_name_id integer NOT NULL,
            audit_log_id integer,
            change_date timestamp NOT NULL,
            user_name varchar(60) NOT NULL,
            snapshot text NOT NULL,
            restored_date timestamp,
            restored_by varchar(60)))";
const char* const CurationChangeIndex =
    "CREATE INDEX IF NOT EXISTS curation_change_name_idx ON curation_change (scientific_name_id)";
// A merge, a delete and their taking back look up the names resting on a name; without an
// index each is a scan of every name.
const char* const EstablishedNameIndex = "CREATE INDEX IF NOT EXISTS scientific_name_established_idx ON "
                                         "scientific_name (nomenclaturally_est_sn_id)";

// Version 6 on PostgreSQL: the installation's role names.
const char* const ServerRoleTable = R"(CREATE TABLE IF NOT EXISTS server_role (
            role_kind varchar(20) PRIMARY KEY,
            role_name varchar(63) NOT NULL UNIQUE))";

bool tableExists(Database& db, const QString& name)
{
    const QString sql = db.dialect() == Dialect::SQLite
        ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type IN ('table','view') AND name = ?")
        : QStringLiteral(
            "SELECT count(*) FROM information_schema.tables WHERE table_schema = current_schema() "
            "AND table_name = ?");
    return db.scalar(sql, {name}).toInt() > 0;
}

} // namespace

QStringList Schema::sqliteProblems(Database& db, int version)
{
    QStringList problems;
    const QString repair =
        QStringLiteral("; repair with: bryx-db upgrade --database %1").arg(db.url().display());
    // The engine's own check, run with the application's functions: on a version 1 file it
    // also finds an upper-case index that another tool rebuilt with its ASCII upper().
    QSqlQuery integrity(db.sql());
    integrity.exec(QStringLiteral("PRAGMA integrity_check(20)"));
    QStringList findings;
    while (integrity.next()) {
        if (integrity.value(0).toString() != QLatin1String("ok"))
            findings << integrity.value(0).toString();
    }
    if (!findings.isEmpty()) {
        const bool upperIndex =
            findings.join(QLatin1Char(' ')).contains(QLatin1String("scientific_name_upper_idx"));
        problems << (upperIndex ? QStringLiteral("the upper-case name index disagrees with the application's "
                                                 "comparison (another SQLite tool rebuilt it)")
                             + repair
                                : QStringLiteral("the SQLite integrity check reports: %1")
                                      .arg(findings.join(QStringLiteral("; "))));
    }
    if (version == 1)
        problems << QStringLiteral("schema version 1 indexes names with the application's own upper(), which "
                                   "other SQLite tools read as a corrupt index")
                + repair;
    if (version >= 2) {
        const int stale = db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name WHERE %1")
                                        .arg(QLatin1String(StaleKeys)))
                              .toInt();
        if (stale > 0)
            problems << QStringLiteral("%1 name(s) have a comparison key that differs from the application's "
                                       "upper case, so searches would miss them")
                            .arg(stale)
                    + repair;
    }
    return problems;
}

QString Schema::straightQuoteIn(const Database& db, const QString& column)
{
    return db.dialect() == Dialect::SQLite ? QStringLiteral("instr(%1, '''') > 0").arg(column)
                                           : QStringLiteral("strpos(%1, '''') > 0").arg(column);
}

const char* const Schema::OneOriginalReferenceIndex =
    "CREATE UNIQUE INDEX IF NOT EXISTS scientific_name_reference_original_idx ON scientific_name_reference "
    "(scientific_name_id) WHERE original_publication_ind = 'Y'";

int Schema::version(Database& db)
{
    if (!tableExists(db, QStringLiteral("schema_version")))
        return 0;
    return db.scalar(QStringLiteral("SELECT max(version) FROM schema_version")).toInt();
}

void Schema::upgrade(Database& db)
{
    const int current = version(db);
    if (current > CurrentVersion)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral(
                "Database %1 is at schema version %2, newer than this program's %3; use a newer program")
                .arg(db.url().display())
                .arg(current)
                .arg(CurrentVersion));
    if (current == CurrentVersion)
        return;
    db.transaction([&] {
        if (current < 1) {
            for (const char* statement : CommonTables)
                db.exec(QString::fromUtf8(statement));
            db.exec(searchView("scientific_srch_vw", ""));
            if (db.dialect() == Dialect::SQLite) {
                for (const char* statement : SqliteOnly)
                    db.exec(QString::fromUtf8(statement));
            } else {
                for (const char* statement : PostgresOnly)
                    db.exec(QString::fromUtf8(statement));
            }
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (1)"));
        }
        if (current < 2) {
            if (db.dialect() == Dialect::SQLite) {
                for (const char* statement : SqliteVersion2)
                    db.exec(QString::fromUtf8(statement));
                db.exec(searchView("scientific_srch_key_vw",
                                   ",\n           sn.scientific_name_key AS Scientific_Name_Key"));
            }
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (2)"));
        }
        if (current < 3) {
            // One original publication per name. Where a name had several, the first in display
            // order keeps the flag, so that the rule can hold from now on.
            db.exec(QStringLiteral(
                "UPDATE scientific_name_reference SET original_publication_ind = 'N' WHERE "
                "original_publication_ind = 'Y' AND EXISTS (SELECT 1 FROM scientific_name_reference o WHERE "
                "o.scientific_name_id = scientific_name_reference.scientific_name_id AND "
                "o.original_publication_ind = 'Y' AND (coalesce(o.display_order, 0) < "
                "coalesce(scientific_name_reference.display_order, 0) OR (coalesce(o.display_order, 0) = "
                "coalesce(scientific_name_reference.display_order, 0) AND o.scientific_name_reference_id < "
                "scientific_name_reference.scientific_name_reference_id)))"));
            db.exec(QLatin1String(OneOriginalReferenceIndex));
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (3)"));
        }
        if (current < 4) {
            const std::span<const char* const> steps = db.dialect() == Dialect::SQLite
                ? std::span<const char* const>(SqliteVersion4)
                : std::span<const char* const>(PostgresVersion4);
            for (const char* statement : steps)
                db.exec(QString::fromUtf8(statement));
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (4)"));
        }
        if (current < 5) {
            if (db.dialect() == Dialect::SQLite) {
                for (const char* statement : SqliteVersion5)
                    db.exec(QString::fromUtf8(statement));
            }
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (5)"));
        }
        if (current < 6) {
            guardCodeListTexts(db);
            // A database made before has the sample's two roles; administrators come now.
            if (current > 0)
                db.exec(QStringLiteral(
                    "INSERT INTO app_role (role_id, role_name, may_save, may_delete, may_create) "
                    "SELECT 3, 'Admin', 'Y', 'Y', 'Y' WHERE NOT EXISTS (SELECT 1 FROM app_role "
                    "WHERE role_name = 'Admin')"));
            if (db.dialect() == Dialect::PostgreSQL) {
                db.exec(QLatin1String(ServerRoleTable));
                AuditTriggers::install(db);
            }
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (6)"));
        }
        if (current < 7) {
            if (db.dialect() == Dialect::SQLite) {
                for (const char* statement : SqliteVersion7)
                    db.exec(QString::fromUtf8(statement));
            }
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (7)"));
        }
        if (current < 8) {
            db.exec(QLatin1String(CurationChangeTable));
            db.exec(QLatin1String(CurationChangeIndex));
            db.exec(QLatin1String(EstablishedNameIndex));
            db.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (8)"));
        }
        // Later versions add their steps here, each guarded by `current < N`.
    });
}

int Schema::repairNameKeys(Database& db)
{
    if (db.dialect() != Dialect::SQLite)
        return 0;
    int repaired = 0;
    db.transaction([&] {
        repaired = db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name WHERE %1")
                                 .arg(QLatin1String(StaleKeys)))
                       .toInt();
        if (repaired > 0)
            db.exec(QStringLiteral("UPDATE scientific_name SET scientific_name_key = "
                                   "bryx_name_key(scientific_name) WHERE %1")
                        .arg(QLatin1String(StaleKeys)));
    });
    return repaired;
}

QStringList Schema::check(Database& db)
{
    QStringList problems;
    const int current = version(db);
    if (current != CurrentVersion)
        problems << QStringLiteral("schema version is %1, expected %2").arg(current).arg(CurrentVersion);
    const char* const required[] = {"scientific_name",
                                    "d_name_category",
                                    "d_classification_level",
                                    "d_classification_framework",
                                    "d_nomenclaturally_est",
                                    "reference",
                                    "scientific_name_reference",
                                    "org_unit",
                                    "app_user",
                                    "app_role",
                                    "user_option_category",
                                    "user_option",
                                    "audit_log",
                                    "audit_comment",
                                    "curation_change",
                                    "scientific_srch_vw",
                                    "scientific_wl_vw",
                                    "reference_wl_vw"};
    for (const char* name : required) {
        if (!tableExists(db, QString::fromLatin1(name)))
            problems << QStringLiteral("%1 is missing").arg(QString::fromLatin1(name));
    }
    for (const CodeListText& list : QuotedCodeLists) {
        const QString column = QLatin1String(list.column);
        const int quoted = db.scalar(QStringLiteral("SELECT count(*) FROM %1 WHERE %2")
                                         .arg(QLatin1String(list.table), straightQuoteIn(db, column)))
                               .toInt();
        if (quoted > 0)
            problems << QStringLiteral(
                            "%1 text(s) of %2 hold a straight single quote, so searches by them fail; "
                            "repair with: bryx-db upgrade --database %3")
                            .arg(quoted)
                            .arg(QLatin1String(list.table), db.url().display());
    }
    if (db.dialect() == Dialect::PostgreSQL && current >= 6
        && !tableExists(db, QStringLiteral("server_role")))
        problems << QStringLiteral("server_role (the installation's role names) is missing");
    if (db.dialect() == Dialect::SQLite) {
        if (current >= 4 && !tableExists(db, QStringLiteral("reference_fts")))
            problems << QStringLiteral("reference_fts (the index of reference texts) is missing");
        if (current >= 7 && !tableExists(db, QStringLiteral("scientific_name_fts")))
            problems << QStringLiteral("scientific_name_fts (the index of name texts) is missing");
        problems << sqliteProblems(db, current);
    }
    return problems;
}

} // namespace bryx::host
