#include "TwipsPlacer.h"

#include "hosting/Twips.h"

#include <QWidget>

namespace bryx {

void TwipsPlacer::place(QWidget* widget, int x, int y, int width, int height) const
{
    widget->setGeometry(pixels(x), pixels(y), pixels(width), pixels(height));
}

void TwipsPlacer::setTop(QWidget* widget, int top) const
{
    widget->move(widget->x(), pixels(top));
}

void TwipsPlacer::setTopAndHeight(QWidget* widget, int top, int height) const
{
    widget->setGeometry(widget->x(), pixels(top), widget->width(), pixels(height));
}

int TwipsPlacer::pixels(int twips) const
{
    return twipsToPixels(twips, m_form);
}

} // namespace bryx
