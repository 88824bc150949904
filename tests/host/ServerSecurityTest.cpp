// What a hostile or careless user can do to a database through the application: texts that
// try to break out of the components' statements, and (on PostgreSQL) plain SQL from a login of
// the installation. The server's rights are what stop them, so every test here looks at the
// database afterwards rather than at what the program said it did.
#include "../support/ErrorMatchers.h"
#include "../support/QtPrinters.h"
#include "SearchStatement.h"
#include "TestDatabase.h"
#include "db/Schema.h"
#include "db/ServerRoles.h"
#include "error/Error.h"
#include "recordset/Recordset.h"
#include "services/PostgresQuery.h"
#include "services/QueryRecordset.h"
#include "services/SqlAppManager.h"
#include "services/SqliteQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlQuery>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

bool onPostgres(const TestDatabase& test)
{
    return test.adminUrl().dialect == Dialect::PostgreSQL;
}

// Everything an attack could have changed, as the administrator sees it: rows, tables and
// their grants, the installation's roles and logins, settings kept for the database.
QString stateOf(const TestDatabase& test)
{
    auto db = test.openAsAdmin();
    QStringList state;
    for (const char* table : {"scientific_name", "scientific_name_reference", "audit_log", "audit_comment",
                              "app_user", "app_role", "user_option", "d_name_category", "reference"})
        state << QStringLiteral("%1=%2").arg(
            table, db->scalar(QStringLiteral("SELECT count(*) FROM %1").arg(table)).toString());
    if (!onPostgres(test)) {
        state << db->scalar(
                       "SELECT group_concat(name, ',') FROM (SELECT name FROM sqlite_master ORDER BY name)")
                     .toString();
        return state.join('\n');
    }
    const QString prefix = test.adminUrl().databaseName + "\\_%";
    state << db->scalar(
                   "SELECT string_agg(relname || ':' || coalesce(relacl::text, ''), ',' ORDER BY relname) "
                   "FROM pg_class WHERE relnamespace = current_schema()::regnamespace")
                 .toString();
    state << db->scalar(
                   "SELECT string_agg(rolname || ':' || rolsuper || rolcreaterole || rolcreatedb || "
                   "rolbypassrls, ',' ORDER BY rolname) FROM pg_roles WHERE rolname LIKE ? OR rolname IN "
                   "('editor', 'viewer', 'pwned')",
                   {prefix})
                 .toString();
    state << db->scalar(
                   "SELECT string_agg(g.rolname || '>' || u.rolname, ',' ORDER BY 1) FROM pg_auth_members m "
                   "JOIN pg_roles g ON g.oid = m.roleid JOIN pg_roles u ON u.oid = m.member WHERE g.rolname "
                   "LIKE ? OR u.rolname LIKE ?",
                   {prefix, prefix})
                 .toString();
    state << db->scalar("SELECT coalesce(string_agg(array_to_string(setconfig, ' '), ';'), '') FROM "
                        "pg_db_role_setting WHERE setdatabase = (SELECT oid FROM pg_database WHERE datname = "
                        "current_database())")
                 .toString();
    return state.join('\n');
}

QString markerFile()
{
    return QStringLiteral("/tmp/bryx-pwned-%1").arg(QCoreApplication::applicationPid());
}

// Texts a user might type or a saved search or checklist might carry, each trying another way
// out of a quoted text of the statement: a second statement after the first, one hidden from a
// naive quote count by an E string, a dollar quote or a comment, a read of what the components
// may not read, a role or identity change, writing functions, a statement that never ends.
QStringList attackTexts(const QString& owner)
{
    return {
        "1'; DROP TABLE reference; --",
        "1' OR E'\\'' = ''; COMMIT; BEGIN READ WRITE; CREATE TABLE pwned (x int); --",
        "1' OR $q$'$q$ = ''; COMMIT; BEGIN READ WRITE; CREATE TABLE pwned (x int); --",
        "1' /* ' */ ; DELETE FROM audit_log; --",
        "1'; COPY (SELECT 1) TO PROGRAM 'touch " + markerFile() + "'; --",
        "1' OR length(pg_read_file('/etc/passwd')) > 0 OR '1'='",
        "1' OR (SELECT true FROM pg_sleep(5)) OR '1'='",
        "1'; SET ROLE " + owner + "; DROP TABLE audit_log; --",
        "1'; RESET SESSION AUTHORIZATION; CREATE ROLE pwned SUPERUSER; --",
        "1' OR set_config('transaction_read_only', 'off', true) = 'off' OR '1'='",
        "1' OR setval('bryx_id_seq', 1) > 0 OR '1'='",
        "1' UNION SELECT user_id, login_name, full_name, '', '', '' FROM app_user --",
        "\\'; CREATE TABLE pwned (x int); --",
    };
}

// The statements the search panel composes from each place a text goes in as it is.
QStringList statementsWith(const QString& text)
{
    return {
        BuildSearchSQL({0, {}, {}, -1, {}, text}), // the ID
        BuildSearchSQL({0, text, {}, -1, {}, {}}), // the category
        BuildSearchSQL({0, "Vascular Plant", text, -1, {}, {}}), // the classification level
        BuildSearchSQL({0, {}, {}, 0, text, {}}), // the name text, quotes doubled
    };
}

} // namespace

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun runTool(const char* program, const QStringList& arguments,
                const QList<std::pair<QString, QString>>& environment = {}, const QByteArray& input = {})
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        variables.insert(name, value);
    process.setProcessEnvironment(variables);
    process.start(QString::fromUtf8(program), arguments);
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class ServerSecurity : public OnEachEngineWithHost { };
INSTANTIATE_ON_EACH_ENGINE(ServerSecurity);

TEST_P(ServerSecurity, NoTextInAComponentsStatementChangesTheDatabaseOrReadsWhatItMayNot)
{
    const bool postgres = onPostgres(*database);
    if (postgres) {
        // A server whose strings take backslash escapes unless the client says otherwise: a
        // doubled quote after a backslash would end the text there.
        database->openAsAdmin()->exec(
            QStringLiteral("ALTER DATABASE %1 SET standard_conforming_strings = off")
                .arg(database->adminUrl().databaseName));
    }
    const QString before = stateOf(*database);
    auto editor = database->appManagerFor("editor");
    editor->setQueryTimeout(std::chrono::milliseconds(1000));
    const QString owner =
        postgres ? ServerRoles::withPrefix(database->adminUrl().databaseName).owner : QString("owner");
    for (const QString& text : attackTexts(owner)) {
        for (QString sql : statementsWith(text)) {
            QElapsedTimer clock;
            clock.start();
            try {
                const auto found = editor->CallGetQueryRSXML(sql);
                if (postgres) {
                    // What ran was a search for an odd text, which no name has.
                    EXPECT_EQ(found->RecordCount(), 0) << sql.toStdString();
                }
            } catch (const Error& error) {
                EXPECT_FALSE(error.Description().isEmpty()) << sql.toStdString();
                EXPECT_FALSE(error.Description().contains('\n')) << error.Description().toStdString();
            }
            EXPECT_LT(clock.elapsed(), 4000) << "the timeout stops it: " << sql.toStdString();
        }
    }
    EXPECT_EQ(stateOf(*database), before);
    EXPECT_FALSE(QFile::exists(markerFile()));
    if (!postgres)
        return;
    // The components read as a role that sees the views and code lists only.
    for (QString sql :
         {QString("select * from app_user"), BuildSearchSQL({0, {}, {}, -1, {}, attackTexts(owner)[11]}),
          QString("select pg_read_file('/etc/passwd')")}) {
        const QString message =
            EXPECT_BRYX_ERROR(editor->CallGetQueryRSXML(sql), ErrorNumber::InvalidArgument);
        EXPECT_TRUE(message.contains("permission denied")) << message.toStdString();
    }
}

TEST_P(ServerSecurity, TheEngineItselfRunsOneReadingStatementAndStopsALongOne)
{
    auto db = database->open(Database::Access::ReadOnly);
    const bool postgres = onPostgres(*database);
    const ReadPolicy policy {postgres ? ServerRoles::withPrefix(database->adminUrl().databaseName).reader
                                      : QString(),
                             std::chrono::milliseconds(500)};
    auto run = [&](const QString& sql) {
        return postgres ? PostgresQuery::run(*db, sql, policy) : SqliteQuery::run(*db, sql, policy.timeout);
    };
    const QString before = stateOf(*database);
    // Past the check in front, the engine refuses a second statement or a write on its own.
    for (const char* sql : {"select 1; create table pwned (x int)", "create table pwned (x int)",
                            "delete from audit_log", "insert into app_role select * from app_role"}) {
        const QString message = EXPECT_BRYX_ERROR(run(sql), ErrorNumber::InvalidArgument);
        EXPECT_FALSE(message.isEmpty()) << sql;
    }
    EXPECT_EQ(stateOf(*database), before);

    QElapsedTimer clock;
    clock.start();
    const QString endless =
        "with recursive c(n) as (select 1 union all select n + 1 from c where n < 2000000000) "
        "select count(*) from c";
    const QString message = EXPECT_BRYX_ERROR(run(endless), ErrorNumber::InvalidArgument);
    EXPECT_TRUE(message.contains("stopped after 0.5 s")) << message.toStdString();
    EXPECT_LT(clock.elapsed(), 3000);
    // The connection is fine afterwards and nothing the statement set stays.
    EXPECT_EQ(run("select count(*) as n from d_name_category")->Fields("n").Value().toInt(),
              db->scalar("select count(*) from d_name_category").toInt());
    if (postgres) {
        EXPECT_EQ(db->scalar("select current_user").toString(), QString("editor"));
    }
}

// A category or level text goes into the statements between straight quotes as it is, so one
// with a quote of its own could never be searched for; the database takes none.
TEST_P(ServerSecurity, CodeListTextsWithAStraightQuoteAreRefusedAndReportedByTheCheck)
{
    auto db = database->openAsAdmin();
    const QString insert =
        "INSERT INTO d_name_category (d_name_category_id, name_type_cd, name_type_desc, "
        "name_category_desc, d_class_framework_id, display_order) SELECT 990001, 'P', "
        "'Botanical', ?, min(d_classification_framework_id), 99 FROM d_classification_framework";
    const QString message =
        EXPECT_BRYX_ERROR(db->exec(insert, {"Murray's Plants"}), ErrorNumber::InvalidArgument);
    EXPECT_TRUE(message.contains("straight single quote") || message.contains("no_straight_quote"))
        << message.toStdString();
    db->exec(insert, {QString("Murray\u2019s Plants")});
    EXPECT_BRYX_ERROR(
        db->exec("UPDATE d_classification_level SET classification_level_name = 'Species''' WHERE "
                 "classification_level_name = 'Species'"),
        ErrorNumber::InvalidArgument);
    EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();

    // Another tool that went round the guard leaves a text the check names.
    if (onPostgres(*database))
        db->exec("ALTER TABLE d_name_category DROP CONSTRAINT d_name_category_no_straight_quote");
    else
        db->exec("DROP TRIGGER d_name_category_no_straight_quote_update");
    db->exec("UPDATE d_name_category SET name_category_desc = 'Murray''s Plants' WHERE d_name_category_id = "
             "990001");
    const QStringList problems = Schema::check(*db);
    ASSERT_EQ(problems.size(), 1) << problems.join("; ").toStdString();
    EXPECT_TRUE(problems.front().contains("straight single quote")) << problems.front().toStdString();
}

// The command-line search takes an ID as the panel does; a viewer typing a statement there
// gets one line of refusal.
TEST_P(ServerSecurity, TheCommandLineSearchRefusesABreakoutInOneLine)
{
    const QString before = stateOf(*database);
    for (const QString& text :
         {QString("1'; DELETE FROM audit_log; --"),
          QString("1' OR $q$'$q$ = ''; COMMIT; BEGIN READ WRITE; CREATE TABLE pwned (x int); --")}) {
        const ToolRun found =
            runTool(BRYX_FIND_PATH, {"--database", database->urlFor("viewer").display(), "--id", text},
                    {{"BRYX_USER", onPostgres(*database) ? "" : "viewer"}});
        EXPECT_EQ(found.exitCode, 1) << found.out.toStdString();
        EXPECT_EQ(found.err.count('\n'), 1) << found.err.toStdString();
        EXPECT_TRUE(found.err.contains("statement")) << found.err.toStdString();
    }
    EXPECT_EQ(stateOf(*database), before);
    if (onPostgres(*database)) {
        const ToolRun named = runTool(BRYX_FIND_PATH, {"--database", database->url().display(), "--id", "1"},
                                      {{"BRYX_USER", "viewer"}});
        EXPECT_EQ(named.exitCode, 1);
        EXPECT_TRUE(named.err.contains("login of the URL")) << named.err.toStdString();
    }
}

// The rest concerns a shared server only: the logins, what the server lets each do, the trail.
class SharedServer : public OnEachEngineWithHost {
protected:
    void SetUp() override
    {
        if (GetParam() == Dialect::SQLite)
            GTEST_SKIP() << "an SQLite file has no logins";
        OnEachEngineWithHost::SetUp();
    }
    // A login of the cluster only this test process uses.
    QString ownLogin(const char* word) const
    {
        return QStringLiteral("%1_%2").arg(QLatin1String(word)).arg(QCoreApplication::applicationPid());
    }
    std::unique_ptr<Database> connectAs(const QString& login) const
    {
        return std::make_unique<Database>(database->urlFor(login), Database::Access::ReadWrite);
    }
    QVariantList lastAudit(const QString& table, int32_t id) const
    {
        auto admin = database->openAsAdmin();
        QSqlQuery row = admin->query("SELECT user_name, action, lower(column_name), old_value FROM audit_log "
                                     "WHERE upper(table_name) = ? AND "
                                     "primary_key = ? ORDER BY audit_log_id DESC",
                                     {table, id});
        if (!row.next())
            return {};
        return {row.value(0), row.value(1), row.value(2), row.value(3)};
    }
};
INSTANTIATE_ON_EACH_ENGINE(SharedServer);

TEST_P(SharedServer, EachLoginMayDoWhatItsGroupMayWhicheverProgramItUses)
{
    auto viewer = connectAs("viewer");
    const QString before = stateOf(*database);
    for (const char* write :
         {"UPDATE scientific_name SET author_name = 'x'", "DELETE FROM scientific_name_reference",
          "INSERT INTO app_user SELECT * FROM app_user", "CREATE TABLE pwned (x int)",
          "UPDATE app_role SET may_save = 'Y'"}) {
        const QString message = EXPECT_BRYX_ERROR(viewer->exec(write), ErrorNumber::InvalidArgument);
        EXPECT_TRUE(message.contains("permission denied")) << write << ": " << message.toStdString();
    }
    auto editor = connectAs("editor");
    for (const char* write :
         {"UPDATE audit_log SET user_name = 'nobody'", "DELETE FROM audit_log", "TRUNCATE audit_log",
          "UPDATE app_user SET role_id = 3", "DROP VIEW scientific_srch_vw",
          "ALTER TABLE scientific_name DISABLE TRIGGER USER"}) {
        const QString message = EXPECT_BRYX_ERROR(editor->exec(write), ErrorNumber::InvalidArgument);
        EXPECT_TRUE(message.contains("permission denied") || message.contains("must be owner"))
            << write << ": " << message.toStdString();
    }
    EXPECT_EQ(stateOf(*database), before);
    // Both still read everything; the viewer keeps saved searches of their own only.
    EXPECT_GT(viewer->scalar("SELECT count(*) FROM app_user").toInt(), 0);
    const QString message = EXPECT_BRYX_ERROR(
        viewer->exec(
            "INSERT INTO user_option (user_option_id, user_option_category_id, option_name, user_id, "
            "option_value) SELECT nextval('bryx_id_seq'), min(user_option_category_id), 'planted', 1, "
            "'x' FROM user_option_category"),
        ErrorNumber::InvalidArgument);
    EXPECT_TRUE(message.contains("row-level security")) << message.toStdString();
    EXPECT_TRUE(
        viewer->scalar("UPDATE user_option SET option_value = 'x' WHERE user_id = 1 RETURNING 1").isNull())
        << "another user's options are not even there for the viewer";
}

TEST_P(SharedServer, TheTrailNamesTheLoginOfEveryChangeHoweverItWasMade)
{
    database->addUser("editor_two", "editor");
    const int32_t fir = database->nameId("Abies alba", "Mill.");
    const int32_t spruce = database->nameId("Picea abies", "(L.) H.Karst.");
    connectAs("editor")->exec(
        "UPDATE scientific_name SET author_name = 'Miller' WHERE scientific_name_id = ?", {fir});
    connectAs("editor_two")
        ->exec("UPDATE scientific_name SET author_name = 'Karsten' WHERE scientific_name_id = ?", {spruce});
    EXPECT_EQ(lastAudit("SCIENTIFIC_NAME", fir), QVariantList({"editor", "U", "author_name", "Mill."}));
    EXPECT_EQ(lastAudit("SCIENTIFIC_NAME", spruce),
              QVariantList({"editor_two", "U", "author_name", "(L.) H.Karst."}));

    // A row written straight into the trail is stamped with who wrote it, whatever it claims.
    connectAs("editor_two")
        ->exec("INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, primary_key) "
               "VALUES (nextval('bryx_id_seq'), '1999-01-01', 'someone_else', 'reference', 'U', 4711)");
    EXPECT_EQ(lastAudit("REFERENCE", 4711).value(0), QVariant("editor_two"));
    EXPECT_EQ(database->openAsAdmin()
                  ->scalar("SELECT count(*) FROM audit_log WHERE audit_date < '2000-01-01' OR user_name = "
                           "'someone_else'")
                  .toInt(),
              0);
}

TEST_P(SharedServer, OnlyAUserOfTheDatabaseSignsInAndNeverAsSuperuserOrOwner)
{
    const std::pair<DatabaseUrl, const char*> refused[] = {
        {DatabaseUrl::parse(qEnvironmentVariable("BRYX_TEST_PG_SUPERUSER_URL")), "superuser"},
        {database->adminUrl(), "owner"},
    };
    for (const auto& [url, why] : refused) {
        DatabaseUrl here = url;
        here.databaseName = database->adminUrl().databaseName;
        const QString message =
            EXPECT_BRYX_ERROR(SqlAppManager(here, QString()), ErrorNumber::InvalidArgument);
        EXPECT_TRUE(message.contains(why)) << message.toStdString();
        EXPECT_TRUE(message.contains("bryx-db user add")) << message.toStdString();
    }
    const QString other =
        EXPECT_BRYX_ERROR(SqlAppManager(database->urlFor("editor"), "viewer"), ErrorNumber::InvalidArgument);
    EXPECT_TRUE(other.contains("editor")) << other.toStdString();

    // A login of the cluster that was never added to this database.
    const QString stranger = ownLogin("stranger");
    database->addLogin(stranger);
    const QString unknown =
        EXPECT_BRYX_ERROR(SqlAppManager(database->urlFor(stranger), QString()), ErrorNumber::InvalidArgument);
    EXPECT_TRUE(unknown.contains("bryx-db user add " + stranger)) << unknown.toStdString();
    database->openAsAdmin()->exec(QStringLiteral("DROP ROLE %1").arg(stranger));
}

TEST_P(SharedServer, UsersAreAddedListedAndRemovedByThoseWhoMay)
{
    const QString admin = ownLogin("curator_admin");
    const QString helper = ownLogin("curator_helper");
    const QString dba = database->adminUrl().display();
    const ToolRun added = runTool(BRYX_DB_PATH,
                                  {"user", "add", admin, "--role", "admin", "--full-name", "Ann O'Hara",
                                   "--password", "--database", dba},
                                  {}, "first secret\n");
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    DatabaseUrl adminUrl = database->urlFor(admin);
    adminUrl.password = "first secret";
    EXPECT_NO_THROW(SqlAppManager(adminUrl, QString()));

    // An administrator of the application brings a login of the server in as an editor (the
    // server's administrator made the login); an editor cannot add anyone.
    database->addLogin(helper);
    const ToolRun byAdmin = runTool(BRYX_DB_PATH,
                                    {"user", "add", helper, "--role", "editor", "--database",
                                     adminUrl.display() /* without the password */},
                                    {{"PGPASSWORD", "first secret"}});
    EXPECT_EQ(byAdmin.exitCode, 0) << byAdmin.err.toStdString();
    const ToolRun listed = runTool(BRYX_DB_PATH, {"user", "list", "--database", dba});
    EXPECT_TRUE(listed.out.contains(QRegularExpression(admin + "\\s+admin\\s+Ann O'Hara")))
        << listed.out.toStdString();
    EXPECT_TRUE(listed.out.contains(QRegularExpression(helper + "\\s+editor"))) << listed.out.toStdString();
    {
        SqlAppManager helperSignedIn(database->urlFor(helper), QString());
        int32_t any = 1;
        EXPECT_TRUE(helperSignedIn.CheckPermission(any)) << "an editor may save";
    }
    const ToolRun byEditor = runTool(
        BRYX_DB_PATH,
        {"user", "add", "viewer", "--role", "editor", "--database", database->urlFor(helper).display()});
    EXPECT_EQ(byEditor.exitCode, 1);
    EXPECT_EQ(byEditor.err.count('\n'), 1) << byEditor.err.toStdString();

    for (const QString& login : {helper, admin}) {
        const ToolRun removed = runTool(BRYX_DB_PATH, {"user", "remove", login, "--database", dba});
        EXPECT_EQ(removed.exitCode, 0) << removed.err.toStdString();
    }
    EXPECT_EQ(database->openAsAdmin()
                  ->scalar("SELECT count(*) FROM pg_roles WHERE rolname IN (?, ?)", {admin, helper})
                  .toInt(),
              0);
    EXPECT_EQ(
        database->openAsAdmin()->scalar("SELECT role_id FROM app_user WHERE login_name = 'viewer'").toInt(),
        2)
        << "the viewer is still a viewer";
}
