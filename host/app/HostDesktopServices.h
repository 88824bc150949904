#pragma once

#include "HelpWindow.h"
#include "services/Screen.h"

#include <QPointer>

namespace bryx::host {

// The desktop services of the host application: Qt's, with help shown in the host's own help
// window rather than handed to a browser.
class HostDesktopServices : public QtDesktopServices {
public:
    ~HostDesktopServices() override;
    void showHelp(const QString& helpFile, int context) override;
    HelpWindow* helpWindow() const { return m_help; }

private:
    QPointer<HelpWindow> m_help;
};

} // namespace bryx::host
