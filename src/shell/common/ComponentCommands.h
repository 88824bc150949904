#pragma once

#include <QString>
#include <functional>

class QObject;

namespace bryx {

class MenuItem;

// What both components' menus do the same way.

// Runs a menu item's handler only while the item is enabled: its shortcut still reaches it when
// security or the state of the record has disabled it.
void whenEnabled(const MenuItem* item, const std::function<void()>& handler);

// Cut, Copy or Paste on the control with the focus: a rich-text box by its own operation
// ("DoCut"), a text box by the keystrokes that do it; any other control is left alone.
void editCommand(QObject* focused, const char* richTextOperation, const QString& keys);

} // namespace bryx
