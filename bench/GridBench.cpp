// Binding a million-row recordset to the grid and scrolling to its end, against a QTableView
// over a QStandardItemModel holding the same rows and over a QSqlQueryModel on the same SQLite
// table (BRYX_BENCH_DB, the generated million-name database). Heap growth is measured with
// mallinfo2 around each binding.
#include "NameData.h"
#include "controls/FlexGrid.h"
#include "recordset/Recordset.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScrollBar>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>

using namespace bryx;
using namespace bryx::bench;

namespace {

void scrollToEnd(QTableView& view)
{
    view.resize(800, 600);
    view.scrollToBottom();
    QApplication::processEvents();
}

void BM_FlexGridBindAndScroll(benchmark::State& state)
{
    auto rows = std::shared_ptr<Recordset>(&millionRows(), [](Recordset*) {});
    double heapGrowth = 0;
    for (auto _ : state) {
        FlexGrid grid;
        const size_t before = heapInUse();
        grid.SetDataSource(rows);
        scrollToEnd(grid);
        heapGrowth = double(heapInUse() - before);
        benchmark::DoNotOptimize(grid.TextMatrix(grid.Rows() - 1, 1));
    }
    state.counters["heap_growth_MB"] = heapGrowth / 1e6;
}
BENCHMARK(BM_FlexGridBindAndScroll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FlexGridBindOnly(benchmark::State& state)
{
    auto rows = std::shared_ptr<Recordset>(&millionRows(), [](Recordset*) {});
    FlexGrid grid;
    for (auto _ : state) {
        grid.SetDataSource(rows);
        benchmark::DoNotOptimize(grid.Rows());
    }
}
BENCHMARK(BM_FlexGridBindOnly)->Unit(benchmark::kMillisecond);

void BM_StandardItemModelFillAndScroll(benchmark::State& state)
{
    Recordset& rs = millionRows();
    double heapGrowth = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        QStandardItemModel model(rs.RecordCount(), rs.FieldCount());
        for (int row = 0; row < rs.RecordCount(); ++row) {
            for (int col = 0; col < rs.FieldCount(); ++col)
                model.setItem(row, col, new QStandardItem(rs.TextAt(row, col)));
        }
        QTableView view;
        view.setModel(&model);
        scrollToEnd(view);
        heapGrowth = double(heapInUse() - before);
    }
    state.counters["heap_growth_MB"] = heapGrowth / 1e6;
}
BENCHMARK(BM_StandardItemModelFillAndScroll)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_SqlQueryModelBindAndScroll(benchmark::State& state)
{
    const QString path = qEnvironmentVariable("BRYX_BENCH_DB", QStringLiteral("/tmp/bryx-1m.sqlite"));
    if (!QFileInfo::exists(path)) {
        state.SkipWithError("no benchmark database");
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("grid-bench"));
    db.setDatabaseName(path);
    db.open();
    double heapGrowth = 0;
    for (auto _ : state) {
        const size_t before = heapInUse();
        QSqlQueryModel model;
        model.setQuery(QSqlQuery(QStringLiteral("select * from scientific_wl_vw"), db));
        while (model.canFetchMore())
            model.fetchMore(); // the view must know every row to scroll to the end
        QTableView view;
        view.setModel(&model);
        scrollToEnd(view);
        heapGrowth = double(heapInUse() - before);
    }
    state.counters["heap_growth_MB"] = heapGrowth / 1e6;
}
BENCHMARK(BM_SqlQueryModelBindAndScroll)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    millionRows(); // build the rows before any timing
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
