#pragma once

#include "GridModel.h"
#include "ResultGrid.h"

#include <QTableView>
#include <memory>

namespace bryx {

class Recordset;

// The result grid: a table with one fixed header row (row 0), addressed the way desktop grid
// code addresses it (Rows, Cols, TextMatrix, RowData, Row, SelectedRows/SelectedRow), bound to
// a recordset or holding its own cells, with list-box style multi-selection or single
// selection, hidden columns and widths in twips.
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
    void SetRow(int row);
    int SelectedRows() const override;
    int SelectedRow(int index) const override;
    bool IsSelected(int row) const;
    void SetIsSelected(int row, bool selected);
    // Selects the rows of a block; a block on the header row selects nothing.
    void Select(int row1, int col1, int row2, int col2);
    // List-box style multi-selection (clicks toggle rows) or one row at a time.
    void SetMultiSelect(bool multi);
    bool MultiSelect() const;

    bool ColHidden(int col) const { return isColumnHidden(col); }
    void SetColHidden(int col, bool hidden) { setColumnHidden(col, hidden); }
    int ColWidth(int col) const;
    void SetColWidth(int col, int twips);
    void AutoSize(int firstCol, int lastCol);

    GridModel& gridModel() const { return *m_model; }

signals:
    void SelChange();
    void DblClick();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    GridModel* m_model; // owned by the view
};

} // namespace bryx
