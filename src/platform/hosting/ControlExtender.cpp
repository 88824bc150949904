#include "ControlExtender.h"

#include "ComponentRegistry.h"
#include "EventRelay.h"
#include "UserControl.h"
#include "error/Error.h"

namespace bryx {

std::unique_ptr<ControlExtender> ControlExtender::add(QWidget& container, const QString& progId,
                                                      const QString& name)
{
    if (container.findChild<QObject*>(name, Qt::FindDirectChildrenOnly))
        throw Error(
            ErrorNumber::DuplicateKey,
            QStringLiteral("Controls.Add \"%1\": the form already has a control of that name").arg(name));
    UserControl* component = ComponentRegistry::instance().create(progId, &container);
    component->setObjectName(name);
    return std::unique_ptr<ControlExtender>(new ControlExtender(*component));
}

std::unique_ptr<ControlExtender> ControlExtender::adopt(UserControl& component)
{
    return std::unique_ptr<ControlExtender>(new ControlExtender(component));
}

ControlExtender::ControlExtender(UserControl& component)
    : m_component(&component)
    , m_relay(std::make_unique<EventRelay>(component, UserControl::staticMetaObject,
                                           [this](const QString& eventName, const QVariantList& arguments) {
                                               emit Event(eventName, arguments);
                                           }))
{
}

ControlExtender::~ControlExtender()
{
    // The extender may end inside one of the component's own events (a Quit that unloads the
    // form), so the relay and the component go once that event is over. The component leaves
    // the form at once.
    m_relay->detach();
    m_relay.release()->deleteLater();
    if (m_component) {
        m_component->hide();
        m_component->setParent(nullptr);
        m_component->deleteLater();
    }
}

QString ControlExtender::name() const
{
    return m_component ? m_component->objectName() : QString();
}

int ControlExtender::widthTwips() const
{
    return m_component ? m_component->widthTwips() : 0;
}

int ControlExtender::heightTwips() const
{
    return m_component ? m_component->heightTwips() : 0;
}

void ControlExtender::setSizeTwips(int widthTwips, int heightTwips)
{
    if (m_component)
        m_component->setSizeTwips(widthTwips, heightTwips);
}

bool ControlExtender::isVisible() const
{
    return m_component && !m_component->isHidden();
}

void ControlExtender::setVisible(bool visible)
{
    if (m_component)
        m_component->setVisible(visible);
}

} // namespace bryx
