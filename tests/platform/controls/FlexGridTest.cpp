#include "controls/FlexGrid.h"

#include "../../support/ErrorMatchers.h"
#include "../../support/QtPrinters.h"
#include "../../support/RecordsetBuilder.h"
#include "../../support/UserInput.h"
#include "util/Misc_Functions.h"
#include "util/RS_Functions.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyle>
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

// A references-like grid: code, citation, two check-box columns, the ID as row data.
void fillReferences(FlexGrid& grid, const QStringList& codes)
{
    grid.SetFormatString("|Reference Code|Full Citation|Primary Reference|Original Publication|ID");
    grid.SetRows(int(codes.size()) + 1);
    grid.SetColCheckBoxes(3, true);
    grid.SetColCheckBoxes(4, true);
    for (int row = 1; row <= codes.size(); ++row) {
        grid.SetTextMatrix(row, 1, codes[row - 1]);
        grid.SetTextMatrix(row, 2, "Citation of " + codes[row - 1]);
        grid.SetTextMatrix(row, 3, "0");
        grid.SetTextMatrix(row, 4, "0");
        grid.SetTextMatrix(row, 5, QString::number(100 + row));
        grid.SetRowData(row, QString::number(100 + row));
    }
}

// Clicks the check box drawn in a cell, as the user would.
void clickCheckBox(FlexGrid& grid, int row, int col)
{
    const QModelIndex index = grid.gridModel().index(row - 1, col);
    QStyleOptionViewItem option;
    option.initFrom(grid.viewport());
    option.rect = grid.visualRect(index);
    option.features |= QStyleOptionViewItem::HasCheckIndicator;
    const QPoint box =
        grid.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &grid).center();
    mouseClick(*grid.viewport(), box);
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

    // Removing a row takes its cells and its row data with it; the rows below move up.
    grid.SetRows(4);
    for (int row = 1; row < 4; ++row) {
        grid.SetTextMatrix(row, 1, QString("row %1").arg(row));
        grid.SetRowData(row, row * 10);
    }
    grid.RemoveItem(2);
    ASSERT_EQ(grid.Rows(), 3);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString("row 1"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QString("row 3"));
    EXPECT_EQ(grid.RowData(2), QVariant(30));
    EXPECT_BRYX_ERROR(grid.RemoveItem(0), ErrorNumber::SubscriptOutOfRange); // the header stays
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
    grid.SetTextMatrix(2, 1, "Picea omorika"); // a bound cell is the recordset's field
    names->SetAbsolutePosition(2);
    EXPECT_EQ(names->Fields("Scientific_Name").Value(), QVariant("Picea omorika"));
    EXPECT_EQ(names->Status() & RecordStatus::Modified, RecordStatus::Modified);

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

TEST(FlexGrid, CheckBoxCellsReadMinusOneOrZeroAndUserTogglesPassThroughTheEditNotifications)
{
    FlexGrid grid;
    grid.resize(900, 300);
    fillReferences(grid, {"A1", "B2", "C3"});
    grid.SetEditable(true);
    grid.show();
    QList<QString> journal;
    bool refuse = false;
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [&](int row, int col, bool& cancel) {
        journal << QString("before %1,%2").arg(row).arg(col);
        cancel = refuse || col == 1 || col == 2;
    });
    QObject::connect(&grid, &FlexGrid::AfterEdit, [&](int row, int col) {
        journal << QString("after %1,%2=%3").arg(row).arg(col).arg(grid.TextMatrix(row, col));
    });

    clickCheckBox(grid, 2, 3);
    EXPECT_EQ(grid.TextMatrix(2, 3), QString("-1"));
    clickCheckBox(grid, 2, 3);
    EXPECT_EQ(grid.TextMatrix(2, 3), QString("0"));
    EXPECT_EQ(journal, (QList<QString> {"before 2,3", "after 2,3=-1", "before 2,3", "after 2,3=0"}));

    journal.clear();
    refuse = true;
    clickCheckBox(grid, 1, 4);
    EXPECT_EQ(grid.TextMatrix(1, 4), QString("0")) << "a cancelled edit leaves the box alone";
    EXPECT_EQ(journal, QList<QString> {"before 1,4"});

    // Any non-zero number shows checked; the model's check state follows the text.
    grid.SetTextMatrix(3, 4, "1");
    EXPECT_EQ(grid.gridModel().index(2, 4).data(Qt::CheckStateRole), QVariant(Qt::Checked));
    EXPECT_EQ(grid.gridModel().index(2, 4).data(Qt::DisplayRole), QVariant()) << "a box, not the number";
}

TEST(FlexGrid, TextEditsAskFirstAndAreRefusedForReadOnlyColumns)
{
    FlexGrid grid;
    grid.resize(900, 300);
    fillReferences(grid, {"A1", "B2"});
    grid.show();
    int before = 0;
    QList<int> afterCols;
    QObject::connect(&grid, &FlexGrid::BeforeEdit, [&](int, int col, bool& cancel) {
        ++before;
        cancel = col == 1;
    });
    QObject::connect(&grid, &FlexGrid::AfterEdit, [&](int, int col) { afterCols << col; });

    grid.edit(grid.gridModel().index(0, 2));
    EXPECT_EQ(before, 0) << "a grid that is not editable opens no editor and asks nothing";

    grid.SetEditable(true);
    grid.edit(grid.gridModel().index(0, 1));
    EXPECT_EQ(before, 1);
    EXPECT_EQ(grid.findChild<QLineEdit*>(), nullptr) << "cancelled before editing";

    grid.setCurrentIndex(grid.gridModel().index(0, 2));
    grid.edit(grid.gridModel().index(0, 2));
    auto* editor = grid.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("Revised citation");
    keyClick(*editor, Qt::Key_Return);
    QApplication::processEvents(); // the editor commits on a queued call
    EXPECT_EQ(grid.TextMatrix(1, 2), QString("Revised citation"));
    EXPECT_EQ(afterCols, QList<int> {2});
}

TEST(FlexGrid, BackColoursByBlockAndByCellTravelWithTheirRowsWhenSorted)
{
    FlexGrid grid;
    fillReferences(grid, {"C3", "A1", "B2"});
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    const QColor grey(192, 192, 192);
    grid.SetBlockBackColor(1, 1, 3, 5, grey);
    grid.SetCellBackColor(2, 2, Qt::white); // A1's citation
    EXPECT_EQ(grid.CellBackColor(1, 1), grey);
    EXPECT_EQ(grid.CellBackColor(2, 2), QColor(Qt::white));
    EXPECT_FALSE(grid.CellBackColor(1, 0).isValid());
    grid.SetCellBackColor(1, 1, buttonFace);
    EXPECT_EQ(grid.gridModel().index(0, 1).data(Qt::BackgroundRole).value<QBrush>().color(), buttonFace);

    QList<QPair<int, int>> sorts;
    QObject::connect(&grid, &FlexGrid::AfterSort, [&](int col, int order) { sorts.append({col, order}); });
    grid.Sort(1, Qt::AscendingOrder);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString("A1"));
    EXPECT_EQ(grid.RowData(1), QVariant("102"));
    EXPECT_EQ(grid.CellBackColor(1, 2), QColor(Qt::white)) << "A1's own colour moved with it";
    EXPECT_EQ(grid.CellBackColor(3, 1), buttonFace) << "C3's own colour moved with it";
    EXPECT_EQ(grid.CellBackColor(2, 2), grey);
    EXPECT_EQ(sorts, (QList<QPair<int, int>> {{1, 1}}));

    // A later block wins over the cells inside it.
    grid.SetBlockBackColor(1, 1, 3, 2, buttonFace);
    EXPECT_EQ(grid.CellBackColor(1, 2), buttonFace);
    // Cutting the grid down forgets the colours of the rows that went.
    grid.SetRows(1);
    grid.SetRows(3);
    EXPECT_FALSE(grid.CellBackColor(2, 2).isValid() && grid.CellBackColor(2, 2) == QColor(Qt::white));
}

TEST(FlexGrid, RowOrderChangesByHeaderClickOrMoveAreAnnounced)
{
    FlexGrid grid;
    grid.resize(900, 300);
    fillReferences(grid, {"B2", "C3", "A1"});
    grid.show();
    QList<QPair<int, int>> sorts;
    QList<QPair<int, int>> moves;
    QObject::connect(&grid, &FlexGrid::AfterSort, [&](int col, int order) { sorts.append({col, order}); });
    QObject::connect(&grid, &FlexGrid::AfterMoveRow, [&](int row, int to) { moves.append({row, to}); });

    auto clickHeader = [&](int col) {
        QHeaderView* header = grid.horizontalHeader();
        const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
        mouseClick(*header->viewport(), QPoint(x, header->height() / 2));
    };
    clickHeader(1);
    EXPECT_TRUE(sorts.isEmpty()) << "user sorting is off by default";
    grid.SetUserSort(true);
    clickHeader(1);
    clickHeader(1);
    EXPECT_EQ(sorts, (QList<QPair<int, int>> {{1, 1}, {1, 2}}));
    EXPECT_EQ(grid.TextMatrix(1, 1), QString("C3"));
    EXPECT_EQ(grid.TextMatrix(3, 1), QString("A1"));

    grid.MoveRow(3, 1);
    EXPECT_EQ(grid.TextMatrix(1, 1), QString("A1"));
    EXPECT_EQ(grid.RowData(1), QVariant("103"));
    EXPECT_EQ(grid.TextMatrix(2, 1), QString("C3"));
    EXPECT_EQ(moves, (QList<QPair<int, int>> {{3, 1}}));
    EXPECT_BRYX_ERROR(grid.MoveRow(0, 2), ErrorNumber::InvalidProcedureCall);

    auto bound = fiveNames();
    grid.SetDataSource(bound);
    EXPECT_BRYX_ERROR(grid.Sort(1, Qt::AscendingOrder), ErrorNumber::IllegalOperation);
}

TEST(FlexGrid, AUserColumnResizeIsAnnouncedButACodeResizeIsNot)
{
    FlexGrid grid;
    grid.resize(900, 300);
    fillReferences(grid, {"A1"});
    grid.show();
    QList<QPair<int, int>> resizes;
    QObject::connect(&grid, &FlexGrid::AfterUserResize, [&](int row, int col) {
        resizes.append({row, col});
    });
    grid.SetColWidth(1, 1605);
    EXPECT_TRUE(resizes.isEmpty());

    QHeaderView* header = grid.horizontalHeader();
    const int edge = header->sectionViewportPosition(1) + header->sectionSize(1) - 1;
    const int y = header->height() / 2;
    QWidget* viewport = header->viewport();
    mousePress(*viewport, QPoint(edge, y));
    mouseDrag(*viewport, QPoint(edge + 40, y));
    mouseRelease(*viewport, QPoint(edge + 40, y));
    EXPECT_EQ(resizes, (QList<QPair<int, int>> {{-1, 1}}));
    EXPECT_GT(grid.ColWidth(1), 1605);
}

TEST(FlexGrid, ComboListColumnsShowTextsForKeysAndWordWrapFitsRowHeights)
{
    FlexGrid grid;
    grid.resize(400, 300);
    grid.SetFormatString("ID|Comments|Org Unit");
    grid.SetRows(3);
    grid.SetColComboList(2, "#1;Botany Unit|#2;Zoology Unit|");
    EXPECT_EQ(grid.gridModel().comboItems(2).size(), 2);
    grid.SetTextMatrix(1, 2, "2");
    grid.SetTextMatrix(2, 2, "9");
    EXPECT_EQ(grid.gridModel().index(0, 2).data(Qt::DisplayRole), QVariant("Zoology Unit"));
    EXPECT_EQ(grid.gridModel().index(1, 2).data(Qt::DisplayRole), QVariant("9"))
        << "an unknown key shows as it is";
    EXPECT_EQ(grid.TextMatrix(1, 2), QString("2")) << "the cell holds the key";

    grid.SetColWidth(1, 1500);
    grid.SetTextMatrix(1, 1, "A long comment that cannot fit on one line of a narrow column at all");
    grid.show();
    const int oneLine = grid.RowHeight(1);
    grid.SetWordWrap(true);
    grid.SetAutoSizeMode(FlexGrid::AutoSizeMode::RowHeight);
    grid.AutoSize(0, grid.Cols() - 1);
    EXPECT_GT(grid.RowHeight(1), oneLine * 2) << "wrapped text gets a taller row";
    EXPECT_LE(grid.RowHeight(2), oneLine) << "a short row stays one line high";
    EXPECT_EQ(grid.ColWidth(1), 1500) << "row-height mode leaves the widths alone";
}

TEST(FlexGrid, DecoratingABoundGridOfAMillionRowsCostsNoMemoryPerRow)
{
    auto rows = std::make_shared<Recordset>();
    rows->AppendField("ID", DataType::Integer);
    rows->AppendField("Comments", DataType::VarWChar, 200);
    rows->Open();
    for (int id = 1; id <= 200000; ++id) {
        rows->AddNew();
        rows->Fields(0).SetValue(id);
        rows->Update();
    }
    FlexGrid grid;
    grid.SetDataSource(rows);
    grid.SetBlockBackColor(1, 1, grid.Rows() - 1, 1, QColor(192, 192, 192));
    EXPECT_EQ(grid.CellBackColor(150000, 1), QColor(192, 192, 192));
    grid.SetCellBackColor(7, 1, Qt::white);
    EXPECT_EQ(grid.CellBackColor(7, 1), QColor(Qt::white));
    EXPECT_EQ(grid.CellBackColor(8, 1), QColor(192, 192, 192));
    EXPECT_EQ(grid.gridModel().index(199999, 0).data(Qt::DisplayRole), QVariant("200000"));
}
