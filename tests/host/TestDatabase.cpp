#include "TestDatabase.h"

#include "db/SampleData.h"
#include "db/Schema.h"
#include "db/ServerRoles.h"
#include "db/ServerUsers.h"
#include "db/SqlText.h"
#include "error/Error.h"
#include "services/SqlAppManager.h"

#include <QCoreApplication>
#include <atomic>

namespace bryx::test {

namespace {
std::atomic<int> counter {0};

// Logins belong to the whole cluster, so every test database shares them; a test process
// that finds one missing creates it with the cluster's password, and one racing it to the
// same login simply finds it made.
void ensureLogin(host::Database& admin, const QString& login)
{
    auto exists = [&] {
        return admin.scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"), {login})
                   .toInt()
            > 0;
    };
    if (exists())
        return;
    try {
        admin.exec(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2")
                       .arg(host::sqlIdentifier(login),
                            host::sqlLiteral(qEnvironmentVariable("BRYX_TEST_PG_PASSWORD"))));
    } catch (const Error&) {
        if (!exists())
            throw;
    }
}
} // namespace

void OnEachEngineWithHost::SetUp()
{
    OnEachEngine::SetUp();
    if (IsSkipped())
        return;
    database = std::make_unique<TestDatabase>(GetParam());
    appManager = database->appManagerFor(QStringLiteral("editor"));
}

bool TestDatabase::available(host::Dialect dialect)
{
    return dialect == host::Dialect::SQLite || !qEnvironmentVariable("BRYX_TEST_PG_URL").isEmpty();
}

TestDatabase::TestDatabase(host::Dialect dialect, bool withSample)
{
    if (dialect == host::Dialect::SQLite) {
        m_url.dialect = host::Dialect::SQLite;
        m_url.path = m_folder.filePath(QStringLiteral("test.sqlite"));
        m_adminUrl = m_url;
        host::Database db(m_url, host::Database::Access::ReadWrite, true);
        host::Schema::upgrade(db);
        host::SampleData::loadReferenceTables(db);
        if (withSample)
            host::SampleData::loadSampleNames(db);
        return;
    }
    const host::DatabaseUrl admin = host::DatabaseUrl::parse(qEnvironmentVariable("BRYX_TEST_PG_URL"));
    m_pgName =
        QStringLiteral("bryx_t_%1_%2").arg(QCoreApplication::applicationPid()).arg(counter.fetch_add(1));
    {
        host::Database server(admin, host::Database::Access::ReadWrite);
        server.exec(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' "
                           "LC_CTYPE 'C.UTF-8'")
                .arg(m_pgName));
    }
    m_adminUrl = admin;
    m_adminUrl.databaseName = m_pgName;
    host::Database db(m_adminUrl, host::Database::Access::ReadWrite);
    host::Schema::upgrade(db);
    host::SampleData::loadReferenceTables(db);
    if (withSample)
        host::SampleData::loadSampleNames(db);
    host::ServerRoles::withPrefix(m_pgName).install(db);
    addUser(QStringLiteral("editor"), QStringLiteral("editor"));
    addUser(QStringLiteral("viewer"), QStringLiteral("viewer"));
    m_url = urlFor(QStringLiteral("editor"));
}

host::DatabaseUrl TestDatabase::urlFor(const QString& login) const
{
    host::DatabaseUrl url = m_adminUrl;
    if (url.dialect == host::Dialect::PostgreSQL)
        url.user = login;
    return url;
}

std::shared_ptr<host::SqlAppManager> TestDatabase::appManagerFor(const QString& login) const
{
    return std::make_shared<host::SqlAppManager>(urlFor(login), login);
}

void TestDatabase::addUser(const QString& login, const QString& role) const
{
    host::Database db(m_adminUrl, host::Database::Access::ReadWrite);
    if (db.dialect() == host::Dialect::PostgreSQL)
        ensureLogin(db, login);
    host::ServerUsers::add(db, {login, role, {}, {}, {}});
}

void TestDatabase::addLogin(const QString& login) const
{
    host::Database db(m_adminUrl, host::Database::Access::ReadWrite);
    ensureLogin(db, login);
}

int32_t TestDatabase::nameId(const QString& name, const QString& author) const
{
    return open()
        ->scalar(
            QStringLiteral("SELECT scientific_name_id FROM scientific_name WHERE scientific_name = ? AND "
                           "author_name = ?"),
            {name, author})
        .toInt();
}

TestDatabase::~TestDatabase()
{
    if (m_pgName.isEmpty())
        return;
    try {
        host::Database server(host::DatabaseUrl::parse(qEnvironmentVariable("BRYX_TEST_PG_URL")),
                              host::Database::Access::ReadWrite);
        server.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgName));
        const host::ServerRoles roles = host::ServerRoles::withPrefix(m_pgName);
        server.exec(QStringLiteral("DROP ROLE IF EXISTS %1, %2, %3, %4, %5")
                        .arg(roles.admin, roles.editor, roles.viewer, roles.reader, roles.owner));
    } catch (...) {
        // A database left behind in a throwaway cluster harms nothing.
    }
}

} // namespace bryx::test
