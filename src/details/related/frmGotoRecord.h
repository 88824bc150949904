#pragma once

#include "controls/Form.h"

#include <cstdint>
#include <memory>

namespace bryx {

class CommandButton;
class FlexGrid;
class Recordset;

// The go-to dialog of the details editor (caption "Goto Record"): every row of the list being
// paged through, under one header row; OK or a double-click on a row picks the first selected
// row's number, Cancel picks nothing.
class frmGotoRecord : public Form {
    Q_OBJECT
    Q_PROPERTY(int GotoRecordPosition READ GotoRecordPosition)
public:
    explicit frmGotoRecord(QWidget* parent = nullptr);

    // Shows the recordset's rows and columns, headers worded for reading. The dialog only
    // reads the recordset; its current row is left where it was.
    void LoadRecordset(const std::shared_ptr<Recordset>& Records);
    // The row number picked (1 the first row); 0 when nothing was picked.
    int32_t GotoRecordPosition() const { return m_position; }

    FlexGrid* vsgRecords() const { return m_vsgRecords; }
    CommandButton* cmdOK() const { return m_cmdOK; }
    CommandButton* cmdCancel() const { return m_cmdCancel; }

private:
    void cmdOK_Click();

    FlexGrid* m_vsgRecords;
    CommandButton* m_cmdOK;
    CommandButton* m_cmdCancel;
    int32_t m_position = 0;
};

} // namespace bryx
