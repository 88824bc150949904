// The curation tools' changes on the generated million-name database (BRYX_BENCH_DB, see
// SearchPanelBench.cpp for how to make it), each beside the ordinary save it is built like:
//   BM_MergeGroupOfThree     preview and merge of three names with 50 reference links each, and
//                            five names resting on the duplicates (taken back untimed)
//   BM_TakeMergeBack         the same merge taken back (the merge redone untimed)
//   BM_RestoreField          an author's earlier value written back, an ordinary save with its
//                            duplicate test and audit rows
//   BM_SaveOfAChangedAuthor  the save the restore is made of, through the record object
//   BM_HistoryOf1000Changes  Name History of a name with 1,000 changes, read and painted
//   BM_GroupListPaged        the duplicates window given every group of the same-name rule
//                            (tens of thousands), painted at the top and paged to the end
// The names made here stay in the database, in the state they started in.
#include "BenchEditor.h"
#include "BenchSearches.h"
#include "DuplicateGroupsModel.h"
#include "DuplicateNamesWindow.h"
#include "NameHistoryDialog.h"
#include "curation/DuplicateFinder.h"
#include "curation/NameMerger.h"
#include "curation/NameRestorer.h"
#include "data/SqlScientificNameRecord.h"
#include "db/Database.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <benchmark/benchmark.h>

using namespace bryx;
using namespace bryx::host;
using bryx::bench::appManager;

namespace {

Database& db()
{
    return appManager().writable();
}

int32_t addName(const QString& name, const QString& author, const QVariant& established = {})
{
    const int32_t id = db().nextId();
    db().exec("INSERT INTO scientific_name (scientific_name_id, scientific_name, formatted_scientific_name, "
              "author_name, d_name_category_id, nomenclaturally_est_sn_id) SELECT ?, ?, ?, ?, "
              "min(d_name_category_id), "
              "? FROM d_name_category WHERE name_type_cd = 'P'",
              {id, name, name, author, established});
    return id;
}

// Kept name and two duplicates, 50 links each (a third of them to references the others have),
// and five names resting on the duplicates. Made once per run.
struct Group {
    int32_t kept = 0;
    std::vector<int32_t> duplicates;
};
const Group& group()
{
    static const Group made = [] {
        Group g;
        db().transaction([&] {
            g.kept = addName("Benchia alba", "Mill.");
            g.duplicates = {addName("BENCHIA ALBA", "Mill."), addName("Benchia alba", "Miller")};
            const std::vector<int32_t> all = {g.kept, g.duplicates[0], g.duplicates[1]};
            QSqlQuery references =
                db().query("SELECT reference_id FROM reference ORDER BY reference_id LIMIT 150", {},
                           Database::Reading::Buffered);
            std::vector<int32_t> ids;
            while (references.next())
                ids.push_back(references.value(0).toInt());
            for (size_t n = 0; n < all.size(); ++n) {
                for (int i = 0; i < 50; ++i) {
                    const int32_t reference = ids.at((n * 33 + size_t(i)) % ids.size());
                    db().exec("INSERT INTO scientific_name_reference (scientific_name_reference_id, "
                              "scientific_name_id, "
                              "reference_id, original_publication_ind, display_order) VALUES (?, ?, ?, ?, ?)",
                              {db().nextId(), all[n], reference, i == 0 ? "Y" : "N", i + 1});
                }
            }
            for (int i = 0; i < 5; ++i)
                addName(QStringLiteral("Benchia resting%1").arg(i), "L.", g.duplicates[size_t(i % 2)]);
        });
        return g;
    }();
    return made;
}

void BM_MergeGroupOfThree(benchmark::State& state)
{
    const Group& g = group();
    const UserSession& user = appManager().user();
    for (auto _ : state) {
        NameMerger merger(db(), user);
        const int32_t change = merger.merge(merger.preview(g.kept, g.duplicates));
        state.PauseTiming();
        NameRestorer(db(), user).restoreMerge(change);
        state.ResumeTiming();
    }
}

void BM_TakeMergeBack(benchmark::State& state)
{
    const Group& g = group();
    const UserSession& user = appManager().user();
    for (auto _ : state) {
        state.PauseTiming();
        NameMerger merger(db(), user);
        const int32_t change = merger.merge(merger.preview(g.kept, g.duplicates));
        state.ResumeTiming();
        NameRestorer(db(), user).restoreMerge(change);
    }
}

void saveAuthor(int32_t id, const QString& author)
{
    SqlScientificNameRecord record;
    record.Connect(appManager().GetServerName(), appManager().GetServerType());
    record.Retrieve(id, {}, {});
    record.SetAuthorName(author);
    record.SetModifiedBy("editor");
    record.Save();
}

int32_t lastAuthorChange(int32_t id)
{
    return db()
        .scalar(
            "SELECT max(audit_log_id) FROM audit_log WHERE primary_key = ? AND column_name = 'author_name'",
            {id})
        .toInt();
}

void BM_RestoreField(benchmark::State& state)
{
    static const int32_t id = addName("Benchia restorata", "Mill.");
    saveAuthor(id, "Miller");
    for (auto _ : state)
        NameRestorer(db(), appManager().user()).restoreChange(lastAuthorChange(id)); // back and forth
}

void BM_SaveOfAChangedAuthor(benchmark::State& state)
{
    static const int32_t id = addName("Benchia servata", "Mill.");
    int n = 0;
    for (auto _ : state)
        saveAuthor(id, (n++ % 2) ? QStringLiteral("Mill.") : QStringLiteral("Miller"));
}

void BM_HistoryOf1000Changes(benchmark::State& state)
{
    static const int32_t id = [] {
        const int32_t made = addName("Benchia mutabilis", "Author 0");
        db().transaction([&] {
            for (int i = 0; i < 1000; ++i)
                SqlAppManager::writeAudit(db(), "editor", 1, "scientific_name", "U", made,
                                          {{"author_name", QStringLiteral("Author %1").arg(i)}},
                                          {{"author_name", QStringLiteral("Author %1").arg(i + 1)}});
        });
        return made;
    }();
    int rows = 0;
    for (auto _ : state) {
        NameHistoryDialog dialog(
            std::shared_ptr<SqlAppManager>(std::shared_ptr<SqlAppManager>(), &appManager()), id, {});
        dialog.show();
        dialog.repaint(); // painted, as the user first sees it
        rows = dialog.table().rowCount();
    }
    state.counters["changes"] = rows;
}

void BM_GroupListPaged(benchmark::State& state)
{
    static const std::vector<DuplicateGroup> found = DuplicateFinder(db()).find(DuplicateMode::SameName);
    DuplicateNamesWindow window(
        std::shared_ptr<SqlAppManager>(std::shared_ptr<SqlAppManager>(), &appManager()), {});
    window.resize(1150, 700);
    window.show();
    for (auto _ : state) {
        window.groups().setGroups(found);
        window.view().repaint();
        window.view().scrollToBottom();
        window.view().repaint();
    }
    state.counters["groups"] = double(found.size());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!bench::haveBenchDatabase())
        return 1;
    using Benchmark = void (*)(benchmark::State&);
    const std::pair<const char*, Benchmark> benchmarks[] = {
        {"BM_MergeGroupOfThree", BM_MergeGroupOfThree},
        {"BM_TakeMergeBack", BM_TakeMergeBack},
        {"BM_RestoreField", BM_RestoreField},
        {"BM_SaveOfAChangedAuthor", BM_SaveOfAChangedAuthor},
        {"BM_HistoryOf1000Changes", BM_HistoryOf1000Changes},
        {"BM_GroupListPaged", BM_GroupListPaged}};
    for (const auto& [name, function] : benchmarks)
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
