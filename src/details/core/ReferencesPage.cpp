#include "ReferencesPage.h"

#include "DetailsSession.h"
#include "DetailsUi.h"
#include "RecordPages.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "contracts/WindowManager.h"
#include "controls/FlexGrid.h"
#include "dialogs/frmModalSearch.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "util/Misc_Functions.h"

#include <QApplication>
#include <QPalette>
#include <algorithm>

namespace bryx {

namespace {

constexpr const char* ReferenceSearchProgId = "BRYX_Reference.ReferenceSearch";
const QString Checked = QStringLiteral("-1");
const QString Unchecked = QStringLiteral("0");

QString yesOrNo(const QString& cell)
{
    return cell.toInt() == 0 ? QStringLiteral("N") : QStringLiteral("Y");
}

} // namespace

void ReferencesPage::renumber()
{
    DetailsSession& d = m_session;
    Misc_Functions::RenumberDisplayOrder(*m_ui.fgReferences, *d.objRecord->ReferenceLinks(),
                                         QStringLiteral("ReferenceID"), d.objAppManager->GetUserName());
}

void ReferencesPage::cmdAddReferences_Click()
{
    DetailsSession& d = m_session;
    FlexGrid& grid = *m_ui.fgReferences;
    auto picked = d.objAppManager->GetPrototypeRSForView(QStringLiteral("REF"));
    frmModalSearch dialog(d.window());
    if (!dialog.InitDialog(QLatin1String(ReferenceSearchProgId), d.objAppManager, picked, QString()))
        return;
    dialog.SetIcon(d.hostWindow()->Icon());
    dialog.UseSelectedRecordset(true);
    dialog.ShowModal();
    const BusyPointer busy;
    const auto links = d.objRecord->ReferenceLinks();
    const QColor buttonFace = QApplication::palette().color(QPalette::Button);
    if (picked && picked->State() == ObjectState::Open && picked->RecordCount() > 0) {
        for (picked->MoveFirst(); !picked->IsEOF(); picked->MoveNext()) {
            const QString id = picked->Fields(QStringLiteral("ID")).Value().toString();
            if (links->Find(QStringLiteral("ReferenceId = ") + id))
                continue;
            links->Add();
            const auto link = links->Item(links->Count());
            link->SetField(QStringLiteral("ReferenceID"), id.toInt());
            link->SetField(QStringLiteral("RecCreateUser"), d.strUserName);
            link->SetField(QStringLiteral("OrgUnitId"), d.objAppManager->GetSystemOrgUnitID());
            link->SetField(QStringLiteral("ReferenceCode"),
                           picked->Fields(QStringLiteral("Reference_Code")).Value());
            link->SetField(QStringLiteral("FullCitation"),
                           picked->Fields(QStringLiteral("Full_Citation")).Value());
            const int row = grid.Rows();
            grid.SetRows(row + 1);
            const bool primary =
                link->Field(QStringLiteral("PrimaryReferenceInd")).toString() == QLatin1String("Y");
            const bool original =
                link->Field(QStringLiteral("OriginalPublicationInd")).toString() == QLatin1String("Y");
            grid.SetTextMatrix(row, DetailsUi::RefColPrimary, primary ? Checked : Unchecked);
            grid.SetTextMatrix(row, DetailsUi::RefColOriginal, original ? Checked : Unchecked);
            grid.SetTextMatrix(row, DetailsUi::RefColLinkId,
                               link->Field(QStringLiteral("ScientificNameReferenceId")).toString());
            grid.SetBlockBackColor(row, DetailsUi::RefColReferenceCode, row, DetailsUi::RefColFullCitation,
                                   buttonFace);
            grid.SetRowData(row, id);
            grid.SetTextMatrix(row, DetailsUi::RefColReferenceCode,
                               picked->Fields(QStringLiteral("Reference_Code")).Value().toString());
            grid.SetTextMatrix(row, DetailsUi::RefColFullCitation,
                               picked->Fields(QStringLiteral("Full_Citation")).Value().toString());
            grid.SetTextMatrix(row, DetailsUi::RefColReferenceId, id);
        }
    }
    renumber();
    dialog.Unload();
}

void ReferencesPage::cmdRemoveReferences_Click()
{
    DetailsSession& d = m_session;
    FlexGrid& grid = *m_ui.fgReferences;
    const auto links = d.objRecord->ReferenceLinks();
    // The selected rows, bottom first, so that each removal leaves the others where they are.
    QList<int> selected;
    for (int index = 0; index < grid.SelectedRows(); ++index)
        selected << grid.SelectedRow(index);
    std::sort(selected.begin(), selected.end(), std::greater<>());
    for (const int row : std::as_const(selected)) {
        const QString linkId = grid.TextMatrix(row, DetailsUi::RefColLinkId);
        if (const auto link = links->Find(QStringLiteral("ScientificNameReferenceId = ") + linkId))
            link->Delete();
        d.changedReferences = true;
        grid.RemoveItem(row);
    }
    if (grid.SelectedRows() > 0)
        m_pages.LoadReferencesGrid();
    renumber();
}

void ReferencesPage::fgReferences_BeforeEdit(int, int col, bool& cancel)
{
    if (col == DetailsUi::RefColReferenceCode || col == DetailsUi::RefColFullCitation)
        cancel = true;
}

void ReferencesPage::fgReferences_AfterEdit(int row, int col)
{
    FlexGrid& grid = *m_ui.fgReferences;
    if (col != DetailsUi::RefColPrimary && col != DetailsUi::RefColOriginal)
        return;
    if (grid.TextMatrix(row, col) == Checked) {
        // One primary and one original reference at most: checking one unchecks the other.
        for (int other = grid.FixedRows(); other < grid.Rows(); ++other) {
            if (other != row && grid.TextMatrix(other, col) == Checked) {
                grid.SetTextMatrix(other, col, Unchecked);
                SaveReferenceFlags(other);
            }
        }
    }
    SaveReferenceFlags(row);
}

void ReferencesPage::SaveReferenceFlags(int row)
{
    DetailsSession& d = m_session;
    FlexGrid& grid = *m_ui.fgReferences;
    const auto link = d.objRecord->ReferenceLinks()->Find(QStringLiteral("ScientificNameReferenceId = ")
                                                          + grid.TextMatrix(row, DetailsUi::RefColLinkId));
    if (!link)
        return;
    link->SetField(QStringLiteral("PrimaryReferenceInd"),
                   yesOrNo(grid.TextMatrix(row, DetailsUi::RefColPrimary)));
    link->SetField(QStringLiteral("OriginalPublicationInd"),
                   yesOrNo(grid.TextMatrix(row, DetailsUi::RefColOriginal)));
    if (link->IsChanged())
        link->SetField(QStringLiteral("RecLastModUser"), d.strUserName);
}

void ReferencesPage::fgReferences_OrderChanged()
{
    renumber();
}

void ReferencesPage::fgReferences_DblClick()
{
    DetailsSession& d = m_session;
    FlexGrid& grid = *m_ui.fgReferences;
    if (grid.SelectedRows() < 1 || !d.objWinMan)
        return;
    const int32_t referenceId = grid.TextMatrix(grid.SelectedRow(0), DetailsUi::RefColReferenceId).toInt();
    const int view = d.FindViewIndex(QStringLiteral("REF"));
    d.objWinMan->OpenDetails(view, view, referenceId, QString(), nullptr);
}

} // namespace bryx
