#include "ComponentWindow.h"

#include "contracts/AppManager.h"
#include "hosting/ControlExtender.h"
#include "hosting/ErrorReport.h"
#include "hosting/LateBinding.h"
#include "hosting/Twips.h"
#include "hosting/UserControl.h"
#include "services/Screen.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QStyle>

namespace bryx::host {

ComponentWindow::ComponentWindow(UserControl* component, std::shared_ptr<AppManager> appManager,
                                 std::function<void(bool)> mainGridRedraw)
    : m_extender(ControlExtender::adopt(*component))
    , m_appManager(std::move(appManager))
    , m_mainGridRedraw(std::move(mainGridRedraw))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(component);
    component->installEventFilter(this);
    connect(m_extender.get(), &ControlExtender::Event, this,
            [this](const QString& name, const QVariantList& arguments) {
                if (m_onEvent)
                    m_onEvent(name, arguments);
            });
    fitToComponent();
}

// The extender lets the component go once the event in progress is over (a Quit that closed
// the window).
ComponentWindow::~ComponentWindow() = default;

UserControl* ComponentWindow::component() const
{
    return m_extender->object();
}

void ComponentWindow::fitToComponent()
{
    // The component keeps its design size; the window grows its frame around it.
    const QSize inner = component()->size();
    const int frame = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
    const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    resize(inner.width() + 2 * frame, inner.height() + title + 2 * frame);
    setMinimumSize(size()); // arranging the windows must not cut the component off
}

int ComponentWindow::Height() const
{
    return pixelsToTwips(height(), this);
}

void ComponentWindow::SetHeight(int twips)
{
    resize(width(), twipsToPixels(twips, this));
}

void ComponentWindow::SetMainGridRedraw(bool redraw)
{
    if (m_mainGridRedraw)
        m_mainGridRedraw(redraw);
}

void ComponentWindow::SetFocus()
{
    if (mdiArea())
        mdiArea()->setActiveSubWindow(this);
    setFocus(Qt::OtherFocusReason);
}

void ComponentWindow::showHelp()
{
    int32_t topic = 0;
    if (component() && m_appManager->GetHelpTopicID(*component(), topic))
        DesktopServices::current().showHelp(m_appManager->HelpFile(), topic);
    else
        DesktopServices::current().showHelp(m_appManager->HelpFile(), 0);
}

void ComponentWindow::showSystemControlEntry()
{
    if (component())
        m_appManager->DisplaySystemControlEntry(*component());
}

void ComponentWindow::closeEvent(QCloseEvent* event)
{
    bool mayClose = true;
    runHandler("CanClose", [&] {
        if (component())
            mayClose = CallByName(*component(), QStringLiteral("CanClose")).toBool();
    });
    if (!mayClose) {
        event->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(event);
    m_closed = event->isAccepted();
    if (m_closed)
        deactivateComponent();
}

void ComponentWindow::deactivateComponent()
{
    // The component lets go of its records and host objects before the window discards it.
    runHandler("Deactivate", [this] {
        if (component() && HasMember(*component(), QStringLiteral("Deactivate")))
            CallByName(*component(), QStringLiteral("Deactivate"));
    });
}

void ComponentWindow::discard()
{
    m_closed = true;
    deactivateComponent();
    hide();
    deleteLater();
}

bool ComponentWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Keys the component's controls leave alone arrive here; F1 and F9 are the host's.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_F1) {
            runHandler("F1", [this] { showHelp(); });
            return true;
        }
        if (key == Qt::Key_F9) {
            runHandler("F9", [this] { showSystemControlEntry(); });
            return true;
        }
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

} // namespace bryx::host
