#pragma once

#include <QString>
#include <cstdint>
#include <memory>

namespace bryx {

class FlexGrid;
class Recordset;
class SearchSession;

// Where the panel's Details and New lead: a details window of the host's window manager, or
// the modal detail dialog when the panel runs without one (inside the modal search dialog).
class DetailsLauncher {
public:
    explicit DetailsLauncher(SearchSession& session)
        : m_session(session)
    {
    }

    // Opens the name of result row `row`, the row alone as the list the window pages through.
    void OpenDetails(const FlexGrid& results, int row);
    // The name type the user picks for a new name; empty when cancelled.
    QString ChooseNewNameType();
    // Starts a new name of that type. From the modal dialog the name is stored by the time this
    // returns: its search row comes back (null when it was not saved).
    std::shared_ptr<Recordset> CreateNewName(const QString& typeCaption);

private:
    std::shared_ptr<Recordset> GetSearchRowByID(int32_t id);

    SearchSession& m_session;
};

} // namespace bryx
