#include "util/RS_Functions.h"

#include "../../support/ErrorMatchers.h"
#include "../../support/FakeResultGrid.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/ScriptedMessageBox.h"

#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

std::shared_ptr<Recordset> searchResult()
{
    return makeNameList({{11, "Abies alba"},
                         {12, "Picea abies"},
                         {13, "Pinus sylvestris"},
                         {14, "Larix decidua"},
                         {15, "Taxus baccata"}});
}

FakeResultGrid gridOver(Recordset& result)
{
    std::vector<QString> rows;
    for (const int id : ids(result))
        rows.push_back(QString::number(id));
    result.MoveFirst();
    return FakeResultGrid(rows);
}

void expectNothingPending(Recordset& recordset)
{
    for (recordset.MoveFirst(); !recordset.IsEOF(); recordset.MoveNext())
        EXPECT_EQ(recordset.Status(), RecordStatus::Unmodified);
}

} // namespace

TEST(AddSelectedRows, AppendsSelectedRowsInSelectionOrderAndSkipsOnesAlreadyListed)
{
    auto source = searchResult();
    auto grid = gridOver(*source);
    auto target = makeNameList({{12, "Picea abies (kept as listed)"}, {99, "Quercus robur"}});

    grid.select({3, 1, 0}); // 14, 12 (already listed), 11
    RS_Functions::AddSelectedRows(grid, *source, *target);

    EXPECT_EQ(ids(*target), (std::vector<int> {12, 99, 14, 11}));
    target->MoveFirst();
    EXPECT_EQ(target->Fields("Scientific_Name").Value(), QVariant("Picea abies (kept as listed)"));
    target->Find("ID = 14");
    EXPECT_EQ(target->Fields("Author").Value(), QVariant("Author of Larix decidua"));
    expectNothingPending(*target);
    EXPECT_FALSE(target->Fields("ID").Optimize());
    EXPECT_FALSE(source->Fields("ID").Optimize());
}

TEST(AddSelectedRows, EdgeCasesLeaveTheTargetAsAUserWouldExpect)
{
    auto source = searchResult();
    auto grid = FakeResultGrid({"11", "12", "777", ""});

    auto target = makeNameList({{11, "Abies alba"}});
    grid.select({});
    RS_Functions::AddSelectedRows(grid, *source, *target);
    EXPECT_EQ(ids(*target), (std::vector<int> {11}));

    grid.select({0}); // everything selected is listed already: rows unchanged
    RS_Functions::AddSelectedRows(grid, *source, *target);
    EXPECT_EQ(ids(*target), (std::vector<int> {11}));

    grid.select({2, 1}); // 777 is not in the source: skipped without a message
    RS_Functions::AddSelectedRows(grid, *source, *target);
    EXPECT_EQ(ids(*target), (std::vector<int> {11, 12}));

    auto emptyTarget = makeNameList({});
    RS_Functions::AddSelectedRows(grid, *source, *emptyTarget);
    EXPECT_EQ(ids(*emptyTarget), (std::vector<int> {12}));

    auto emptySource = makeNameList({});
    RS_Functions::AddSelectedRows(grid, *emptySource, *target);
    EXPECT_EQ(ids(*target), (std::vector<int> {11, 12}));

    grid.select({3}); // an empty ID cell makes an unusable criteria: the caller hears of it
    EXPECT_BRYX_ERROR(RS_Functions::AddSelectedRows(grid, *source, *target), ErrorNumber::InvalidArgument);
}

TEST(AddSelectedRows, ATargetFieldMissingFromTheSourceFailsAfterKeepingEarlierRows)
{
    auto source = searchResult();
    auto grid = gridOver(*source);
    auto target = makeRecordset({{"ID", DataType::Integer, 4}, {"Category", DataType::VarWChar, 50}}, {});
    grid.select({0});
    EXPECT_TRUE(
        EXPECT_BRYX_ERROR(RS_Functions::AddSelectedRows(grid, *source, *target), ErrorNumber::ItemNotFound)
            .contains("Category"));
    EXPECT_EQ(target->RecordCount(), 1); // the row being added when it failed stays, uncopied

    EXPECT_BRYX_ERROR(
        RS_Functions::AddSelectedRows(grid, *source, *makeRecordset({{"Name", DataType::VarChar}}, {})),
        ErrorNumber::ItemNotFound);
    target->Close();
    EXPECT_BRYX_ERROR(RS_Functions::AddSelectedRows(grid, *source, *target), ErrorNumber::ObjectClosed);
}

TEST(ReplaceWithSelectedRows, HoldsExactlyTheSelectedRowsOrKeepsTheListWithoutASelection)
{
    auto source = searchResult();
    auto grid = gridOver(*source);
    auto target = makeNameList({{1, "x"}, {2, "y"}});

    grid.select({});
    RS_Functions::ReplaceWithSelectedRows(grid, *source, *target);
    EXPECT_EQ(ids(*target), (std::vector<int> {1, 2}));

    grid.select({4, 0, 2});
    RS_Functions::ReplaceWithSelectedRows(grid, *source, *target);
    EXPECT_EQ(ids(*target), (std::vector<int> {15, 11, 13}));
    EXPECT_EQ(target->FieldCount(), 3);
    expectNothingPending(*target);
}

TEST(CopyCurrentRow, BuildsAOneRowCopyWithTextColumnsExceptTheKeys)
{
    auto source = makeRecordset({{"ID", DataType::Integer, 4},
                                 {"Scientific_Name", DataType::VarWChar, 255},
                                 {"eo_number", DataType::BigInt, 8},
                                 {"Category_ID", DataType::Integer, 4}},
                                {{5, "Abies alba", 123456789012LL, 7}, {6, "Picea abies", QVariant(), 8}});
    auto grid = FakeResultGrid({"5", "6"});
    grid.setCurrentDataRow(1);
    std::shared_ptr<Recordset> target;
    RS_Functions::CopyCurrentRow(grid, *source, target);

    ASSERT_TRUE(target);
    EXPECT_EQ(target->RecordCount(), 1);
    EXPECT_EQ(target->GetEditMode(), EditMode::Add); // the new row stays current, no update issued
    EXPECT_EQ(target->Fields("ID").Type(), int(DataType::Integer));
    EXPECT_EQ(target->Fields("eo_number").Type(), int(DataType::BigInt));
    EXPECT_EQ(target->Fields("Category_ID").Type(), int(DataType::VarChar));
    EXPECT_EQ(target->Fields("Category_ID").DefinedSize(), 4);
    EXPECT_EQ(target->Fields("ID").Value(), QVariant(6));
    EXPECT_EQ(target->Fields("Category_ID").Value(), QVariant("8"));
    EXPECT_TRUE(target->Fields("eo_number").IsNull());
    EXPECT_FALSE(source->Fields("ID").Optimize());
}

TEST(CopyCurrentRow, LeavesTheTargetAloneWithoutDataRowsAndEmptyWhenTheIdIsGone)
{
    auto source = searchResult();
    auto previous = makeNameList({{1, "previous"}});

    auto target = previous;
    FakeResultGrid noRows({});
    noRows.setCurrentDataRow(0);
    RS_Functions::CopyCurrentRow(noRows, *source, target);
    EXPECT_EQ(target, previous);

    FakeResultGrid grid({"11"});
    RS_Functions::CopyCurrentRow(grid, *makeNameList({}), target);
    EXPECT_EQ(target, previous);

    FakeResultGrid stale({"404"});
    RS_Functions::CopyCurrentRow(stale, *source, target);
    ASSERT_NE(target, previous);
    EXPECT_EQ(target->RecordCount(), 0);
    EXPECT_EQ(target->FieldCount(), 3);
}

TEST(FindByID, PutsTheListOnTheNamesRowOrPastItsEnd)
{
    auto list = searchResult();
    list->MoveLast();
    EXPECT_TRUE(RS_Functions::FindByID(*list, 12)) << "found from anywhere, the rows before included";
    EXPECT_EQ(list->Fields("Scientific_Name").Value(), QVariant("Picea abies"));
    EXPECT_EQ(list->AbsolutePosition(), 2);
    EXPECT_FALSE(RS_Functions::FindByID(*list, 99));
    EXPECT_TRUE(list->IsEOF());

    list->SetFilter("ID > 12");
    EXPECT_FALSE(RS_Functions::FindByID(*list, 12)) << "a row the filter hides is not in the list";
    EXPECT_TRUE(RS_Functions::FindByID(*list, 15));

    RS_Functions::EmptyRecordset(*list);
    EXPECT_FALSE(RS_Functions::FindByID(*list, 11)) << "an empty list answers, it does not fail";
}

TEST(EmptyRecordset, DropsEveryRowAndKeepsFieldsOpenAndUnfiltered)
{
    auto rs = searchResult();
    rs->SetFilter("ID > 12");
    RS_Functions::EmptyRecordset(*rs);
    EXPECT_EQ(rs->State(), ObjectState::Open);
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(rs->Filter(), QString());
    EXPECT_EQ(rs->FieldCount(), 3);
    EXPECT_EQ(rs->Fields(1).DefinedSize(), 255);
    rs->AddNew(); // still usable
    rs->Fields("ID").SetValue(1);
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 1);

    auto noId = makeRecordset({{"Name", DataType::VarChar, 10}}, {{"a"}});
    EXPECT_BRYX_ERROR(RS_Functions::EmptyRecordset(*noId), ErrorNumber::ItemNotFound);
    EXPECT_EQ(noId->RecordCount(), 1);
}

TEST(MergeRecord, OverwritesTheRowWithTheSameIdOrAppendsOne)
{
    ScriptedMessageBox messages;
    auto list = searchResult();

    auto changed = makeNameList({{13, "Pinus sylvestris L."}});
    EXPECT_EQ(RS_Functions::MergeRecord(*changed, *list), 1);
    EXPECT_EQ(list->RecordCount(), 5);
    list->MoveFirst();
    list->Find("ID = 13");
    EXPECT_EQ(list->Fields("Scientific_Name").Value(), QVariant("Pinus sylvestris L."));

    auto created = makeNameList({{16, "Betula pendula"}});
    EXPECT_EQ(RS_Functions::MergeRecord(*created, *list), 1);
    EXPECT_EQ(ids(*list), (std::vector<int> {11, 12, 13, 14, 15, 16}));
    expectNothingPending(*list);

    auto intoEmpty = makeNameList({});
    EXPECT_EQ(RS_Functions::MergeRecord(*created, *intoEmpty), 1);
    EXPECT_EQ(ids(*intoEmpty), (std::vector<int> {16}));
    EXPECT_TRUE(messages.shown().empty());
}

TEST(MergeRecord, AnswersZeroForNothingToMergeAndMinusOneWithAMessageOnFailure)
{
    ScriptedMessageBox messages;
    auto list = searchResult();
    EXPECT_EQ(RS_Functions::MergeRecord(*makeNameList({}), *list), 0);
    Recordset closed;
    closed.AppendField("ID", DataType::Integer);
    EXPECT_EQ(RS_Functions::MergeRecord(closed, *list), 0);
    EXPECT_TRUE(messages.shown().empty());

    auto noAuthor =
        makeRecordset({{"ID", DataType::Integer, 4}, {"Scientific_Name", DataType::VarWChar, 255}},
                      {{20, "Fagus sylvatica"}});
    EXPECT_EQ(RS_Functions::MergeRecord(*noAuthor, *list), -1);
    ASSERT_EQ(messages.shown().size(), 1u);
    const auto& shown = messages.shown().front();
    EXPECT_EQ(shown.title, QString("Application Error"));
    EXPECT_EQ(shown.style, MsgBoxStyle::Information);
    EXPECT_TRUE(shown.prompt.startsWith("An error occurred while merging records.\n\n#3265: "))
        << shown.prompt.toStdString();
}

TEST(CreateEmptyCopy, KeepsTheFourKeyFieldsAndTurnsOtherNumbersIntoText)
{
    Recordset source;
    source.AppendField("id", DataType::Integer, 4, FieldAttribute::KeyColumn);
    source.AppendField("Uncertainty_Distance", DataType::Double, 8);
    source.AppendField("ELEMENT_SUBNATIONAL_ID", DataType::BigInt, 8);
    source.AppendField("Score", DataType::Double, 8, FieldAttribute::IsNullable);
    source.AppendField("Name", DataType::VarWChar, 120);
    source.Open();
    std::shared_ptr<Recordset> target = makeNameList({{1, "replaced"}});
    RS_Functions::CreateEmptyCopy(source, target);

    EXPECT_EQ(target->State(), ObjectState::Open);
    EXPECT_EQ(target->RecordCount(), 0);
    const std::pair<const char*, DataType> expected[] = {{"id", DataType::Integer},
                                                         {"Uncertainty_Distance", DataType::Double},
                                                         {"ELEMENT_SUBNATIONAL_ID", DataType::BigInt},
                                                         {"Score", DataType::VarChar},
                                                         {"Name", DataType::VarChar}};
    ASSERT_EQ(target->FieldCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(target->Fields(i).Name(), QString(expected[i].first));
        EXPECT_EQ(target->Fields(i).Type(), int(expected[i].second)) << expected[i].first;
        EXPECT_EQ(target->Fields(i).DefinedSize(), source.Fields(i).DefinedSize());
        EXPECT_EQ(target->Fields(i).Attributes(), source.Fields(i).Attributes());
    }
}
