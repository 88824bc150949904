#include "frmModalSearch.h"

#include "collection/Collection.h"
#include "error/Error.h"
#include "hosting/LateBinding.h"
#include "hosting/UserControl.h"
#include "recordset/Recordset.h"
#include "services/MessageBox.h"
#include "services/Screen.h"

namespace bryx {

frmModalSearch::frmModalSearch(QWidget* parent)
    : ModalHostForm(QStringLiteral("ModalSearch"), parent)
{
    SetCaption(QStringLiteral("Search"));
}

bool frmModalSearch::InitDialog(const QString& progId, std::shared_ptr<AppManager> appManager,
                                std::shared_ptr<Recordset>& rsTemp, const QString& extraInfo)
{
    try {
        setEnabled(false); // takes no input until it is activated
        keepAppManager(std::move(appManager));
        addComponent(progId);
        fitToComponent();
        DesktopServices::current().doEvents();
        QVariantList arguments {QVariant::fromValue(sharedAppManager()), QVariant::fromValue(rsTemp),
                                extraInfo};
        CallByName(*component(), QStringLiteral("InitModalSearch"), arguments);
        rsTemp = arguments[1].value<std::shared_ptr<Recordset>>();
        useHelpFileOfHost();
        return true;
    } catch (const std::exception& caught) {
        MsgBox(Error::from(caught).Description(), MsgBoxStyle::OKOnly);
        release();
        Unload();
        return false;
    }
}

void frmModalSearch::UseSelectedRecordset(bool blnUseRecordset)
{
    CallByName(*component(), QStringLiteral("UseSelectedRecordset"), {blnUseRecordset});
}

void frmModalSearch::SetSelectedItems(std::shared_ptr<Collection>& colSelectedItems)
{
    QVariantList arguments {QVariant::fromValue(colSelectedItems)};
    CallByName(*component(), QStringLiteral("SetSelectedItems"), arguments);
    colSelectedItems = arguments[0].value<std::shared_ptr<Collection>>();
}

void frmModalSearch::SetSingleSelect()
{
    try {
        CallByName(*component(), QStringLiteral("SetSingleSelect"));
    } catch (...) {
        // Not every search component can be limited to one row; that is no reason to fail.
    }
}

void frmModalSearch::SetMutliSelect(bool blnSelect)
{
    CallByName(*component(), QStringLiteral("SetMutliSelect"), {blnSelect});
}

bool frmModalSearch::GetMutliSelect()
{
    return CallByName(*component(), QStringLiteral("GetMultiSelect")).toBool();
}

void frmModalSearch::SetNameType(int intNameTypeRadioBut, bool blnEnabled,
                                 const QString& strClassLevelKeyword)
{
    if (!strClassLevelKeyword.isEmpty())
        CallByName(*component(), QStringLiteral("SetNameType"),
                   {intNameTypeRadioBut, blnEnabled, strClassLevelKeyword});
    else
        CallByName(*component(), QStringLiteral("SetNameType"), {intNameTypeRadioBut, blnEnabled});
}

void frmModalSearch::SetIdEnabled(bool blnEnabled)
{
    CallByName(*component(), QStringLiteral("SetIdEnabled"), {blnEnabled});
}

void frmModalSearch::componentEvent(const QString& lowerCaseName)
{
    if (lowerCaseName == QLatin1String("quit"))
        Unload();
}

bool frmModalSearch::queryUnload(UnloadMode)
{
    return !component() || CallByName(*component(), QStringLiteral("CanClose")).toBool();
}

void frmModalSearch::onUnload()
{
    release();
}

} // namespace bryx
