#include "GridModel.h"

#include "error/Error.h"
#include "recordset/Recordset.h"

namespace bryx {

void GridModel::bind(std::shared_ptr<Recordset> recordset)
{
    beginResetModel();
    m_recordset = std::move(recordset);
    m_cells.clear();
    m_rowData.clear();
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

QString GridModel::text(int gridRow, int col) const
{
    if (col < 0 || col >= cols() || gridRow < 0 || gridRow > dataRows())
        throw Error(ErrorNumber::SubscriptOutOfRange,
                    QStringLiteral("TextMatrix(%1, %2): the grid has %3 rows and %4 columns")
                        .arg(gridRow)
                        .arg(col)
                        .arg(dataRows() + 1)
                        .arg(cols()));
    if (gridRow == 0)
        return m_headers[col];
    if (m_recordset)
        return m_recordset->TextAt(gridRow - 1, col);
    return m_cells[size_t(gridRow - 1)][col];
}

void GridModel::setText(int gridRow, int col, const QString& text)
{
    this->text(gridRow, col); // checks the cell exists
    if (gridRow == 0) {
        m_headers[col] = text;
        emit headerDataChanged(Qt::Horizontal, col, col);
        return;
    }
    if (m_recordset)
        throw Error(ErrorNumber::IllegalOperation,
                    QStringLiteral("TextMatrix(%1, %2): the cells of a bound grid come from its recordset")
                        .arg(gridRow)
                        .arg(col));
    m_cells[size_t(gridRow - 1)][col] = text;
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
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return text(index.row() + 1, index.column());
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < cols())
        return m_headers[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || m_recordset)
        return false;
    setText(index.row() + 1, index.column(), value.toString());
    return true;
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!m_recordset)
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace bryx
