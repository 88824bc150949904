#include "controls/FlexGrid.h"

#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "util/Misc_Functions.h"
#include "util/RS_Functions.h"

#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

std::shared_ptr<Recordset> fiveNames()
{
    return makeNameList({{11, "Abies alba"},
                         {12, "Picea abies"},
                         {13, "Pinus sylvestris"},
                         {14, "Larix decidua"},
                         {15, "Taxus baccata"}});
}

} // namespace

TEST(FlexGrid, HoldsItsOwnCellsWhenUnbound)
{
    FlexGrid grid;
    EXPECT_EQ(grid.Rows(), 1);
    grid.SetFormatString("ID|<Date|User");
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), QString("Date"));
    grid.SetRows(4);
    EXPECT_EQ(grid.Rows(), 4);
    grid.SetTextMatrix(2, 2, "editor");
    grid.SetRowData(2, 4711);
    EXPECT_EQ(grid.TextMatrix(2, 2), QString("editor"));
    EXPECT_EQ(grid.RowData(2), QVariant(4711));
    EXPECT_EQ(grid.TextMatrix(3, 0), QString());
    EXPECT_BRYX_ERROR(grid.TextMatrix(4, 0), ErrorNumber::SubscriptOutOfRange);
    EXPECT_BRYX_ERROR(grid.TextMatrix(1, 3), ErrorNumber::SubscriptOutOfRange);
    grid.SetRows(2); // cut down keeps the first rows
    EXPECT_EQ(grid.Rows(), 2);
    EXPECT_EQ(grid.TextMatrix(0, 2), QString("User"));
}

TEST(FlexGrid, ReadsABoundRecordsetInPlaceAndFollowsItsChanges)
{
    FlexGrid grid;
    auto names = fiveNames();
    grid.SetDataSource(names);
    EXPECT_EQ(grid.Rows(), 6);
    EXPECT_EQ(grid.Cols(), 3);
    EXPECT_EQ(grid.TextMatrix(0, 1), QString("Scientific_Name"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QString("Picea abies"));
    EXPECT_EQ(grid.TextMatrix(5, 0), QString("15"));
    Misc_Functions::FormatGridHeaders(grid);
    EXPECT_EQ(grid.TextMatrix(0, 1), QString("Scientific Name"));
    EXPECT_BRYX_ERROR(grid.SetTextMatrix(1, 1, "x"), ErrorNumber::IllegalOperation);

    names->SetFilter("ID > 13");
    grid.Refresh();
    EXPECT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString("Larix decidua"));

    grid.SetRows(1); // cutting a bound grid to its header lets the recordset go
    EXPECT_EQ(grid.DataSource(), nullptr);
    EXPECT_EQ(grid.Rows(), 1);
}

TEST(FlexGrid, SelectsRowsLikeAListBoxOrOneAtATime)
{
    FlexGrid grid;
    grid.SetDataSource(fiveNames());
    int changes = 0;
    QObject::connect(&grid, &FlexGrid::SelChange, [&] { ++changes; });

    grid.SetIsSelected(4, true);
    grid.SetIsSelected(2, true);
    EXPECT_EQ(grid.SelectedRows(), 2);
    EXPECT_EQ(grid.SelectedRow(0), 2);
    EXPECT_EQ(grid.SelectedRow(1), 4);
    EXPECT_TRUE(grid.IsSelected(4));
    EXPECT_FALSE(grid.IsSelected(3));
    EXPECT_GT(changes, 0);
    EXPECT_BRYX_ERROR(grid.SelectedRow(2), ErrorNumber::SubscriptOutOfRange);

    grid.Select(1, 1, grid.Rows() - 1, 1); // Select All
    EXPECT_EQ(grid.SelectedRows(), 5);
    grid.Select(0, 0, 0, 0); // Select None
    EXPECT_EQ(grid.SelectedRows(), 0);

    grid.SetRow(3);
    EXPECT_EQ(grid.Row(), 3);
    grid.SetMultiSelect(false);
    EXPECT_FALSE(grid.MultiSelect());
    grid.SetIsSelected(2, true);
    grid.selectRow(4);
    EXPECT_EQ(grid.SelectedRows(), 1);
    EXPECT_EQ(grid.SelectedRow(0), 5);
}

TEST(FlexGrid, ColumnsHideAndSizeInTwips)
{
    FlexGrid grid;
    grid.SetDataSource(fiveNames());
    grid.SetColHidden(2, true);
    EXPECT_TRUE(grid.ColHidden(2));
    grid.SetColWidth(1, 1605);
    EXPECT_NEAR(grid.ColWidth(1), 1605, 15);
}

TEST(FlexGrid, TheRecordsetProceduresWorkOnTheRealGrid)
{
    FlexGrid grid;
    auto result = fiveNames();
    grid.SetDataSource(result);
    auto workingList = makeNameList({{12, "Picea abies"}});
    grid.SetIsSelected(1, true);
    grid.SetIsSelected(2, true);
    grid.SetIsSelected(5, true);
    RS_Functions::AddSelectedRows(grid, *result, *workingList);
    EXPECT_EQ(ids(*workingList), (std::vector<int> {12, 11, 15}));

    std::shared_ptr<Recordset> single;
    grid.SetRow(4);
    RS_Functions::CopyCurrentRow(grid, *result, single);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->Fields("ID").Value(), QVariant(14));
}
