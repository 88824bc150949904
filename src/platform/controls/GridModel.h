#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <memory>
#include <vector>

namespace bryx {

class Recordset;

// The cells behind a FlexGrid, in grid coordinates: row 0 is the header row, data rows follow.
// Unbound, the grid keeps its own texts; bound, it reads the recordset's visible rows in place,
// so binding a million rows copies nothing and costs no memory per row.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Bound use. Column headers start as the field names.
    void bind(std::shared_ptr<Recordset> recordset);
    void unbind();
    const std::shared_ptr<Recordset>& recordset() const { return m_recordset; }
    // Re-reads a bound recordset after its rows changed.
    void refresh();

    // Unbound use.
    void setSize(int dataRows, int cols);

    int dataRows() const;
    int cols() const;
    QString text(int gridRow, int col) const;
    void setText(int gridRow, int col, const QString& text);
    QVariant rowData(int gridRow) const;
    void setRowData(int gridRow, const QVariant& value);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::shared_ptr<Recordset> m_recordset;
    QStringList m_headers;
    std::vector<QStringList> m_cells; // unbound data rows
    std::vector<QVariant> m_rowData; // per data row, bound or not
};

} // namespace bryx
