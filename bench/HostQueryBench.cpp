// The host's read path against the raw SQLite C API on the same connection and statement,
// on a generated database of a million names (BRYX_BENCH_DB, default /tmp/bryx-1m.sqlite:
// bryx-db init --database sqlite:/tmp/bryx-1m.sqlite && bryx-db generate --names 1000000 ...),
// and, when BRYX_BENCH_PG_URL names a PostgreSQL database filled the same way, against psql.
#include "BenchSearches.h"
#include "SearchStatement.h"
#include "db/Database.h"
#include "recordset/Recordset.h"
#include "services/QueryRecordset.h"
#include "services/SqlAppManager.h"
#include "services/SqliteStatement.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace bryx;
using namespace bryx::host;

namespace {

using bench::Searches;

DatabaseUrl benchUrl()
{
    DatabaseUrl url;
    url.path = bench::benchDatabasePath();
    return url;
}

SqlAppManager& appManager()
{
    static SqlAppManager manager(benchUrl(), QStringLiteral("editor"));
    return manager;
}

void BM_RawSqliteStep(benchmark::State& state)
{
    const bench::Search& search = Searches[state.range(0)];
    // The statement the host actually runs, prefix range included.
    const QByteArray sql = SqliteStatement::adapted(BuildSearchSQL(search.criteria)).toUtf8();
    sqlite3* handle = appManager().readOnly().sqliteHandle();
    int64_t rows = 0;
    for (auto _ : state)
        rows = bench::stepRaw(handle, sql).rows;
    state.SetLabel(search.label);
    state.counters["rows"] = double(rows);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}

// The host's whole read path: compose, query, fill the recordset.
void callGetQueryRSXML(benchmark::State& state, SqlAppManager& manager)
{
    const bench::Search& search = Searches[state.range(0)];
    const QString statement = BuildSearchSQL(search.criteria);
    int64_t rows = 0;
    for (auto _ : state) {
        QString sql = statement;
        rows = manager.CallGetQueryRSXML(sql)->RecordCount();
    }
    state.SetLabel(search.label);
    state.counters["rows"] = double(rows);
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_CallGetQueryRSXML(benchmark::State& state)
{
    callGetQueryRSXML(state, appManager());
}

QString postgresUrl()
{
    return qEnvironmentVariable("BRYX_BENCH_PG_URL");
}

SqlAppManager& postgresAppManager()
{
    static SqlAppManager manager(DatabaseUrl::parse(postgresUrl()), QStringLiteral("editor"));
    return manager;
}

void runProcess(benchmark::State& state, const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(program, arguments);
    process.waitForFinished(-1);
    if (process.exitCode() != 0)
        state.SkipWithError("the command failed");
}

// The whole command: start, connect, compose, query, write every row as TSV to /dev/null.
void findEndToEnd(benchmark::State& state, const QString& databaseUrl)
{
    const bench::Search& search = Searches[state.range(0)];
    QStringList arguments {"--database", databaseUrl};
    const SearchCriteria& c = search.criteria;
    if (!c.idText.isEmpty())
        arguments << "--id" << c.idText;
    else
        arguments << "--type" << QStringList {"botanical", "zoological", "ecological"}[c.nameTypeIndex]
                  << "--comparison"
                  << QStringList {"contains", "exact", "begins", "ends", "wildcard"}[c.comparison] << "--text"
                  << c.nameText;
    for (auto _ : state)
        runProcess(state, QStringLiteral(BRYX_FIND_PATH), arguments);
    state.SetLabel(search.label);
}

void BM_BryxFindEndToEnd(benchmark::State& state)
{
    findEndToEnd(state, "sqlite:" + benchUrl().path);
}

void BM_PostgresBryxFindEndToEnd(benchmark::State& state)
{
    findEndToEnd(state, postgresUrl());
}

// The baseline on PostgreSQL: psql running the same statement, rows unaligned to /dev/null.
void BM_PostgresPsqlEndToEnd(benchmark::State& state)
{
    const bench::Search& search = Searches[state.range(0)];
    const QString sql = BuildSearchSQL(search.criteria);
    for (auto _ : state)
        runProcess(state, QStringLiteral("psql"), {postgresUrl(), "-X", "-A", "-t", "-F", "\t", "-c", sql});
    state.SetLabel(search.label);
}

void BM_PostgresCallGetQueryRSXML(benchmark::State& state)
{
    callGetQueryRSXML(state, postgresAppManager());
}

} // namespace

BENCHMARK(BM_RawSqliteStep)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CallGetQueryRSXML)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BryxFindEndToEnd)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!QFileInfo::exists(benchUrl().path)) {
        std::fprintf(
            stderr, "No benchmark database at %s; create it with bryx-db init and generate --names 1000000\n",
            qPrintable(benchUrl().path));
        return 1;
    }
    if (!postgresUrl().isEmpty()) {
        // The work happens in the server and in child processes: measure the wall clock.
        BENCHMARK(BM_PostgresPsqlEndToEnd)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();
        BENCHMARK(BM_PostgresBryxFindEndToEnd)
            ->DenseRange(0, 4)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        BENCHMARK(BM_PostgresCallGetQueryRSXML)
            ->DenseRange(0, 4)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
