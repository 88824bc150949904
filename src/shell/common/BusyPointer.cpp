#include "BusyPointer.h"

#include "services/Screen.h"

namespace bryx {

BusyPointer::BusyPointer()
{
    DesktopServices::current().setMousePointer(MousePointer::Hourglass);
}

BusyPointer::~BusyPointer()
{
    restore();
}

void BusyPointer::restore()
{
    if (!m_busy)
        return;
    m_busy = false;
    DesktopServices::current().setMousePointer(MousePointer::Default);
}

} // namespace bryx
