// Finding duplicate names on the generated million-name database (BRYX_BENCH_DB, see
// SearchPanelBench.cpp for how to make it), side by side in one run with what it is measured
// against:
//   BM_FindDuplicates/M     the finder, mode M (0 exact, 1 author, 2 name, 3 spelling), members
//                           described
//   BM_ShellGrouping/M      the sqlite3 shell running the same grouping of modes 0-2 as one
//                           statement that lists the members (its upper() and folding are ASCII)
//   BM_PlainSpellingLoop    the spelling rule as a plain loop over the names sorted by genus,
//                           every pair of a genus compared
#include "BenchSearches.h"
#include "curation/DuplicateFinder.h"
#include "curation/DuplicateRules.h"
#include "db/Database.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSqlQuery>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace bryx::host;

namespace {

Database& benchDatabase()
{
    static Database db(DatabaseUrl::parse("sqlite:" + bryx::bench::benchDatabasePath()),
                       Database::Access::ReadOnly);
    return db;
}

void BM_FindDuplicates(benchmark::State& state)
{
    const auto mode = static_cast<DuplicateMode>(state.range(0));
    size_t groups = 0;
    for (auto _ : state)
        groups = DuplicateFinder(benchDatabase()).find(mode).size();
    state.counters["groups"] = double(groups);
}

// The members of every group of one type, name key and author form.
QString shellStatement(int mode)
{
    const QString author = mode == 0 ? QStringLiteral("upper(coalesce(%1.author_name, ''))")
        : mode == 1
        ? QStringLiteral("replace(replace(replace(replace(replace(lower(coalesce(%1.author_name, '')), "
                         "' et ', '&'), ' and ', '&'), '.', ''), ',', ''), ' ', '')")
        : QStringLiteral("''");
    return QStringLiteral(
               "SELECT s.scientific_name_id, s.scientific_name, s.author_name FROM scientific_name s "
               "LEFT JOIN d_name_category c ON c.d_name_category_id = s.d_name_category_id JOIN "
               "(SELECT c2.name_type_cd AS t, s2.scientific_name_key AS k, %1 AS a FROM scientific_name s2 "
               "LEFT JOIN d_name_category c2 ON c2.d_name_category_id = s2.d_name_category_id "
               "GROUP BY 1, 2, 3 HAVING count(*) > 1) g ON g.t IS c.name_type_cd AND g.k = "
               "s.scientific_name_key AND g.a = %2 ORDER BY s.scientific_name_key, s.scientific_name_id;")
        .arg(author.arg(QStringLiteral("s2")), author.arg(QStringLiteral("s")));
}

void BM_ShellGrouping(benchmark::State& state)
{
    const QString statement = shellStatement(int(state.range(0)));
    for (auto _ : state) {
        QProcess shell;
        shell.setStandardOutputFile(QProcess::nullDevice());
        shell.start("sqlite3", {"-readonly", bryx::bench::benchDatabasePath(), statement});
        shell.waitForFinished(-1);
        if (shell.exitCode() != 0)
            state.SkipWithError(shell.readAllStandardError().constData());
    }
}

void BM_PlainSpellingLoop(benchmark::State& state)
{
    size_t pairs = 0;
    for (auto _ : state) {
        struct Row {
            QString genus;
            QString rest;
            QString stems;
        };
        std::vector<Row> rows;
        QSqlQuery query = benchDatabase().query(QStringLiteral(
            "SELECT sn.scientific_name, nc.name_type_cd FROM scientific_name sn LEFT JOIN d_name_category nc "
            "ON nc.d_name_category_id = sn.d_name_category_id"));
        while (query.next()) {
            const QStringList words = DuplicateRules::spellingWords(query.value(0).toString());
            QStringList stems;
            for (qsizetype word = 1; word < words.size(); ++word)
                stems << DuplicateRules::epithetStem(words[word]);
            rows.push_back(
                {query.value(1).toString() + words.value(0), words.mid(1).join(' '), stems.join(' ')});
        }
        std::sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.genus < b.genus; });
        pairs = 0;
        for (size_t first = 0; first < rows.size();) {
            size_t last = first + 1;
            while (last < rows.size() && rows[last].genus == rows[first].genus)
                ++last;
            for (size_t a = first; a < last; ++a) {
                for (size_t b = a + 1; b < last; ++b) {
                    if (!rows[a].rest.isEmpty() && !rows[b].rest.isEmpty()
                        && (rows[a].stems == rows[b].stems
                            || DuplicateRules::oneEditApart(rows[a].rest, rows[b].rest)))
                        ++pairs;
                }
            }
            first = last;
        }
    }
    state.counters["pairs"] = double(pairs);
}

BENCHMARK(BM_FindDuplicates)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_ShellGrouping)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PlainSpellingLoop)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (!bryx::bench::haveBenchDatabase())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
