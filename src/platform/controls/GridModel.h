#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>
#include <vector>

namespace bryx {

class Recordset;

// The cells behind a FlexGrid, in grid coordinates: row 0 is the header row, data rows follow.
// Unbound, the grid keeps its own texts; bound, it reads the recordset's visible rows in place,
// so binding a million rows copies nothing and costs no memory per row. Cell decorations
// (check-box columns, back colours, drop-down lists) are kept per column or sparsely per cell,
// never per row of a bound recordset.
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

    // Editing by the user; cells of a bound grid write through to the recordset.
    void setEditable(bool editable) { m_editable = editable; }
    bool editable() const { return m_editable; }

    // A check-box column shows its cells as boxes: "-1" (or any non-zero number) checked, "0"
    // or empty unchecked. Toggling writes "-1" or "0".
    void setCheckColumn(int col, bool checkBoxes);
    bool isCheckColumn(int col) const { return m_checkColumns.contains(col); }

    // Back colours: a cell's own colour wins over the latest block that covers it; a block set
    // later forgets the cell colours inside it.
    void setCellBackColor(int gridRow, int col, const QColor& color);
    void setBlockBackColor(int row1, int col1, int row2, int col2, const QColor& color);
    QColor cellBackColor(int gridRow, int col) const;

    // The drop-down list a column's editor offers: "A|B|C", or "#key;text|..." so that the
    // cell holds the key and shows the text.
    void setColumnComboList(int col, const QString& list);
    QString columnComboList(int col) const { return m_comboLists.value(col); }
    QList<std::pair<QString, QString>> comboItems(int col) const;

    // Row order of an unbound grid.
    void sortRows(int col, Qt::SortOrder order);
    void moveRow(int fromGridRow, int toGridRow);

private:
    struct ColorBlock {
        int row1, col1, row2, col2;
        QColor color;
    };
    void checkCell(int gridRow, int col, const char* operation) const;
    void permuteRows(const std::vector<int>& newOrder);

    bool m_editable = false;
    QSet<int> m_checkColumns;
    QHash<std::pair<int, int>, QColor> m_cellColors; // (grid row, col)
    std::vector<ColorBlock> m_colorBlocks;
    QHash<int, QString> m_comboLists;

    std::shared_ptr<Recordset> m_recordset;
    QStringList m_headers;
    std::vector<QStringList> m_cells; // unbound data rows
    std::vector<QVariant> m_rowData; // per data row, bound or not
};

} // namespace bryx
