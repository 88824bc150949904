#pragma once

namespace bryx {

class DetailsSession;
class DetailsUi;
class RecordPages;

// The References page: the name's reference links in the grid, added through a reference
// search, removed, ordered as shown, flagged primary and original (one of each at most), and
// opened in the host's reference window. Nothing reaches the database before the name is saved.
class ReferencesPage {
public:
    ReferencesPage(DetailsSession& session, DetailsUi& ui, RecordPages& pages)
        : m_session(session)
        , m_ui(ui)
        , m_pages(pages)
    {
    }

    void cmdAddReferences_Click();
    void cmdRemoveReferences_Click();
    void fgReferences_BeforeEdit(int row, int col, bool& cancel);
    void fgReferences_AfterEdit(int row, int col);
    // The user sorted or moved rows: the display order follows what is shown.
    void fgReferences_OrderChanged();
    void fgReferences_DblClick();
    void SaveReferenceFlags(int row);

private:
    void renumber();
    DetailsSession& m_session;
    DetailsUi& m_ui;
    RecordPages& m_pages;
};

} // namespace bryx
