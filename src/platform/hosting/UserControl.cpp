#include "UserControl.h"

#include "Twips.h"

#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace bryx {

std::atomic<int> UserControl::s_live {0};

UserControl::UserControl(QWidget* parent)
    : QWidget(parent)
{
    ++s_live;
}

UserControl::~UserControl()
{
    --s_live;
}

int UserControl::widthTwips() const
{
    return pixelsToTwips(width(), this);
}

int UserControl::heightTwips() const
{
    return pixelsToTwips(height(), this);
}

void UserControl::setSizeTwips(int widthTwips, int heightTwips)
{
    resize(twipsToPixels(widthTwips, this), twipsToPixels(heightTwips, this));
}

void UserControl::PopupMenu(QMenu& menu, int xTwips, int yTwips)
{
    menu.popup(mapToGlobal(QPoint(twipsToPixels(xTwips, this), twipsToPixels(yTwips, this))));
}

QList<QObject*> UserControl::controlsCollection() const
{
    QList<QObject*> named;
    for (QObject* child : findChildren<QObject*>()) {
        if (!child->objectName().isEmpty())
            named << child;
    }
    return named;
}

void UserControl::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->isDefault() && button->isVisibleTo(this) && button->isEnabled()) {
                button->click();
                event->accept();
                return;
            }
        }
    }
    QWidget::keyPressEvent(event);
}

} // namespace bryx
