#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

class QObject;
class QWidget;

namespace bryx {

class AppManager;
class HostWindow;
class UserControl;

// What a component knows of the host that started it, and the services it asks of the host
// the same way in every component: who is signed in to which server, the component's controls
// set by the user's rights, messages by their IDs, the host window around it.
class ComponentHost {
public:
    ComponentHost(UserControl& component, const char* componentName);

    std::shared_ptr<AppManager> objAppManager;
    QString strServerName;
    int32_t lngServerType = 0;
    int32_t lngUserID = 0;
    QString strUserName;

    // Takes the application manager; an empty one is refused with `operation` named in the
    // error. Each component reads the server and the user from it in its own order.
    void start(std::shared_ptr<AppManager> appManager, const char* operation);
    // Enables, disables or hides the component's controls as the user's rights say.
    void applySecurity() const;
    // Shows a message of the host's message table; an error while the component has no host.
    int DisplayMessage(const QString& messageId, const QString& arg1, const QString& arg2 = {},
                       const QString& arg3 = {}) const;

    const char* componentName() const { return m_componentName; }
    QWidget& component() const;
    // The window the component's dialogs belong to.
    QWidget* window() const;
    QList<QObject*> controls() const;
    std::shared_ptr<HostWindow> hostWindow() const;
    // The component's control that has the focus; null when the focus is elsewhere.
    QObject* activeControl() const;

private:
    UserControl& m_component;
    const char* m_componentName;
};

} // namespace bryx
