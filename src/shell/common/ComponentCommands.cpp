#include "ComponentCommands.h"

#include "controls/Controls.h"
#include "controls/RichTextBox.h"
#include "hosting/ErrorReport.h"
#include "services/Screen.h"

#include <QMetaObject>

namespace bryx {

void whenEnabled(const MenuItem* item, const std::function<void()>& handler)
{
    if (item->isEnabled())
        handler();
}

void onMenuItem(QObject& receiver, MenuItem* item, const char* handlerName, std::function<void()> handler)
{
    QObject::connect(item, &QAction::triggered, &receiver,
                     [handlerName, handler = std::move(handler)] { runHandler(handlerName, handler); });
}

void onEnabledMenuItem(QObject& receiver, MenuItem* item, const char* handlerName,
                       std::function<void()> handler)
{
    onMenuItem(receiver, item, handlerName,
               [item, handler = std::move(handler)] { whenEnabled(item, handler); });
}

void onEditMenuItems(QObject& receiver, MenuItem* cut, MenuItem* copy, MenuItem* paste,
                     std::function<QObject*()> focused)
{
    onEnabledMenuItem(receiver, cut, "mnuEditCut_Click",
                      [focused] { editCommand(focused(), "DoCut", QStringLiteral("^X")); });
    onEnabledMenuItem(receiver, copy, "mnuEditCopy_Click",
                      [focused] { editCommand(focused(), "DoCopy", QStringLiteral("^C")); });
    onEnabledMenuItem(receiver, paste, "mnuEditPaste_Click",
                      [focused] { editCommand(focused(), "DoPaste", QStringLiteral("^V")); });
}

void editCommand(QObject* focused, const char* richTextOperation, const QString& keys)
{
    if (auto* box = qobject_cast<RichTextBox*>(focused))
        QMetaObject::invokeMethod(box, richTextOperation);
    else if (qobject_cast<TextBox*>(focused))
        DesktopServices::current().sendKeys(keys);
}

} // namespace bryx
