#pragma once

#include <QString>
#include <QVariant>

namespace bryx {

// What the recordset procedures read of a result grid: header rows on top, column 0 of
// every data row holding the record's ID as text, selected rows counted from 0.
class ResultGrid {
public:
    virtual ~ResultGrid() = default;
    virtual int Rows() const = 0;
    virtual int FixedRows() const = 0;
    virtual int Row() const = 0;
    virtual int SelectedRows() const = 0;
    virtual int SelectedRow(int index) const = 0;
    virtual QString TextMatrix(int row, int col) const = 0;
};

// What the grid procedures also use: the column count, writing header text, and the per-row
// data value that holds the identifier of the object a row shows.
class EditableGrid : public ResultGrid {
public:
    virtual int Cols() const = 0;
    virtual void SetTextMatrix(int row, int col, const QString& text) = 0;
    virtual QVariant RowData(int row) const = 0;
};

} // namespace bryx
