#include "TestDatabase.h"

#include "db/SampleData.h"
#include "db/Schema.h"
#include "services/SqlAppManager.h"

#include <QCoreApplication>
#include <atomic>

namespace bryx::test {

namespace {
std::atomic<int> counter {0};
}

void OnEachEngineWithHost::SetUp()
{
    OnEachEngine::SetUp();
    if (IsSkipped())
        return;
    database = std::make_unique<TestDatabase>(GetParam());
    appManager = std::make_shared<host::SqlAppManager>(database->url(), QStringLiteral("editor"));
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
    m_url = admin;
    m_url.databaseName = m_pgName;
    host::Database db(m_url, host::Database::Access::ReadWrite);
    host::Schema::upgrade(db);
    host::SampleData::loadReferenceTables(db);
    if (withSample)
        host::SampleData::loadSampleNames(db);
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
    } catch (...) {
        // A database left behind in a throwaway cluster harms nothing.
    }
}

} // namespace bryx::test
