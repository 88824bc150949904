#include "EstablishedName.h"

#include "DetailsSession.h"
#include "DetailsUi.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "contracts/WindowManager.h"
#include "controls/Controls.h"
#include "dialogs/frmModalSearch.h"
#include "error/Error.h"
#include "recordset/Field.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"
#include "services/MessageBox.h"

#include <optional>

namespace bryx {

void EstablishedName::cmdSelectNomenclatureName_Click()
{
    DetailsSession& d = m_session;
    std::shared_ptr<Recordset> picked;
    std::optional<frmModalSearch> dialog;
    std::optional<BusyPointer> busy;
    try {
        picked = d.objAppManager->GetPrototypeRSForView(QStringLiteral("SNM"));
        dialog.emplace(d.window());
        selectFromSearch(*dialog, picked, busy);
    } catch (const std::exception& error) {
        // Said while the dialog is still there; the clean-up follows.
        MsgBox(QStringLiteral("An error occurred while selecting a Nomenclaturally Established Name: ")
                   + Error::from(error).Description(),
               MsgBoxStyle::Exclamation);
    }
    // The dialog goes and the pointer comes back on every way out; a failing clean-up is no news.
    try {
        if (dialog && !dialog->isUnloaded())
            dialog->Unload();
        if (picked)
            picked->Close();
    } catch (...) {
    }
}

void EstablishedName::selectFromSearch(frmModalSearch& dialog, std::shared_ptr<Recordset>& picked,
                                       std::optional<BusyPointer>& busy)
{
    DetailsSession& d = m_session;
    if (!dialog.InitDialog(QLatin1String(registration::SearchProgId), d.objAppManager, picked, QString()))
        return;
    dialog.SetIcon(d.hostWindow()->Icon());
    dialog.UseSelectedRecordset(true);
    dialog.SetSingleSelect();
    dialog.ShowModal();
    busy.emplace();
    if (!picked || picked->State() != ObjectState::Open || picked->RecordCount() < 1)
        return;
    picked->MoveFirst();
    const int32_t id = picked->Fields(QStringLiteral("ID")).Value().toInt();
    if (id == d.lngID) {
        // A name that rests on itself would send every reader in a circle.
        busy.reset();
        MsgBox(QStringLiteral("A scientific name cannot be its own nomenclaturally established name. Choose "
                              "another name."),
               MsgBoxStyle::Exclamation, QStringLiteral("Nomenclaturally Established Name"));
        return;
    }
    d.objRecord->SetNomenclaturallyEstablishedId(id);
    m_ui.txtEstablishedName->setText(picked->Fields(QStringLiteral("SCIENTIFIC_NAME")).Value().toString());
    m_ui.txtEstablishedAuthor->setText(picked->Fields(QStringLiteral("AUTHOR")).Value().toString());
}

void EstablishedName::cmdClearNomenclatureName_Click()
{
    DetailsSession& d = m_session;
    d.objRecord->SetNomenclaturallyEstablishedId(QString());
    m_ui.txtEstablishedName->setText(QString());
    m_ui.txtEstablishedAuthor->setText(QString());
}

void EstablishedName::mnuFileOpenNomenclature_Click()
{
    DetailsSession& d = m_session;
    if (!m_ui.mnuFileOpenNomenclature->isEnabled())
        return;
    try {
        if (!OpenRelatedRecords(QStringLiteral("SNM"), m_ui.mnuFileOpenNomenclature->text()))
            d.objAppManager->Message(QStringLiteral("SNM006"), nullptr);
    } catch (const std::exception&) {
        d.DisplayMessage(QStringLiteral("MGA013"), QStringLiteral("Nomenclaturally Established Name"));
    }
}

bool EstablishedName::OpenRelatedRecords(const QString& targetCode, const QString& caption)
{
    DetailsSession& d = m_session;
    QString sql =
        d.objAppManager->MenuBuilder()->GetConvertFromParentSQL(QStringLiteral("SNM"), targetCode, caption);
    if (sql.isEmpty())
        return false;
    sql.replace(QLatin1Char('?'), QString::number(d.lngID));
    auto related = d.RunQuery(sql);
    if (!related || related->RecordCount() < 1)
        return false;
    if (!d.objWinMan)
        throw Error(ErrorNumber::ObjectClosed, QStringLiteral("A modal editor opens no windows of its own"));
    related->MoveFirst();
    const int view = d.FindViewIndex(targetCode);
    d.objWinMan->OpenDetails(view, view, related->Fields(QStringLiteral("ID")).Value().toInt(), QString(),
                             &related);
    return true;
}

} // namespace bryx
