#include "../support/QtPrinters.h"
#include "SearchStatement.h"
#include "TestDatabase.h"
#include "db/NameGenerator.h"
#include "services/QueryRecordset.h"
#include "services/SqliteStatement.h"
#include "services/TrigramMatch.h"

#include <QSqlQuery>
#include <iostream>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

class QueryPlans : public OnEachEngine { };
INSTANTIATE_ON_EACH_ENGINE(QueryPlans);

// The plans are printed so that a run of the suite records them.
TEST_P(QueryPlans, NameSearchesUseTheUpperCaseIndexes)
{
    TestDatabase test(GetParam());
    auto db = test.open();
    const bool sqlite = GetParam() == Dialect::SQLite;
    // Plans are only telling on a table of some size with fresh statistics.
    NameGenerator::generate(*db, 20'000);
    test.openAsAdmin()->exec("ANALYZE");
    struct Case {
        const char* label;
        int comparison;
        const char* text;
        const char* sqliteIndex;
        const char* postgresIndex;
    } cases[] = {
        {"exact", 1, "Abies alba", "scientific_name_key_idx", "scientific_name_upper_idx"},
        {"begins with", 2, "Abies", "scientific_name_key_idx", "scientific_name_upper_idx"},
        {"contains", 0, "nordmann", "scientific_name_fts", "scientific_name_upper_trgm_idx"},
        {"ends with", 3, "magellanicum", "scientific_name_fts", "scientific_name_upper_trgm_idx"},
        {"wildcard", 4, "%agnum m_gellanicum", "scientific_name_fts", "scientific_name_upper_trgm_idx"},
    };
    for (const Case& c : cases) {
        QString sql = BuildSearchSQL(SearchCriteria {0, {}, {}, c.comparison, c.text, {}});
        if (sqlite)
            sql = SqliteStatement::adapted(sql);
        const QString shown = queryPlan(*db, sql);
        std::cout << "[" << (sqlite ? "SQLite" : "PostgreSQL") << " " << c.label << "] " << sql.toStdString()
                  << "\n"
                  << shown.toStdString() << "\n\n";
        const char* index = sqlite ? c.sqliteIndex : c.postgresIndex;
        if (index) {
            EXPECT_TRUE(shown.contains(QString::fromLatin1(index))) << c.label << ":\n"
                                                                    << shown.toStdString();
        }
    }
}

// A merge, a delete and a history each look up one name's resting names or audit rows; on a
// large database a scan would make every one of them take seconds.
TEST_P(QueryPlans, CurationLooksUpRestingNamesAndAuditRowsByIndex)
{
    TestDatabase test(GetParam());
    auto db = test.open();
    NameGenerator::generate(*db, 20'000);
    test.openAsAdmin()->exec("ANALYZE");
    // The generated names have no audit rows; PostgreSQL would rightly scan so small a trail, so
    // it is asked whether the index can serve the statement at all.
    if (GetParam() == Dialect::PostgreSQL)
        db->exec("SET enable_seqscan = off");
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT scientific_name_id, nomenclaturally_est_sn_id FROM scientific_name WHERE "
         "nomenclaturally_est_sn_id IN (1001,1002) AND scientific_name_id NOT IN (1001,1002)",
         "scientific_name_established_idx"},
        {"SELECT a.audit_log_id FROM audit_log a WHERE a.table_name = 'SCIENTIFIC_NAME' AND a.primary_key = "
         "1001 "
         "ORDER BY a.audit_date, a.audit_log_id",
         "audit_log_record_idx"},
    };
    for (const auto& [sql, index] : cases) {
        const QString shown = queryPlan(*db, QLatin1String(sql));
        EXPECT_TRUE(shown.contains(QLatin1String(index))) << sql << "\n" << shown.toStdString();
    }
}

TEST(QueryPlans, ThePrefixRangeIsAddedOnlyWhereItChangesNothing)
{
    const QString begins =
        "select * from scientific_srch_vw where upper(scientific_name) like 'O''NE%' and name_type='A' ";
    EXPECT_EQ(SqliteStatement::withPrefixRange(begins),
              QString("select * from scientific_srch_vw where upper(scientific_name) like 'O''NE%' and "
                      "upper(scientific_name) "
                      ">= 'O''NE' and upper(scientific_name) < 'O''NF' and name_type='A' "));
    for (const char* unchanged : {
             "select * from scientific_srch_vw where upper(scientific_name) like '%ABIES%' and "
             "name_type='P' ",
             "select * from scientific_srch_vw where upper(scientific_name) like 'AB_ES%' and name_type='P' ",
             "select * from scientific_srch_vw where upper(scientific_name) like 'AB%ES%' and name_type='P' ",
             "select * from scientific_srch_vw where upper(scientific_name) like 'ABIES' and name_type='P' ",
             "select * from scientific_srch_vw where ID='42'",
         })
        EXPECT_EQ(SqliteStatement::withPrefixRange(unchanged), QString(unchanged));
    EXPECT_EQ(
        SqliteStatement::withPrefixRange(
            "select * from scientific_srch_vw where upper(scientific_name) like 'MÜ%' and name_type='P' "),
        QString("select * from scientific_srch_vw where upper(scientific_name) like 'MÜ%' and "
                "upper(scientific_name) "
                ">= 'MÜ' and upper(scientific_name) < 'MÝ' and name_type='P' "));
}

TEST(QueryPlans, OnSQLiteTextAnywhereInANameIsLookedUpInTheTextIndexFirst)
{
    const QString keyed =
        "select ID, Scientific_Name, Author, Name_Type, Category, Classification_Level from "
        "scientific_srch_key_vw ";
    EXPECT_EQ(SqliteStatement::adapted("select * from scientific_srch_vw where upper(scientific_name) like "
                                       "'%O''NE%' and name_type='P' "),
              keyed
                  + "where ID in (select rowid from scientific_name_fts where scientific_name_fts match "
                    "'\"O''N\" \"''NE\"') and Scientific_Name_Key like '%O''NE%' and name_type='P' ");
    EXPECT_EQ(SqliteStatement::adapted("select * from scientific_srch_vw where upper(scientific_name) like "
                                       "'A_IES%BA' and name_type='P' "),
              keyed
                  + "where ID in (select rowid from scientific_name_fts where scientific_name_fts match "
                    "'\"IES\"') and Scientific_Name_Key like 'A_IES%BA' and name_type='P' ");
    // Runs shorter than three characters, and a begins-with search, keep the comparison alone.
    for (const char* unindexed : {"'%AB%'", "'%A_C%D%'", "'AB%'", "'ABIES%'", "'%Ö''%'"}) {
        const QString sql =
            QString("select * from scientific_srch_vw where upper(scientific_name) like %1 and "
                    "name_type='P' ")
                .arg(QString::fromUtf8(unindexed));
        EXPECT_FALSE(SqliteStatement::adapted(sql).contains("scientific_name_fts")) << unindexed;
    }
}

TEST(QueryPlans, TheTextIndexIsAskedForAFewTrigramsThatCoverEveryLongEnoughRun)
{
    // Side by side, and one more ending where the run ends; characters, not UTF-16 units.
    EXPECT_EQ(TrigramMatch::expression("%ELLA JAPONICA VAR%"), R"("ELL" "A J" "APO" "NIC" "A V" "VAR")");
    EXPECT_EQ(TrigramMatch::expression("ABIES%"), R"("ABI" "IES")");
    EXPECT_EQ(TrigramMatch::expression(QString::fromUtf8("%\U0001D49C\U0001D49D\U0001D49E%")),
              QString::fromUtf8("\"\U0001D49C\U0001D49D\U0001D49E\""));
    // A double quote is doubled inside its phrase; a trigram met twice is asked for once.
    EXPECT_EQ(TrigramMatch::expression("%A\"B%"), R"("A""B")");
    EXPECT_EQ(TrigramMatch::expression("%ANA%ANA_AN%"), R"("ANA")");
    for (const char* tooShort : {"", "%", "%AB%", "A_B%C", "__%%"})
        EXPECT_TRUE(TrigramMatch::expression(tooShort).isEmpty()) << tooShort;
}

TEST(QueryPlans, OnSQLiteNameComparisonsRunOnTheStoredKeyAndNothingElseChanges)
{
    EXPECT_EQ(
        SqliteStatement::adapted(
            "select * from scientific_srch_vw where upper(scientific_name) = 'ISOËTES' and name_type='P' "),
        QString("select ID, Scientific_Name, Author, Name_Type, Category, Classification_Level from "
                "scientific_srch_key_vw where Scientific_Name_Key = 'ISOËTES' and name_type='P' "));
    EXPECT_EQ(
        SqliteStatement::adapted("select * from scientific_srch_vw where upper(scientific_name) like 'AB%' "),
        QString("select ID, Scientific_Name, Author, Name_Type, Category, Classification_Level from "
                "scientific_srch_key_vw where Scientific_Name_Key like 'AB%' and Scientific_Name_Key >= "
                "'AB' and Scientific_Name_Key < 'AC' "));
    // The duplicate-name test reads the table itself; the author keeps the Unicode upper().
    EXPECT_EQ(
        SqliteStatement::adapted("select scientific_name_id from scientific_name where "
                                 "upper(scientific_name)='O''NEIL''S' and not scientific_name_id=7 and "
                                 "upper(author_name)='MÜLL.ARG.'"),
        QString("select scientific_name_id from scientific_name where scientific_name_key='O''NEIL''S' and "
                "not scientific_name_id=7 and upper(author_name)='MÜLL.ARG.'"));
    for (const char* unchanged : {
             "select * from scientific_srch_vw where ID='42'",
             "select * from scientific_srch_vw where upper(author) = 'UPPER(SCIENTIFIC_NAME)'",
             "select * from scientific_wl_vw where upper(scientific_name) = 'ABIES'",
             "select sn.scientific_name_id from scientific_name sn join reference r on 1=1 where "
             "upper(scientific_name) = 'X'",
             "select reference_id from reference where reference_id in (select reference_id from "
             "scientific_name where upper(scientific_name) = 'X')",
             "select * from scientific_srch_vw where ID in (select scientific_name_id from other where "
             "upper(scientific_name) = 'X')",
         })
        EXPECT_EQ(SqliteStatement::adapted(unchanged), QString(unchanged));
}
