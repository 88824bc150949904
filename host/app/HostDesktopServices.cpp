#include "HostDesktopServices.h"

namespace bryx::host {

HostDesktopServices::~HostDesktopServices()
{
    delete m_help.data();
}

void HostDesktopServices::showHelp(const QString& helpFile, int context)
{
    if (!m_help) {
        m_help = new HelpWindow; // a top-level window of its own; the services own it
        m_help->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_help->showTopic(helpFile, context);
}

} // namespace bryx::host
