#include "FlexGrid.h"

#include "error/Error.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "recordset/Recordset.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QRegularExpression>
#include <algorithm>

namespace bryx {

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    SetMultiSelect(true);
    verticalHeader()->setVisible(false); // uniform rows: no per-row header state for a million rows
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { runHandler("SelChange", [this] { emit SelChange(); }); });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { runHandler("SelChange", [this] { emit SelChange(); }); });
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::SetDataSource(std::shared_ptr<Recordset> recordset)
{
    if (recordset)
        m_model->bind(std::move(recordset));
    else
        m_model->unbind();
}

void FlexGrid::Refresh()
{
    m_model->refresh();
}

void FlexGrid::SetRows(int rows)
{
    if (DataSource()) {
        if (rows == FixedRows()) {
            // Cutting a bound grid down to its header lets the recordset go, as unbinding does.
            m_model->unbind();
            m_model->setSize(0, Cols());
            return;
        }
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("Rows: a bound grid has as many rows as its recordset"));
    }
    m_model->setSize(std::max(0, rows - FixedRows()), Cols());
}

void FlexGrid::SetCols(int cols)
{
    m_model->setSize(m_model->dataRows(), cols);
}

void FlexGrid::SetFormatString(const QString& format)
{
    const QStringList headers = format.split(QLatin1Char('|'));
    SetCols(int(headers.size()));
    for (int col = 0; col < headers.size(); ++col)
        SetTextMatrix(0, col, headers[col].trimmed().remove(QRegularExpression(QStringLiteral("^[<>^]"))));
}

int FlexGrid::Row() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + FixedRows() : 0;
}

void FlexGrid::SetRow(int row)
{
    if (row < FixedRows()) {
        setCurrentIndex({});
        return;
    }
    selectionModel()->setCurrentIndex(m_model->index(row - FixedRows(), 0), QItemSelectionModel::NoUpdate);
}

int FlexGrid::SelectedRows() const
{
    return int(selectionModel()->selectedRows().size());
}

int FlexGrid::SelectedRow(int index) const
{
    QList<int> rows;
    for (const QModelIndex& selected : selectionModel()->selectedRows())
        rows << selected.row() + FixedRows();
    std::sort(rows.begin(), rows.end());
    if (index < 0 || index >= rows.size())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("SelectedRow(%1): %2 row(s) are selected").arg(index).arg(rows.size()));
    return rows[index];
}

bool FlexGrid::IsSelected(int row) const
{
    return row >= FixedRows() && selectionModel()->isRowSelected(row - FixedRows(), {});
}

void FlexGrid::SetIsSelected(int row, bool selected)
{
    if (row < FixedRows())
        return;
    selectionModel()->select(m_model->index(row - FixedRows(), 0),
                             (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                                 | QItemSelectionModel::Rows);
}

void FlexGrid::Select(int row1, int, int row2, int)
{
    const int first = std::max(std::min(row1, row2), FixedRows());
    const int last = std::max(row1, row2);
    if (last < FixedRows() || m_model->dataRows() == 0) {
        clearSelection();
        return;
    }
    const QItemSelection block(
        m_model->index(first - FixedRows(), 0),
        m_model->index(std::min(last, Rows() - 1) - FixedRows(), std::max(0, Cols() - 1)));
    selectionModel()->select(block, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void FlexGrid::SetMultiSelect(bool multi)
{
    setSelectionMode(multi ? QAbstractItemView::MultiSelection : QAbstractItemView::SingleSelection);
}

bool FlexGrid::MultiSelect() const
{
    return selectionMode() == QAbstractItemView::MultiSelection;
}

int FlexGrid::ColWidth(int col) const
{
    return pixelsToTwips(columnWidth(col), this);
}

void FlexGrid::SetColWidth(int col, int twips)
{
    setColumnWidth(col, twipsToPixels(twips, this));
}

void FlexGrid::AutoSize(int firstCol, int lastCol)
{
    for (int col = firstCol; col <= lastCol && col < Cols(); ++col)
        resizeColumnToContents(col);
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    runHandler("DblClick", [this] { emit DblClick(); });
}

} // namespace bryx
