#include "NameData.h"
#include "controls/ResultGrid.h"
#include "recordset/Recordset.h"
#include "util/RS_Functions.h"

#include <benchmark/benchmark.h>

using namespace bryx;
using namespace bryx::bench;

namespace {

constexpr int Million = 1'000'000;

void BM_FindById(benchmark::State& state)
{
    Recordset& rs = millionRows();
    const bool optimize = state.range(0) != 0;
    rs.Fields("ID").SetOptimize(optimize);
    std::mt19937 random(3);
    for (auto _ : state) {
        const int id = 1 + int(random() % Million);
        rs.MoveFirst();
        rs.Find(QStringLiteral("ID = %1").arg(id));
        benchmark::DoNotOptimize(rs.AbsolutePosition());
    }
    rs.Fields("ID").SetOptimize(false);
    state.SetLabel(optimize ? "Optimize on" : "Optimize off (scan)");
}
BENCHMARK(BM_FindById)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OptimizeIndexBuild(benchmark::State& state)
{
    Recordset& rs = millionRows();
    for (auto _ : state) {
        rs.Fields("ID").SetOptimize(true);
        state.PauseTiming();
        rs.Fields("ID").SetOptimize(false);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OptimizeIndexBuild)->Unit(benchmark::kMillisecond);

class SelectionGrid : public ResultGrid {
public:
    SelectionGrid(int sourceRows, int selected, unsigned seed)
    {
        std::mt19937 random(seed);
        m_selected.reserve(size_t(selected));
        for (int i = 0; i < selected; ++i)
            m_selected.push_back(1 + int(random() % unsigned(sourceRows)));
        m_rows = sourceRows + 1;
    }
    int Rows() const override { return m_rows; }
    int FixedRows() const override { return 1; }
    int Row() const override { return 1; }
    int SelectedRows() const override { return int(m_selected.size()); }
    int SelectedRow(int index) const override { return m_selected[size_t(index)]; }
    // Source IDs are 1..N, shown in grid row N.
    QString TextMatrix(int row, int) const override { return QString::number(row); }

private:
    std::vector<int> m_selected;
    int m_rows;
};

void BM_AddSelectedRows(benchmark::State& state)
{
    constexpr int SourceRows = 100'000;
    static auto source = NameData(11).recordset(SourceRows, 1);
    static MemoryStream targetImage = [] {
        MemoryStream stream;
        NameData(12).recordset(SourceRows, 10 * SourceRows)->Save(stream);
        return stream;
    }();
    const SelectionGrid grid(SourceRows, int(state.range(0)), 5);
    for (auto _ : state) {
        state.PauseTiming();
        MemoryStream copy;
        copy.setBuffer(targetImage.buffer());
        Recordset target;
        target.Open(copy);
        state.ResumeTiming();
        RS_Functions::AddSelectedRows(grid, *source, target);
        benchmark::DoNotOptimize(target.RecordCount());
    }
    state.counters["selected"] = double(state.range(0));
}
BENCHMARK(BM_AddSelectedRows)->Arg(1'000)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

void BM_EmptyRecordset(benchmark::State& state)
{
    MemoryStream image;
    millionRows().Save(image);
    for (auto _ : state) {
        state.PauseTiming();
        MemoryStream copy;
        copy.setBuffer(image.buffer());
        Recordset rs;
        rs.Open(copy);
        state.ResumeTiming();
        RS_Functions::EmptyRecordset(rs);
        benchmark::DoNotOptimize(rs.RecordCount());
    }
}
BENCHMARK(BM_EmptyRecordset)->Unit(benchmark::kMillisecond);

void BM_SaveOpenRoundTrip(benchmark::State& state)
{
    Recordset& rs = millionRows();
    size_t bytes = 0;
    for (auto _ : state) {
        MemoryStream stream;
        rs.Save(stream);
        bytes = size_t(stream.buffer().size());
        Recordset copy;
        copy.Open(stream);
        benchmark::DoNotOptimize(copy.RecordCount());
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
    state.counters["stream_MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_SaveOpenRoundTrip)->Unit(benchmark::kMillisecond);

// Baseline for the two above: the cost of merely touching as much fresh memory as one saved
// stream occupies. On virtual machines that fault pages in slowly this dominates both.
void BM_TouchFreshMemory(benchmark::State& state)
{
    MemoryStream image;
    millionRows().Save(image);
    const size_t bytes = size_t(image.buffer().size());
    for (auto _ : state) {
        std::unique_ptr<char[]> block(new char[bytes]);
        for (size_t i = 0; i < bytes; i += 4096)
            block[i] = char(i);
        benchmark::DoNotOptimize(block.get());
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
}
BENCHMARK(BM_TouchFreshMemory)->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state)
{
    Recordset& rs = millionRows();
    size_t bytes = 0;
    for (auto _ : state) {
        MemoryStream stream;
        rs.Save(stream);
        bytes = size_t(stream.buffer().size());
    }
    state.SetBytesProcessed(int64_t(bytes) * state.iterations());
}
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);

void BM_Open(benchmark::State& state)
{
    MemoryStream image;
    millionRows().Save(image);
    for (auto _ : state) {
        MemoryStream stream;
        stream.setBuffer(image.buffer());
        Recordset copy;
        copy.Open(stream);
        benchmark::DoNotOptimize(copy.RecordCount());
    }
    state.SetBytesProcessed(int64_t(image.buffer().size()) * state.iterations());
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

// Not a timing: the bytes a million-row recordset occupies against the bytes of its values,
// as the recordset counts them and as the heap saw them while it was built.
void BM_MemoryPerRow(benchmark::State& state)
{
    for (auto _ : state) {
        const size_t heapBefore = heapInUse();
        auto rs = NameData(7).recordset(Million);
        const size_t heapAfter = heapInUse();
        const double raw = double(NameData::rawValueBytes(*rs)) / Million;
        state.counters["raw_bytes_per_row"] = raw;
        state.counters["bytes_per_row"] = double(rs->memoryBytes()) / Million;
        state.counters["heap_bytes_per_row"] = double(heapAfter - heapBefore) / Million;
        state.counters["ratio"] = double(rs->memoryBytes()) / Million / raw;
        state.counters["heap_ratio"] = double(heapAfter - heapBefore) / Million / raw;
    }
}
BENCHMARK(BM_MemoryPerRow)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
