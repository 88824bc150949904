#include "common/LookupLists.h"

#include "../../mocks/HostMocks.h"
#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "controls/ListSink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;
using ::testing::_;
using ::testing::InSequence;
using ::testing::Return;
using ::testing::Throw;

// Every host contract has a complete mock for the components' unit tests.
static_assert(
    !std::is_abstract_v<
        MockAppManager> && !std::is_abstract_v<MockWindowManager> && !std::is_abstract_v<MockHostWindow> && !std::is_abstract_v<MockScientificNameRecord> && !std::is_abstract_v<MockLookupList> && !std::is_abstract_v<MockReferenceLinks> && !std::is_abstract_v<MockReferenceLink> && !std::is_abstract_v<MockRecordExtension> && !std::is_abstract_v<MockQueryObject> && !std::is_abstract_v<MockDataFramework> && !std::is_abstract_v<MockComponentCollection> && !std::is_abstract_v<MockUserOption> && !std::is_abstract_v<MockUserOptionCategory> && !std::is_abstract_v<MockReference> && !std::is_abstract_v<MockAuditComment> && !std::is_abstract_v<MockMenuBuilder> && !std::is_abstract_v<MockViewManager>);

namespace {

class MockListSink : public ListSink {
public:
    MOCK_METHOD(void, Clear, (), (override));
    MOCK_METHOD(void, AddItem, (const QString&), (override));
};

class RecordingList : public ListSink {
public:
    void Clear() override { items.clear(), ++clears; }
    void AddItem(const QString& item) override { items.push_back(item); }
    std::vector<QString> items;
    int clears = 0;
};

std::shared_ptr<Recordset> categories(std::vector<std::vector<QVariant>> rows)
{
    return makeRecordset(
        {{"D_NAME_CATEGORY_ID", DataType::Integer, 4}, {"NAME_CATEGORY_DESC", DataType::VarWChar, 80}}, rows);
}

} // namespace

TEST(LoadNameCategories, AsksTheHostForTheExactStatementThenClearsAndRefills)
{
    MockAppManager host;
    MockListSink list;
    const QString expected =
        "SELECT * FROM D_NAME_CATEGORY WHERE NAME_TYPE_CD='A' ORDER BY DISPLAY_ORDER, NAME_TYPE_DESC";
    {
        InSequence order;
        EXPECT_CALL(host, CallGetQueryRSXML(::testing::Eq(expected)))
            .WillOnce(Return(categories({{1, "Vertebrate Animal"}, {2, "Invertebrate Animal"}})));
        EXPECT_CALL(list, Clear());
        EXPECT_CALL(list, AddItem(QString("Vertebrate Animal")));
        EXPECT_CALL(list, AddItem(QString("Invertebrate Animal")));
    }
    LoadNameCategories(host, list, "A");
}

TEST(LoadNameCategories, AnEmptyAnswerEmptiesTheListAndAFailingHostLeavesItAlone)
{
    MockAppManager host;
    RecordingList list;
    list.items = {"stale"};
    EXPECT_CALL(host, CallGetQueryRSXML(_))
        .WillOnce(Return(categories({})))
        .WillOnce(Throw(Error(3709, "The connection cannot be used")))
        .WillOnce(Return(nullptr));
    LoadNameCategories(host, list, "P");
    EXPECT_TRUE(list.items.empty());

    list.items = {"kept"};
    EXPECT_BRYX_ERROR(LoadNameCategories(host, list, "P"), 3709);
    EXPECT_BRYX_ERROR(LoadNameCategories(host, list, "P"), ErrorNumber::ObjectClosed);
    EXPECT_EQ(list.items, std::vector<QString> {"kept"});
}

TEST(LoadClassificationLevels, SendsTheJoinedStatementAndAddsWithoutClearing)
{
    MockAppManager host;
    RecordingList list;
    list.items = {"already there"};
    const QString expected =
        "SELECT * FROM    D_CLASSIFICATION_LEVEL, D_CLASSIFICATION_FRAMEWORK, D_NAME_CATEGORY "
        "WHERE D_CLASSIFICATION_LEVEL.D_CLASS_FRAMEWORK_ID=D_CLASSIFICATION_FRAMEWORK."
        "D_CLASSIFICATION_FRAMEWORK_ID      AND D_CLASSIFICATION_FRAMEWORK."
        "D_CLASSIFICATION_FRAMEWORK_ID=D_NAME_CATEGORY.D_CLASS_FRAMEWORK_ID      AND "
        "D_CLASSIFICATION_LEVEL.LOWER_LEVEL_IND='Y'      AND D_NAME_CATEGORY.NAME_CATEGORY_DESC="
        "'Vascular Plant'ORDER BY D_CLASSIFICATION_LEVEL.DISPLAY_ORDER, "
        "D_CLASSIFICATION_LEVEL.CLASSIFICATION_LEVEL_NAME";
    auto levels = makeRecordset({{"Classification_Level_Name", DataType::VarWChar, 40}},
                                {{"Species"}, {"Subspecies"}, {"Variety"}});
    EXPECT_CALL(host, CallGetQueryRSXML(::testing::Eq(expected))).WillOnce(Return(levels));
    LoadClassificationLevels(host, list, "Vascular Plant");
    EXPECT_EQ(list.items, (std::vector<QString> {"already there", "Species", "Subspecies", "Variety"}));
    EXPECT_EQ(list.clears, 0);

    EXPECT_CALL(host, CallGetQueryRSXML(_)).Times(0);
    LoadClassificationLevels(host, list, "");
}

TEST(FillComboFromRecordset, PairsKeysWithItemsAndIgnoresEmptyOrMissingTargets)
{
    auto rs = categories({{7, "Moss"}, {8, QVariant()}, {9, "Lichen"}});
    RecordingList list;
    Collection keys;
    rs->MoveLast(); // filling starts from the first row wherever the cursor is
    FillComboFromRecordset(*rs, &list, "Name_Category_Desc", "D_Name_Category_ID", &keys);
    EXPECT_EQ(list.items, (std::vector<QString> {"Moss", "", "Lichen"}));
    ASSERT_EQ(keys.Count(), 3);
    EXPECT_EQ(keys.Item(3), QVariant(9));

    rs->MoveLast();
    rs->MoveNext(); // at EOF: the list is left unchanged
    FillComboFromRecordset(*rs, &list, "Name_Category_Desc", "Name_Category_Desc", nullptr);
    EXPECT_EQ(list.items.size(), 3u);
    rs->MoveFirst();
    FillComboFromRecordset(*rs, nullptr, "Name_Category_Desc", "Name_Category_Desc", nullptr);
    EXPECT_BRYX_ERROR(FillComboFromRecordset(*rs, &list, "Missing", "Missing", nullptr),
                      ErrorNumber::ItemNotFound);
}
