// Checklist import and export at a million names. The first run makes, in BRYX_BENCH_DIR
// (default /tmp/bryx-exchange-bench): a database of 1,000,000 generated names and one of
// 100,000, each exported as a Darwin Core Archive (names-N.zip), and the 1M archive unpacked
// (names-1000000/) for the sqlite3 shell. Side by side in one run:
//   BM_SqliteShellEndState  the least work the sqlite3 shell needs for the import's end state,
//                           the baseline: .import of the unpacked taxon.txt into a table, then
//                           set-based inserts of the names (their key, category and level looked
//                           up), one 'I' audit row each and the text index, with the key index
//                           and the insert triggers dropped for the load and made again after;
//   BM_SqliteShellImport    the bare .import alone, for scale;
//   BM_ImportChecklist/0    the import of the zipped archive into an empty database, as
//                           bryx-db import does it, commit included, with the seconds of
//                           each of its stages (read_s ... commit_s);
//   BM_ImportChecklist/1    the same from the unpacked folder, the shell's footing;
//   BM_ReadChecklist        the import's reading alone: the zipped archive parsed and split
//                           on the reader's thread into a sink that only counts;
//   BM_ExportChecklist      the 1M database written as a zipped Darwin Core Archive;
//   BM_ImportMemory/N       bryx-db import of the N-name archive in a process of its own, with
//                           that process's peak resident memory as a counter (MiB);
//   BM_PostgresImport       with BRYX_BENCH_PG_URL (a login that may create databases and roles,
//                           its password in BRYX_BENCH_PG_PASSWORD or PGPASSFILE): the import of
//                           the zipped archive into a fresh PostgreSQL database as an editor;
//   BM_PsqlCopyEndState     its baseline: psql's \copy of taxon.txt into a temporary table and
//                           the set-based insert of the names (the server's own triggers write
//                           the audit trail and its trigram index follows), as the same editor;
//   BM_AuthorshipSplit      the split of the archive's million names (each written with its
//                           authorship) into name and authorship, with the share that matches
//                           the archive's own authorship column.
#include "db/Database.h"
#include "db/NameGenerator.h"
#include "db/SampleData.h"
#include "db/Schema.h"
#include "db/ServerRoles.h"
#include "db/ServerUsers.h"
#include "db/SqlText.h"
#include "exchange/ArchiveFolder.h"
#include "exchange/AuthorshipSplitter.h"
#include "exchange/ChecklistExporter.h"
#include "exchange/ChecklistImporter.h"
#include "exchange/ChecklistPipe.h"
#include "exchange/ChecklistRecords.h"
#include "exchange/DwcaChecklistReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTextStream>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace bryx;
using namespace bryx::host;

namespace {

constexpr int64_t Names = 1'000'000;
constexpr int64_t FewerNames = 100'000;

QString benchDir()
{
    const QString dir = qEnvironmentVariable("BRYX_BENCH_DIR", QStringLiteral("/tmp/bryx-exchange-bench"));
    QDir().mkpath(dir);
    return dir;
}

QString databaseOf(int64_t names)
{
    return QDir(benchDir()).filePath(QStringLiteral("names-%1.sqlite").arg(names));
}

QString archiveOf(int64_t names)
{
    return QDir(benchDir()).filePath(QStringLiteral("names-%1.zip").arg(names));
}

// Seconds spent in each of the import's stages, as its progress reports name them, summed over
// the iterations; what follows "Done" is the commit.
class StageClock {
public:
    // The import's progress callback: a report of a new stage ends the one before.
    std::function<void(int, const QString&)> progress()
    {
        return [this](int, const QString& text) {
            for (const auto& [prefix, counter] : Stages) {
                if (text.startsWith(QLatin1String(prefix)) && m_stage != counter) {
                    stop();
                    m_stage = counter;
                }
            }
        };
    }
    void start()
    {
        m_stage = nullptr;
        m_clock.start();
    }
    // Ends the stage running, if any.
    void stop()
    {
        if (m_stage)
            m_spent[m_stage] += double(m_clock.restart()) / 1000.0;
        m_stage = nullptr;
    }
    void report(benchmark::State& state) const
    {
        for (const auto& [counter, seconds] : m_spent)
            state.counters[counter] = seconds / double(state.iterations());
    }

private:
    static constexpr std::pair<const char*, const char*> Stages[] = {{"Reading", "read_s"},
                                                                     {"Checking", "check_s"},
                                                                     {"Writing the names", "names_s"},
                                                                     {"Indexing the names' texts", "index_s"},
                                                                     {"Writing the references", "refs_s"},
                                                                     {"Done", "commit_s"}};
    QElapsedTimer m_clock;
    const char* m_stage = nullptr;
    std::map<std::string, double> m_spent;
};

// One timed import of every name, its stages on the clock.
void importTimed(benchmark::State& state, StageClock& clock, Database& db, const UserSession& user,
                 const QString& source)
{
    clock.start();
    ImportOptions options;
    options.progress = clock.progress();
    const ImportSummary summary = ChecklistImporter(db, user).import(source, options);
    clock.stop();
    if (summary.imported != Names)
        state.SkipWithError("not every name was imported");
}

// A fresh database with the code lists and users and no names.
std::unique_ptr<Database> emptyDatabase(const QString& path)
{
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    auto db =
        std::make_unique<Database>(DatabaseUrl::parse("sqlite:" + path), Database::Access::ReadWrite, true);
    Schema::upgrade(*db);
    SampleData::loadReferenceTables(*db);
    return db;
}

void prepare(int64_t names)
{
    if (QFile::exists(archiveOf(names)))
        return;
    std::fprintf(stderr, "Generating %lld names and their archive...\n", static_cast<long long>(names));
    {
        auto db = emptyDatabase(databaseOf(names));
        NameGenerator::generate(*db, names);
    }
    Database db(DatabaseUrl::parse("sqlite:" + databaseOf(names)), Database::Access::ReadOnly);
    ChecklistExporter(db).exportTo(archiveOf(names), ChecklistFormat::DarwinCoreArchive);
    const QString unpacked = QDir(benchDir()).filePath(QStringLiteral("names-%1").arg(names));
    QDir().mkpath(unpacked);
    QProcess::execute("unzip", {"-o", "-q", archiveOf(names), "-d", unpacked});
}

void BM_SqliteShellImport(benchmark::State& state)
{
    const QString bare = QDir(benchDir()).filePath("bare.sqlite");
    const QString taxa = QDir(benchDir()).filePath(QStringLiteral("names-%1/taxon.txt").arg(Names));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(bare);
        state.ResumeTiming();
        QProcess shell;
        shell.start("sqlite3", {bare, "-cmd", ".mode tabs", ".import " + taxa + " taxon"});
        shell.waitForFinished(-1);
        if (shell.exitCode() != 0)
            state.SkipWithError(shell.readAllStandardError().constData());
    }
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

// The shell's script for the import's end state. The key is SQLite's upper(), which folds
// ASCII only where the program's own key folds all of Unicode: a little less work, if anything.
QString endStateScript(Database& db, const QString& taxa)
{
    QStringList deferred;
    QSqlQuery objects = db.query(
        QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE name IN ('scientific_name_key_idx', "
                       "'scientific_name_key_insert', 'scientific_name_fts_insert')"));
    QStringList drops;
    while (objects.next()) {
        drops << QStringLiteral("DROP %1 %2;")
                     .arg(objects.value(0).toString().toUpper(), objects.value(1).toString());
        deferred << objects.value(2).toString() + QLatin1Char(';');
    }
    return QStringLiteral(
               ".mode tabs\n.import '%1' t\n%2\nBEGIN;\n"
               "INSERT INTO scientific_name (scientific_name_id, scientific_name, formatted_scientific_name, "
               "author_name, d_name_category_id, d_classification_level_id, placeholder_name_ind, "
               "org_unit_id, "
               "key_number, rec_create_user, rec_create_date, scientific_name_key) SELECT t.rowid + 1000, "
               "t.n, "
               "t.n, t.a, c.d_name_category_id, l.d_classification_level_id, 'N', 1, t.rowid + 1000, "
               "'editor', "
               "datetime('now'), upper(t.n) FROM (SELECT rowid, CASE WHEN scientificNameAuthorship = '' THEN "
               "scientificName ELSE substr(scientificName, 1, length(scientificName) - "
               "length(scientificNameAuthorship) - 1) END AS n, nullif(scientificNameAuthorship, '') AS a, "
               "nameCategory, taxonRank FROM t) t LEFT JOIN d_name_category c ON c.name_category_desc = "
               "t.nameCategory LEFT JOIN d_classification_level l ON lower(l.classification_level_name) = "
               "t.taxonRank AND l.d_class_framework_id = c.d_class_framework_id;\n"
               "INSERT INTO audit_log (audit_log_id, audit_date, user_name, table_name, action, primary_key, "
               "org_unit_id) SELECT scientific_name_id + 5000000, datetime('now'), 'editor', "
               "'SCIENTIFIC_NAME', 'I', scientific_name_id, 1 FROM scientific_name;\n"
               "INSERT INTO scientific_name_fts (rowid, scientific_name_key) SELECT scientific_name_id, "
               "scientific_name_key FROM scientific_name ORDER BY scientific_name_id;\n"
               "COMMIT;\n%3\n")
        .arg(taxa, drops.join(QLatin1Char('\n')), deferred.join(QLatin1Char('\n')));
}

void BM_SqliteShellEndState(benchmark::State& state)
{
    const QString target = QDir(benchDir()).filePath("shell.sqlite");
    const QString script = QDir(benchDir()).filePath("end-state.sql");
    const QString taxa = QDir(benchDir()).filePath(QStringLiteral("names-%1/taxon.txt").arg(Names));
    for (auto _ : state) {
        state.PauseTiming();
        {
            auto db = emptyDatabase(target);
            QFile file(script);
            if (!file.open(QIODevice::WriteOnly))
                state.SkipWithError("the script cannot be written");
            file.write(endStateScript(*db, taxa).toUtf8());
        }
        state.ResumeTiming();
        QProcess shell;
        shell.setStandardInputFile(script);
        shell.start("sqlite3", {target});
        shell.waitForFinished(-1);
        state.PauseTiming();
        const QByteArray errors = shell.readAllStandardError();
        if (shell.exitCode() != 0 || !errors.isEmpty())
            state.SkipWithError(errors.constData());
        Database db(DatabaseUrl::parse("sqlite:" + target), Database::Access::ReadOnly);
        if (db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name")).toLongLong() != Names)
            state.SkipWithError("the shell did not store every name");
        state.ResumeTiming();
    }
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

const QString PostgresBenchDatabase = QStringLiteral("bryx_bench_import");
const QString PostgresBenchEditor = QStringLiteral("bryx_bench_editor");

// A fresh PostgreSQL database of the schema with its code lists, roles and an editor; answers
// the editor's URL.
DatabaseUrl freshPostgresDatabase()
{
    const DatabaseUrl admin = DatabaseUrl::parse(qEnvironmentVariable("BRYX_BENCH_PG_URL"));
    {
        Database server(admin, Database::Access::ReadWrite);
        server.exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(PostgresBenchDatabase));
        // The installation's roles go with its database, to be made again for the new one.
        const ServerRoles old = ServerRoles::withPrefix(PostgresBenchDatabase);
        server.exec(QStringLiteral("DROP ROLE IF EXISTS %1, %2, %3, %4, %5")
                        .arg(old.admin, old.editor, old.viewer, old.reader, old.owner));
        server.exec(
            QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' LC_COLLATE 'C.UTF-8' "
                           "LC_CTYPE 'C.UTF-8'")
                .arg(PostgresBenchDatabase));
        if (server
                .scalar(QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = ?"),
                        {PostgresBenchEditor})
                .toInt()
            == 0)
            server.exec(
                QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %2")
                    .arg(PostgresBenchEditor, sqlLiteral(qEnvironmentVariable("BRYX_BENCH_PG_PASSWORD"))));
    }
    DatabaseUrl owner = admin;
    owner.databaseName = PostgresBenchDatabase;
    Database db(owner, Database::Access::ReadWrite);
    Schema::upgrade(db);
    SampleData::loadReferenceTables(db);
    const ServerRoles roles = ServerRoles::withPrefix(PostgresBenchDatabase);
    roles.install(db);
    ServerUsers::add(db, {PostgresBenchEditor, QStringLiteral("editor"), {}, {}, {}});
    DatabaseUrl editor = owner;
    editor.user = PostgresBenchEditor;
    return editor;
}

void BM_PostgresImport(benchmark::State& state)
{
    StageClock clock;
    for (auto _ : state) {
        state.PauseTiming();
        const DatabaseUrl url = freshPostgresDatabase();
        Database db(url, Database::Access::ReadWrite);
        const UserSession user = UserSession::load(db, PostgresBenchEditor);
        state.ResumeTiming();
        importTimed(state, clock, db, user, archiveOf(Names));
    }
    clock.report(state);
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_PsqlCopyEndState(benchmark::State& state)
{
    const QString taxa = QDir(benchDir()).filePath(QStringLiteral("names-%1/taxon.txt").arg(Names));
    const QString script = QDir(benchDir()).filePath("copy-end-state.sql");
    {
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return state.SkipWithError("the script cannot be written");
        file.write(
            QStringLiteral(
                "CREATE TEMP TABLE t (taxon_id text, scientific_name text, authorship text, rank text, code "
                "text, kingdom text, status text, accepted text, original text, published_in text, "
                "published_in_id text, published_in_year text, category text, relationship text);\n"
                "\\copy t FROM '%1' WITH (FORMAT text, HEADER true)\n"
                "BEGIN;\n"
                "INSERT INTO scientific_name (scientific_name_id, scientific_name, "
                "formatted_scientific_name, "
                "author_name, d_name_category_id, d_classification_level_id, placeholder_name_ind, "
                "org_unit_id, key_number, rec_create_user, rec_create_date) SELECT t.n + 1000, t.name, "
                "t.name, t.author, c.d_name_category_id, l.d_classification_level_id, 'N', 1, t.n + 1000, "
                "current_user, now() FROM (SELECT row_number() OVER () AS n, CASE WHEN authorship = '' "
                "THEN scientific_name ELSE left(scientific_name, length(scientific_name) - "
                "length(authorship) - 1) END AS name, nullif(authorship, '') AS author, category, rank "
                "FROM t) t LEFT JOIN d_name_category c ON c.name_category_desc = t.category LEFT JOIN "
                "d_classification_level l ON lower(l.classification_level_name) = t.rank AND "
                "l.d_class_framework_id = c.d_class_framework_id;\n"
                "COMMIT;\n")
                .arg(taxa)
                .toUtf8());
    }
    for (auto _ : state) {
        state.PauseTiming();
        const DatabaseUrl url = freshPostgresDatabase();
        state.ResumeTiming();
        QProcess psql;
        psql.setStandardInputFile(script);
        psql.setStandardOutputFile(QProcess::nullDevice());
        psql.start("psql",
                   {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-h", url.host, "-p", QString::number(url.port),
                    "-U", url.user, "-d", url.databaseName});
        psql.waitForFinished(-1);
        state.PauseTiming();
        if (psql.exitCode() != 0)
            state.SkipWithError(psql.readAllStandardError().constData());
        Database db(url, Database::Access::ReadOnly);
        if (db.scalar(QStringLiteral("SELECT count(*) FROM scientific_name")).toLongLong() != Names)
            state.SkipWithError("psql did not store every name");
        state.ResumeTiming();
    }
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_AuthorshipSplit(benchmark::State& state)
{
    QFile file(QDir(benchDir()).filePath(QStringLiteral("names-%1/taxon.txt").arg(Names)));
    if (!file.open(QIODevice::ReadOnly))
        return state.SkipWithError("no unpacked archive");
    std::vector<std::pair<QString, QString>> written; // name as written, its authorship
    QTextStream lines(&file);
    lines.readLine();
    while (!lines.atEnd()) {
        const QStringList cells = lines.readLine().split(QLatin1Char('\t'));
        if (cells.size() > 2)
            written.emplace_back(cells[1], cells[2]);
    }
    qint64 right = 0;
    for (auto _ : state) {
        right = 0;
        for (const auto& [name, author] : written) {
            const NameAndAuthor split = AuthorshipSplitter::split(name, {});
            right += split.author == author ? 1 : 0;
        }
    }
    state.counters["names_per_s"] =
        benchmark::Counter(double(written.size()), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["share_right"] = double(right) / double(written.size());
}

// Counts what a reader hands over, and nothing more.
class CountingSink final : public ChecklistSink {
public:
    void name(const ChecklistName& row) override { names += row.nameAndAuthor().name.isEmpty() ? 0 : 1; }
    void reference(const ChecklistReference&) override { }
    void link(const ChecklistLink&) override { }
    void badRow(const RowOrigin&, const QString&) override { }
    void warning(const RowOrigin&, const QString&, const QString&) override { }
    void progress(qint64, qint64) override { }
    int64_t names = 0;
};

// The import's reading stage alone: the zipped archive unpacked, parsed and its names split on
// the reader's thread, handed to a sink that only counts them; what the staging adds on top of
// this is the import's read_s less this.
void BM_ReadChecklist(benchmark::State& state)
{
    for (auto _ : state) {
        const ArchiveFolder package(archiveOf(Names));
        const DwcaChecklistReader reader(package);
        CountingSink sink;
        ChecklistPipe::run([&](ChecklistSink& pipe) { reader.read(pipe); }, sink);
        if (sink.names != Names)
            state.SkipWithError("not every name was read");
    }
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ImportChecklist(benchmark::State& state)
{
    const QString source = state.range(0) == 0
        ? archiveOf(Names)
        : QDir(benchDir()).filePath(QStringLiteral("names-%1").arg(Names));
    StageClock clock;
    for (auto _ : state) {
        state.PauseTiming();
        auto db = emptyDatabase(QDir(benchDir()).filePath("imported.sqlite"));
        const UserSession user = UserSession::load(*db, "editor");
        state.ResumeTiming();
        importTimed(state, clock, *db, user, source);
    }
    clock.report(state);
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ExportChecklist(benchmark::State& state)
{
    Database db(DatabaseUrl::parse("sqlite:" + databaseOf(Names)), Database::Access::ReadOnly);
    const QString target = QDir(benchDir()).filePath("exported.zip");
    for (auto _ : state) {
        const ExportSummary summary =
            ChecklistExporter(db).exportTo(target, ChecklistFormat::DarwinCoreArchive);
        if (summary.names != Names)
            state.SkipWithError("not every name was exported");
    }
    state.counters["names_per_s"] =
        benchmark::Counter(double(Names), benchmark::Counter::kIsIterationInvariantRate);
}

// Peak memory of a whole bryx-db import in a process of its own.
void BM_ImportMemory(benchmark::State& state)
{
    const int64_t names = state.range(0);
    const QString target = QDir(benchDir()).filePath("memory.sqlite");
    long peakKib = 0;
    for (auto _ : state) {
        state.PauseTiming();
        emptyDatabase(target);
        state.ResumeTiming();
        const QByteArray program = BRYX_DB_PATH;
        const QByteArray database = ("sqlite:" + target).toUtf8();
        const QByteArray archive = archiveOf(names).toUtf8();
        const pid_t child = fork();
        if (child == 0) {
            const int quiet = ::open("/dev/null", O_WRONLY);
            dup2(quiet, STDOUT_FILENO);
            execl(program.constData(), "bryx-db", "import", "--database", database.constData(),
                  archive.constData(), static_cast<char*>(nullptr));
            _exit(127);
        }
        int status = 0;
        rusage usage {};
        wait4(child, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            state.SkipWithError("bryx-db import failed");
        peakKib = usage.ru_maxrss;
    }
    state.counters["peak_MiB"] = double(peakKib) / 1024.0;
    state.counters["names_per_s"] =
        benchmark::Counter(double(names), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    prepare(FewerNames);
    prepare(Names);
    auto seconds = [](benchmark::internal::Benchmark* b) {
        b->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(3);
    };
    seconds(benchmark::RegisterBenchmark("BM_SqliteShellEndState", BM_SqliteShellEndState));
    seconds(benchmark::RegisterBenchmark("BM_SqliteShellImport", BM_SqliteShellImport));
    seconds(benchmark::RegisterBenchmark("BM_ReadChecklist", BM_ReadChecklist));
    seconds(benchmark::RegisterBenchmark("BM_ImportChecklist", BM_ImportChecklist)->Arg(0)->Arg(1));
    seconds(benchmark::RegisterBenchmark("BM_ExportChecklist", BM_ExportChecklist));
    seconds(benchmark::RegisterBenchmark("BM_ImportMemory", BM_ImportMemory)->Arg(FewerNames)->Arg(Names));
    seconds(benchmark::RegisterBenchmark("BM_AuthorshipSplit", BM_AuthorshipSplit));
    if (!qEnvironmentVariableIsEmpty("BRYX_BENCH_PG_URL")) {
        seconds(benchmark::RegisterBenchmark("BM_PsqlCopyEndState", BM_PsqlCopyEndState));
        seconds(benchmark::RegisterBenchmark("BM_PostgresImport", BM_PostgresImport));
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
