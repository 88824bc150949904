#pragma once

#include <cstdint>

namespace bryx {

class DataCombo;
class LookupList;
class ScientificDetails;

// How a record gets onto the editor's screen: the record object is read, each tab page binds
// its controls to the record's fields the first time it is shown, the Identifiers page is laid
// out for the record's name type, the category and level lists are kept consistent, and the
// summary strip, the window caption, the record ID and the universal key follow the record.
class RecordPages {
public:
    explicit RecordPages(ScientificDetails& details)
        : m_details(details)
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
    static void showList(DataCombo& combo, const LookupList& list, const char* textColumn);

    ScientificDetails& m_details;
};

} // namespace bryx
