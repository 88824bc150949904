// Name comparisons on SQLite before and after the stored name key, side by side in one run, on
// the generated database of a million names (BRYX_BENCH_DB, default /tmp/bryx-1m.sqlite; see
// HostQueryBench.cpp for how to make it):
//  - exact-name search and the duplicate-name test: the earlier schema (an index on the
//    application's own upper()) against the key column's plain index;
//  - a contains search with ~100k hits: the host's statement against the sqlite3 shell's
//    engine running the components' statement with its built-in upper().
// The earlier schema is made once from a copy of the benchmark database (BRYX_BENCH_DB_V1,
// default /tmp/bryx-1m-v1.sqlite).
#include "BenchSearches.h"
#include "SearchStatement.h"
#include "common/SqlText.h"
#include "db/Database.h"
#include "services/SqliteStatement.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

using namespace bryx;
using namespace bryx::host;

namespace {

DatabaseUrl urlOf(const QString& path)
{
    DatabaseUrl url;
    url.path = path;
    return url;
}

QString earlierSchemaPath()
{
    return qEnvironmentVariable("BRYX_BENCH_DB_V1", QStringLiteral("/tmp/bryx-1m-v1.sqlite"));
}

// The schema before the key: the application's upper() indexed, no key column.
void makeEarlierSchema()
{
    if (QFileInfo::exists(earlierSchemaPath()))
        return;
    std::fprintf(stderr, "making %s (the earlier schema) once...\n", qPrintable(earlierSchemaPath()));
    QFile::copy(bench::benchDatabasePath(), earlierSchemaPath());
    Database db(urlOf(earlierSchemaPath()), Database::Access::ReadWrite);
    for (const char* statement :
         {"DROP VIEW scientific_srch_key_vw", "DROP TRIGGER scientific_name_key_insert",
          "DROP TRIGGER scientific_name_key_update", "DROP INDEX scientific_name_key_idx",
          "ALTER TABLE scientific_name DROP COLUMN scientific_name_key",
          "CREATE INDEX scientific_name_upper_idx ON scientific_name (upper(scientific_name))",
          "DELETE FROM schema_version WHERE version > 1", "ANALYZE"})
        db.exec(QString::fromLatin1(statement));
}

Database& current()
{
    static Database db(urlOf(bench::benchDatabasePath()), Database::Access::ReadOnly);
    return db;
}

Database& earlier()
{
    static Database db(urlOf(earlierSchemaPath()), Database::Access::ReadOnly);
    return db;
}

// What the sqlite3 shell has: SQLite's built-in functions only.
sqlite3* shellEngine()
{
    static sqlite3* handle = [] {
        sqlite3* opened = nullptr;
        sqlite3_open_v2(bench::benchDatabasePath().toUtf8().constData(), &opened, SQLITE_OPEN_READONLY,
                        nullptr);
        return opened;
    }();
    return handle;
}

// A name that exists, picked from the middle of the table.
QString storedName()
{
    return current()
        .scalar(QStringLiteral("SELECT scientific_name FROM scientific_name WHERE scientific_name_id = "
                               "(SELECT max(scientific_name_id) / 2 FROM scientific_name)"))
        .toString();
}

QString exactSearch()
{
    return BuildSearchSQL(SearchCriteria {0, {}, {}, 1, storedName().toLower(), {}});
}

QString duplicateTest()
{
    return QStringLiteral("select scientific_name_id from scientific_name where upper(scientific_name)='")
        + upperCaseForSql(storedName())
        + QStringLiteral("' and not scientific_name_id=0 and author_name is null");
}

void step(benchmark::State& state, sqlite3* handle, const QString& sql)
{
    const QByteArray utf8 = sql.toUtf8();
    int64_t rows = 0;
    for (auto _ : state)
        rows = bench::stepRaw(handle, utf8).rows;
    state.counters["rows"] = double(rows);
}

void BM_ExactSearch_EarlierSchema(benchmark::State& state)
{
    step(state, earlier().sqliteHandle(), SqliteStatement::withPrefixRange(exactSearch()));
}

void BM_ExactSearch_NameKey(benchmark::State& state)
{
    step(state, current().sqliteHandle(), SqliteStatement::adapted(exactSearch()));
}

void BM_DuplicateTest_EarlierSchema(benchmark::State& state)
{
    step(state, earlier().sqliteHandle(), duplicateTest());
}

void BM_DuplicateTest_NameKey(benchmark::State& state)
{
    step(state, current().sqliteHandle(), SqliteStatement::adapted(duplicateTest()));
}

QString containsManyHits()
{
    return BuildSearchSQL(bench::Searches[1].criteria);
}

void BM_Contains100k_ShellBuiltInUpper(benchmark::State& state)
{
    step(state, shellEngine(), containsManyHits());
}

void BM_Contains100k_EarlierSchema(benchmark::State& state)
{
    step(state, earlier().sqliteHandle(), containsManyHits());
}

void BM_Contains100k_NameKey(benchmark::State& state)
{
    step(state, current().sqliteHandle(), SqliteStatement::adapted(containsManyHits()));
}

} // namespace

BENCHMARK(BM_ExactSearch_EarlierSchema)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExactSearch_NameKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DuplicateTest_EarlierSchema)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DuplicateTest_NameKey)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Contains100k_ShellBuiltInUpper)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Contains100k_EarlierSchema)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Contains100k_NameKey)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!QFileInfo::exists(bench::benchDatabasePath())) {
        std::fprintf(stderr, "No benchmark database at %s; see HostQueryBench.cpp\n",
                     qPrintable(bench::benchDatabasePath()));
        return 1;
    }
    makeEarlierSchema();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
