#pragma once

#include "HostWindow.h"

#include <memory>

class QWidget;

namespace bryx {

// The window that hosts a component: its nearest ancestor that is a HostWindow, or else a
// plain stand-in over its top-level widget (caption, height and icon of that widget; the
// main-grid redraw switch does nothing there).
std::shared_ptr<HostWindow> hostWindowOf(QWidget& component);

} // namespace bryx
