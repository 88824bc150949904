#include "WorkingListChanges.h"

#include "SearchSession.h"
#include "collection/Collection.h"
#include "common/BusyPointer.h"
#include "contracts/HostWindow.h"
#include "controls/FlexGrid.h"
#include "error/Error.h"
#include "recordset/Recordset.h"
#include "util/RS_Functions.h"

#include <QScopeGuard>

namespace bryx {

void WorkingListChanges::AddSelected()
{
    change(&RS_Functions::AddSelectedRows);
}

void WorkingListChanges::ReplaceWithSelected()
{
    change(&RS_Functions::ReplaceWithSelectedRows);
}

void WorkingListChanges::change(void (*how)(const ResultGrid&, Recordset&, Recordset&))
{
    if (!m_session.rsResults)
        return;
    if (!m_session.rsView)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("There is no working list to put the names in"));
    const BusyPointer busy;
    // The host's list repaints once, after all rows are in, and repaints even when the change
    // fails half-way.
    const auto host = m_session.hostWindow();
    host->SetMainGridRedraw(false);
    const auto redraw = qScopeGuard([&host] { host->SetMainGridRedraw(true); });
    how(m_results, *m_session.rsResults, *m_session.rsView);
}

void WorkingListChanges::HandOverSelection()
{
    if (m_session.colSelectedItems) {
        for (int position = 0; position < m_results.SelectedRows(); ++position)
            m_session.colSelectedItems->Add(m_results.TextMatrix(m_results.SelectedRow(position), 0));
    }
    if (m_session.blnUseRecordset && m_session.rsView && m_session.rsResults)
        RS_Functions::ReplaceWithSelectedRows(m_results, *m_session.rsResults, *m_session.rsView);
}

} // namespace bryx
