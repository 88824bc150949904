#pragma once

class QObject;

namespace bryx {

class ScientificDetails;

// The Tools menu's text tools: Find, which replaces the list being paged through by the
// names chosen in a search; the larger editor for the field or grid that has the focus; and
// the spelling check of the rich-text field that has the focus. Failures go to the host's
// default error report.
class TextTools {
public:
    explicit TextTools(ScientificDetails& details)
        : m_details(details)
    {
    }

    void mnuToolsFind_Click();
    void mnuToolsTextEditor_Click();
    void mnuToolsSpellcheck_Click();

private:
    ScientificDetails& m_details;
};

} // namespace bryx
