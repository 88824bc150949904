#include "Form.h"

#include "Controls.h"
#include "hosting/ErrorReport.h"
#include "hosting/Twips.h"
#include "services/Screen.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

namespace bryx {

Form::Form(QWidget* parent)
    : QDialog(parent)
{
}

Form::~Form()
{
    if (m_keyPreview)
        qApp->removeEventFilter(this);
}

int Form::WidthTwips() const
{
    return pixelsToTwips(width(), this);
}

int Form::HeightTwips() const
{
    return pixelsToTwips(height(), this);
}

void Form::SetWidthTwips(int twips)
{
    resize(twipsToPixels(twips, this), height());
}

void Form::SetHeightTwips(int twips)
{
    resize(width(), twipsToPixels(twips, this));
}

void Form::ShowModal()
{
    setModal(true);
    DesktopServices::current().showModal(*this);
}

bool Form::Unload()
{
    if (m_unloaded)
        return true;
    // Unloading from code asks the same close request as the close box; a form that refuses
    // stays loaded.
    bool mayUnload = true;
    runHandler("Form_QueryUnload", [&] { mayUnload = queryUnload(UnloadMode::FormCode); });
    if (!mayUnload)
        return false;
    m_unloaded = true;
    runHandler("Form_Unload", [this] { onUnload(); });
    hide();
    return true;
}

void Form::SetKeyPreview(bool preview)
{
    if (preview == m_keyPreview)
        return;
    m_keyPreview = preview;
    // Application-wide, so that key presses of nested controls are seen before they are.
    if (preview)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

QList<QObject*> Form::Controls() const
{
    QList<QObject*> named;
    for (QObject* child : findChildren<QObject*>()) {
        if (!child->objectName().isEmpty() && !child->objectName().startsWith(QLatin1String("qt_")))
            named << child;
    }
    return named;
}

bool Form::onKeyDown(int, Qt::KeyboardModifiers)
{
    return false;
}

void Form::closeEvent(QCloseEvent* event)
{
    bool mayClose = true;
    runHandler("Form_QueryUnload", [&] { mayClose = queryUnload(UnloadMode::ControlMenu); });
    if (!mayClose) {
        event->ignore();
        return;
    }
    // Accepting hides the form, which also ends a modal display. QDialog's own handler would
    // call reject(), which routes back here.
    event->accept();
}

void Form::reject()
{
    // Escape presses the form's cancel button where one is showing (a hosted component's
    // included); otherwise it asks like the close box does.
    for (CommandButton* button : findChildren<CommandButton*>()) {
        if (button->Cancel() && button->isVisibleTo(this) && button->isEnabled()) {
            button->click();
            return;
        }
    }
    close();
}

bool Form::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease) {
        m_lastKeyEvent = nullptr; // the press finished propagating; a new press may reuse its address
        return false;
    }
    if (event->type() != QEvent::KeyPress || !isVisible())
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget != this && !isAncestorOf(widget)))
        return false;
    if (event == m_lastKeyEvent)
        return false;
    m_lastKeyEvent = event;
    auto* key = static_cast<QKeyEvent*>(event);
    bool swallowed = false;
    runHandler("Form_KeyDown", [&] { swallowed = onKeyDown(key->key(), key->modifiers()); });
    return swallowed;
}

void HelpProvider::ShowHelp() const
{
    DesktopServices::current().showHelp(HelpFile, HelpCommand == HelpContextCommand ? HelpContext : 0);
}

} // namespace bryx
