#include "TextTools.h"

#include "DetailsSession.h"
#include "DetailsUi.h"
#include "RecordNavigation.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "controls/Controls.h"
#include "controls/RichTextBox.h"
#include "dialogs/frmModalSearch.h"
#include "error/Error.h"
#include "hosting/LateBinding.h"
#include "recordset/Recordset.h"
#include "registration/Identities.h"

namespace bryx {

namespace {

// What the active control is, by the type name it answers.
const char* const RichTextType = "RichTextControl";
const char* const GridType = "VSFlexGrid";
const char* const BindGridType = "ctrlBindGrid";
const char* const AdoGridType = "ctrlAdoGrid";

QObject* objectProperty(const QObject* owner, const char* name)
{
    QObject* value = owner ? owner->property(name).value<QObject*>() : nullptr;
    if (!value)
        throw Error(ErrorNumber::ObjectDoesNotSupport,
                    QStringLiteral("The control \"%1\" has no %2")
                        .arg(owner ? owner->objectName() : QString(), QLatin1String(name)));
    return value;
}

} // namespace

void TextTools::mnuToolsFind_Click()
{
    DetailsSession& d = m_session;
    std::shared_ptr<Recordset> chosen = d.GetEmptyView();
    frmModalSearch dialog(d.window());
    if (!dialog.InitDialog(QLatin1String(registration::SearchProgId), d.objAppManager, chosen, QString()))
        return; // the dialog has said why
    dialog.SetIcon(d.hostWindow()->Icon());
    dialog.UseSelectedRecordset(true);
    dialog.ShowModal();
    if (chosen && chosen->RecordCount() >= 1) {
        d.rsList = chosen;
        m_navigation.MoveToPosition(QStringLiteral("1"));
        m_ui.txtCurrentRecord->setText(QString::number(d.rsList->AbsolutePosition()));
        m_ui.lblTotalRecords->setText(QString::number(d.rsList->RecordCount()));
        m_ui.lblNewRecord->setVisible(false);
    }
    dialog.Unload();
}

void TextTools::mnuToolsTextEditor_Click()
{
    DetailsSession& d = m_session;
    QObject* active = d.activeControl();
    if (!active)
        return;
    const QString type = active->property("TypeName").toString();
    if (type == QLatin1String(RichTextType)) {
        auto* box = qobject_cast<RichTextBox*>(active);
        active->setProperty("ParentForm", QVariant::fromValue<QObject*>(d.window()));
        if (box)
            box->LaunchEditor(box->Tag());
        else
            CallByName(*active, QStringLiteral("LaunchEditor"), {active->property("Tag")});
    } else if (type == QLatin1String(GridType)) {
        d.objAppManager->PopupEdit(*active);
    } else if (type == QLatin1String(BindGridType)) {
        d.objAppManager->PopupEdit(*objectProperty(active, "Grid"));
    } else if (type == QLatin1String(AdoGridType)) {
        d.objAppManager->PopupEdit(*objectProperty(objectProperty(active, "Object"), "Grid"));
    }
}

void TextTools::mnuToolsSpellcheck_Click()
{
    QObject* active = m_session.activeControl();
    if (active && active->property("TypeName").toString() == QLatin1String(RichTextType))
        CallByName(*active, QStringLiteral("CheckSpelling"), {});
}

} // namespace bryx
