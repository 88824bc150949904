// Searches for text anywhere in a name, answered from the engine's trigram index: exactly the
// rows a row-by-row comparison gives, whatever the text, and an index that stays in step.
#include "../support/QtPrinters.h"
#include "SearchStatement.h"
#include "TestDatabase.h"
#include "common/SqlText.h"
#include "db/Schema.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "services/SqlAppManager.h"
#include "services/SqliteStatement.h"

#include <QRegularExpression>
#include <QSqlQuery>
#include <algorithm>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

// Names whose texts a pattern could trip over, beside the sample's.
const char* const AwkwardNames[] = {
    "O'Neil's grass",
    "Carex 100% sp.",
    "Poa_annua var. nana",
    "Isoëtes lacustris",
    "Æsculus hippocastanum",
    "Straße wall moss",
    "Ab",
    "Abies ×borisii-regis",
    "Dryas octopetala",
    "octopetala Dryas",
};

// The ID of every stored name of a type whose upper-case text matches a LIKE pattern,
// worked out here one name at a time.
QList<int> matchingOneByOne(Database& db, const QString& pattern, const QString& nameType)
{
    QString expression;
    for (const QChar c : pattern)
        expression += c == QLatin1Char('%') ? QStringLiteral(".*")
            : c == QLatin1Char('_')         ? QStringLiteral(".")
                                            : QRegularExpression::escape(QString(c));
    const QRegularExpression like(QRegularExpression::anchoredPattern(expression),
                                  QRegularExpression::DotMatchesEverythingOption);
    QList<int> ids;
    QSqlQuery all =
        db.query("SELECT ID, Scientific_Name FROM scientific_srch_vw WHERE Name_Type = ?", {nameType});
    while (all.next()) {
        if (like.match(upperCaseForSql(all.value(1).toString())).hasMatch())
            ids << all.value(0).toInt();
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

QList<int> idsOf(Recordset& rows)
{
    QList<int> ids;
    if (rows.RecordCount() > 0) {
        for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext())
            ids << rows.Fields(QStringLiteral("ID")).Value().toInt();
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

// The index is sound, and finds every name long enough by its first and its last trigram (the
// engine's own check does not compare the index with the names it was made from).
void checkTextIndex(Database& db)
{
    db.exec("INSERT INTO scientific_name_fts (scientific_name_fts) VALUES ('integrity-check')");
    for (const char* start : {"1", "-3"}) {
        const QString unfound =
            QString::fromLatin1(
                "SELECT count(*) FROM scientific_name n WHERE length(n.scientific_name_key) >= 3 AND "
                "n.scientific_name_id NOT IN (SELECT rowid FROM scientific_name_fts WHERE "
                "scientific_name_fts "
                "MATCH '\"' || replace(substr(n.scientific_name_key, %1, 3), '\"', '\"\"') || '\"')")
                .arg(QLatin1String(start));
        EXPECT_EQ(db.scalar(unfound).toInt(), 0) << "names the index does not find by trigram " << start;
    }
}

class NameTextIndex : public OnEachEngineWithHost { };

TEST_P(NameTextIndex, ContainsEndsWithAndWildcardFindWhatAComparisonOfEveryNameFinds)
{
    auto db = database->openAsAdmin();
    int32_t id = 900000;
    for (const char* name : AwkwardNames)
        db->exec("INSERT INTO scientific_name (scientific_name_id, scientific_name, d_name_category_id) "
                 "VALUES (?, ?, 1)",
                 {++id, QString::fromUtf8(name)});
    const char* const texts[] = {"ies",   "IES",        "o'neil", "0%", "a_a",     "ëtes",
                                 "ÆSC",   "straße",     "ab",     "a",  "abies a", "×bor",
                                 "sis-r", "octopetala", "s sp.",  "%",  "_"};
    const std::pair<int, const char*> comparisons[] = {{0, "contains"}, {3, "ends with"}, {4, "wildcard"}};
    const std::pair<int, const char*> types[] = {{0, "P"}, {1, "A"}, {2, "C"}};
    for (const char* text : texts) {
        for (const auto& [comparison, label] : comparisons) {
            for (const auto& [type, code] : types) {
                const SearchCriteria criteria {type, {}, {}, comparison, QString::fromUtf8(text), {}};
                QString sql = BuildSearchSQL(criteria);
                SCOPED_TRACE(sql.toStdString());
                const QString upper = upperCaseForSql(QString::fromUtf8(text));
                const QString pattern = comparison == 0 ? "%" + upper + "%"
                    : comparison == 3                   ? "%" + upper
                                                        : upper;
                EXPECT_EQ(idsOf(*appManager->CallGetQueryRSXML(sql)), matchingOneByOne(*db, pattern, code))
                    << label << " " << text;
            }
        }
    }
    if (GetParam() == Dialect::SQLite) {
        EXPECT_NO_THROW(checkTextIndex(*db));
    }
}

TEST_P(NameTextIndex, TheIndexFollowsEveryChangeOfAName)
{
    if (GetParam() != Dialect::SQLite)
        GTEST_SKIP() << "PostgreSQL keeps its trigram index itself";
    auto db = database->openAsAdmin();
    auto found = [&](const QString& text) {
        QString sql = BuildSearchSQL(SearchCriteria {0, {}, {}, 0, text, {}});
        return appManager->CallGetQueryRSXML(sql)->RecordCount();
    };
    // What the index itself holds: the search checks its candidates, so it would hide a stale entry.
    auto indexed = [&](const char* trigram) {
        return db
            ->scalar(QString::fromLatin1("SELECT count(*) FROM scientific_name_fts WHERE "
                                         "scientific_name_fts MATCH '\"%1\"'")
                         .arg(QLatin1String(trigram)))
            .toInt();
    };
    db->exec("INSERT INTO scientific_name (scientific_name_id, scientific_name, d_name_category_id) "
             "VALUES (910001, 'Zyxworia nova', 1)");
    EXPECT_EQ(found("xwori"), 1);
    db->exec(
        "UPDATE scientific_name SET scientific_name = 'Zyxwaria nova' WHERE scientific_name_id = 910001");
    EXPECT_EQ(found("xwori"), 0);
    EXPECT_EQ(indexed("XWO"), 0);
    EXPECT_EQ(found("xwari"), 1);
    db->exec("UPDATE scientific_name SET author_name = 'L.' WHERE scientific_name_id = 910001");
    EXPECT_EQ(found("xwari"), 1) << "another column leaves the index alone";
    db->exec("UPDATE scientific_name SET scientific_name_id = 910002 WHERE scientific_name_id = 910001");
    EXPECT_EQ(found("xwari"), 1) << "a new ID moves the entry";
    db->exec("DELETE FROM scientific_name WHERE scientific_name_id = 910002");
    EXPECT_EQ(found("xwari"), 0);
    EXPECT_EQ(indexed("XWA"), 0);
    EXPECT_NO_THROW(checkTextIndex(*db));
    // The shell's own maintenance keeps it sound too.
    db->exec("REINDEX");
    db->exec("VACUUM");
    EXPECT_EQ(db->scalar("PRAGMA integrity_check").toString(), "ok");
    EXPECT_NO_THROW(checkTextIndex(*db));
}

TEST_P(NameTextIndex, AnOlderDatabaseIsIndexedByTheUpgrade)
{
    if (GetParam() != Dialect::SQLite)
        GTEST_SKIP() << "PostgreSQL has had its trigram index from the start";
    auto db = database->openAsAdmin();
    for (const char* statement :
         {"DROP TRIGGER scientific_name_fts_insert", "DROP TRIGGER scientific_name_fts_delete",
          "DROP TRIGGER scientific_name_fts_update", "DROP TABLE scientific_name_fts",
          "DELETE FROM schema_version WHERE version > 6"})
        db->exec(QString::fromLatin1(statement));
    QString sql = BuildSearchSQL(SearchCriteria {0, {}, {}, 0, "abie", {}});
    EXPECT_FALSE(Schema::check(*db).isEmpty());
    Schema::upgrade(*db);
    EXPECT_EQ(Schema::version(*db), Schema::CurrentVersion);
    EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();
    EXPECT_NO_THROW(checkTextIndex(*db));
    EXPECT_EQ(idsOf(*appManager->CallGetQueryRSXML(sql)), matchingOneByOne(*db, "%ABIE%", "P"));
    EXPECT_GE(matchingOneByOne(*db, "%ABIE%", "P").size(), 3);
}

INSTANTIATE_ON_EACH_ENGINE(NameTextIndex);

} // namespace
