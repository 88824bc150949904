#include "AuditTriggers.h"

#include "Database.h"

namespace bryx::host {

namespace {

// One statement writes the rows of a whole statement's changes, from its transition tables: a
// row per inserted name; a row per changed column of an updated name with the old value; a row
// per filled column of a deleted name. The row version and the rec_ columns are bookkeeping,
// not history. IDs come in the order of name and column, as the application writes them. The
// update and delete branches stay two statements: a delete trigger has no new_rows to name.
const char* const NameAuditFunction = R"(
CREATE OR REPLACE FUNCTION bryx_audit_names() RETURNS trigger
LANGUAGE plpgsql SECURITY DEFINER SET search_path = public, pg_temp AS $body$
DECLARE
    unit integer;
BEGIN
    SELECT org_unit_id INTO unit FROM app_user WHERE login_name = session_user;
    IF TG_OP = 'INSERT' THEN
        INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, column_name,
                               old_value, primary_key, org_unit_id, audit_log_column_id)
        SELECT nextval('bryx_id_seq'), now() AT TIME ZONE 'UTC', session_user, 'SCIENTIFIC_NAME', 'I',
               NULL, NULL, n.scientific_name_id, coalesce(unit, n.org_unit_id), NULL
        FROM (SELECT * FROM new_rows ORDER BY scientific_name_id) n;
    ELSIF TG_OP = 'UPDATE' THEN
        INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, column_name,
                               old_value, primary_key, org_unit_id, audit_log_column_id)
        SELECT c.id, now() AT TIME ZONE 'UTC', session_user, 'SCIENTIFIC_NAME', 'U', c.column_name,
               c.old_value, c.primary_key, coalesce(unit, c.org_unit_id), c.id
        FROM (SELECT nextval('bryx_id_seq') AS id, d.* FROM (
                 SELECT o.scientific_name_id AS primary_key, o.org_unit_id, e.key AS column_name,
                        e.value #>> '{}' AS old_value
                 FROM old_rows o
                 JOIN new_rows n ON n.scientific_name_id = o.scientific_name_id
                 CROSS JOIN LATERAL (SELECT to_jsonb(o) AS was, to_jsonb(n) AS became) j
                 CROSS JOIN LATERAL jsonb_each(j.was) e
                 WHERE e.key <> 'row_version' AND e.key NOT LIKE 'rec\_%'
                   AND e.value IS DISTINCT FROM j.became -> e.key
                 ORDER BY o.scientific_name_id, e.key) d) c;
    ELSE
        INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, column_name,
                               old_value, primary_key, org_unit_id, audit_log_column_id)
        SELECT c.id, now() AT TIME ZONE 'UTC', session_user, 'SCIENTIFIC_NAME', 'D', c.column_name,
               c.old_value, c.primary_key, coalesce(unit, c.org_unit_id), c.id
        FROM (SELECT nextval('bryx_id_seq') AS id, d.* FROM (
                 SELECT o.scientific_name_id AS primary_key, o.org_unit_id, e.key AS column_name,
                        e.value #>> '{}' AS old_value
                 FROM old_rows o
                 CROSS JOIN LATERAL jsonb_each(to_jsonb(o)) e
                 WHERE e.key <> 'row_version' AND e.key NOT LIKE 'rec\_%' AND e.value <> 'null'::jsonb
                 ORDER BY o.scientific_name_id, e.key) d) c;
    END IF;
    RETURN NULL;
END
$body$)";

const char* const StampFunction = R"(
CREATE OR REPLACE FUNCTION bryx_audit_stamp() RETURNS trigger
LANGUAGE plpgsql SET search_path = public, pg_temp AS $body$
BEGIN
    NEW.user_name := session_user;
    NEW.audit_date := now() AT TIME ZONE 'UTC';
    RETURN NEW;
END
$body$)";

const char* const Triggers[] = {
    "DROP TRIGGER IF EXISTS scientific_name_audit_insert ON scientific_name",
    "DROP TRIGGER IF EXISTS scientific_name_audit_update ON scientific_name",
    "DROP TRIGGER IF EXISTS scientific_name_audit_delete ON scientific_name",
    "DROP TRIGGER IF EXISTS audit_log_stamp ON audit_log",
    "CREATE TRIGGER scientific_name_audit_insert AFTER INSERT ON scientific_name REFERENCING NEW TABLE AS "
    "new_rows FOR EACH STATEMENT EXECUTE FUNCTION bryx_audit_names()",
    "CREATE TRIGGER scientific_name_audit_update AFTER UPDATE ON scientific_name REFERENCING OLD TABLE AS "
    "old_rows NEW TABLE AS new_rows FOR EACH STATEMENT EXECUTE FUNCTION bryx_audit_names()",
    "CREATE TRIGGER scientific_name_audit_delete AFTER DELETE ON scientific_name REFERENCING OLD TABLE AS "
    "old_rows FOR EACH STATEMENT EXECUTE FUNCTION bryx_audit_names()",
    "CREATE TRIGGER audit_log_stamp BEFORE INSERT ON audit_log FOR EACH ROW EXECUTE FUNCTION "
    "bryx_audit_stamp()",
};

} // namespace

void AuditTriggers::install(Database& db)
{
    if (!auditsNames(db))
        return;
    db.exec(QString::fromUtf8(NameAuditFunction));
    db.exec(QString::fromUtf8(StampFunction));
    for (const char* statement : Triggers)
        db.exec(QString::fromUtf8(statement));
}

bool AuditTriggers::auditsNames(const Database& db)
{
    return db.dialect() == Dialect::PostgreSQL;
}

void AuditTriggers::disable(Database& db)
{
    db.exec(QStringLiteral("ALTER TABLE scientific_name DISABLE TRIGGER USER"));
    db.exec(QStringLiteral("ALTER TABLE audit_log DISABLE TRIGGER USER"));
}

void AuditTriggers::enable(Database& db)
{
    db.exec(QStringLiteral("ALTER TABLE scientific_name ENABLE TRIGGER USER"));
    db.exec(QStringLiteral("ALTER TABLE audit_log ENABLE TRIGGER USER"));
}

} // namespace bryx::host
