#include "ComponentHost.h"

#include "common/MessageArguments.h"
#include "contracts/AppManager.h"
#include "contracts/HostWindowOf.h"
#include "error/Error.h"
#include "hosting/UserControl.h"

#include <QApplication>
#include <QVariant>

namespace bryx {

ComponentHost::ComponentHost(UserControl& component, const char* componentName)
    : m_component(component)
    , m_componentName(componentName)
{
}

void ComponentHost::start(std::shared_ptr<AppManager> appManager, const char* operation)
{
    if (!appManager)
        throw Error(ErrorNumber::InvalidArgument,
                    QStringLiteral("%1 needs the application manager").arg(QLatin1String(operation)));
    objAppManager = std::move(appManager);
}

void ComponentHost::applySecurity() const
{
    objAppManager->ApplySecurity(m_component, QVariant(), QLatin1String(m_componentName), controls());
}

int ComponentHost::DisplayMessage(const QString& messageId, const QString& arg1, const QString& arg2,
                                  const QString& arg3) const
{
    if (!objAppManager)
        throw Error(ErrorNumber::ObjectClosed,
                    QStringLiteral("Message %1 cannot be shown: the %2 has not been started")
                        .arg(messageId, QLatin1String(m_componentName)));
    return int32_t(objAppManager->Message(messageId, MessageArguments(arg1, arg2, arg3)));
}

QWidget& ComponentHost::component() const
{
    return m_component;
}

QWidget* ComponentHost::window() const
{
    return m_component.window();
}

QList<QObject*> ComponentHost::controls() const
{
    return m_component.controlsCollection();
}

std::shared_ptr<HostWindow> ComponentHost::hostWindow() const
{
    return hostWindowOf(m_component);
}

QObject* ComponentHost::activeControl() const
{
    QWidget* focused = QApplication::focusWidget();
    return focused && m_component.isAncestorOf(focused) ? focused : nullptr;
}

} // namespace bryx
