#include "HelpWindow.h"

#include <QFileInfo>
#include <QUrl>

namespace bryx::host {

HelpWindow::HelpWindow(QWidget* parent)
    : QTextBrowser(parent)
{
    setWindowTitle(tr("BRYX Scientific Name Help"));
    setOpenExternalLinks(true);
    resize(640, 520);
}

void HelpWindow::showTopic(const QString& helpFile, int context)
{
    if (!QFileInfo::exists(helpFile)) {
        setHtml(tr("<h2>Help is not installed</h2><p>The help file <code>%1</code> was not found.</p>")
                    .arg(helpFile.toHtmlEscaped()));
    } else {
        QUrl url = QUrl::fromLocalFile(helpFile);
        if (context != 0)
            url.setFragment(QStringLiteral("topic-%1").arg(context));
        setSource(url);
    }
    show();
    raise();
    activateWindow();
}

} // namespace bryx::host
