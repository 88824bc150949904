#include "components/ReferenceSearch.h"

#include "../support/QtPrinters.h"
#include "TestDatabase.h"
#include "db/ReferenceGenerator.h"
#include "db/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <iostream>

using namespace bryx;
using namespace bryx::host;
using namespace bryx::test;

namespace {

using TextIndex = ReferenceSearch::TextIndex;

TextIndex indexOf(Dialect dialect)
{
    return dialect == Dialect::SQLite ? TextIndex::FullTextTable : TextIndex::TrigramIndexes;
}

QStringList codesFound(Database& db, const QString& sql)
{
    QSqlQuery query(db.sql());
    if (!query.exec(sql))
        ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
    QStringList codes;
    while (query.next())
        codes << query.value(1).toString();
    return codes;
}

// What the search must find, worked out without any index: every term a case-blind substring.
QStringList codesContaining(Database& db, const QString& code, const QString& words)
{
    QStringList codes;
    QSqlQuery query(db.sql());
    query.exec(QStringLiteral("select reference_code, full_citation from reference order by reference_code"));
    while (query.next()) {
        const QString rowCode = query.value(0).toString();
        const QString citation = query.value(1).toString();
        bool all = code.isEmpty() || rowCode.contains(code, Qt::CaseInsensitive);
        for (const QString& word : words.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            all = all && citation.contains(word, Qt::CaseInsensitive);
        if (all)
            codes << rowCode;
    }
    return codes;
}

void addReference(Database& db, int id, const QString& code, const QString& citation)
{
    db.exec(QStringLiteral(
                "INSERT INTO reference (reference_id, reference_code, full_citation) VALUES (?, ?, ?)"),
            {id, code, citation});
}

} // namespace

class ReferenceSearches : public OnEachEngine { };
INSTANTIATE_ON_EACH_ENGINE(ReferenceSearches);

TEST_P(ReferenceSearches, FindTheCodeAndEveryWordAnywhereWhateverTheCase)
{
    TestDatabase test(GetParam());
    auto db = test.open();
    addReference(*db, 900001, "OBRI1999",
                 "O'Brien, K. 1999. The \"little\" ferns of Isoëtes LACUSTRIS lakes.");
    addReference(*db, 900002, "MULL1901", "Müller, J. 1901. Über Farne. Flora 84: 1-20.");
    addReference(*db, 900003, "PCT-1", "Anon. 2001. 100% of the sedges_ of Jämtland.");
    struct Case {
        const char* code;
        const char* words;
    } cases[] = {
        {"", "o'brien"}, // a quote in the text
        {"", "\"little\" ferns"},
        {"", "ns\"lit"}, // double quotes are text too
        {"", "isoËtes lacus"}, // accented letters in either case
        {"", "MÜLLER über"},
        {"", "of"}, // shorter than the index's three letters
        {"ull", "farne"}, // the code anywhere in the code
        {"LINN", ""},
        {"", "spec plant"},
        {"", "sedges_ 100%"}, // wildcards the user typed
        {"", "nowhere-to-be-found"},
        {"", "Linnaeus Stockholm 1753"},
    };
    for (const Case& c : cases) {
        const QString code = QString::fromUtf8(c.code);
        const QString words = QString::fromUtf8(c.words);
        const QString sql = ReferenceSearch::SearchSQL(code, words, indexOf(GetParam()));
        QStringList expected = codesContaining(*db, code, words);
        const QStringList found = codesFound(*db, sql);
        // The wildcards keep their LIKE meaning, so those rows may be more than the literal texts.
        if (words.contains(QLatin1Char('%')))
            EXPECT_TRUE(found.contains(QStringLiteral("PCT-1"))) << sql.toStdString();
        else
            EXPECT_EQ(found, expected) << c.code << " / " << c.words << "\n" << sql.toStdString();
    }
    EXPECT_EQ(codesFound(*db, ReferenceSearch::SearchSQL("", "o'brien", indexOf(GetParam()))),
              QStringList {"OBRI1999"});
}

TEST_P(ReferenceSearches, TheIndexFollowsEveryChangeToTheReferences)
{
    TestDatabase test(GetParam(), false);
    auto db = test.open();
    const TextIndex index = indexOf(GetParam());
    addReference(*db, 900001, "NEW1", "Newly, A. 2020. Sphagnum of bogs.");
    EXPECT_EQ(codesFound(*db, ReferenceSearch::SearchSQL("", "sphagnum", index)), QStringList {"NEW1"});
    // References are kept by their own module; only the administrator changes them here.
    auto admin = test.openAsAdmin();
    admin->exec(QStringLiteral("UPDATE reference SET full_citation = 'Newly, A. 2020. Carex of fens.' WHERE "
                               "reference_id = 900001"));
    EXPECT_TRUE(codesFound(*db, ReferenceSearch::SearchSQL("", "sphagnum", index)).isEmpty());
    EXPECT_EQ(codesFound(*db, ReferenceSearch::SearchSQL("new", "carex", index)), QStringList {"NEW1"});
    admin->exec(QStringLiteral("DELETE FROM reference WHERE reference_id = 900001"));
    EXPECT_TRUE(codesFound(*db, ReferenceSearch::SearchSQL("", "carex", index)).isEmpty());
}

TEST_P(ReferenceSearches, AnUpgradedDatabaseIndexesTheReferencesItAlreadyHas)
{
    TestDatabase test(GetParam());
    auto db = test.openAsAdmin();
    // Back to version 3: the references are there, their index is not.
    if (GetParam() == Dialect::SQLite) {
        for (const char* name : {"reference_fts_insert", "reference_fts_update", "reference_fts_delete"})
            db->exec(QStringLiteral("DROP TRIGGER %1").arg(QLatin1String(name)));
        db->exec(QStringLiteral("DROP TABLE reference_fts"));
    } else {
        db->exec(QStringLiteral("DROP INDEX reference_code_upper_trgm_idx"));
        db->exec(QStringLiteral("DROP INDEX reference_citation_upper_trgm_idx"));
    }
    db->exec(QStringLiteral("DELETE FROM schema_version WHERE version >= 4"));
    Schema::upgrade(*db);
    EXPECT_EQ(Schema::version(*db), Schema::CurrentVersion);
    EXPECT_TRUE(Schema::check(*db).isEmpty()) << Schema::check(*db).join("; ").toStdString();
    const QStringList found =
        codesFound(*db, ReferenceSearch::SearchSQL("", "species plantarum", indexOf(GetParam())));
    EXPECT_EQ(found, codesContaining(*db, "", "species plantarum"));
    EXPECT_FALSE(found.isEmpty());
}

// The plans are printed so that a run of the suite records them.
TEST_P(ReferenceSearches, ContainsSearchesUseTheTextIndexes)
{
    TestDatabase test(GetParam(), false);
    auto db = test.open();
    ReferenceGenerator::generate(*db, 20'000);
    test.openAsAdmin()->exec("ANALYZE");
    const bool sqlite = GetParam() == Dialect::SQLite;
    // PostgreSQL prefers reading a table this small from end to end; what matters here is that
    // the statement can use the index, which it then chooses from about 100,000 references on.
    if (!sqlite)
        db->exec("SET enable_seqscan = off");
    const QString word = QString::fromLatin1(ReferenceGenerator::SampleJournalWord);
    for (const auto& [code, citationIndex] : {std::pair {QString(), "reference_citation_upper_trgm_idx"},
                                              std::pair {QString("ORA"), "_upper_trgm_idx"}}) {
        const QString sql = ReferenceSearch::SearchSQL(code, word, indexOf(GetParam()));
        const QString shown = queryPlan(*db, sql);
        std::cout << "[" << (sqlite ? "SQLite" : "PostgreSQL") << "] " << sql.toStdString() << "\n"
                  << shown.toStdString() << "\n\n";
        if (sqlite) {
            EXPECT_TRUE(shown.contains("VIRTUAL TABLE INDEX")) << shown.toStdString();
            EXPECT_FALSE(shown.split('\n').contains("SCAN reference")) << shown.toStdString();
        } else {
            EXPECT_TRUE(shown.contains(citationIndex)) << shown.toStdString();
            EXPECT_FALSE(shown.contains("Seq Scan")) << shown.toStdString();
        }
    }
    // About one reference in a thousand carries the journal word, and the code filter keeps some.
    const QStringList journalOnly =
        codesFound(*db, ReferenceSearch::SearchSQL("", word, indexOf(GetParam())));
    EXPECT_GT(journalOnly.size(), 5);
    EXPECT_LT(journalOnly.size(), 60);
    EXPECT_EQ(journalOnly, codesContaining(*db, "", word));
}
