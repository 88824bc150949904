#include "../support/QtPrinters.h"
#include "TestDatabase.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace bryx::test;

namespace {

struct ToolRun {
    int exitCode;
    QString out;
    QString err;
};

ToolRun run(const char* program, const QStringList& arguments)
{
    QProcess process;
    process.start(QString::fromUtf8(program), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

TEST(Tools, InitFindAndTheirExitCodes)
{
    QTemporaryDir folder;
    const QString url = "sqlite:" + folder.filePath("tools.sqlite");

    EXPECT_EQ(run(BRYX_DB_PATH, {"init", "--database", url}).exitCode, 0);
    const ToolRun again = run(BRYX_DB_PATH, {"init", "--database", url});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("upgrade")) << again.err.toStdString();
    EXPECT_EQ(run(BRYX_DB_PATH, {"check", "--database", url}).exitCode, 0);
    EXPECT_EQ(run(BRYX_DB_PATH, {"frobnicate"}).exitCode, 2);
    EXPECT_EQ(run(BRYX_DB_PATH, {"generate", "--database", url}).exitCode, 2);
    EXPECT_EQ(run(BRYX_DB_PATH, {"generate", "--names", "2000", "--database", url}).exitCode, 0);
    EXPECT_EQ(run(BRYX_DB_PATH, {"generate", "--references", "0", "--database", url}).exitCode, 2);
    EXPECT_EQ(run(BRYX_DB_PATH, {"generate", "--references", "300", "--database", url}).exitCode, 0);

    const ToolRun csv = run(BRYX_FIND_PATH,
                            {"--database", url, "--type", "ecological", "--text", "fagetum", "--comparison",
                             "ends", "--format", "csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.toStdString();
    const QStringList lines = csv.out.trimmed().split('\n');
    EXPECT_EQ(lines.first(), QString("ID,Scientific_Name,Author,Name_Type,Category,Classification_Level"));
    EXPECT_TRUE(lines.contains("342,Hordelymo-Fagetum,Kuhn 1937,C,Terrestrial Community,Association"))
        << csv.out.toStdString();

    const ToolRun sql =
        run(BRYX_FIND_PATH, {"--text", "o'neil", "--comparison", "exact", "--type", "zoological", "--sql"});
    EXPECT_EQ(sql.out,
              QString("select * from scientific_srch_vw where upper(scientific_name) = 'O''NEIL' and "
                      "name_type='A' \n"));
    const ToolRun count = run(BRYX_FIND_PATH, {"--database", url, "--id", "5", "--count"});
    EXPECT_EQ(count.out.trimmed(), QString("1"));

    const ToolRun usage = run(BRYX_FIND_PATH, {"--comparison", "fuzzy"});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_EQ(usage.err.count('\n'), 1) << usage.err.toStdString();
    const ToolRun missing = run(BRYX_FIND_PATH, {"--database", "sqlite:" + folder.filePath("none.sqlite")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains("none.sqlite"));
    EXPECT_TRUE(run(BRYX_FIND_PATH, {"--help"}).out.contains("--comparison"));
}

TEST(Tools, EveryWrongCommandLineIsOneClearLineAndStatusTwo)
{
    const std::pair<const char*, QStringList> wrong[] = {
        {BRYX_DB_PATH, {"init", "--bogus"}},
        {BRYX_DB_PATH, {"generate", "--names"}},
        {BRYX_DB_PATH, {"generate", "--names", "many"}},
        {BRYX_DB_PATH, {"init", "upgrade"}},
        {BRYX_DB_PATH, {"check", "--database", "mysql://somewhere"}},
        {BRYX_FIND_PATH, {"--text"}},
        {BRYX_FIND_PATH, {"--type", "fungal"}},
        {BRYX_FIND_PATH, {"abies"}},
    };
    for (const auto& [tool, arguments] : wrong) {
        const ToolRun usage = run(tool, arguments);
        SCOPED_TRACE(arguments.join(' ').toStdString());
        EXPECT_EQ(usage.exitCode, 2);
        EXPECT_EQ(usage.err.count('\n'), 1) << usage.err.toStdString();
        EXPECT_TRUE(usage.err.contains("--help")) << "says where to read more";
        EXPECT_TRUE(usage.out.isEmpty());
    }
    EXPECT_TRUE(run(BRYX_DB_PATH, {"-h"}).out.contains("generate [--names N] [--references M]"));
}
