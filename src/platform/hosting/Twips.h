#pragma once

class QWidget;

namespace bryx {

// Positions and sizes of desktop forms are given in twips: 1440 to the inch, so 15 to the pixel
// at 96 dpi. Conversions follow the screen the widget is on (the primary screen without one).
int twipsToPixels(int twips, const QWidget* widget = nullptr);
int pixelsToTwips(int pixels, const QWidget* widget = nullptr);

} // namespace bryx
