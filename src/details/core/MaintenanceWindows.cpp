#include "MaintenanceWindows.h"

#include "DetailsSession.h"
#include "DetailsUi.h"
#include "EstablishedName.h"
#include "common/BusyPointer.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindow.h"
#include "contracts/ScientificNameRecord.h"
#include "contracts/WindowManager.h"
#include "related/frmAuditLog.h"
#include "xml/XmlBounds.h"

#include <QDomDocument>
#include <optional>

namespace bryx {

namespace {

const char* const AuditedTable = "SCIENTIFIC_NAME";
const char* const PropertiesPath = "BRYX/COMPONENT_PROPERTIES";

} // namespace

void MaintenanceWindows::mnuFileNewEGT_Click()
{
    DetailsSession& d = m_session;
    if (!d.objWinMan)
        return; // a modal editor has no window manager to open the tracking window with
    int32_t id = d.lngID;
    d.objWinMan->NewDetails(d.FindViewIndex(QStringLiteral("ELE")), d.FindViewIndex(QStringLiteral("ETK")),
                            QStringLiteral("ELEMENT GLOBAL TRACKING (EGT)... FROM SCIENTIFIC NAME"), &id);
}

void MaintenanceWindows::mnuFileOpenReferences_Click()
{
    DetailsSession& d = m_session;
    try {
        if (!m_established.OpenRelatedRecords(QStringLiteral("REF"), QStringLiteral("References...")))
            d.objAppManager->Message(QStringLiteral("SNM007"), nullptr);
    } catch (const std::exception&) {
        d.DisplayMessage(QStringLiteral("MGA013"), QStringLiteral("Reference"));
    }
}

void MaintenanceWindows::mnuFileOpenRecordMaintenance_Click()
{
    std::optional<BusyPointer> busy(std::in_place);
    frmAuditLog dialog(m_session.window());
    dialog.SetCaption(QStringLiteral("Record Maintenance - ") + m_session.hostWindow()->Caption());
    dialog.SetIcon(m_session.hostWindow()->Icon());
    dialog.LoadAuditData(QLatin1String(AuditedTable), m_session.lngID, m_session.objAppManager, QString());
    busy.reset();
    dialog.ShowModal();
    dialog.Unload();
}

void MaintenanceWindows::mnuFileOpenAttributeMaintenance_Click()
{
    std::optional<BusyPointer> busy(std::in_place);
    const QString column = activeFieldColumn();
    if (column.isEmpty()) {
        m_session.DisplayMessage(QStringLiteral("APP001"), QString());
        return;
    }
    frmAuditLog dialog(m_session.window());
    dialog.SetCaption(
        QStringLiteral("Attribute Maintenance - %1 (%2)").arg(m_session.hostWindow()->Caption(), column));
    dialog.SetIcon(m_session.hostWindow()->Icon());
    dialog.LoadAuditData(QLatin1String(AuditedTable), m_session.lngID, m_session.objAppManager, column);
    busy.reset();
    dialog.ShowModal();
    dialog.Unload();
}

QString MaintenanceWindows::activeFieldColumn() const
{
    QDomDocument description;
    if (!m_session.objRecord)
        return {};
    const QString text = m_session.objRecord->PropertyDescription();
    if (!XmlBounds::acceptable(text) || !description.setContent(text))
        return {};
    const QObject* active = m_session.activeControl();
    const QString tag = active ? active->property("Tag").toString() : QString();
    if (tag.isEmpty())
        return {};
    QDomElement element = description.documentElement();
    const QStringList path = (QLatin1String(PropertiesPath) + QLatin1Char('/') + tag).split(QLatin1Char('/'));
    if (element.tagName() != path.first())
        return {};
    for (qsizetype step = 1; step < path.size() && !element.isNull(); ++step)
        element = element.firstChildElement(path[step]);
    if (element.isNull())
        return {};
    const QDomNode first = element.firstChild();
    const QString qualified = first.isText() ? first.nodeValue() : first.toElement().text();
    const qsizetype point = qualified.indexOf(QLatin1Char('.'));
    return point < 0 ? qualified : qualified.mid(point + 1);
}

} // namespace bryx
