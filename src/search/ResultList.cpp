#include "ResultList.h"

#include "SearchSession.h"
#include "SearchUi.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "controls/Controls.h"
#include "controls/FlexGrid.h"
#include "error/Error.h"
#include "recordset/Recordset.h"
#include "util/Misc_Functions.h"
#include "util/RS_Functions.h"

namespace bryx {

void ResultList::Run(const QString& statement)
{
    const BusyPointer busy;
    FlexGrid& grid = *m_ui.fgSearchResults;
    grid.SetDataSource(nullptr);
    m_ui.lblRecordsReturned->setText(QStringLiteral("Searching..."));
    grid.SetRows(1);
    QString sql = statement;
    m_session.rsResults = m_session.objAppManager->CallGetQueryRSXML(sql);
    if (!m_session.rsResults)
        throw Error(ErrorNumber::ObjectClosed, QStringLiteral("The search answered no recordset"));
    show();
    grid.Refresh();
    if (m_session.rsResults->RecordCount() < 1)
        m_ui.cmdOk->setEnabled(false);
    else
        grid.SetRow(grid.FixedRows());
}

void ResultList::Merge(const std::shared_ptr<Recordset>& row)
{
    m_ui.fgSearchResults->SetDataSource(nullptr);
    if (!m_session.rsResults)
        m_session.rsResults = row;
    else
        RS_Functions::MergeRecord(*row, *m_session.rsResults);
    show();
}

void ResultList::show()
{
    FlexGrid& grid = *m_ui.fgSearchResults;
    grid.SetDataSource(m_session.rsResults);
    Misc_Functions::FormatGridHeaders(grid);
    grid.SetColHidden(HiddenColumn, true);
    ShowCount();
}

void ResultList::Clear()
{
    if (m_session.rsResults) {
        RS_Functions::EmptyRecordset(*m_session.rsResults);
        m_ui.fgSearchResults->Refresh();
    }
    ShowCount();
}

void ResultList::ShowCount()
{
    m_ui.lblRecordsReturned->setText(m_session.rsResults ? QString::number(m_session.rsResults->RecordCount())
                                                         : QStringLiteral("0"));
}

void ResultList::UpdateOk()
{
    m_ui.cmdOk->setEnabled(m_ui.fgSearchResults->Row() >= m_ui.fgSearchResults->FixedRows()
                           || m_ui.fgSearchResults->SelectedRows() > 0);
}

void ResultList::SelectAll()
{
    if (m_ui.fgSearchResults->Rows() < 2)
        return;
    const BusyPointer busy;
    m_ui.fgSearchResults->Select(1, 1, m_ui.fgSearchResults->Rows() - 1, 1);
}

void ResultList::SelectNone()
{
    m_ui.fgSearchResults->Select(0, 0, 0, 0);
    m_ui.fgSearchResults->SetIsSelected(0, false);
}

int ResultList::ChosenRow() const
{
    // A list box's current row is its selected one until the user selects otherwise; a
    // Ctrl+click can leave the current row unselected, and then the current row still counts.
    return m_ui.fgSearchResults->SelectedRows() > 0 ? m_ui.fgSearchResults->SelectedRow(0)
                                                    : m_ui.fgSearchResults->Row();
}

} // namespace bryx
