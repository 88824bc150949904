#include "Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace bryx {

namespace {
double dotsPerInch(const QWidget* widget)
{
    const QScreen* screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}
} // namespace

int twipsToPixels(int twips, const QWidget* widget)
{
    return int(std::lround(double(twips) * dotsPerInch(widget) / 1440.0));
}

int pixelsToTwips(int pixels, const QWidget* widget)
{
    return int(std::lround(double(pixels) * 1440.0 / dotsPerInch(widget)));
}

} // namespace bryx
