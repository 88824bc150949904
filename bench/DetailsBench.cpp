// The details editor on a generated database of a million names (BRYX_BENCH_DB, default
// /tmp/bryx-1m.sqlite; see SearchPanelBench.cpp for how to make it): LoadData to page 0 shown
// and painted against the raw SQLite C API reading the same row, the next record through the
// move operation, a save of a changed name and its parts, the heap after paging through 10,000
// names, and bryx-host's double-click in the working list to the details window painted.
// Saving changes the authors of a few names of that database.
#include "BenchEditor.h"
#include "BenchSearches.h"
#include "ComponentWindow.h"
#include "MainWindow.h"
#include "WorkingListView.h"
#include "clients/ClientCollection.h"
#include "contracts/WindowManager.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "controls/RichTextBox.h"
#include "data/SqlScientificNameRecord.h"
#include "db/Database.h"
#include "hosting/ComponentLibrary.h"
#include "hosting/ComponentRegistry.h"
#include "hosting/LateBinding.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/Screen.h"
#include "services/ServerRegistry.h"
#include "services/SqlAppManager.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <cstdio>
#include <malloc.h>
#include <sqlite3.h>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::bench;

namespace {

constexpr int ListSize = 20000;

// A working list of names spread over the whole database.
std::shared_ptr<Recordset> spreadList(int size)
{
    QString sql =
        QStringLiteral("select * from scientific_wl_vw where id % 50 = 7 and id <= %1").arg(size * 50);
    return appManager().CallGetQueryRSXML(sql);
}

// The editor started in a window of its own on a list, as a host starts it.
void BM_RawSqliteReadRow(benchmark::State& state)
{
    sqlite3* handle = appManager().readOnly().sqliteHandle();
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, "select * from scientific_name where scientific_name_id = ?", -1, &statement,
                       nullptr);
    int64_t id = 7;
    for (auto _ : state) {
        sqlite3_bind_int64(statement, 1, id);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            for (int column = 0; column < sqlite3_column_count(statement); ++column)
                benchmark::DoNotOptimize(sqlite3_column_text(statement, column));
        }
        sqlite3_reset(statement);
        id = id + 50 > ListSize * 50 ? 7 : id + 50;
    }
    sqlite3_finalize(statement);
}

void BM_LoadDataShownAndPainted(benchmark::State& state)
{
    StartedEditor started(spreadList(ListSize));
    int position = 1;
    for (auto _ : state) {
        CallByName(*started.editor, "LoadData", {started.idAt(position)});
        QApplication::processEvents(); // page 0 painted
        position = position % ListSize + 1;
    }
}

void BM_NextRecordThroughTheMoveOperation(benchmark::State& state)
{
    StartedEditor started(spreadList(ListSize));
    CallByName(*started.editor, "LoadData", {started.idAt(1)});
    auto& next = *started.editor->findChild<CommandButton*>("cmdNavNext");
    int moved = 0;
    for (auto _ : state) {
        next.click();
        QApplication::processEvents();
        if (++moved == ListSize - 1) {
            state.PauseTiming();
            CallByName(*started.editor, "LoadData", {started.idAt(1)});
            moved = 0;
            state.ResumeTiming();
        }
    }
}

void BM_SaveRecordOfAChangedName(benchmark::State& state)
{
    StartedEditor started(spreadList(100));
    CallByName(*started.editor, "LoadData", {started.idAt(10)});
    auto& author = *started.editor->findChild<RichTextBox*>("ctrAuthor");
    QAction* save = nullptr;
    for (QObject* control : started.editor->controlsCollection()) {
        if (control->objectName() == QLatin1String("mnuFileSave"))
            save = qobject_cast<QAction*>(control);
    }
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        author.SetPlainText(QStringLiteral("Bench. %1").arg(++round));
        state.ResumeTiming();
        save->trigger();
    }
}

// The parts of a save, each alone: the duplicate test, the permission, the record's own save.
void BM_SavePartDuplicateTest(benchmark::State& state)
{
    QString name = QStringLiteral("ABIES ALBA");
    for (auto _ : state) {
        QString sql = QStringLiteral("select scientific_name_id from scientific_name where "
                                     "upper(scientific_name)='%1' and not scientific_name_id=507 and "
                                     "upper(author_name)='MILL.'")
                          .arg(name);
        benchmark::DoNotOptimize(appManager().CallGetQueryRSXML(sql)->RecordCount());
    }
}

void BM_SavePartPermission(benchmark::State& state)
{
    int32_t id = 507;
    for (auto _ : state)
        benchmark::DoNotOptimize(appManager().CheckPermission(id));
}

void BM_SavePartRecordSaveWithAudit(benchmark::State& state)
{
    const auto names = spreadList(100);
    names->MoveFirst();
    names->Move(20);
    SqlScientificNameRecord record;
    record.Connect(appManager().GetServerName(), appManager().GetServerType());
    record.Retrieve(names->Fields("ID").Value(), 0, 0);
    int round = 0;
    for (auto _ : state) {
        record.SetAuthorName(QStringLiteral("Part %1").arg(++round));
        record.SetModifiedBy(QStringLiteral("editor"));
        if (!record.Save())
            state.SkipWithError(qPrintable(record.lastRefusal()));
    }
}

void BM_HeapAfterPaging10000(benchmark::State& state)
{
    StartedEditor started(spreadList(ListSize));
    CallByName(*started.editor, "LoadData", {started.idAt(1)});
    auto& next = *started.editor->findChild<CommandButton*>("cmdNavNext");
    // A first stretch lets caches and pools reach their working size.
    for (int step = 0; step < 500; ++step)
        next.click();
    QApplication::processEvents();
    malloc_trim(0);
    const size_t before = mallinfo2().uordblks;
    for (auto _ : state) {
        for (int step = 0; step < 10000; ++step) {
            next.click();
            if (step % 100 == 0)
                QApplication::processEvents();
        }
    }
    QApplication::processEvents();
    malloc_trim(0);
    const size_t after = mallinfo2().uordblks;
    state.counters["heap_growth_kB"] = (double(after) - double(before)) / 1024.0;
}

// Answers the copy dialog as a user would, at once: a new name, OK.
class CopyDialogAnswered : public QtDesktopServices {
public:
    void showModal(QDialog& dialog) override
    {
        dialog.findChild<TextBox*>("txtCopyName")->setText(QStringLiteral("Bench copy %1").arg(++m_copies));
        dialog.findChild<CommandButton*>("OKButton")->click();
    }

private:
    int m_copies = 0;
};

// A name citing 50 references, made once in the bench database.
int32_t nameWithFiftyLinks()
{
    Database& db = appManager().readOnly();
    const QVariant made = db.scalar("select scientific_name_id from scientific_name where scientific_name = "
                                    "'Bench fifty links'");
    if (!made.isNull())
        return made.toInt();
    SqlScientificNameRecord record;
    record.Connect(appManager().GetServerName(), appManager().GetServerType());
    record.NewRecord(false, {});
    record.SetScientificName(QStringLiteral("Bench fifty links"));
    record.SetField(QStringLiteral("DNameCategoryId"), 1);
    record.SetModifiedBy(QStringLiteral("editor"));
    const auto links = record.ReferenceLinks();
    QString sql = QStringLiteral("select ID from reference_wl_vw");
    const auto references = appManager().CallGetQueryRSXML(sql);
    int added = 0;
    for (references->MoveFirst(); !references->IsEOF() && added < 50; references->MoveNext(), ++added) {
        const auto link = links->Add();
        link->SetField(QStringLiteral("ReferenceID"), references->Fields("ID").Value());
    }
    if (!record.Save())
        std::fprintf(stderr, "The name with 50 links was not saved: %s\n", qPrintable(record.lastRefusal()));
    return record.ID();
}

void BM_CloneDataWithFiftyLinks(benchmark::State& state)
{
    const int32_t original = nameWithFiftyLinks();
    StartedEditor started(spreadList(100));
    auto previous = DesktopServices::install(std::make_unique<CopyDialogAnswered>());
    for (auto _ : state) {
        const int copy = CallByName(*started.editor, "CloneData", {original}).toInt();
        if (copy == 0)
            state.SkipWithError("nothing was copied");
    }
    DesktopServices::install(std::move(previous));
    state.counters["links"] = double(
        appManager()
            .readOnly()
            .scalar("select count(*) from scientific_name_reference where scientific_name_id = ?", {original})
            .toInt());
}

void BM_HostDoubleClickToDetailsPainted(benchmark::State& state)
{
    MainWindow window(std::shared_ptr<SqlAppManager>(std::shared_ptr<SqlAppManager>(), &appManager()),
                      registration::thisLibraryPath());
    window.resize(1180, 800);
    window.show();
    for (int id = 7; id < 7 + 50 * 50; id += 50)
        window.addToWorkingList(id);
    FlexGrid& grid = window.workingList().grid();
    QApplication::processEvents();
    int row = 1;
    for (auto _ : state) {
        grid.SetRow(row);
        emit grid.DblClick();
        QApplication::processEvents(); // the window painted
        state.PauseTiming();
        for (ComponentWindow* open : window.componentWindows())
            open->close();
        QApplication::processEvents();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        row = row % 50 + 1;
        state.ResumeTiming();
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
    // The library registers the editor when it loads.
    ComponentLibrary library(registration::thisLibraryPath());
    benchmark::RegisterBenchmark("BM_RawSqliteReadRow", BM_RawSqliteReadRow)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_LoadDataShownAndPainted", BM_LoadDataShownAndPainted)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_NextRecordThroughTheMoveOperation", BM_NextRecordThroughTheMoveOperation)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SaveRecordOfAChangedName", BM_SaveRecordOfAChangedName)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SavePartDuplicateTest", BM_SavePartDuplicateTest)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SavePartPermission", BM_SavePartPermission)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_SavePartRecordSaveWithAudit", BM_SavePartRecordSaveWithAudit)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_HeapAfterPaging10000", BM_HeapAfterPaging10000)
        ->Iterations(1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_CloneDataWithFiftyLinks", BM_CloneDataWithFiftyLinks)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("BM_HostDoubleClickToDetailsPainted", BM_HostDoubleClickToDetailsPainted)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
