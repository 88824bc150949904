#pragma once

#include <QString>

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

} // namespace bryx
