#include "FlexGrid.h"

#include "error/Error.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "recordset/Recordset.h"

#include <QComboBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QStyledItemDelegate>
#include <algorithm>

namespace bryx {

namespace {
// Pixels of the highlight frame around a grid that has the focus.
constexpr int FocusFrameWidth = 2;
} // namespace

// Opens the editors of a grid's cells and tells the grid before and after each user edit:
// a drop-down list for columns that have one, a line editor otherwise, and check-box toggles.
class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(FlexGrid* grid)
        : QStyledItemDelegate(grid)
        , m_grid(grid)
    {
    }

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        if (!m_grid->mayEdit(index.row() + 1, index.column()))
            return nullptr;
        if (m_grid->ColComboList(index.column()).isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto* list = new QComboBox(parent);
        for (const auto& [key, text] : m_grid->gridModel().comboItems(index.column()))
            list->addItem(text, key);
        return list;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* list = qobject_cast<QComboBox*>(editor)) {
            list->setCurrentIndex(list->findData(index.data(Qt::EditRole)));
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* list = qobject_cast<QComboBox*>(editor))
            model->setData(index, list->currentData(), Qt::EditRole);
        else
            QStyledItemDelegate::setModelData(editor, model, index);
        m_grid->editDone(index.row() + 1, index.column());
    }

    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        if (!(index.flags() & Qt::ItemIsUserCheckable))
            return QStyledItemDelegate::editorEvent(event, model, option, index);
        const QVariant before = index.data(Qt::CheckStateRole);
        if (togglesCheck(event, option) && !m_grid->mayEdit(index.row() + 1, index.column()))
            return true; // cancelled: the event is used up, the box stays as it was
        const bool handled = QStyledItemDelegate::editorEvent(event, model, option, index);
        if (handled && index.data(Qt::CheckStateRole) != before)
            m_grid->editDone(index.row() + 1, index.column());
        return handled;
    }

private:
    // Whether the base delegate would toggle the box for this event.
    bool togglesCheck(QEvent* event, const QStyleOptionViewItem& option) const
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            QStyleOptionViewItem viewOption(option);
            viewOption.features |= QStyleOptionViewItem::HasCheckIndicator;
            const QWidget* widget = option.widget;
            const QStyle* style = widget ? widget->style() : nullptr;
            if (!style)
                return false;
            const QRect box =
                style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &viewOption, widget);
            return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
                && box.contains(static_cast<QMouseEvent*>(event)->position().toPoint());
        }
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            return key == Qt::Key_Space || key == Qt::Key_Select;
        }
        return false;
    }

    FlexGrid* m_grid;
};

FlexGrid::FlexGrid(QWidget* parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab leaves the grid for the form's next control, as in every other desktop control.
    setTabKeyNavigation(false);
    SetMultiSelect(true);
    verticalHeader()->setVisible(false); // uniform rows: no per-row header state for a million rows
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6); // a desktop grid's line
    // Fitting columns to their contents looks at the rows in view only: it costs the same for a
    // hundred rows as for a million, and measuring long texts is most of a search's screen time.
    horizontalHeader()->setResizeContentsPrecision(0);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(1); // hair-thin row-header columns are a layout idiom
    setAlternatingRowColors(true);
    setWordWrap(false);
    setItemDelegate(new GridDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int col) {
        if (!m_userSort || DataSource())
            return;
        // The header flips its own indicator on a click; the order asked for is ours to keep.
        Sort(col,
             m_sortCol == col && m_sortOrder == Qt::AscendingOrder ? Qt::DescendingOrder
                                                                   : Qt::AscendingOrder);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        m_selectedRows.reset();
        runHandler("SelChange", [this] { emit SelChange(); });
    });
    // A reset or re-sorted model moves or drops selected rows without a selection notice.
    const auto forgetSelection = [this] { m_selectedRows.reset(); };
    connect(m_model, &QAbstractItemModel::modelReset, this, forgetSelection);
    connect(m_model, &QAbstractItemModel::layoutChanged, this, forgetSelection);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, forgetSelection);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { runHandler("SelChange", [this] { emit SelChange(); }); });
}

FlexGrid::~FlexGrid() = default;

void FlexGrid::SetDataSource(std::shared_ptr<Recordset> recordset)
{
    if (recordset) {
        m_model->bind(std::move(recordset));
        // A freshly bound result opens readable: its columns fit their headers and the rows in view.
        resizeColumnsToContents();
    } else {
        m_model->unbind();
    }
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
    // A bound grid has its recordset's columns: the format then only words their headers.
    if (!DataSource())
        SetCols(int(headers.size()));
    for (int col = 0; col < std::min(int(headers.size()), Cols()); ++col)
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
    // A list box's current row is its selected row until the user selects otherwise, so code
    // that moves the current row selects that row alone.
    selectionModel()->setCurrentIndex(m_model->index(row - FixedRows(), 0),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

const QList<int>& FlexGrid::selectedGridRows() const
{
    // Callers walk the selection by position (SelectedRow(0..n-1)); the sorted list is made
    // once per selection, not once per call.
    if (!m_selectedRows) {
        QList<int> rows;
        for (const QItemSelectionRange& range : selectionModel()->selection()) {
            for (int row = range.top(); row <= range.bottom(); ++row)
                rows << row + FixedRows();
        }
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        m_selectedRows = std::move(rows);
    }
    return *m_selectedRows;
}

int FlexGrid::SelectedRows() const
{
    return int(selectedGridRows().size());
}

int FlexGrid::SelectedRow(int index) const
{
    const QList<int>& rows = selectedGridRows();
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
    // One row at a time means choosing a row lets go of the other, whoever chooses it.
    const auto command = !selected ? QItemSelectionModel::Deselect
        : MultiSelect()            ? QItemSelectionModel::Select
                                   : QItemSelectionModel::ClearAndSelect;
    selectionModel()->select(m_model->index(row - FixedRows(), 0), command | QItemSelectionModel::Rows);
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
    // List-box selection: a click selects that row alone, Ctrl+click toggles one row and
    // Shift+click extends from the current row.
    setSelectionMode(multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool FlexGrid::MultiSelect() const
{
    return selectionMode() == QAbstractItemView::ExtendedSelection;
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
    if (m_autoSizeMode == AutoSizeMode::ColWidth) {
        for (int col = std::max(0, firstCol); col <= lastCol && col < Cols(); ++col)
            resizeColumnToContents(col);
        return;
    }
    // Without word wrap a row is one line unless a text in it holds a line break: only those
    // rows are measured, so fitting a thousand rows costs next to nothing.
    if (!wordWrap()) {
        const int line = verticalHeader()->defaultSectionSize();
        for (int row = FixedRows(); row < Rows(); ++row) {
            bool broken = false;
            for (int col = std::max(0, firstCol); col <= lastCol && col < Cols() && !broken; ++col)
                broken = !isColumnHidden(col) && TextMatrix(row, col).contains(QLatin1Char('\n'));
            if (broken)
                resizeRowToContents(row - FixedRows());
            else if (rowHeight(row - FixedRows()) != line)
                setRowHeight(row - FixedRows(), line);
        }
        return;
    }
    // Row heights follow the tallest cell among the given columns; the other columns are left
    // out of the measure by hiding them for the moment.
    QList<int> outside;
    for (int col = 0; col < Cols(); ++col) {
        if ((col < firstCol || col > lastCol) && !isColumnHidden(col)) {
            outside << col;
            setColumnHidden(col, true);
        }
    }
    resizeRowsToContents();
    for (const int col : outside)
        setColumnHidden(col, false);
}

int FlexGrid::RowHeight(int row) const
{
    if (row == 0)
        return pixelsToTwips(horizontalHeader()->height(), this);
    return pixelsToTwips(rowHeight(row - FixedRows()), this);
}

void FlexGrid::SetWordWrap(bool wrap)
{
    setWordWrap(wrap);
    viewport()->update();
}

void FlexGrid::Sort(int col, Qt::SortOrder order)
{
    m_model->sortRows(col, order);
    m_sortCol = col;
    m_sortOrder = order;
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(col, order);
    runHandler("AfterSort", [&] { emit AfterSort(col, order == Qt::AscendingOrder ? 1 : 2); });
}

void FlexGrid::MoveRow(int row, int position)
{
    m_model->moveRow(row, position);
    runHandler("AfterMoveRow", [&] { emit AfterMoveRow(row, position); });
}

void FlexGrid::RemoveItem(int row)
{
    if (row < FixedRows() || row >= Rows())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("RemoveItem: row %1 of a grid of %2 rows").arg(row).arg(Rows()));
    clearSelection();
    m_model->moveRow(row, Rows() - 1);
    SetRows(Rows() - 1);
}

bool FlexGrid::isCheckCol(int col) const
{
    return m_model->isCheckColumn(col);
}

bool FlexGrid::mayEdit(int row, int col)
{
    bool cancel = false;
    runHandler("BeforeEdit", [&] { emit BeforeEdit(row, col, cancel); });
    return !cancel;
}

void FlexGrid::editDone(int row, int col)
{
    runHandler("AfterEdit", [&] { emit AfterEdit(row, col); });
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_widthsAtPress.clear();
            for (int col = 0; col < Cols(); ++col)
                m_widthsAtPress << columnWidth(col);
        } else if (event->type() == QEvent::MouseButtonRelease && m_widthsAtPress.size() == Cols()) {
            for (int col = 0; col < Cols(); ++col) {
                if (columnWidth(col) != m_widthsAtPress[col]) {
                    m_widthsAtPress.clear();
                    runHandler("AfterUserResize", [&] { emit AfterUserResize(-1, col); });
                    break;
                }
            }
        }
    }
    return QTableView::eventFilter(watched, event);
}

void FlexGrid::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    // The desktop style marks a focused text box or button but not a grid; a user tabbing
    // through a form must still see that the keys now go to the grid.
    if (hasFocus()) {
        QPainter painter(viewport());
        painter.setPen(QPen(palette().color(QPalette::Highlight), FocusFrameWidth));
        painter.setBrush(Qt::NoBrush);
        const int inset = FocusFrameWidth / 2;
        painter.drawRect(viewport()->rect().adjusted(inset, inset, -inset, -inset));
    }
}

void FlexGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    // Scrolling moves the painted rows, focus frame and all; the frame is drawn afresh.
    if (hasFocus())
        viewport()->update();
}

void FlexGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void FlexGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    runHandler("DblClick", [this] { emit DblClick(); });
}

} // namespace bryx
