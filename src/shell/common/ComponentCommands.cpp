#include "ComponentCommands.h"

#include "controls/Controls.h"
#include "controls/RichTextBox.h"
#include "services/Screen.h"

#include <QMetaObject>

namespace bryx {

void whenEnabled(const MenuItem* item, const std::function<void()>& handler)
{
    if (item->isEnabled())
        handler();
}

void editCommand(QObject* focused, const char* richTextOperation, const QString& keys)
{
    if (auto* box = qobject_cast<RichTextBox*>(focused))
        QMetaObject::invokeMethod(box, richTextOperation);
    else if (qobject_cast<TextBox*>(focused))
        DesktopServices::current().sendKeys(keys);
}

} // namespace bryx
