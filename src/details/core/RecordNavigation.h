#pragma once

#include <QString>

namespace bryx {

class ScientificDetails;

// Paging through the list the editor was given: the navigation strip, the position box,
// Edit > Goto and the go-to dialog. Every move goes through MoveToPosition, which offers to
// save pending changes first and checks that the record still exists.
class RecordNavigation {
public:
    explicit RecordNavigation(ScientificDetails& details)
        : m_details(details)
    {
    }

    void MoveToPosition(const QString& position);
    void ShowCurrentRecord();
    void RefreshPosition();
    void ShowGotoDialog();
    // After the record shown left the list: the record now at the position shown (the last
    // when the list got shorter than that), shown with its position and the new total.
    void ShowRecordAtShownPosition();

    void cmdNavFirst_Click();
    void cmdNavPrev_Click();
    void cmdNavNext_Click();
    void cmdNavLast_Click();
    void txtCurrentRecord_Validate(bool& cancel);
    void txtCurrentRecord_KeyPress(int& keyAscii);
    void txtCurrentRecord_LostFocus();

private:
    int shownPosition() const;
    int rowCount() const;
    // The position box back to where the list stands (one past the end for a new record).
    void resetPositionBox();
    void moveTo(const QString& position);

    ScientificDetails& m_details;
};

} // namespace bryx
