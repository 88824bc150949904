#pragma once

#include <QString>
#include <memory>

class QDialog;

namespace bryx {

// The screen's mouse pointer as desktop code sets it: 11 the hourglass, 0 the default.
namespace MousePointer {
inline constexpr int Default = 0;
inline constexpr int Hourglass = 11;
} // namespace MousePointer

// Desktop services component code leans on, replaceable as a whole so tests can script them:
// the mouse pointer, letting pending events run, keystrokes to the focused control, and the
// modal display of forms.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    virtual void setMousePointer(int pointer) = 0;
    virtual int mousePointer() const = 0;
    virtual void doEvents() = 0;
    // "^C", "^X", "^V", "{F1}" ... sent to the control that has the focus.
    virtual void sendKeys(const QString& keys) = 0;
    // Shows the dialog modally; returns when it is hidden or closed.
    virtual void showModal(QDialog& dialog) = 0;
    // Shows the help file at a context number (0: its contents).
    virtual void showHelp(const QString& helpFile, int context) = 0;

    static DesktopServices& current();
    static std::unique_ptr<DesktopServices> install(std::unique_ptr<DesktopServices> services);
};

// The production services on Qt: override cursors, processEvents, synthesised key events, exec().
class QtDesktopServices : public DesktopServices {
public:
    void setMousePointer(int pointer) override;
    int mousePointer() const override { return m_pointer; }
    void doEvents() override;
    void sendKeys(const QString& keys) override;
    void showModal(QDialog& dialog) override;
    void showHelp(const QString& helpFile, int context) override;

private:
    int m_pointer = MousePointer::Default;
};

} // namespace bryx
