#include "Toolbar.h"

#include "Pictures.h"
#include "error/Error.h"
#include "hosting/ErrorReport.h"

#include <QMenu>
#include <QToolButton>

namespace bryx {

ToolbarButton::ToolbarButton(const QString& key, QObject* parent)
    : QAction(parent)
{
    setObjectName(key);
}

Toolbar::Toolbar(QWidget* parent)
    : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setIconSize(QSize(16, 16));
}

ToolbarButton* Toolbar::AddButton(const QString& key, const QString& toolTip)
{
    auto* button = new ToolbarButton(key, this);
    button->setToolTip(toolTip);
    button->setText(toolTip.isEmpty() ? key : toolTip);
    if (m_images && m_images->Contains(key))
        button->setIcon(m_images->ListImages(key));
    connect(button, &QAction::triggered, this,
            [this, key] { runHandler("ButtonClick", [&] { emit ButtonClick(key); }); });
    addAction(button);
    m_buttons << button;
    return button;
}

ToolbarButton* Toolbar::Buttons(const QString& key) const
{
    for (ToolbarButton* button : m_buttons) {
        if (button->Key().compare(key, Qt::CaseInsensitive) == 0)
            return button;
    }
    throw Error(ErrorNumber::ElementNotFound,
                QStringLiteral("Toolbar: no button has the key \"%1\"").arg(key));
}

ToolbarButton* Toolbar::Buttons(int index) const
{
    if (index < 1 || index > m_buttons.size())
        throw Error(ErrorNumber::ElementNotFound,
                    QStringLiteral("Toolbar: there is no button %1 of %2").arg(index).arg(m_buttons.size()));
    return m_buttons[index - 1];
}

void Toolbar::SetButtonMenu(const QString& key, QMenu* menu)
{
    ToolbarButton* button = Buttons(key);
    button->setMenu(menu);
    if (auto* tool = qobject_cast<QToolButton*>(widgetForAction(button)))
        tool->setPopupMode(QToolButton::MenuButtonPopup);
}

} // namespace bryx
