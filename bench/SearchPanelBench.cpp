// Find Now in the search panel, from the click to the count shown, against the raw SQLite C API
// stepping the same statement in the same run, on a generated database of a million names
// (BRYX_BENCH_DB, default /tmp/bryx-1m.sqlite: bryx-db init --database sqlite:/tmp/bryx-1m.sqlite
// && bryx-db generate --database sqlite:/tmp/bryx-1m.sqlite --names 1000000). Also the start
// of the panel with its defaults loaded from the option store.
#include "BenchSearches.h"
#include "ScientificSearch.h"
#include "SearchStatement.h"
#include "clients/ClientCollection.h"
#include "controls/Controls.h"
#include "db/Database.h"
#include "hosting/LateBinding.h"
#include "recordset/Recordset.h"
#include "services/QueryRecordset.h"
#include "services/SqlAppManager.h"
#include "services/SqliteStatement.h"

#include <QApplication>
#include <QFileInfo>
#include <cstdio>

using namespace bryx;
using namespace bryx::host;

namespace {

// The searches the panel is measured with: few and many containing a text, a beginning, an ID,
// an ending and a wildcard pattern.
constexpr int Measured[] = {0, 1, 2, 4, 5, 6};

SqlAppManager& appManager()
{
    static SqlAppManager manager(DatabaseUrl::parse("sqlite:" + bench::benchDatabasePath()),
                                 QStringLiteral("editor"));
    return manager;
}

struct StartedPanel {
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    ScientificSearch* panel = new ScientificSearch(window.get());

    explicit StartedPanel(const QString& extraInfo)
    {
        auto workingList = appManager().GetPrototypeRSForView("SNM");
        auto views = appManager().ViewManager()->colViews();
        std::shared_ptr<AppManager> host(std::shared_ptr<AppManager>(), &appManager());
        QVariantList arguments {QVariant::fromValue(workingList),
                                QVariant::fromValue(host),
                                1,
                                QVariant::fromValue(std::shared_ptr<WindowManager>()),
                                QVariant::fromValue(views),
                                extraInfo};
        CallByName(*panel, "InitSearch", arguments);
    }
    template<typename T> T& control(const char* name) const
    {
        return *panel->findChild<T*>(QLatin1String(name));
    }
    void enter(const SearchCriteria& criteria)
    {
        control<OptionButton>(criteria.nameTypeIndex == 0 ? "optNameType_0" : "optNameType_1").click();
        control<ComboBox>("cboFindNameComparison").SetListIndex(criteria.comparison);
        control<TextBox>("txtFindNameSciName").setText(criteria.nameText);
        control<TextBox>("txtSciNameID").setText(criteria.idText);
    }
};

// The statement the host runs, or (range 1 = 0) the one it ran before names had a text index.
void BM_RawSqliteStep(benchmark::State& state)
{
    const bench::Search& search = bench::Searches[state.range(0)];
    const auto textIndex =
        state.range(1) != 0 ? SqliteStatement::TextIndex::Used : SqliteStatement::TextIndex::Unused;
    const QByteArray sql = SqliteStatement::adapted(BuildSearchSQL(search.criteria), textIndex).toUtf8();
    sqlite3* handle = appManager().readOnly().sqliteHandle();
    bench::RawStep step;
    for (auto _ : state)
        step = bench::stepRaw(handle, sql);
    state.SetLabel(search.label);
    state.counters["rows"] = double(step.rows);
    state.counters["raw_bytes_per_row"] = step.rows ? double(step.valueBytes) / double(step.rows) : 0;
}

void BM_FindNowClickToCount(benchmark::State& state)
{
    const bench::Search& search = bench::Searches[state.range(0)];
    const bool paint = state.range(1) != 0;
    StartedPanel started(QStringLiteral("no defaults"));
    started.window->resize(started.panel->size());
    started.window->show();
    started.enter(search.criteria);
    auto& findNow = started.control<CommandButton>("cmdStartSearch");
    auto& count = started.control<Label>("lblRecordsReturned");
    for (auto _ : state) {
        findNow.click();
        if (paint)
            QApplication::processEvents(); // the count and the first rows painted
        benchmark::DoNotOptimize(count.text());
    }
    const auto& result = started.panel->rsResults();
    const QByteArray sql = SqliteStatement::adapted(BuildSearchSQL(search.criteria)).toUtf8();
    const bench::RawStep raw = bench::stepRaw(appManager().readOnly().sqliteHandle(), sql);
    state.SetLabel(search.label);
    state.counters["rows"] = count.text().toDouble();
    if (result && result->RecordCount() > 0 && raw.valueBytes > 0)
        state.counters["memory_vs_raw"] = double(result->memoryBytes()) / double(raw.valueBytes);
}

void BM_InitSearchToReady(benchmark::State& state)
{
    {
        // One start and close first, so that the user has stored defaults to load.
        StartedPanel first({});
        first.panel->CanClose();
    }
    for (auto _ : state) {
        StartedPanel started({});
        benchmark::DoNotOptimize(started.panel);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!bench::haveBenchDatabase())
        return 1;
    host::registerClientComponents();
    for (const int search : Measured) {
        // Side by side: the raw step and the panel's Find Now on the same statement.
        benchmark::RegisterBenchmark("BM_RawSqliteStep", BM_RawSqliteStep)
            ->Args({search, 0})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_RawSqliteStep", BM_RawSqliteStep)
            ->Args({search, 1})
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark("BM_FindNowClickToCount", BM_FindNowClickToCount)
            ->Args({search, 1})
            ->Unit(benchmark::kMillisecond);
        // The same without letting the window paint: the panel's own work alone.
        benchmark::RegisterBenchmark("BM_FindNowClickToCount", BM_FindNowClickToCount)
            ->Args({search, 0})
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("BM_InitSearchToReady", BM_InitSearchToReady)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
