#pragma once

#include <QString>
#include <memory>

namespace bryx {

class Recordset;
class SearchSession;
class SearchUi;

// The result of a search in the panel's grid: the statement run through the host, the rows
// shown with their count, a name created from the panel merged in, and the selection the
// buttons act on.
class ResultList {
public:
    // The name type code: the type buttons above the grid say it already.
    static constexpr int HiddenColumn = 3;

    ResultList(SearchSession& session, SearchUi& ui)
        : m_session(session)
        , m_ui(ui)
    {
    }

    void Run(const QString& statement);
    void Merge(const std::shared_ptr<Recordset>& row);
    void Clear();
    void ShowCount();
    // OK is for a chosen row.
    void UpdateOk();
    void SelectAll();
    void SelectNone();
    // The row Details acts on: the first selected row, else the current row.
    int ChosenRow() const;

private:
    void show();

    SearchSession& m_session;
    SearchUi& m_ui;
};

} // namespace bryx
