#pragma once

#include <cstdint>

namespace bryx {

class DetailsSession;
class DetailsUi;
class BusyPicture;
class DataCombo;
class LookupList;

// How a record gets onto the editor's screen: the record object is read, each tab page binds
// its controls to the record's fields the first time it is shown, the Identifiers page is laid
// out for the record's name type, the category and level lists are kept consistent, and the
// summary strip, the window caption, the record ID and the universal key follow the record.
class RecordPages {
public:
    RecordPages(DetailsSession& session, DetailsUi& ui, BusyPicture& busy)
        : m_session(session)
        , m_ui(ui)
        , m_busy(busy)
    {
    }

    void LoadData(int32_t lngIDLocal);
    // A blank record of the editor's name type, shown as position 1 of 1; answers its ID.
    int32_t NewData();
    // Replaces the record shown by a blank record of that type, one past the end of the list.
    void NewRecord(int32_t type);
    // Makes page `page` current and binds it when it is shown for the first time.
    void TabChange(int page);
    void UpdateSummary();
    void ClearFields();
    void ShowEstablishedName(int32_t& id);
    // The record of the session's ID, read afresh and shown from its first page.
    void ShowCurrentRecord();
    // After the record shown left the list: the record now at the position shown (the last
    // when the list got shorter than that), shown with its position and the new total.
    void ShowRecordAtShownPosition();
    // The position box and the total follow the record's place in the list.
    void RefreshPosition();
    void LoadReferencesGrid();

    // Handlers of the page controls.
    void cboCategory_Change();
    void ctrScientificName_Validate(bool& cancel);
    void chkPlaceholderName_Click();

private:
    void LoadIdentifiersPage();
    void LoadNomenclaturePage();
    void LoadReferencesPage();
    void LoadCommentsPage();
    int32_t nameTypeOfCategory();
    // A fresh record object with a blank record started on it, its users and unit filled in.
    void startBlankRecord();
    // Binds a code-list combo to its field again: twice, as the combo resolves the bound key
    // to its description only once the list is in place.
    void rebindCombo(DataCombo& combo, const char* fieldName, int times);
    // Binds the page's controls to their fields and tags each with the field it shows.
    void bindPage(int page);
    static void showList(DataCombo& combo, const LookupList& list, const char* textColumn);

    DetailsSession& m_session;
    DetailsUi& m_ui;
    BusyPicture& m_busy;
};

} // namespace bryx
