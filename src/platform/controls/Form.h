#pragma once

#include <QDialog>
#include <QIcon>

namespace bryx {

// A desktop form on a Qt dialog: caption, icon and sizes in twips, modal display through the
// desktop services, close requests a form may refuse, and key preview (the form sees key
// presses before its controls).
// Why a form is asked to close: the window's close box (or Escape without a cancel button),
// or an Unload from code.
enum class UnloadMode { ControlMenu = 0, FormCode = 1 };

class Form : public QDialog {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit Form(QWidget* parent = nullptr);
    ~Form() override;

    QString Caption() const { return windowTitle(); }
    void SetCaption(const QString& caption) { setWindowTitle(caption); }
    QIcon Icon() const { return windowIcon(); }
    void SetIcon(const QIcon& icon) { setWindowIcon(icon); }
    int WidthTwips() const;
    int HeightTwips() const;
    void SetWidthTwips(int twips);
    void SetHeightTwips(int twips);

    // Shows the form modally; returns when it is hidden, closed or unloaded.
    void ShowModal();
    // Asks the form's close request first, then runs its unload step once and hides it; the
    // owner then destroys it. False when the close request refused (the form stays loaded).
    bool Unload();
    bool isUnloaded() const { return m_unloaded; }

    void SetKeyPreview(bool preview);
    // Every named control of the form, nested ones included.
    QList<QObject*> Controls() const;

protected:
    // Asked before the form closes, at the user's request or by Unload; false keeps it open.
    virtual bool queryUnload(UnloadMode) { return true; }
    // The form's own unload step (release what it holds).
    virtual void onUnload() { }
    // With key preview on, each key press of the form or its controls comes here first;
    // answer true to swallow it.
    virtual bool onKeyDown(int keyCode, Qt::KeyboardModifiers modifiers);

    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_keyPreview = false;
    const QEvent* m_lastKeyEvent = nullptr; // a key press propagating to parents is seen once
    bool m_unloaded = false;
};

// Sets and shows help: a help file, a command and a context.
class HelpProvider {
public:
    // Help for the context number; any other command shows the help file's contents.
    static constexpr int HelpContextCommand = 1;

    QString HelpFile;
    int HelpCommand = 0;
    int HelpContext = 0;
    void ShowHelp() const;
};

} // namespace bryx
