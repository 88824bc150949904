#include "SearchStateXml.h"

#include "../support/QtPrinters.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::SearchStateXml;

TEST(SearchStateXml, WritesTheElementsInTheirOrderOnlyWhenTheyHoldSomething)
{
    EXPECT_EQ(BuildSearchState({}),
              QString("<BRYX><SEARCH_STATE control=\"BRYX_SCIENTIFICNAME.SEARCH\">"
                      "<NAME_TYPE_DESC>Botanical...</NAME_TYPE_DESC>"
                      "<COMPARISON_OPERATION>0</COMPARISON_OPERATION></SEARCH_STATE></BRYX>"));
    SearchCriteria everything;
    everything.nameTypeIndex = 2;
    everything.category = "Forest & Woodland";
    everything.classificationLevel = "Alliance";
    everything.idText = "42";
    everything.comparison = -1;
    everything.nameText = "<Quercus> o'neil";
    EXPECT_EQ(BuildSearchState(everything),
              QString("<BRYX><SEARCH_STATE control=\"BRYX_SCIENTIFICNAME.SEARCH\">"
                      "<NAME_TYPE_DESC>Ecological...</NAME_TYPE_DESC>"
                      "<NAME_CATEGORY>Forest &amp; Woodland</NAME_CATEGORY>"
                      "<CLASSIFICATION_LEVEL>Alliance</CLASSIFICATION_LEVEL><ID>42</ID>"
                      "<COMPARISON_OPERATION>-1</COMPARISON_OPERATION>"
                      "<SCIENTIFIC_NAME>&lt;Quercus> o'neil</SCIENTIFIC_NAME></SEARCH_STATE></BRYX>"));
    EXPECT_EQ(BuildSearchProperties(true),
              QString("<BRYX><SEARCH_PROPERTIES control=\"BRYX_SCIENTIFICNAME.SEARCH\">"
                      "<SAVE_ON_EXIT>True</SAVE_ON_EXIT></SEARCH_PROPERTIES></BRYX>"));
    EXPECT_TRUE(BuildSearchProperties(false).contains("<SAVE_ON_EXIT>False</SAVE_ON_EXIT>"));
}

TEST(SearchStateXml, ReadsBackWhatWasWrittenAndNothingFromForeignOrBrokenText)
{
    SearchCriteria criteria;
    criteria.nameTypeIndex = 1;
    criteria.nameText = "Ursus & <arctos>";
    criteria.comparison = 3;
    const auto state = ReadSearchState(BuildSearchState(criteria));
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->nameTypeDesc, std::optional<QString>("Zoological..."));
    EXPECT_EQ(state->scientificName, std::optional<QString>("Ursus & <arctos>"));
    EXPECT_EQ(state->comparison, std::optional<QString>("3"));
    EXPECT_FALSE(state->category.has_value());
    EXPECT_FALSE(state->id.has_value());

    for (const QString broken : {"", "not xml at all <", "<BRYX><SEARCH_STATE>",
                                 "<OTHER><SEARCH_STATE/></OTHER>", "<BRYX><SEARCH_PROPERTIES/></BRYX>"})
        EXPECT_FALSE(ReadSearchState(broken).has_value()) << broken.toStdString();
    // A document nested far past any saved search, or larger than any, is refused before a DOM
    // parser spends minutes or gigabytes on it.
    QString deep = "<BRYX><SEARCH_STATE><ID>7</ID>";
    for (int i = 0; i < 100'000; ++i)
        deep += "<x>";
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ReadSearchState(deep).has_value());
    EXPECT_LT(clock.elapsed(), 2000) << "refused at the depth limit, not parsed to the end";
    const QString huge = "<BRYX><SEARCH_STATE><ID>" + QString(5 << 20, u'7') + "</ID></SEARCH_STATE></BRYX>";
    EXPECT_FALSE(ReadSearchState(huge).has_value());
    // Found by path, not by position: other elements before it do not matter.
    EXPECT_TRUE(ReadSearchState("<BRYX><X/><SEARCH_STATE><ID>7</ID></SEARCH_STATE></BRYX>")->id
                == QString("7"));
}

TEST(SearchStateXml, SaveOnExitIsTrueOrFalseExactlyAndNothingElse)
{
    EXPECT_EQ(ReadSaveOnExit(BuildSearchProperties(true)), std::optional<bool>(true));
    EXPECT_EQ(ReadSaveOnExit(BuildSearchProperties(false)), std::optional<bool>(false));
    for (const QString other : {"TRUE", "false", "1", ""}) {
        const QString xml =
            "<BRYX><SEARCH_PROPERTIES><SAVE_ON_EXIT>" + other + "</SAVE_ON_EXIT></SEARCH_PROPERTIES></BRYX>";
        EXPECT_FALSE(ReadSaveOnExit(xml).has_value()) << other.toStdString();
    }
    EXPECT_FALSE(ReadSaveOnExit("<BRYX><SEARCH_PROPERTIES/></BRYX>").has_value());
    EXPECT_EQ(NameTypeIndex("Ecological..."), 2);
    EXPECT_EQ(NameTypeIndex("ecological..."), -1);
}
