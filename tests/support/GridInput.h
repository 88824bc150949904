#pragma once

#include "UserInput.h"
#include "controls/FlexGrid.h"

namespace bryx::test {

// The middle of a grid row's second cell (rows counted as the grid counts them, headers
// included), scrolled into view first, where a user's pointer lands on the row.
inline QPoint rowCentre(FlexGrid& grid, int row)
{
    const QModelIndex cell =
        grid.model()->index(row - grid.FixedRows(), grid.model()->columnCount() > 1 ? 1 : 0);
    grid.scrollTo(cell);
    return grid.visualRect(cell).center();
}

// A double-click on a grid row, as the mouse delivers it.
inline void doubleClickRow(FlexGrid& grid, int row)
{
    mouseDoubleClick(*grid.viewport(), rowCentre(grid, row));
}

} // namespace bryx::test
