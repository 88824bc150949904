#pragma once

#include "controls/Form.h"

class QPlainTextEdit;

namespace bryx {
class CommandButton;
class FlexGrid;
} // namespace bryx

namespace bryx::host {

// The host's larger text window for one grid cell, for texts too long to read or edit in the
// cell: it opens on the grid's current cell, read-only where the grid refuses an edit there;
// OK writes the text back through the grid's own edit path, Cancel leaves the cell as it was.
class PopupCellEditor : public Form {
    Q_OBJECT
public:
    PopupCellEditor(FlexGrid& grid, QWidget* parent = nullptr);

    // Shows the window modally over the grid's current cell; false when there is no cell.
    static bool editCurrentCell(FlexGrid& grid);

    QPlainTextEdit* text() const { return m_text; }
    CommandButton* cmdOk() const { return m_cmdOk; }

private:
    void ok();

    FlexGrid& m_grid;
    int m_row = 0;
    int m_col = 0;
    bool m_editable = false;
    QPlainTextEdit* m_text;
    CommandButton* m_cmdOk;
    CommandButton* m_cmdCancel;
};

} // namespace bryx::host
