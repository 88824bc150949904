#include "HostWindowOf.h"

#include "hosting/Twips.h"

#include <QPointer>
#include <QWidget>

namespace bryx {

namespace {

class TopLevelHostWindow final : public HostWindow {
public:
    explicit TopLevelHostWindow(QWidget* window)
        : m_window(window)
    {
    }
    QString Caption() const override { return m_window ? m_window->windowTitle() : QString(); }
    void SetCaption(const QString& caption) override
    {
        if (m_window)
            m_window->setWindowTitle(caption);
    }
    int Height() const override { return m_window ? pixelsToTwips(m_window->height(), m_window) : 0; }
    void SetHeight(int twips) override
    {
        if (m_window)
            m_window->resize(m_window->width(), twipsToPixels(twips, m_window));
    }
    QIcon Icon() const override { return m_window ? m_window->windowIcon() : QIcon(); }
    void SetMainGridRedraw(bool) override { }
    void SetFocus() override
    {
        if (m_window)
            m_window->setFocus(Qt::OtherFocusReason);
    }

private:
    QPointer<QWidget> m_window;
};

} // namespace

std::shared_ptr<HostWindow> hostWindowOf(QWidget& component)
{
    for (QWidget* widget = component.parentWidget(); widget; widget = widget->parentWidget()) {
        if (auto* host = dynamic_cast<HostWindow*>(widget))
            return std::shared_ptr<HostWindow>(std::shared_ptr<HostWindow> {}, host); // not owned
    }
    return std::make_shared<TopLevelHostWindow>(component.window());
}

} // namespace bryx
