#include "../support/QtPrinters.h"
#include "TestDatabase.h"
#include "db/Database.h"
#include "exchange/TestPackage.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
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
        {BRYX_DB_PATH, {"import"}},
        {BRYX_DB_PATH, {"import", "names.zip", "--name-type", "fungal"}},
        {BRYX_DB_PATH, {"import", "names.zip", "--name-type", "P"}},
        {BRYX_DB_PATH, {"export", "names.zip"}},
        {BRYX_DB_PATH, {"export", "names.zip", "--format", "csv"}},
        {BRYX_DB_PATH, {"check", "names.zip"}},
        {BRYX_DB_PATH, {"duplicates"}},
        {BRYX_DB_PATH, {"duplicates", "--mode", "fuzzy"}},
        {BRYX_DB_PATH, {"duplicates", "--mode", "name", "--type", "P"}},
        {BRYX_DB_PATH, {"duplicates", "names.tsv", "--mode", "name"}},
        {BRYX_DB_PATH, {"user", "add", "someone", "else", "--role", "editor"}},
        {BRYX_DB_PATH, {"merge", "1001", "1002"}},
        {BRYX_DB_PATH, {"merge", "--keep", "1001"}},
        {BRYX_DB_PATH, {"merge", "--keep", "1001", "abies"}},
        {BRYX_DB_PATH, {"history"}},
        {BRYX_DB_PATH, {"history", "1001", "1002"}},
        {BRYX_DB_PATH, {"restore", "--change", "1", "--deleted", "2"}},
        {BRYX_DB_PATH, {"restore", "--change", "-3"}},
        {BRYX_DB_PATH, {"deleted", "now"}},
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

TEST(Tools, DuplicatesAreListedOrWrittenToATsvFile)
{
    QTemporaryDir folder;
    const QString url = "sqlite:" + folder.filePath("names.sqlite");
    ASSERT_EQ(run(BRYX_DB_PATH, {"init", "--database", url}).exitCode, 0);

    // The sample holds "Abies alba" twice, by Miller and by Michaux: one name by name, two by author.
    const ToolRun byName = run(BRYX_DB_PATH, {"duplicates", "--mode", "name", "--database", url});
    ASSERT_EQ(byName.exitCode, 0) << byName.err.toStdString();
    EXPECT_TRUE(byName.out.contains("\tAbies alba\tMill.\tP\t")) << byName.out.toStdString();
    EXPECT_TRUE(byName.out.contains("\tAbies alba\tMichx.\tP\t"));
    const ToolRun byAuthor = run(BRYX_DB_PATH, {"duplicates", "--mode", "author", "--database", url});
    EXPECT_FALSE(byAuthor.out.contains("Abies alba")) << byAuthor.out.toStdString();
    EXPECT_TRUE(byName.err.contains("group(s) of")) << "the count goes beside the list, not into it";

    const QString tsv = folder.filePath("groups.tsv");
    const ToolRun written =
        run(BRYX_DB_PATH,
            {"duplicates", "--mode", "name", "--type", "zoological", "--tsv", tsv, "--database", url});
    ASSERT_EQ(written.exitCode, 0) << written.err.toStdString();
    QFile file(tsv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).trimmed().split('\n');
    EXPECT_TRUE(lines.first().startsWith("group\tid\tname\tauthor\ttype"));
    for (const QString& line : lines.mid(1))
        EXPECT_EQ(line.section('\t', 4, 4), QString("A")) << "only zoological names: " << line.toStdString();
    EXPECT_TRUE(written.out.startsWith(
        QString::number(lines.size() > 1 ? lines.last().section('\t', 0, 0).toInt() : 0) + " group(s)"))
        << written.out.toStdString();
}

TEST(Tools, AMergeIsPreviewedDoneAndTakenBackFromTheShell)
{
    QTemporaryDir folder;
    const QString url = "sqlite:" + folder.filePath("names.sqlite");
    ASSERT_EQ(run(BRYX_DB_PATH, {"init", "--database", url}).exitCode, 0);
    const ToolRun groups = run(BRYX_DB_PATH, {"duplicates", "--mode", "name", "--database", url});
    QString mill, michx;
    for (const QString& line : groups.out.split('\n')) {
        if (line.contains("\tAbies alba\tMill.\t"))
            mill = line.section('\t', 1, 1);
        if (line.contains("\tAbies alba\tMichx.\t"))
            michx = line.section('\t', 1, 1);
    }
    ASSERT_FALSE(mill.isEmpty());
    ASSERT_FALSE(michx.isEmpty());

    const ToolRun dry = run(BRYX_DB_PATH, {"merge", "--keep", mill, michx, "--dry-run", "--database", url});
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    EXPECT_TRUE(dry.out.startsWith("Keep Abies alba Mill. (ID " + mill + ") and merge Abies alba Michx. (ID "
                                   + michx))
        << dry.out.toStdString();
    EXPECT_TRUE(run(BRYX_DB_PATH, {"history", michx, "--database", url}).exitCode == 0);

    const ToolRun self = run(BRYX_DB_PATH, {"merge", "--keep", mill, mill, "--database", url});
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_TRUE(self.err.contains("cannot be merged with itself")) << self.err.toStdString();

    const ToolRun merged = run(BRYX_DB_PATH, {"merge", "--keep", mill, michx, "--database", url});
    ASSERT_EQ(merged.exitCode, 0) << merged.err.toStdString();
    const QString change = merged.out.section("bryx-db restore --change ", 1).trimmed();
    ASSERT_FALSE(change.isEmpty()) << merged.out.toStdString();
    const ToolRun history = run(BRYX_DB_PATH, {"history", mill, "--database", url});
    EXPECT_TRUE(history.out.contains(change + "\t")) << history.out.toStdString();
    EXPECT_TRUE(history.out.contains("\tMerge\tMerged into this name: Abies alba Michx. (ID " + michx + ")"));
    EXPECT_FALSE(
        run(BRYX_DB_PATH, {"duplicates", "--mode", "name", "--database", url}).out.contains("Michx."));

    const ToolRun restored = run(BRYX_DB_PATH, {"restore", "--change", change, "--database", url});
    ASSERT_EQ(restored.exitCode, 0) << restored.err.toStdString();
    EXPECT_TRUE(restored.out.startsWith("The merge is taken back")) << restored.out.toStdString();
    EXPECT_TRUE(
        run(BRYX_DB_PATH, {"duplicates", "--mode", "name", "--database", url}).out.contains("Michx."));
    const ToolRun again = run(BRYX_DB_PATH, {"restore", "--change", change, "--database", url});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains("taken back already")) << again.err.toStdString();
    EXPECT_TRUE(run(BRYX_DB_PATH, {"deleted", "--database", url}).out.isEmpty()) << "a merge is no delete";
}

TEST(Tools, ImportAndExportChecklistsFromTheCommandLine)
{
    QTemporaryDir folder;
    const QString url = "sqlite:" + folder.filePath("names.sqlite");
    ASSERT_EQ(run(BRYX_DB_PATH, {"init", "--no-sample", "--database", url}).exitCode, 0);
    const QString archive = folder.filePath("checklist.zip");
    writeZip(archive,
             {{"meta.xml", R"(<archive><core fieldsTerminatedBy="\t" ignoreHeaderLines="1"
        rowType="http://rs.tdwg.org/dwc/terms/Taxon"><files><location>taxon.txt</location></files><id index="0"/>
        <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
        <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
        <field term="http://rs.tdwg.org/dwc/terms/nomenclaturalCode" default="ICN"/></core></archive>)"},
              {"taxon.txt",
               "id\tname\trank\n1\tAbies alba Mill.\tspecies\n2\tAbies nebrodensis "
               "(Lojac.) Mattei\tblah\n"}});

    const ToolRun refused = run(BRYX_DB_PATH, {"import", archive, "--database", url});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "bryx-db: taxon.txt, line 3: the rank \"blah\" is unknown\n");
    const ToolRun skipped = run(BRYX_DB_PATH, {"import", archive, "--database", url, "--skip-bad-rows"});
    ASSERT_EQ(skipped.exitCode, 0) << skipped.err.toStdString();
    EXPECT_TRUE(skipped.out.contains(QRegularExpression("names read: +2\n"))) << skipped.out.toStdString();
    EXPECT_TRUE(skipped.out.contains(QRegularExpression("names imported: +1\n")));
    EXPECT_TRUE(
        skipped.out.contains(QRegularExpression("rows skipped: +1\n +taxon.txt, line 3: the rank \"blah\" is "
                                                "unknown\n")));
    EXPECT_FALSE(skipped.err.contains('[')) << "no progress bar when standard error is not a terminal";
    // The report lists every skipped row; the summary says which rule typed the names.
    const QString report = folder.filePath("skipped.tsv");
    writeZip(folder.filePath("untyped.zip"),
             {{"meta.xml", R"(<archive><core fieldsTerminatedBy="\t" ignoreHeaderLines="1"
        rowType="http://rs.tdwg.org/dwc/terms/Taxon"><files><location>taxon.txt</location></files><id index="0"/>
        <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
        <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/></core></archive>)"},
              {"taxon.txt", "id\tname\trank\n1\tPinus sylvestris L.\tspecies\n2\tPinus mugo Turra\tblah\n"}});
    const ToolRun untyped =
        run(BRYX_DB_PATH, {"import", folder.filePath("untyped.zip"), "--database", url, "--skip-bad-rows"});
    EXPECT_EQ(untyped.exitCode, 1);
    EXPECT_EQ(untyped.err,
              "bryx-db: No row says whether its names are botanical, zoological or ecological "
              "communities; choose a name type for the import.\n");
    const ToolRun typed = run(BRYX_DB_PATH,
                              {"import", folder.filePath("untyped.zip"), "--database", url, "--skip-bad-rows",
                               "--name-type", "botanical", "--report", report});
    ASSERT_EQ(typed.exitCode, 0) << typed.err.toStdString();
    EXPECT_TRUE(typed.out.contains("name types from: the name type chosen for the import 1\n"))
        << typed.out.toStdString();
    QFile reportFile(report);
    ASSERT_TRUE(reportFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(reportFile.readAll(), "file\tline\treason\ntaxon.txt\t3\tthe rank \"blah\" is unknown\n");

    const ToolRun again = run(BRYX_DB_PATH, {"import", archive, "--database", url, "--skip-bad-rows"});
    EXPECT_TRUE(again.out.contains(QRegularExpression("already in the database: 1 ")))
        << again.out.toStdString();

    {
        // A database an older program left: it is upgraded first, not written at its old version.
        bryx::host::Database db(bryx::host::DatabaseUrl::parse(url), bryx::host::Database::Access::ReadWrite);
        db.exec("DELETE FROM schema_version WHERE version = (SELECT max(version) FROM schema_version)");
    }
    const ToolRun old = run(BRYX_DB_PATH, {"import", archive, "--database", url});
    EXPECT_EQ(old.exitCode, 1);
    EXPECT_TRUE(old.err.contains("run bryx-db upgrade first")) << old.err.toStdString();
    ASSERT_EQ(run(BRYX_DB_PATH, {"upgrade", "--database", url}).exitCode, 0);

    const ToolRun exported =
        run(BRYX_DB_PATH, {"export", folder.filePath("out.zip"), "--format", "coldp", "--database", url});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    EXPECT_TRUE(exported.out.startsWith("Exported 2 names, 0 references"));
    EXPECT_TRUE(QFile::exists(folder.filePath("out.zip")));
}

// Other programs go on reading while an import writes, and an import killed outright leaves
// the file as it found it: in its write-ahead log mode, with the names it had.
TEST(Tools, AnImportKilledHalfwayLeavesTheFileAsItFoundItAndReadersNeverFail)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("names.sqlite");
    const QString url = "sqlite:" + file;
    ASSERT_EQ(run(BRYX_DB_PATH, {"init", "--database", url}).exitCode, 0);
    const QString before = run(BRYX_FIND_PATH, {"--database", url, "--text", "a", "--count"}).out;
    QByteArray rows = "id\tname\trank\n";
    for (int i = 0; i < 400'000; ++i)
        rows += QByteArray::number(i) + "\tAbies x" + QByteArray::number(i) + " Mill.\tspecies\n";
    writeZip(folder.filePath("big.zip"),
             {{"meta.xml", R"(<archive><core fieldsTerminatedBy="\t" ignoreHeaderLines="1" fieldsEnclosedBy=""
        rowType="http://rs.tdwg.org/dwc/terms/Taxon"><files><location>taxon.txt</location></files><id index="0"/>
        <field index="1" term="http://rs.tdwg.org/dwc/terms/scientificName"/>
        <field index="2" term="http://rs.tdwg.org/dwc/terms/taxonRank"/>
        <field term="http://rs.tdwg.org/dwc/terms/nomenclaturalCode" default="ICN"/></core></archive>)"},
              {"taxon.txt", rows}});

    QProcess import;
    import.start(QStringLiteral(BRYX_DB_PATH), {"import", folder.filePath("big.zip"), "--database", url});
    ASSERT_TRUE(import.waitForStarted());
    // Well into the import: its transaction holds the file's write lock by now.
    QFile wal(file + "-wal");
    for (int i = 0; i < 200 && import.state() == QProcess::Running && wal.size() < (1 << 20); ++i)
        QThread::msleep(25);
    ASSERT_EQ(import.state(), QProcess::Running) << "the import must still be running for this test";
    const ToolRun reader = run(BRYX_FIND_PATH, {"--database", url, "--text", "a", "--count"});
    EXPECT_EQ(reader.exitCode, 0) << reader.err.toStdString();
    EXPECT_EQ(reader.out, before) << "a reader sees the names as they were";

    ASSERT_EQ(import.state(), QProcess::Running);
    import.kill();
    import.waitForFinished();
    QFile header(file);
    ASSERT_TRUE(header.open(QIODevice::ReadOnly));
    const QByteArray bytes = header.read(20);
    EXPECT_EQ(bytes.at(18), 2) << "the file is still in write-ahead log mode";
    EXPECT_EQ(bytes.at(19), 2);
    header.close();
    EXPECT_EQ(run(BRYX_FIND_PATH, {"--database", url, "--text", "a", "--count"}).out, before);
    EXPECT_EQ(run(BRYX_DB_PATH, {"check", "--database", url}).exitCode, 0);
}
