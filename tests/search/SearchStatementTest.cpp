#include "SearchStatement.h"

#include "../support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace bryx;

namespace {
SearchCriteria criteria(int type, QString name, int comparison, QString category = {}, QString level = {},
                        QString id = {})
{
    return SearchCriteria {type,       std::move(category), std::move(level),
                           comparison, std::move(name),     std::move(id)};
}
} // namespace

TEST(BuildSearchSQL, ComposesTheStatementByteForByte)
{
    struct Case {
        SearchCriteria criteria;
        const char* expected;
    } cases[] = {
        {criteria(2, "abc", 0, "X", "Genus", "42"), "select * from scientific_srch_vw where ID='42'"},
        {criteria(1, "o'neil", 1),
         "select * from scientific_srch_vw where upper(scientific_name) = 'O''NEIL' and name_type='A' "},
        {criteria(2, "", 0, "X"), "select * from scientific_srch_vw where name_type='C'  and category='X'"},
        {criteria(0, "abc", 0),
         "select * from scientific_srch_vw where upper(scientific_name) like '%ABC%' and name_type='P' "},
        {criteria(0, "Abies", 2, "Vascular Plant", "Species"),
         "select * from scientific_srch_vw where upper(scientific_name) like 'ABIES%' and name_type='P'  and "
         "category='Vascular Plant' and classification_level='Species'"},
        {criteria(1, "idae", 3),
         "select * from scientific_srch_vw where upper(scientific_name) like '%IDAE' and name_type='A' "},
        {criteria(0, "ab_es*%", 4),
         "select * from scientific_srch_vw where upper(scientific_name) like 'AB_ES*%' and name_type='P' "},
        {criteria(0, "abc", -1), "select * from scientific_srch_vw where name_type='P' "},
        {criteria(0, "abc", 5), "select * from scientific_srch_vw where name_type='P' "},
        {criteria(7, "", 0), "select * from scientific_srch_vw where name_type='C' "},
        {criteria(0, "   ", 0),
         "select * from scientific_srch_vw where upper(scientific_name) like '%   %' and name_type='P' "},
        // Only the name text is prepared; the other texts go in as they stand.
        {criteria(0, "", 0, "O'Brien's", "L'évolution"),
         "select * from scientific_srch_vw where name_type='P'  and category='O'Brien's' and "
         "classification_level='L'évolution'"},
        {criteria(0, "x", 0, {}, {}, " 7"), "select * from scientific_srch_vw where ID=' 7'"},
        {criteria(0, "müll.arg. weiß", 1),
         "select * from scientific_srch_vw where upper(scientific_name) = 'MÜLL.ARG. WEIß' and "
         "name_type='P' "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(BuildSearchSQL(c.criteria), QString::fromUtf8(c.expected));
}

TEST(BuildNameCondition, RewritesFieldAndTextInPlace)
{
    QString field = "scientific_name";
    QString text = "d'orbigny";
    int mode = 2;
    EXPECT_EQ(BuildNameCondition(field, text, mode), QString("upper(scientific_name) like 'D''ORBIGNY%'"));
    EXPECT_EQ(field, QString("upper(scientific_name)"));
    EXPECT_EQ(text, QString("D''ORBIGNY"));
    EXPECT_EQ(mode, 2);

    // Out-of-range modes and empty texts give no condition, but the rewriting still happens.
    for (int outside : {-1, 5}) {
        QString f = "name";
        QString t = "a'b";
        EXPECT_EQ(BuildNameCondition(f, t, outside), QString());
        EXPECT_EQ(f, QString("upper(name)"));
        EXPECT_EQ(t, QString("A''B"));
    }
    QString f = "name";
    QString empty;
    int contains = 0;
    EXPECT_EQ(BuildNameCondition(f, empty, contains), QString());
}

TEST(HasSearchCriteria, CountsCategoryNameAndIdButNotTypeOrLevel)
{
    EXPECT_FALSE(HasSearchCriteria(criteria(1, "", 0)));
    EXPECT_FALSE(HasSearchCriteria(criteria(0, "   ", 0, "  ", "Species", " ")));
    EXPECT_TRUE(HasSearchCriteria(criteria(0, "a", 0)));
    EXPECT_TRUE(HasSearchCriteria(criteria(0, "", 0, "Moss")));
    EXPECT_TRUE(HasSearchCriteria(criteria(0, "", 0, {}, {}, "1")));
    EXPECT_TRUE(HasSearchCriteria(criteria(0, "\t", 0))); // only blanks are trimmed
}
