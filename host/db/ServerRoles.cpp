#include "ServerRoles.h"

#include "Database.h"
#include "SqlText.h"
#include "error/Error.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace bryx::host {

namespace {

// What the components' statements read: the search and list views, the code lists, and the
// name tables of the duplicate test, the existence test and the list conversions.
const char* const ReaderTables[] = {"scientific_srch_vw",        "scientific_wl_vw",
                                    "reference_wl_vw",           "d_name_category",
                                    "d_classification_level",    "d_classification_framework",
                                    "d_nomenclaturally_est",     "scientific_name",
                                    "scientific_name_reference", "org_unit"};

// What editors write beyond reading: names and their links, references, the code lists an
// import extends, comments on the audit trail, and audit rows of their own (insert only; the
// trail stamps each with the login and the time).
const char* const EditorGrants[] = {
    "GRANT INSERT, UPDATE, DELETE ON scientific_name, scientific_name_reference, audit_comment TO %editor",
    "GRANT INSERT ON reference, d_name_category, d_classification_level, d_classification_framework, "
    "d_nomenclaturally_est, audit_log TO %editor",
    "GRANT UPDATE ON SEQUENCE bryx_id_seq TO %editor",
    // What a merge or delete took away, and the mark that it was brought back.
    "GRANT INSERT, UPDATE ON curation_change TO %editor",
    "GRANT TEMPORARY ON DATABASE %database TO %editor",
};

const char* const ViewerGrants[] = {
    "GRANT SELECT ON ALL TABLES IN SCHEMA public TO %viewer",
    "GRANT USAGE, SELECT ON SEQUENCE bryx_id_seq TO %viewer",
    // Saved searches and defaults are every user's own, editors' and viewers' alike.
    "GRANT INSERT, UPDATE, DELETE ON user_option TO %viewer",
    "GRANT INSERT ON user_option_category TO %viewer",
    "GRANT CONNECT ON DATABASE %database TO %viewer",
};

// A user's options are that user's alone: the server keeps the others' rows out of sight.
const char* const OwnOptionsOnly[] = {
    "ALTER TABLE user_option ENABLE ROW LEVEL SECURITY",
    "DROP POLICY IF EXISTS user_option_own ON user_option",
    "CREATE POLICY user_option_own ON user_option USING (user_id IN (SELECT user_id FROM app_user WHERE "
    "login_name = session_user)) WITH CHECK (user_id IN (SELECT user_id FROM app_user WHERE login_name = "
    "session_user))",
};

bool roleExists(Database& db, const QString& role)
{
    return db.scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {role}).toInt() > 0;
}

void requirePostgres(Database& db, const char* what)
{
    if (db.dialect() != Dialect::PostgreSQL)
        throw Error(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Database %1: %2 is for a PostgreSQL server; an SQLite file has no server roles")
                .arg(db.url().display(), QLatin1String(what)));
}

} // namespace

ServerRoles ServerRoles::withPrefix(const QString& prefix)
{
    static const QRegularExpression valid(QStringLiteral("^[a-z][a-z0-9_]{0,40}$"));
    if (!valid.match(prefix).hasMatch())
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("\"%1\" cannot begin role names: use lower-case letters, digits and "
                                   "underscores, beginning with a letter, at most 41 of them")
                        .arg(prefix));
    return {prefix + QStringLiteral("_owner"), prefix + QStringLiteral("_reader"),
            prefix + QStringLiteral("_viewer"), prefix + QStringLiteral("_editor"),
            prefix + QStringLiteral("_admin")};
}

bool ServerRoles::installed(Database& db)
{
    if (db.dialect() != Dialect::PostgreSQL)
        return false;
    return db.scalar(QStringLiteral("SELECT count(*) FROM information_schema.tables WHERE table_schema = "
                                    "current_schema() AND table_name = 'server_role'"))
               .toInt()
        > 0
        && db.scalar(QStringLiteral("SELECT count(*) FROM server_role")).toInt() > 0;
}

ServerRoles ServerRoles::of(Database& db)
{
    requirePostgres(db, "server roles");
    if (!installed(db))
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("Database %1 has no server roles yet; an administrator sets them up with: "
                                   "bryx-db upgrade --database %1")
                        .arg(db.url().display()));
    ServerRoles roles;
    QSqlQuery rows = db.query(QStringLiteral("SELECT role_kind, role_name FROM server_role"));
    while (rows.next()) {
        const QString kind = rows.value(0).toString();
        const QString name = rows.value(1).toString();
        if (kind == QLatin1String("owner"))
            roles.owner = name;
        else if (kind == QLatin1String("reader"))
            roles.reader = name;
        else if (kind == QLatin1String("viewer"))
            roles.viewer = name;
        else if (kind == QLatin1String("editor"))
            roles.editor = name;
        else if (kind == QLatin1String("admin"))
            roles.admin = name;
    }
    for (const QString* name : {&roles.owner, &roles.reader, &roles.viewer, &roles.editor, &roles.admin}) {
        if (name->isEmpty())
            throw Error(ErrorNumber::InvalidArgument,
                        QStringLiteral("Database %1: the server_role table is incomplete; repair it with: "
                                       "bryx-db upgrade --database %1")
                            .arg(db.url().display()));
    }
    return roles;
}

QString ServerRoles::group(const QString& roleWord) const
{
    const QString word = roleWord.toLower();
    if (word == QLatin1String("viewer"))
        return viewer;
    if (word == QLatin1String("editor"))
        return editor;
    if (word == QLatin1String("admin"))
        return admin;
    throw Error(ErrorNumber::InvalidArgument,
                QStringLiteral("\"%1\" is not a role; use viewer, editor or admin").arg(roleWord));
}

void ServerRoles::install(Database& db) const
{
    requirePostgres(db, "installing server roles");
    db.transaction([&] {
        const QString database =
            sqlIdentifier(db.scalar(QStringLiteral("SELECT current_database()")).toString());
        auto run = [&](QString statement) {
            statement.replace(QLatin1String("%database"), database)
                .replace(QLatin1String("%owner"), sqlIdentifier(owner))
                .replace(QLatin1String("%reader"), sqlIdentifier(reader))
                .replace(QLatin1String("%viewer"), sqlIdentifier(viewer))
                .replace(QLatin1String("%editor"), sqlIdentifier(editor))
                .replace(QLatin1String("%admin"), sqlIdentifier(admin));
            db.exec(statement);
        };
        for (const QString& role : {owner, reader, viewer, editor, admin}) {
            if (!roleExists(db, role))
                db.exec(QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(sqlIdentifier(role)));
        }
        for (const char* statement :
             {"GRANT %reader TO %viewer", "GRANT %viewer TO %editor", "GRANT %editor TO %admin",
              // Admins add viewers and editors; only the installation's administrator adds admins.
              "GRANT %viewer TO %admin WITH ADMIN OPTION", "GRANT %editor TO %admin WITH ADMIN OPTION"})
            run(QLatin1String(statement));
        // Whoever installs must be able to act as the owner to hand it the objects.
        if (!db.scalar(QStringLiteral("SELECT rolsuper FROM pg_roles WHERE rolname = current_user")).toBool()
            && !db.scalar(QStringLiteral("SELECT pg_has_role(current_user, ?, 'MEMBER')"), {owner}).toBool())
            run(QStringLiteral("GRANT %owner TO CURRENT_USER"));

        // Nobody reaches anything by being a mere login of the cluster.
        for (const char* statement :
             {"REVOKE CONNECT, TEMPORARY ON DATABASE %database FROM PUBLIC",
              "REVOKE ALL ON SCHEMA public FROM PUBLIC", "GRANT USAGE ON SCHEMA public TO %reader, %viewer",
              "GRANT USAGE, CREATE ON SCHEMA public TO %owner"})
            run(QLatin1String(statement));

        // The owner takes every table, view and sequence, and the application's functions.
        QSqlQuery relations = db.query(
            QStringLiteral(
                "SELECT c.relname, c.relkind FROM pg_class c JOIN pg_namespace n ON n.oid = "
                "c.relnamespace WHERE n.nspname = 'public' AND c.relkind IN ('r', 'v', 'S', 'm', 'p') "
                "AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.objid = c.oid AND d.deptype = 'e') "
                "AND pg_get_userbyid(c.relowner) <> ?"),
            {owner}, Database::Reading::Buffered);
        QStringList handOver;
        while (relations.next()) {
            const QString kind = relations.value(1).toString();
            const char* what = kind == QLatin1String("v") ? "VIEW"
                : kind == QLatin1String("S")              ? "SEQUENCE"
                : kind == QLatin1String("m")              ? "MATERIALIZED VIEW"
                                                          : "TABLE";
            handOver << QStringLiteral("ALTER %1 %2 OWNER TO %owner")
                            .arg(QLatin1String(what), sqlIdentifier(relations.value(0).toString()));
        }
        QSqlQuery functions = db.query(
            QStringLiteral(
                "SELECT p.oid::regprocedure::text FROM pg_proc p JOIN pg_namespace n ON n.oid = "
                "p.pronamespace WHERE n.nspname = 'public' AND p.proname LIKE 'bryx\\_%' AND NOT EXISTS "
                "(SELECT 1 FROM pg_depend d WHERE d.objid = p.oid AND d.deptype = 'e')"),
            {}, Database::Reading::Buffered);
        while (functions.next())
            handOver
                << QStringLiteral("ALTER FUNCTION %1 OWNER TO %owner").arg(functions.value(0).toString());
        for (const QString& statement : std::as_const(handOver))
            run(statement);

        run(QStringLiteral("REVOKE ALL ON ALL TABLES IN SCHEMA public FROM PUBLIC"));
        QStringList readable;
        for (const char* table : ReaderTables)
            readable << QLatin1String(table);
        run(QStringLiteral("GRANT SELECT ON %1 TO %reader").arg(readable.join(QStringLiteral(", "))));
        for (const char* statement : ViewerGrants)
            run(QLatin1String(statement));
        for (const char* statement : EditorGrants)
            run(QLatin1String(statement));
        run(QStringLiteral("GRANT INSERT, UPDATE, DELETE ON app_user TO %admin"));
        for (const char* statement : OwnOptionsOnly)
            run(QLatin1String(statement));

        db.exec(QStringLiteral("DELETE FROM server_role"));
        const std::pair<const char*, QString> kinds[] = {
            {"owner", owner}, {"reader", reader}, {"viewer", viewer}, {"editor", editor}, {"admin", admin}};
        for (const auto& [kind, name] : kinds)
            db.exec(QStringLiteral("INSERT INTO server_role (role_kind, role_name) VALUES (?, ?)"),
                    {QLatin1String(kind), name});
    });
}

} // namespace bryx::host
