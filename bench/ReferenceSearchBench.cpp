// The reference search on 100,000 generated references: Find Now from the click to the count
// shown, for a word of the citations that about a hundred references contain, against the raw
// SQLite C API stepping the same statement in the same run. The database is made in a temporary
// folder at the start (bryx-db generate --references makes the same references).
#include "BenchSearches.h"
#include "clients/ClientCollection.h"
#include "components/ReferenceSearch.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "db/Database.h"
#include "db/ReferenceGenerator.h"
#include "db/SampleData.h"
#include "db/Schema.h"
#include "dialogs/frmModalSearch.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"

#include <QApplication>
#include <QTemporaryDir>
#include <cstdio>

using namespace bryx;
using namespace bryx::host;

namespace {

constexpr int64_t References = 100'000;

struct BenchDatabase {
    QTemporaryDir folder;
    DatabaseUrl url = DatabaseUrl::parse("sqlite:" + folder.filePath("references.sqlite"));

    BenchDatabase()
    {
        Database db(url, Database::Access::ReadWrite, true);
        Schema::upgrade(db);
        SampleData::loadReferenceTables(db);
        ReferenceGenerator::generate(db, References);
        db.exec(QStringLiteral("ANALYZE"));
    }
};

BenchDatabase& benchDatabase()
{
    static BenchDatabase database;
    return database;
}

SqlAppManager& appManager()
{
    static SqlAppManager manager(benchDatabase().url, QStringLiteral("editor"));
    return manager;
}

QString journalWord()
{
    return QString::fromLatin1(ReferenceGenerator::SampleJournalWord);
}

// The statement the search runs; with `scanned`, the same search comparing every row instead
// of using the full-text table, to show what the index saves.
QByteArray searchStatement(bool scanned = false)
{
    return ReferenceSearch::SearchSQL({}, journalWord(),
                                      scanned ? ReferenceSearch::TextIndex::TrigramIndexes
                                              : ReferenceSearch::TextIndex::FullTextTable)
        .toUtf8();
}

void BM_RawSqliteStep(benchmark::State& state)
{
    const QByteArray sql = searchStatement(state.range(0) != 0);
    sqlite3* handle = appManager().readOnly().sqliteHandle();
    bench::RawStep step;
    for (auto _ : state)
        step = bench::stepRaw(handle, sql);
    state.counters["rows"] = double(step.rows);
}

// Where the time of a click goes: the host's query alone.
void BM_HostQuery(benchmark::State& state)
{
    QString sql = QString::fromUtf8(searchStatement());
    for (auto _ : state)
        benchmark::DoNotOptimize(appManager().CallGetQueryRSXML(sql));
}

void BM_FindNowClickToCount(benchmark::State& state)
{
    std::shared_ptr<AppManager> host(std::shared_ptr<AppManager>(), &appManager());
    auto chosen = appManager().GetPrototypeRSForView("REF");
    frmModalSearch dialog;
    if (!dialog.InitDialog(QLatin1String(ReferenceSearch::ProgId), host, chosen, QString())) {
        state.SkipWithError("the reference search did not start");
        return;
    }
    dialog.show();
    auto* search = dialog.findChild<UserControl*>("ModalSearch");
    search->findChild<TextBox*>("txtFullCitation")->setText(journalWord());
    auto* findNow = search->findChild<CommandButton*>("cmdStartSearch");
    auto* count = search->findChild<Label*>("lblRecordsReturned");
    for (auto _ : state) {
        findNow->click();
        if (state.range(0) != 0)
            QApplication::processEvents(); // the count and the rows painted
        benchmark::DoNotOptimize(count->text());
    }
    state.counters["rows"] = count->text().toDouble();
    dialog.hide();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    host::registerClientComponents();
    std::fprintf(stderr, "Generating %lld references...\n", static_cast<long long>(References));
    benchDatabase();
    // Side by side: the raw step and the search's Find Now on the same statement.
    benchmark::RegisterBenchmark("BM_RawSqliteStep", BM_RawSqliteStep)->Arg(0)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_FindNowClickToCount", BM_FindNowClickToCount)
        ->Arg(1)
        ->Unit(benchmark::kMillisecond);
    // The same without letting the window paint, and the query alone: where the time goes.
    benchmark::RegisterBenchmark("BM_FindNowClickToCount", BM_FindNowClickToCount)
        ->Arg(0)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_HostQuery", BM_HostQuery)->Unit(benchmark::kMillisecond);
    // The same search without the index, row by row.
    benchmark::RegisterBenchmark("BM_RawSqliteStep", BM_RawSqliteStep)->Arg(1)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
