#pragma once

#include <QString>

namespace bryx {

class DetailsSession;
class DetailsUi;
class RecordPages;
class RecordStore;

// Paging through the list the editor was given: the navigation strip, the position box,
// Edit > Goto and the go-to dialog. Every move goes through MoveToPosition, which offers to
// save pending changes first and checks that the record still exists.
class RecordNavigation {
public:
    RecordNavigation(DetailsSession& session, DetailsUi& ui, RecordPages& pages, RecordStore& store)
        : m_session(session)
        , m_ui(ui)
        , m_pages(pages)
        , m_store(store)
    {
    }

    void MoveToPosition(const QString& position);
    void ShowGotoDialog();

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

    DetailsSession& m_session;
    DetailsUi& m_ui;
    RecordPages& m_pages;
    RecordStore& m_store;
};

} // namespace bryx
