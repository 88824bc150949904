#pragma once

#include "db/Database.h"
#include "db/DatabaseUrl.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace bryx::host {
class SqlAppManager;
}

namespace bryx::test {

// A fresh, initialised reference database for one test, on SQLite or, when the suite was
// given a PostgreSQL server (BRYX_TEST_PG_URL, an administrator that may create databases and
// roles), on a new PostgreSQL database that is dropped afterwards. There it is installed as a
// shared installation is: server roles of its own (prefixed with the database's name) and the
// sample's users "editor" and "viewer" as logins of the server.
class TestDatabase {
public:
    explicit TestDatabase(host::Dialect dialect, bool withSample = true);
    ~TestDatabase();

    static bool available(host::Dialect dialect);
    // Where the application connects: on PostgreSQL as the login "editor".
    const host::DatabaseUrl& url() const { return m_url; }
    // The same database as another of its users (on SQLite the same file).
    host::DatabaseUrl urlFor(const QString& login) const;
    // The database as its administrator sees it (on SQLite the same file).
    const host::DatabaseUrl& adminUrl() const { return m_adminUrl; }
    // The application manager of one of its users.
    std::shared_ptr<host::SqlAppManager> appManagerFor(const QString& login) const;
    // PostgreSQL: makes `login` a server login (when it is none yet) and a user with that role.
    void addUser(const QString& login, const QString& role) const;
    // PostgreSQL: makes `login` a server login (when it is none yet), with the cluster's test
    // password, and no user of this database.
    void addLogin(const QString& login) const;
    // The ID of a sample name by its name and author.
    int32_t nameId(const QString& name, const QString& author) const;
    std::unique_ptr<host::Database>
    open(host::Database::Access access = host::Database::Access::ReadWrite) const
    {
        return std::make_unique<host::Database>(m_url, access);
    }
    // A connection as the administrator, for what only the owner of the tables may do.
    std::unique_ptr<host::Database> openAsAdmin() const
    {
        return std::make_unique<host::Database>(m_adminUrl, host::Database::Access::ReadWrite);
    }

private:
    host::DatabaseUrl m_url;
    host::DatabaseUrl m_adminUrl;
    QTemporaryDir m_folder;
    QString m_pgName;
};

// Runs a test once per engine; PostgreSQL is skipped where no server was given.
class OnEachEngine : public ::testing::TestWithParam<host::Dialect> {
protected:
    void SetUp() override
    {
        if (!TestDatabase::available(GetParam()))
            GTEST_SKIP() << "no PostgreSQL server given (BRYX_TEST_PG_URL)";
    }
};

// A fresh sample database per test, with the application manager of its editor.
class OnEachEngineWithHost : public OnEachEngine {
protected:
    void SetUp() override;
    std::unique_ptr<TestDatabase> database;
    std::shared_ptr<host::SqlAppManager> appManager;
};

// Turns an SQLite database back into the earlier schema (version 1): the application's
// upper() indexed, no name key.
inline void downgradeToVersionOne(host::Database& db)
{
    for (const char* statement :
         {"DROP VIEW scientific_srch_key_vw", "DROP TRIGGER scientific_name_key_insert",
          "DROP TRIGGER scientific_name_key_update", "DROP INDEX scientific_name_key_idx",
          "ALTER TABLE scientific_name DROP COLUMN scientific_name_key",
          "CREATE INDEX scientific_name_upper_idx ON scientific_name (upper(scientific_name))",
          "DELETE FROM schema_version WHERE version > 1"})
        db.exec(QString::fromLatin1(statement));
}

// The engine's plan for a statement, one step per line.
inline QString queryPlan(host::Database& db, const QString& sql)
{
    QSqlQuery query(db.sql());
    const bool sqlite = db.dialect() == host::Dialect::SQLite;
    query.exec((sqlite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ")) + sql);
    QStringList lines;
    while (query.next())
        lines << query.value(sqlite ? 3 : 0).toString();
    return lines.join(QLatin1Char('\n'));
}

inline std::string engineName(const ::testing::TestParamInfo<host::Dialect>& info)
{
    return info.param == host::Dialect::SQLite ? "SQLite" : "PostgreSQL";
}

#define INSTANTIATE_ON_EACH_ENGINE(suite)                                                                    \
    INSTANTIATE_TEST_SUITE_P(                                                                                \
        Engines, suite, ::testing::Values(bryx::host::Dialect::SQLite, bryx::host::Dialect::PostgreSQL),     \
        bryx::test::engineName)

} // namespace bryx::test
