#pragma once

#include "contracts/HostWindow.h"
#include "controls/Form.h"

#include <memory>

class QMenuBar;

namespace bryx {

class AppManager;
class ControlExtender;
class UserControl;

// What both modal dialogs do around the component they host: create it by ProgID under a
// control name, keep the application manager, make the component visible on activation,
// answer F1 (help for the component's topic) and F9 (the system-control entry), and release
// both when unloading.
class ModalHostForm : public Form, public HostWindow {
    Q_OBJECT
public:
    ~ModalHostForm() override;

    ControlExtender* GenericDetails() const { return m_genericDetails.get(); }
    const HelpProvider& helpProvider() const { return m_help; }

    // The host window the component sees.
    QString Caption() const override;
    void SetCaption(const QString& caption) override;
    int Height() const override;
    void SetHeight(int twips) override;
    QIcon Icon() const override;
    void SetMainGridRedraw(bool redraw) override;
    void SetFocus() override;

protected:
    explicit ModalHostForm(QString controlName, QWidget* parent);

    // Adds the component; the dialog follows its events through componentEvent.
    void addComponent(const QString& progId);
    // Sizes the dialog around the component: 100 twips wider, 750 higher.
    void fitToComponent();
    void keepAppManager(std::shared_ptr<AppManager> appManager);
    AppManager* appManager() const { return m_appManager.get(); }
    const std::shared_ptr<AppManager>& sharedAppManager() const { return m_appManager; }
    UserControl* component() const;
    void useHelpFileOfHost();
    void release();

    virtual void componentEvent(const QString& lowerCaseName) = 0;

    bool onKeyDown(int keyCode, Qt::KeyboardModifiers modifiers) override;
    void showEvent(QShowEvent* event) override;

private:
    QString m_controlName;
    std::unique_ptr<ControlExtender> m_genericDetails;
    std::shared_ptr<AppManager> m_appManager;
    HelpProvider m_help;
    QMenuBar* m_menuBar = nullptr; // owned by the form; shows the component's menus
};

} // namespace bryx
