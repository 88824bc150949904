#include "frmModalDetail.h"

#include "hosting/ControlExtender.h"
#include "hosting/LateBinding.h"
#include "hosting/UserControl.h"
#include "services/Screen.h"

namespace bryx {

frmModalDetail::frmModalDetail(QWidget* parent)
    : ModalHostForm(QStringLiteral("ModalDetail"), parent)
{
    SetCaption(QStringLiteral("Modal Details"));
}

bool frmModalDetail::InitDialog(const QString& progId, std::shared_ptr<AppManager> appManager,
                                const QString& extraInfo)
{
    try {
        setEnabled(false);
        keepAppManager(std::move(appManager));
        addComponent(progId);
        DesktopServices::current().doEvents();
        fitToComponent();
        CallByName(*component(), QStringLiteral("InitModalDetails"),
                   {QVariant::fromValue(sharedAppManager()), extraInfo});
        useHelpFileOfHost();
        return true;
    } catch (...) {
        release();
        Unload();
        return false;
    }
}

void frmModalDetail::LoadData(int32_t lngIDLocal)
{
    CallByName(*component(), QStringLiteral("LoadData"), {lngIDLocal});
}

int32_t frmModalDetail::NewData(int32_t lngIDLocal)
{
    return CallByName(*component(), QStringLiteral("NewData"), {lngIDLocal}).toInt();
}

void frmModalDetail::componentEvent(const QString& lowerCaseName)
{
    if (lowerCaseName == QLatin1String("quit"))
        hide(); // ends the modal display; the caller unloads
}

bool frmModalDetail::queryUnload(UnloadMode)
{
    // Once the component is hidden there is nothing left to ask.
    if (!component() || !GenericDetails()->isVisible())
        return true;
    return CallByName(*component(), QStringLiteral("CanClose")).toBool();
}

void frmModalDetail::onUnload()
{
    if (component())
        CallByName(*component(), QStringLiteral("Deactivate"));
    release();
}

} // namespace bryx
