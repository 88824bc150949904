// bryx-host: the cold start of the program on the sample database, and a working list of about
// 100,000 names on the generated million-name database (BRYX_BENCH_DB, default
// /tmp/bryx-1m.sqlite), made by Replace List from a search and scrolled to its end.
#include "BenchSearches.h"
#include "ComponentWindow.h"
#include "LocalDatabase.h"
#include "MainWindow.h"
#include "WorkingListView.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "hosting/UserControl.h"
#include "registration/Identities.h"
#include "services/SqlAppManager.h"

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

using namespace bryx;
using namespace bryx::host;

namespace {

void BM_ColdStartToUsableWindow(benchmark::State& state)
{
    QTemporaryDir folder;
    const QString url = "sqlite:" + folder.filePath("sample.sqlite");
    LocalDatabase::prepare(DatabaseUrl::parse(url)); // the first start's database, made once
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
    for (auto _ : state) {
        QProcess host;
        host.setProcessEnvironment(environment);
        host.start(QStringLiteral(BRYX_HOST_PATH), {"--database", url, "--exit-when-ready"});
        host.waitForFinished(-1);
        if (host.exitCode() != 0)
            state.SkipWithError("bryx-host failed");
    }
}

void BM_WorkingListOf100kNames(benchmark::State& state)
{
    auto appManager = std::make_shared<SqlAppManager>(
        DatabaseUrl::parse("sqlite:" + bench::benchDatabasePath()), QStringLiteral("editor"));
    MainWindow window(appManager, registration::thisLibraryPath());
    window.resize(1180, 800);
    window.show();
    ComponentWindow* search = window.openSearch();
    UserControl& panel = *search->component();
    panel.findChild<TextBox*>("txtFindNameSciName")->setText(bench::Searches[1].criteria.nameText);
    panel.findChild<CommandButton*>("cmdStartSearch")->click();
    panel.findChild<CommandButton*>("cmdSelectAll")->click();
    auto* replace = panel.findChild<CommandButton*>("cmdReplaceList");
    FlexGrid& list = window.workingList().grid();
    for (auto _ : state) {
        replace->click();
        QApplication::processEvents();
        list.scrollToBottom();
        QApplication::processEvents();
    }
    state.counters["names"] = window.workingList().count();
}

} // namespace

BENCHMARK(BM_ColdStartToUsableWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    if (QFileInfo::exists(bench::benchDatabasePath()))
        benchmark::RegisterBenchmark("BM_WorkingListOf100kNames", BM_WorkingListOf100kNames)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(5);
    else
        std::fprintf(stderr, "No database at %s: the working-list benchmark is left out\n",
                     qPrintable(bench::benchDatabasePath()));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
