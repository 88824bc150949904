#pragma once

#include <memory>

namespace bryx {

class FlexGrid;
class Recordset;
class ResultGrid;
class SearchSession;

// Where the names chosen in the result grid go: into the host's working list, added to it or
// replacing it, with the host's list frozen until every row is in; or back to a modal caller,
// as IDs in its collection and, when it asked for them, as rows in its recordset.
class WorkingListChanges {
public:
    WorkingListChanges(SearchSession& session, FlexGrid& results)
        : m_session(session)
        , m_results(results)
    {
    }

    void AddSelected();
    void ReplaceWithSelected();
    void HandOverSelection();

private:
    void change(void (*how)(const ResultGrid&, Recordset&, Recordset&));

    SearchSession& m_session;
    FlexGrid& m_results;
};

} // namespace bryx
