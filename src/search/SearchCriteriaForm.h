#pragma once

#include "SearchCriteria.h"
#include "SearchStateXml.h"

namespace bryx {

class SearchSession;
class SearchUi;

// The panel's criteria controls: read as one SearchCriteria, reset for a new search, set from a
// saved search, and the two lookup lists kept in step with the name type and category chosen.
class SearchCriteriaForm {
public:
    SearchCriteriaForm(SearchSession& session, SearchUi& ui)
        : m_session(session)
        , m_ui(ui)
    {
    }

    SearchCriteria Criteria() const;
    // Empty texts, the first name type with its categories, the first comparison.
    void Reset();
    // What a saved state holds, on criteria just reset. A comparison that is not a whole
    // number raises an error.
    void Apply(const SearchStateXml::SavedState& state);

    // A name type button was clicked: its categories replace the lists.
    void NameTypeChosen(int index);
    // A category was chosen: its classification levels fill the level list.
    void CategoryChosen();
    // Switches a name type button on from code, running its click here; nothing when on.
    void SetNameType(int index);
    // Switches a name type button on, or clicks it again when it is on already.
    void SwitchOnNameType(int index);
    void LoadCategoriesOf(int index);

private:
    SearchSession& m_session;
    SearchUi& m_ui;
};

} // namespace bryx
