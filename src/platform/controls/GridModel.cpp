#include "GridModel.h"

#include "error/Error.h"
#include "recordset/Recordset.h"

#include <QBrush>
#include <QCollator>
#include <algorithm>
#include <numeric>

namespace bryx {

void GridModel::bind(std::shared_ptr<Recordset> recordset)
{
    beginResetModel();
    m_recordset = std::move(recordset);
    m_cells.clear();
    m_rowData.clear();
    m_cellColors.clear();
    m_colorBlocks.clear();
    m_headers.clear();
    if (m_recordset) {
        for (int f = 0; f < m_recordset->FieldCount(); ++f)
            m_headers << m_recordset->Fields(f).Name();
    }
    endResetModel();
}

void GridModel::unbind()
{
    beginResetModel();
    m_recordset.reset();
    m_rowData.clear();
    m_cellColors.clear();
    m_colorBlocks.clear();
    endResetModel();
}

void GridModel::refresh()
{
    beginResetModel();
    m_rowData.clear();
    endResetModel();
}

void GridModel::setSize(int dataRows, int cols)
{
    if (m_recordset)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("The size of a bound grid follows its recordset"));
    beginResetModel();
    m_cells.resize(size_t(std::max(0, dataRows)));
    for (QStringList& row : m_cells) {
        while (row.size() < cols)
            row << QString();
        row.resize(cols);
    }
    while (m_headers.size() < cols)
        m_headers << QString();
    m_headers.resize(cols);
    m_rowData.resize(size_t(std::max(0, dataRows)));
    // Decorations of rows that are gone must not reappear on rows added later.
    m_cellColors.removeIf([dataRows](const auto& entry) { return entry.key().first > dataRows; });
    endResetModel();
}

int GridModel::dataRows() const
{
    if (m_recordset)
        return m_recordset->State() == ObjectState::Open ? m_recordset->RecordCount() : 0;
    return int(m_cells.size());
}

int GridModel::cols() const
{
    return int(m_headers.size());
}

void GridModel::checkCell(int gridRow, int col, const char* operation) const
{
    if (col < 0 || col >= cols() || gridRow < 0 || gridRow > dataRows())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("%1(%2, %3): the grid has %4 rows and %5 columns")
                        .arg(QLatin1String(operation))
                        .arg(gridRow)
                        .arg(col)
                        .arg(dataRows() + 1)
                        .arg(cols()));
}

QString GridModel::text(int gridRow, int col) const
{
    checkCell(gridRow, col, "TextMatrix");
    if (gridRow == 0)
        return m_headers[col];
    if (m_recordset)
        return m_recordset->TextAt(gridRow - 1, col);
    return m_cells[size_t(gridRow - 1)][col];
}

void GridModel::setText(int gridRow, int col, const QString& text)
{
    checkCell(gridRow, col, "TextMatrix");
    if (gridRow == 0) {
        m_headers[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    if (m_recordset) {
        // A bound cell is a field of the recordset's row: the write goes there, as an edit of
        // that record.
        m_recordset->SetAbsolutePosition(gridRow);
        Field& field = m_recordset->Fields(col);
        StorageKind kind = StorageKind::Text;
        storageKindOf(field.Type(), kind);
        // An emptied number or date cell means "no value", not a conversion error.
        field.SetValue(text.isEmpty() && kind != StorageKind::Text ? QVariant() : QVariant(text));
        m_recordset->Update();
    } else {
        m_cells[size_t(gridRow - 1)][col] = text;
    }
    emit dataChanged(index(gridRow - 1, col), index(gridRow - 1, col));
}

QVariant GridModel::rowData(int gridRow) const
{
    const size_t row = size_t(gridRow - 1);
    return gridRow >= 1 && row < m_rowData.size() ? m_rowData[row] : QVariant();
}

void GridModel::setRowData(int gridRow, const QVariant& value)
{
    if (gridRow < 1 || gridRow > dataRows())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("RowData(%1): no such data row").arg(gridRow));
    if (m_rowData.size() < size_t(dataRows()))
        m_rowData.resize(size_t(dataRows()));
    m_rowData[size_t(gridRow - 1)] = value;
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : dataRows();
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols();
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int gridRow = index.row() + 1;
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        if (isCheckColumn(col))
            return {};
        if (m_comboLists.contains(col)) {
            const QString key = text(gridRow, col);
            for (const auto& [itemKey, itemText] : comboItems(col)) {
                if (itemKey == key)
                    return itemText;
            }
            return key;
        }
        return text(gridRow, col);
    case Qt::EditRole:
        return text(gridRow, col);
    case Qt::CheckStateRole:
        if (!isCheckColumn(col))
            return {};
        return text(gridRow, col).toDouble() != 0 ? Qt::Checked : Qt::Unchecked;
    case Qt::BackgroundRole:
        if (const QColor color = cellBackColor(gridRow, col); color.isValid())
            return QBrush(color);
        return {};
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < cols())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid())
        return false;
    if (role == Qt::CheckStateRole && isCheckColumn(index.column())) {
        const bool checked = value.toInt() == Qt::Checked;
        setText(index.row() + 1, index.column(), checked ? QStringLiteral("-1") : QStringLiteral("0"));
        return true;
    }
    if (role != Qt::EditRole)
        return false;
    setText(index.row() + 1, index.column(), value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!m_editable)
        return flags;
    if (isCheckColumn(index.column()))
        return flags | Qt::ItemIsUserCheckable;
    return flags | Qt::ItemIsEditable;
}

void GridModel::setCheckColumn(int col, bool checkBoxes)
{
    if (checkBoxes)
        m_checkColumns.insert(col);
    else
        m_checkColumns.remove(col);
    if (dataRows() > 0 && col >= 0 && col < cols())
        emit dataChanged(index(0, col), index(dataRows() - 1, col));
}

void GridModel::setCellBackColor(int gridRow, int col, const QColor& color)
{
    checkCell(gridRow, col, "CellBackColor");
    m_cellColors.insert({gridRow, col}, color);
    emit dataChanged(index(gridRow - 1, col), index(gridRow - 1, col), {Qt::BackgroundRole});
}

void GridModel::setBlockBackColor(int row1, int col1, int row2, int col2, const QColor& color)
{
    checkCell(row1, col1, "CellBackColor");
    checkCell(row2, col2, "CellBackColor");
    const ColorBlock block {std::min(row1, row2), std::min(col1, col2), std::max(row1, row2),
                            std::max(col1, col2), color};
    m_cellColors.removeIf([&](const auto& entry) {
        const auto [row, col] = entry.key();
        return row >= block.row1 && row <= block.row2 && col >= block.col1 && col <= block.col2;
    });
    m_colorBlocks.push_back(block);
    if (dataRows() > 0)
        emit dataChanged(index(std::max(0, block.row1 - 1), block.col1),
                         index(std::max(0, block.row2 - 1), block.col2), {Qt::BackgroundRole});
}

QColor GridModel::cellBackColor(int gridRow, int col) const
{
    if (const auto own = m_cellColors.constFind({gridRow, col}); own != m_cellColors.cend())
        return *own;
    for (auto block = m_colorBlocks.crbegin(); block != m_colorBlocks.crend(); ++block) {
        if (gridRow >= block->row1 && gridRow <= block->row2 && col >= block->col1 && col <= block->col2)
            return block->color;
    }
    return {};
}

void GridModel::setColumnComboList(int col, const QString& list)
{
    if (list.isEmpty())
        m_comboLists.remove(col);
    else
        m_comboLists.insert(col, list);
}

QList<std::pair<QString, QString>> GridModel::comboItems(int col) const
{
    QList<std::pair<QString, QString>> items;
    for (const QString& entry : m_comboLists.value(col).split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
        if (entry.startsWith(QLatin1Char('#'))) {
            const qsizetype separator = entry.indexOf(QLatin1Char(';'));
            if (separator > 0) {
                items.append({entry.mid(1, separator - 1), entry.mid(separator + 1)});
                continue;
            }
        }
        items.append({entry, entry});
    }
    return items;
}

void GridModel::sortRows(int col, Qt::SortOrder order)
{
    if (m_recordset)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("Sort: the rows of a bound grid keep their recordset's order"));
    checkCell(0, col, "Sort");
    QCollator collator;
    collator.setNumericMode(true);
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<int> sorted(m_cells.size());
    std::iota(sorted.begin(), sorted.end(), 0);
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        const int compared = collator.compare(m_cells[size_t(a)][col], m_cells[size_t(b)][col]);
        return order == Qt::AscendingOrder ? compared < 0 : compared > 0;
    });
    permuteRows(sorted);
}

void GridModel::moveRow(int fromGridRow, int toGridRow)
{
    if (m_recordset)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("RowPosition: the rows of a bound grid keep their recordset's order"));
    checkCell(fromGridRow, 0, "RowPosition");
    checkCell(toGridRow, 0, "RowPosition");
    if (fromGridRow < 1 || toGridRow < 1)
        throw Error(ErrorNumber::InvalidProcedureCall,
                    QStringLiteral("RowPosition: the header row does not move"));
    std::vector<int> order(m_cells.size());
    std::iota(order.begin(), order.end(), 0);
    const int moved = order[size_t(fromGridRow - 1)];
    order.erase(order.begin() + (fromGridRow - 1));
    order.insert(order.begin() + (toGridRow - 1), moved);
    permuteRows(order);
}

// newOrder[i] is the old data row that becomes data row i; row data and cell colours travel
// with their rows.
void GridModel::permuteRows(const std::vector<int>& newOrder)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<QStringList> cells(newOrder.size());
    std::vector<QVariant> rowData(newOrder.size());
    std::vector<int> newPlace(newOrder.size());
    for (size_t i = 0; i < newOrder.size(); ++i) {
        cells[i] = std::move(m_cells[size_t(newOrder[i])]);
        if (size_t(newOrder[i]) < m_rowData.size())
            rowData[i] = std::move(m_rowData[size_t(newOrder[i])]);
        newPlace[size_t(newOrder[i])] = int(i);
    }
    m_cells = std::move(cells);
    m_rowData = std::move(rowData);
    QHash<std::pair<int, int>, QColor> colors;
    for (auto it = m_cellColors.cbegin(); it != m_cellColors.cend(); ++it) {
        const auto [row, col] = it.key();
        colors.insert({row == 0 ? 0 : newPlace[size_t(row - 1)] + 1, col}, it.value());
    }
    m_cellColors = std::move(colors);
    QModelIndexList from;
    QModelIndexList to;
    for (const QModelIndex& persistent : persistentIndexList()) {
        from << persistent;
        to << index(newPlace[size_t(persistent.row())], persistent.column());
    }
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace bryx
