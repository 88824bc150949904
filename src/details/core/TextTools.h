#pragma once

class QObject;

namespace bryx {

class DetailsSession;
class DetailsUi;
class RecordNavigation;

// The Tools menu's text tools: Find, which replaces the list being paged through by the
// names chosen in a search; the larger editor for the field or grid that has the focus; and
// the spelling check of the rich-text field that has the focus. Failures go to the host's
// default error report.
class TextTools {
public:
    TextTools(DetailsSession& session, DetailsUi& ui, RecordNavigation& navigation)
        : m_session(session)
        , m_ui(ui)
        , m_navigation(navigation)
    {
    }

    void mnuToolsFind_Click();
    void mnuToolsTextEditor_Click();
    void mnuToolsSpellcheck_Click();

private:
    DetailsSession& m_session;
    DetailsUi& m_ui;
    RecordNavigation& m_navigation;
};

} // namespace bryx
