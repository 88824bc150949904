#pragma once

#include "GridModel.h"
#include "ResultGrid.h"

#include <QTableView>
#include <memory>
#include <optional>

namespace bryx {

class Recordset;

// The result grid: a table with one fixed header row (row 0), addressed the way desktop grid
// code addresses it (Rows, Cols, TextMatrix, RowData, Row, SelectedRows/SelectedRow), bound to
// a recordset or holding its own cells, with list-box style multi-selection or single
// selection, hidden columns and widths in twips. Cells can be edited by the user (text, a
// column's drop-down list, check boxes that read "-1"/"0"), each edit announced by BeforeEdit
// (cancellable) and AfterEdit; the rows of an unbound grid can be sorted by a header click
// and moved, announced by AfterSort and AfterMoveRow; a column resized by the user is
// announced by AfterUserResize.
class FlexGrid : public QTableView, public EditableGrid {
    Q_OBJECT
    Q_PROPERTY(QString TypeName READ TypeName CONSTANT)
public:
    explicit FlexGrid(QWidget* parent = nullptr);
    ~FlexGrid() override;

    QString TypeName() const { return QStringLiteral("VSFlexGrid"); }

    // Binding. Null unbinds; the grid then holds its own (empty) cells.
    void SetDataSource(std::shared_ptr<Recordset> recordset);
    const std::shared_ptr<Recordset>& DataSource() const { return m_model->recordset(); }
    void Refresh();

    int Rows() const override { return m_model->dataRows() + FixedRows(); }
    void SetRows(int rows);
    int Cols() const override { return m_model->cols(); }
    void SetCols(int cols);
    int FixedRows() const override { return 1; }
    QString TextMatrix(int row, int col) const override { return m_model->text(row, col); }
    void SetTextMatrix(int row, int col, const QString& text) override { m_model->setText(row, col, text); }
    QVariant RowData(int row) const override { return m_model->rowData(row); }
    void SetRowData(int row, const QVariant& value) { m_model->setRowData(row, value); }
    // "ID|Date|User": sets the columns and their headers.
    void SetFormatString(const QString& format);

    // Current row in grid coordinates (0 when none).
    int Row() const override;
    // The current cell's column; -1 when no cell is current.
    int Col() const { return currentIndex().isValid() ? currentIndex().column() : -1; }
    // Makes the row current and, as in a list box, the one selected row.
    void SetRow(int row);
    int SelectedRows() const override;
    int SelectedRow(int index) const override;
    bool IsSelected(int row) const;
    void SetIsSelected(int row, bool selected);
    // Selects the rows of a block; a block on the header row selects nothing.
    void Select(int row1, int col1, int row2, int col2);
    // List-box style multi-selection (a click selects one row, Ctrl+click toggles, Shift+click
    // extends) or one row at a time.
    void SetMultiSelect(bool multi);
    bool MultiSelect() const;

    bool ColHidden(int col) const { return isColumnHidden(col); }
    void SetColHidden(int col, bool hidden) { setColumnHidden(col, hidden); }
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    // Fits column widths (or, in row-height mode, row heights) to the contents of the columns.
    enum class AutoSizeMode { ColWidth = 0, RowHeight = 1 };
    void SetAutoSizeMode(AutoSizeMode mode) { m_autoSizeMode = mode; }
    AutoSizeMode GetAutoSizeMode() const { return m_autoSizeMode; }
    void AutoSize(int firstCol, int lastCol);
    int RowHeight(int row) const;
    void SetWordWrap(bool wrap);
    bool WordWrap() const { return wordWrap(); }

    void SetEditable(bool editable) { m_model->setEditable(editable); }
    // For editors outside the grid (a larger text window): whether the cell may be edited,
    // asked as the grid's own editor asks (BeforeEdit), and the edit written back as its own
    // editor writes it (AfterEdit follows).
    bool CellEditable(int row, int col)
    {
        return m_model->editable() && !isCheckCol(col) && mayEdit(row, col);
    }
    void CommitCellEdit(int row, int col, const QString& text)
    {
        SetTextMatrix(row, col, text);
        editDone(row, col);
    }
    bool Editable() const { return m_model->editable(); }
    void SetColCheckBoxes(int col, bool checkBoxes) { m_model->setCheckColumn(col, checkBoxes); }
    void SetColComboList(int col, const QString& list) { m_model->setColumnComboList(col, list); }
    QString ColComboList(int col) const { return m_model->columnComboList(col); }
    void SetCellBackColor(int row, int col, const QColor& color)
    {
        m_model->setCellBackColor(row, col, color);
    }
    void SetBlockBackColor(int row1, int col1, int row2, int col2, const QColor& color)
    {
        m_model->setBlockBackColor(row1, col1, row2, col2, color);
    }
    QColor CellBackColor(int row, int col) const { return m_model->cellBackColor(row, col); }

    // Row order of an unbound grid; a header click sorts when user sorting is on.
    void SetUserSort(bool on) { m_userSort = on; }
    void Sort(int col, Qt::SortOrder order);
    void MoveRow(int row, int position);
    // Takes one data row out of the grid; the rows below move up.
    void RemoveItem(int row);

    GridModel& gridModel() const { return *m_model; }

signals:
    void SelChange();
    void DblClick();
    void BeforeEdit(int row, int col, bool& cancel);
    void AfterEdit(int row, int col);
    void AfterSort(int col, int order);
    void AfterMoveRow(int row, int position);
    void AfterUserResize(int row, int col);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class GridDelegate;
    bool isCheckCol(int col) const;
    const QList<int>& selectedGridRows() const;
    // True when the edit of the cell (grid coordinates) may go ahead.
    bool mayEdit(int row, int col);
    void editDone(int row, int col);

    GridModel* m_model; // owned by the view
    AutoSizeMode m_autoSizeMode = AutoSizeMode::ColWidth;
    bool m_userSort = false;
    int m_sortCol = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QList<int> m_widthsAtPress; // column widths when a header drag began
    mutable std::optional<QList<int>> m_selectedRows; // sorted grid rows of the selection
};

} // namespace bryx
