#pragma once

#include <QString>
#include <functional>

class QObject;

namespace bryx {

class MenuItem;

// What both components' menus do the same way.

// Runs `handler` each time the item is chosen, under the host's error report named after the
// handler: what escapes a menu handler is reported, never thrown into the event loop.
void onMenuItem(QObject& receiver, MenuItem* item, const char* handlerName, std::function<void()> handler);
// The same, but only while the item is enabled (see whenEnabled).
void onEnabledMenuItem(QObject& receiver, MenuItem* item, const char* handlerName,
                       std::function<void()> handler);
// Cut, Copy and Paste of an Edit menu, each while enabled, on the control `focused` names.
void onEditMenuItems(QObject& receiver, MenuItem* cut, MenuItem* copy, MenuItem* paste,
                     std::function<QObject*()> focused);

// Runs a menu item's handler only while the item is enabled: its shortcut still reaches it when
// security or the state of the record has disabled it.
void whenEnabled(const MenuItem* item, const std::function<void()>& handler);

// Cut, Copy or Paste on the control with the focus: a rich-text box by its own operation
// ("DoCut"), a text box by the keystrokes that do it; any other control is left alone.
void editCommand(QObject* focused, const char* richTextOperation, const QString& keys);

} // namespace bryx
