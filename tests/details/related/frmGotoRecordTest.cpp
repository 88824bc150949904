#include "related/frmGotoRecord.h"

#include "../../support/GridInput.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/ScriptedDesktop.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"

#include <gtest/gtest.h>

using namespace bryx;
using namespace bryx::test;

namespace {

std::shared_ptr<Recordset> pagedList()
{
    return makeRecordset({{"ID", DataType::Integer},
                          {"scientific_name", DataType::VarWChar, 255},
                          {"name_type", DataType::VarWChar, 1}},
                         {{11, "Abies alba", "P"},
                          {12, "Picea abies", "P"},
                          {13, "Ursus arctos", "A"},
                          {14, "Larix decidua", "P"},
                          {15, "Hordelymo-Fagetum", "C"}});
}

} // namespace

TEST(frmGotoRecord, ShowsEveryRowOfTheListWithReadableHeadersAndLeavesItsPositionAlone)
{
    auto list = pagedList();
    list->MoveFirst();
    list->Move(3); // the editor shows the fourth name
    frmGotoRecord dialog;
    dialog.LoadRecordset(list);

    EXPECT_EQ(dialog.Caption(), QString("Goto Record"));
    EXPECT_EQ(dialog.cmdOK()->text(), QString("OK"));
    EXPECT_EQ(dialog.cmdCancel()->text(), QString("Cancel"));
    FlexGrid& grid = *dialog.vsgRecords();
    EXPECT_EQ(grid.Rows(), 6) << "one header row above the five names";
    EXPECT_EQ(grid.TextMatrix(0, 1), QString("Scientific Name"));
    EXPECT_EQ(grid.TextMatrix(5, 1), QString("Hordelymo-Fagetum"));
    EXPECT_EQ(list->Fields("ID").Value(), QVariant(14)) << "the editor's current row stays where it was";
    EXPECT_EQ(dialog.GotoRecordPosition(), 0);
}

TEST(frmGotoRecord, OkOrADoubleClickPicksTheSelectedRowAndCancelPicksNothing)
{
    ScriptedDesktop desktop;
    {
        frmGotoRecord dialog;
        dialog.LoadRecordset(pagedList());
        desktop.whileShown = [&](QDialog&) { dialog.cmdOK()->click(); };
        dialog.ShowModal();
        EXPECT_EQ(dialog.GotoRecordPosition(), 0) << "OK with no row selected picks nothing";
    }
    {
        frmGotoRecord dialog;
        dialog.LoadRecordset(pagedList());
        desktop.whileShown = [&](QDialog&) {
            dialog.vsgRecords()->SetIsSelected(3, true);
            dialog.cmdOK()->click();
        };
        dialog.ShowModal();
        EXPECT_EQ(dialog.GotoRecordPosition(), 3);
        EXPECT_TRUE(dialog.isHidden());
    }
    {
        frmGotoRecord dialog;
        dialog.LoadRecordset(pagedList());
        dialog.resize(800, 400);
        dialog.show();
        FlexGrid& grid = *dialog.vsgRecords();
        mouseDoubleClick(*grid.viewport(), rowCentre(grid, 5));
        EXPECT_EQ(dialog.GotoRecordPosition(), 5) << "a double-click on a row picks it";
        EXPECT_TRUE(dialog.isHidden());
    }
    {
        frmGotoRecord dialog;
        dialog.LoadRecordset(pagedList());
        desktop.whileShown = [&](QDialog&) {
            dialog.vsgRecords()->SetIsSelected(2, true);
            dialog.cmdCancel()->click();
        };
        dialog.ShowModal();
        EXPECT_EQ(dialog.GotoRecordPosition(), 0) << "Cancel moves nowhere";
        EXPECT_TRUE(dialog.isHidden());
    }
}
