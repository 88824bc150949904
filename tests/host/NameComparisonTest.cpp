// Names with letters beyond ASCII, compared as the components compare them: found by the same
// statements on SQLite and PostgreSQL, refused as duplicates, and - on SQLite - stored so that
// every other SQLite tool finds the file sound and may rebuild it without changing an answer.
#include "../support/QtPrinters.h"
#include "SearchStatement.h"
#include "TestDatabase.h"
#include "common/SqlText.h"
#include "data/SqlScientificNameRecord.h"
#include "db/NameGenerator.h"
#include "db/Schema.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"

#include <QSqlQuery>
#include <sqlite3.h>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

// A connection with nothing but SQLite's built-in functions, as the sqlite3 shell, a database
// browser or a backup script has.
class PlainSqlite {
public:
    explicit PlainSqlite(const QString& path)
    {
        if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            ADD_FAILURE() << "cannot open " << path.toStdString();
    }
    ~PlainSqlite() { sqlite3_close(m_db); }
    PlainSqlite(const PlainSqlite&) = delete;
    PlainSqlite& operator=(const PlainSqlite&) = delete;

    // Every row's first column, joined with "; "; the error message when the statement fails.
    QString run(const char* sql) const
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(m_db));
        QStringList rows;
        int step = SQLITE_ROW;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW)
            rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        if (step != SQLITE_DONE)
            return QStringLiteral("error: ") + QString::fromUtf8(sqlite3_errmsg(m_db));
        return rows.join(QStringLiteral("; "));
    }

private:
    sqlite3* m_db = nullptr;
};

SearchCriteria byName(int comparison, const QString& text, int nameType = 0)
{
    return SearchCriteria {nameType, {}, {}, comparison, text, {}};
}

constexpr int Contains = 0;
constexpr int ExactMatch = 1;
constexpr int BeginsWith = 2;

// "ID name|author" of every row a statement answers, in ID order.
QStringList rowsOf(SqlAppManager& appManager, const QString& statement)
{
    QString sql = statement;
    const auto rows = appManager.CallGetQueryRSXML(sql);
    QStringList found;
    if (rows->RecordCount() == 0)
        return found;
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        QString row;
        for (int field = 0; field < rows->FieldCount(); ++field)
            row += rows->Fields(field).Value().toString() + QLatin1Char('|');
        found << row;
    }
    found.sort();
    return found;
}

// The statement of the details editor's duplicate-name test for a name and author typed by
// the user, with the ID of the record being saved.
QString duplicateTest(const QString& name, const QString& author, int32_t savedId)
{
    return QStringLiteral("select scientific_name_id from scientific_name where upper(scientific_name)='")
        + upperCaseForSql(QString(name).replace('\'', "''")) + QStringLiteral("' and not scientific_name_id=")
        + QString::number(savedId) + QStringLiteral(" and upper(author_name)='")
        + upperCaseForSql(QString(author).replace('\'', "''")) + QLatin1Char('\'');
}

// Names the application writes besides the sample's: every kind of letter that upper-cases
// differently outside ASCII, and the hybrid sign that does not.
const char* const AccentedNames[][2] = {
    {"Carex ×boenninghauseniana", "Weihe"}, {"Ærva javanica", "(Burm.f.) Juss. ex Schult."},
    {"Cheiranthus ørstedii", "Çelebi"},     {"Rosa straßeri", "Hoffmannsegg"},
    {"Ranunculus éburneus", "Gaudin"},
};

} // namespace

class NameComparison : public OnEachEngineWithHost {
protected:
    int32_t saveNewName(const QString& name, const QString& author)
    {
        SqlScientificNameRecord record;
        record.Connect(appManager->GetServerName(), appManager->GetServerType());
        record.NewRecord(false, {});
        record.SetScientificName(name);
        record.SetAuthorName(author);
        record.SetField("DNameCategoryId", 1);
        record.SetField("DClassificationLevelId", 2);
        record.SetModifiedBy("editor");
        EXPECT_TRUE(record.Save()) << record.lastRefusal().toStdString();
        return record.ID();
    }
};
INSTANTIATE_ON_EACH_ENGINE(NameComparison);

TEST_P(NameComparison, NamesBeyondAsciiAreFoundByEveryComparisonAndRefusedAsDuplicates)
{
    for (const auto& [name, author] : AccentedNames)
        saveNewName(QString::fromUtf8(name), QString::fromUtf8(author));

    const int32_t isoetes = database->nameId("Isoëtes lacustris", "L.");
    ASSERT_GT(isoetes, 0) << "a fresh database holds the sample's accented names";
    EXPECT_EQ(rowsOf(*appManager, BuildSearchSQL(byName(ExactMatch, "isoëtes lacustris"))).size(), 1);
    EXPECT_EQ(rowsOf(*appManager, BuildSearchSQL(byName(ExactMatch, "ISOËTES LACUSTRIS"))).size(), 1);
    EXPECT_EQ(rowsOf(*appManager, BuildSearchSQL(byName(Contains, "soËtes"))).size(), 3)
        << "Isoëtes, Isoëtes lacustris, Isoëtes echinospora";
    EXPECT_EQ(rowsOf(*appManager, BuildSearchSQL(byName(BeginsWith, "isoë"))).size(), 3);
    EXPECT_EQ(rowsOf(*appManager, BuildSearchSQL(byName(Contains, "isoë", 2))).size(), 1)
        << "the association Isoëto-Lobelietum";
    for (const auto& [name, author] : AccentedNames) {
        const QString typed = QString::fromUtf8(name).toLower();
        EXPECT_EQ(rowsOf(*appManager, BuildSearchSQL(byName(ExactMatch, typed))).size(), 1) << name;
    }

    // The duplicate test finds the stored name however it is typed, and only with its author.
    EXPECT_EQ(rowsOf(*appManager, duplicateTest("isoëtes LACUSTRIS", "l.", 0)),
              QStringList {QString::number(isoetes) + '|'});
    EXPECT_TRUE(rowsOf(*appManager, duplicateTest("Isoëtes lacustris", "L.", isoetes)).isEmpty())
        << "a record is no duplicate of itself";
    EXPECT_TRUE(rowsOf(*appManager, duplicateTest("Isoëtes lacustris", "Durieu", 0)).isEmpty());
    EXPECT_EQ(rowsOf(*appManager, duplicateTest("cheiranthus ØRSTEDII", "çelebi", 0)).size(), 1);
}

TEST(NameComparisonOnBothEngines, TheSameStatementAnswersTheSameRowsOnSQLiteAndPostgreSQL)
{
    if (!TestDatabase::available(Dialect::PostgreSQL))
        GTEST_SKIP() << "no PostgreSQL server given (BRYX_TEST_PG_URL)";
    TestDatabase sqlite(Dialect::SQLite);
    TestDatabase postgres(Dialect::PostgreSQL);
    SqlAppManager onSqlite(sqlite.url(), "editor");
    SqlAppManager onPostgres(postgres.url(), "editor");
    const QString statements[] = {
        BuildSearchSQL(byName(ExactMatch, "isoëtes lacustris")),
        BuildSearchSQL(byName(Contains, "ë")),
        BuildSearchSQL(byName(Contains, "×")),
        BuildSearchSQL(byName(BeginsWith, "aloë")),
        QStringLiteral("select * from scientific_srch_vw where upper(author) like '%MÜLL%'"),
        BuildSearchSQL(byName(Contains, "abies")),
        BuildSearchSQL(byName(4, "%s_ëto%", 2)),
        duplicateTest("ALCHORNEA TRIPLINERVIA", "(spreng.) müll.arg.", 0),
        QStringLiteral("select * from scientific_srch_vw where upper(author) like '%SÉLYS%'"),
    };
    for (const QString& statement : statements) {
        const QStringList rows = rowsOf(onSqlite, statement);
        EXPECT_FALSE(rows.isEmpty()) << statement.toStdString();
        EXPECT_EQ(rows, rowsOf(onPostgres, statement)) << statement.toStdString();
    }
}

class NameComparisonOnSqlite : public ::testing::Test {
protected:
    TestDatabase test {Dialect::SQLite};
};

TEST_F(NameComparisonOnSqlite, AnotherSQLiteToolFindsTheFileSoundAndMayRebuildItWithoutChangingAnAnswer)
{
    {
        // The application stores, copies, deletes and generates names.
        SqlAppManager appManager(test.url(), "editor");
        int32_t saved = 0;
        for (const auto& [name, author] : AccentedNames) {
            SqlScientificNameRecord record;
            record.Connect(appManager.GetServerName(), appManager.GetServerType());
            record.NewRecord(false, {});
            record.SetScientificName(QString::fromUtf8(name));
            record.SetAuthorName(QString::fromUtf8(author));
            record.SetField("DNameCategoryId", 1);
            record.SetModifiedBy("editor");
            ASSERT_TRUE(record.Save()) << record.lastRefusal().toStdString();
            saved = record.ID();
        }
        QString user = "editor";
        ASSERT_TRUE(appManager.Copy("COPY_SNM", test.nameId("Aloë vera", "(L.) Burm.f."), saved, user));
        int32_t doomed = test.nameId("Isoëtes echinospora", "Durieu");
        ASSERT_TRUE(appManager.Delete("delete_table_data", doomed, user, "scientific_name"));
        auto db = test.open();
        NameGenerator::generate(*db, 2'000);
        EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();
    }

    {
        PlainSqlite shell(test.url().path);
        EXPECT_EQ(shell.run("PRAGMA integrity_check"), QString("ok"));
        EXPECT_EQ(shell.run("REINDEX"), QString());
        EXPECT_EQ(shell.run("VACUUM"), QString());
        EXPECT_EQ(shell.run("PRAGMA integrity_check"), QString("ok"));
        // Reading and changing other fields works; changing a name without the application
        // fails loudly instead of storing a key the application would not find.
        EXPECT_EQ(shell.run("UPDATE scientific_name SET author_name = 'L. 1753' WHERE scientific_name = "
                            "'Isoëtes lacustris'"),
                  QString());
        EXPECT_TRUE(shell
                        .run("UPDATE scientific_name SET scientific_name = 'Isoëtes lacustris var. x' "
                             "WHERE scientific_name = 'Isoëtes lacustris'")
                        .contains("bryx_name_key"));
        EXPECT_EQ(shell.run("PRAGMA integrity_check"), QString("ok"));
    }

    SqlAppManager appManager(test.url(), "editor");
    EXPECT_EQ(rowsOf(appManager, BuildSearchSQL(byName(ExactMatch, "isoëtes lacustris"))).size(), 1);
    EXPECT_EQ(rowsOf(appManager, BuildSearchSQL(byName(Contains, "isoëtes lacustris"))).size(), 1);
    EXPECT_EQ(rowsOf(appManager, BuildSearchSQL(byName(Contains, "aloë"))).size(), 2)
        << "Aloë vera, and the name its data was copied into";
    EXPECT_TRUE(rowsOf(appManager, BuildSearchSQL(byName(Contains, "éburn"))).isEmpty());
    EXPECT_TRUE(rowsOf(appManager, BuildSearchSQL(byName(ExactMatch, "isoëtes echinospora"))).isEmpty())
        << "deleted";
    EXPECT_EQ(rowsOf(appManager, duplicateTest("ISOËTES LACUSTRIS", "l. 1753", 0)).size(), 1)
        << "a second Isoëtes lacustris with the same author is refused";
    auto db = test.open();
    EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();
}

TEST_F(NameComparisonOnSqlite, AVersionOneFileIsUpgradedWithoutLosingARowAndCheckSaysHowToRepairIt)
{
    int names = 0;
    {
        // The earlier schema: upper() of the application indexed, no keys.
        auto db = test.open();
        NameGenerator::generate(*db, 1'000);
        names = db->scalar("SELECT count(*) FROM scientific_name").toInt();
        downgradeToVersionOne(*db);
    }
    {
        PlainSqlite shell(test.url().path);
        EXPECT_TRUE(shell.run("PRAGMA integrity_check").contains("scientific_name_upper_idx"))
            << "what the user saw from other tools";
        EXPECT_EQ(shell.run("REINDEX"), QString()); // now the index holds ASCII upper case
    }
    auto db = test.open();
    const QStringList problems = Schema::check(*db);
    EXPECT_TRUE(problems.join('\n').contains("disagrees with the application's comparison"))
        << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.join('\n').contains("bryx-db upgrade --database " + test.url().display()));

    Schema::upgrade(*db);
    EXPECT_EQ(Schema::version(*db), Schema::CurrentVersion);
    EXPECT_EQ(db->scalar("SELECT count(*) FROM scientific_name").toInt(), names) << "no row lost";
    EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();
    db.reset();
    EXPECT_EQ(PlainSqlite(test.url().path).run("PRAGMA integrity_check"), QString("ok"));
    SqlAppManager appManager(test.url(), "editor");
    EXPECT_EQ(rowsOf(appManager, BuildSearchSQL(byName(ExactMatch, "isoëtes lacustris"))).size(), 1);
}

TEST_F(NameComparisonOnSqlite, StaleKeysAreReportedAndRepaired)
{
    auto db = test.open();
    // Something that wrote past the triggers: a key that is not the name's upper case.
    db->exec(
        "UPDATE scientific_name SET scientific_name_key = 'ALOE VERA' WHERE scientific_name = 'Aloë vera'");
    SqlAppManager appManager(test.url(), "editor");
    EXPECT_TRUE(rowsOf(appManager, BuildSearchSQL(byName(ExactMatch, "aloë vera"))).isEmpty())
        << "what a stale key costs: the name is not found";
    const QStringList problems = Schema::check(*db);
    ASSERT_EQ(problems.size(), 1) << problems.join('\n').toStdString();
    EXPECT_TRUE(problems.first().startsWith("1 name(s) have a comparison key"));
    EXPECT_EQ(Schema::repairNameKeys(*db), 1);
    EXPECT_TRUE(Schema::check(*db).isEmpty());
    EXPECT_EQ(rowsOf(appManager, BuildSearchSQL(byName(ExactMatch, "aloë vera"))).size(), 1);
}

TEST_F(NameComparisonOnSqlite, EveryWayOfWritingANameLeavesItsRightKey)
{
    auto db = test.open();
    auto keyOf = [&](int id) {
        return db
            ->scalar("SELECT scientific_name_key FROM scientific_name WHERE scientific_name_id = ?", {id})
            .toString();
    };
    db->exec(
        "INSERT INTO scientific_name (scientific_name_id, scientific_name) VALUES (90001, 'Aloë ferox')");
    EXPECT_EQ(keyOf(90001), QString::fromUtf8("ALOË FEROX")) << "left out by the writer";
    db->exec("INSERT INTO scientific_name (scientific_name_id, scientific_name, scientific_name_key) VALUES "
             "(90002, 'Aloë ferox', 'ALOE FEROX')");
    EXPECT_EQ(keyOf(90002), QString::fromUtf8("ALOË FEROX")) << "a wrong key given is put right";
    db->exec("INSERT INTO scientific_name (scientific_name_id, scientific_name, scientific_name_key) VALUES "
             "(90003, 'Aloë ferox', bryx_name_key('Aloë ferox'))");
    EXPECT_EQ(keyOf(90003), QString::fromUtf8("ALOË FEROX"));
    db->exec("UPDATE scientific_name SET scientific_name = 'Aloë vera' WHERE scientific_name_id = 90003");
    EXPECT_EQ(keyOf(90003), QString::fromUtf8("ALOË VERA"));
    EXPECT_TRUE(Schema::check(*db).isEmpty());
}
