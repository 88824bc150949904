#include "curation/NameMerger.h"

#include "CurationFixture.h"
#include "curation/NameHistory.h"
#include "curation/NameRestorer.h"
#include "error/Error.h"

#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

namespace bryx::test {

using namespace bryx::host;

namespace {

class NameMerge : public CurationFixture { };

// Runs `work` and answers the message of the bryx::Error it throws ("" when it throws none).
template<typename Work> std::string refusalOf(Work&& work)
{
    try {
        work();
    } catch (const Error& error) {
        return error.Description().toStdString();
    }
    return {};
}

int32_t mergeRowOf(Database& db, int32_t keptId)
{
    return db
        .scalar(
            "SELECT max(audit_log_id) FROM audit_log WHERE primary_key = ? AND column_name = 'merged_names'",
            {keptId})
        .toInt();
}

} // namespace

TEST_P(NameMerge, LinksMoveOnceRestingNamesFollowAndTheMergeComesBackWhole)
{
    const int32_t kept = addName("Testia alba", "Mill.");
    const int32_t first = addName("TESTIA ALBA", "Mill.");
    const int32_t second = addName("Testia alba", "Miller", 0, first); // a chain: it rests on the first
    link(kept, 0, true, 1);
    link(kept, 1, false, 2);
    link(first, 1, false, 1); // the kept name has it: dropped
    link(first, 2, true, 2); // a second original: moves, but the kept name keeps its own
    link(second, 3, false, 1);
    link(second, 2, false, 2); // moved from the first already: dropped
    const int32_t resting = addName("Testia nigra", "L.", 0, first);
    const int32_t restingOnSecond = addName("Testia rubra", "L.", 0, second);
    const QStringList before = contents();

    NameMerger merger(*db, editor);
    const MergePreview preview = merger.preview(kept, {first, second});
    EXPECT_EQ(preview.linksMoved, 2);
    EXPECT_EQ(preview.linksDropped, 2);
    EXPECT_EQ(preview.originalsCleared, 1);
    EXPECT_EQ(preview.namesRepointed, 2);
    EXPECT_TRUE(preview.describe().contains(
        "2 reference link(s) move to the kept name, 2 it already has are dropped"))
        << preview.describe().toStdString();
    EXPECT_TRUE(preview.describe().contains(QString("Testia alba Miller (ID %1)").arg(second)));
    EXPECT_EQ(contents(), before) << "a preview writes nothing";

    merger.merge(preview);
    EXPECT_FALSE(exists(first));
    EXPECT_FALSE(exists(second));
    const QString r = QString::number(references[0]), r1 = QString::number(references[1]),
                  r2 = QString::number(references[2]), r3 = QString::number(references[3]);
    EXPECT_EQ(linksOf(kept), (QStringList {r + "*", r1, r2, r3})) << "one link per reference, one original";
    EXPECT_EQ(stored(resting, "nomenclaturally_est_sn_id").toInt(), kept);
    EXPECT_EQ(stored(restingOnSecond, "nomenclaturally_est_sn_id").toInt(), kept);
    EXPECT_GT(
        db->scalar("SELECT count(*) FROM audit_log WHERE primary_key = ? AND action = 'D'", {first}).toInt(),
        3)
        << "the merged name's values stay in its trail";

    const std::vector<HistoryEntry> history = NameHistory::of(*db, kept);
    ASSERT_FALSE(history.empty());
    EXPECT_TRUE(history.back().isMerge);
    EXPECT_TRUE(history.back().oldValue.toString().contains(QString("(ID %1)").arg(first)));

    const int32_t mergeRow = mergeRowOf(*db, kept);
    const QString done = NameRestorer(*db, editor).restoreChange(mergeRow);
    EXPECT_TRUE(done.contains("taken back")) << done.toStdString();
    EXPECT_EQ(contents(), before) << "names, values, IDs and links as they were";
    EXPECT_EQ(refusalOf([&] { NameRestorer(*db, editor).restoreChange(mergeRow); }),
              "That merge was taken back already");
}

TEST_P(NameMerge, ALaterChangeInTheWayStopsTheTakingBackAndSaysWhich)
{
    const int32_t kept = addName("Testia alba", "Mill.");
    const int32_t duplicate = addName("Testia alba", "MILL.");
    const int32_t resting = addName("Testia nigra", "L.", 0, duplicate);
    const int32_t elsewhere = addName("Testia rubra", "L.");
    NameMerger merger(*db, editor);
    merger.merge(merger.preview(kept, {duplicate}));
    db->exec("UPDATE scientific_name SET nomenclaturally_est_sn_id = ? WHERE scientific_name_id = ?",
             {elsewhere, resting});
    const QStringList before = contents();
    EXPECT_EQ(
        refusalOf([&] { NameRestorer(*db, editor).restoreChange(mergeRowOf(*db, kept)); }),
        QString(
            "The merge cannot be taken back: name ID %1 no longer rests on the kept name (ID %2). Nothing "
            "was changed")
            .arg(resting)
            .arg(kept)
            .toStdString());
    EXPECT_EQ(contents(), before);
}

TEST_P(NameMerge, EachBadMergeIsRefusedWithItsReasonAndWritesNothing)
{
    const int32_t plant = addName("Testia alba", "Mill.");
    const int32_t animal = addName("Testia alba", "Mill.", zoological);
    const int32_t other = addName("Testia alba", "L.");
    const QStringList before = contents();
    NameMerger merger(*db, editor);
    EXPECT_EQ(
        refusalOf([&] { merger.preview(plant, {plant}); }),
        QString("Name ID %1 cannot be merged with itself; choose the names to merge into it besides the one "
                "to keep")
            .arg(plant)
            .toStdString());
    EXPECT_NE(
        refusalOf([&] { merger.preview(plant, {animal}); }).find("only names of one type can be merged"),
        std::string::npos);
    EXPECT_NE(refusalOf([&] { merger.preview(plant, {987654}); }).find("ID 987654 does not exist"),
              std::string::npos);
    EXPECT_NE(refusalOf([&] { merger.preview(plant, {}); }).find("at least one"), std::string::npos);

    const MergePreview preview = merger.preview(plant, {other});
    db->exec("DELETE FROM scientific_name WHERE scientific_name_id = ?", {other});
    EXPECT_NE(refusalOf([&] { merger.merge(preview); }).find("deleted after the preview"), std::string::npos);

    const UserSession viewer = this->viewer();
    EXPECT_NE(
        refusalOf([&] { NameMerger(*db, viewer).preview(plant, {animal}); }).find("viewer may not merge"),
        std::string::npos);
    EXPECT_NE(refusalOf([&] { NameRestorer(*db, viewer).restoreChange(1); }).find("viewer may not"),
              std::string::npos);
    EXPECT_EQ(contents().size(), before.size() - 1) << "only the name this test deleted itself is gone";
}

TEST_P(NameMerge, TheServerRefusesAViewerWhoseSessionClaimsMore)
{
    if (GetParam() != Dialect::PostgreSQL)
        GTEST_SKIP() << "an SQLite file has no server to refuse";
    const int32_t kept = addName("Testia alba", "Mill.");
    const int32_t duplicate = addName("Testia alba", "MILL.");
    auto asViewer = std::make_unique<Database>(database->urlFor("viewer"), Database::Access::ReadWrite);
    UserSession claimed = UserSession::load(*asViewer, "viewer");
    claimed.maySave = claimed.mayDelete = claimed.mayCreate = true;
    NameMerger merger(*asViewer, claimed);
    const MergePreview preview = merger.preview(kept, {duplicate});
    EXPECT_NE(refusalOf([&] { merger.merge(preview); }).find("permission denied"), std::string::npos);
    EXPECT_TRUE(exists(duplicate));
}

// The other user of the test below, in a process of its own.
TEST(OtherCurator, DISABLED_SavesAnAuthor)
{
    const DatabaseUrl url = DatabaseUrl::parse(qEnvironmentVariable("BRYX_OTHER_URL"));
    SqlAppManager other(url, "editor");
    SqlScientificNameRecord record;
    record.Connect(other.GetServerName(), other.GetServerType());
    record.Retrieve(qEnvironmentVariableIntValue("BRYX_OTHER_ID"), {}, {});
    record.SetAuthorName("Mill. (changed elsewhere)");
    record.SetModifiedBy("editor");
    ASSERT_TRUE(record.Save()) << record.lastRefusal().toStdString();
}

TEST_P(NameMerge, AChangeFromAnotherProcessAfterThePreviewStopsTheMerge)
{
    const int32_t kept = addName("Testia alba", "Mill.");
    const int32_t duplicate = addName("Testia alba", "MILL.");
    link(duplicate, 0);
    NameMerger merger(*db, editor);
    const MergePreview preview = merger.preview(kept, {duplicate});
    QProcess other;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("BRYX_OTHER_URL", database->url().display());
    environment.insert("BRYX_OTHER_ID", QString::number(duplicate));
    other.setProcessEnvironment(environment);
    other.start(QFileInfo("/proc/self/exe").canonicalFilePath(),
                {"--gtest_also_run_disabled_tests", "--gtest_filter=OtherCurator.DISABLED_SavesAnAuthor"});
    ASSERT_TRUE(other.waitForFinished(60000));
    ASSERT_EQ(other.exitCode(), 0) << other.readAll().toStdString();
    const QStringList before = contents();
    EXPECT_EQ(
        refusalOf([&] { merger.merge(preview); }),
        QString("Testia alba Mill. (changed elsewhere) (ID %1) was changed after the preview (by editor); "
                "nothing was merged. Look at it again and merge anew")
            .arg(duplicate)
            .toStdString());
    EXPECT_EQ(contents(), before);
}

TEST_P(NameMerge, AFailureAfterTheFirstStatementLeavesTheDatabaseAsItWas)
{
    const int32_t kept = addName("Testia alba", "Mill.");
    const int32_t duplicate = addName("Testia alba", "MILL.");
    link(kept, 0);
    link(duplicate, 0);
    link(duplicate, 1);
    addName("Testia nigra", "L.", 0, duplicate);
    NameMerger merger(*db, editor);
    const MergePreview preview = merger.preview(kept, {duplicate});
    // The links move first; the duplicate's delete then fails as a full disk or a lost server would.
    injectFailure("DELETE", "scientific_name");
    const QStringList before = contents();
    const int audit = db->scalar("SELECT count(*) FROM audit_log").toInt();
    EXPECT_NE(refusalOf([&] { merger.merge(preview); }).find("injected failure"), std::string::npos);
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(db->scalar("SELECT count(*) FROM audit_log").toInt(), audit);
    EXPECT_EQ(db->scalar("SELECT count(*) FROM curation_change").toInt(), 0);
}

INSTANTIATE_ON_EACH_ENGINE(NameMerge);

} // namespace bryx::test
