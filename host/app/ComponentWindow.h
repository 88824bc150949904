#pragma once

#include "contracts/HostWindow.h"
#include "hosting/UserControl.h"

#include <QMdiSubWindow>
#include <functional>
#include <memory>

namespace bryx {
class AppManager;
class ControlExtender;
class Recordset;
} // namespace bryx

namespace bryx::host {

// A child window of the host that holds one component, sized around the component's fixed
// size. It hears the component's events by name, asks CanClose before it closes, answers F1
// with the help topic of the component and F9 with the system-control entry, and is the
// HostWindow the component sees.
class ComponentWindow : public QMdiSubWindow, public HostWindow {
    Q_OBJECT
public:
    using EventHandler = std::function<void(const QString& name, const QVariantList& arguments)>;

    ComponentWindow(UserControl* component, std::shared_ptr<AppManager> appManager,
                    std::function<void(bool)> mainGridRedraw);
    ~ComponentWindow() override;

    UserControl* component() const;
    // True once the window agreed to close; it is deleted later, outside the current event.
    bool isClosed() const { return m_closed; }
    void setEventHandler(EventHandler handler) { m_onEvent = std::move(handler); }
    // Closes the window without asking the component (it could not be started).
    void discard();
    // The list recordset the host handed to the component to page through, if any: a name
    // deleted anywhere must leave it, since the editor relies on the host for that.
    void setHandedList(std::shared_ptr<Recordset> list) { m_handedList = std::move(list); }
    const std::shared_ptr<Recordset>& handedList() const { return m_handedList; }

    QString Caption() const override { return windowTitle(); }
    void SetCaption(const QString& caption) override { setWindowTitle(caption); }
    int Height() const override;
    void SetHeight(int twips) override;
    QIcon Icon() const override { return windowIcon(); }
    void SetMainGridRedraw(bool redraw) override;
    void SetFocus() override;

    // F1 and F9 as the host answers them for the component in this window.
    void showHelp();
    void showSystemControlEntry();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitToComponent();
    void deactivateComponent();

    std::unique_ptr<ControlExtender> m_extender; // the component and its events by name
    std::shared_ptr<AppManager> m_appManager;
    std::function<void(bool)> m_mainGridRedraw;
    EventHandler m_onEvent;
    std::shared_ptr<Recordset> m_handedList;
    bool m_closed = false;
};

} // namespace bryx::host
