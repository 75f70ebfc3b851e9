#pragma once
// Window layouts are designed in twips (1440 per inch): 15 twips are one pixel at 96 dpi. These
// helpers place widgets at their design position, scaled with the screen's logical dpi.

#include <QRect>
#include <QSize>

class QWidget;

struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

int twipsToPixels(int twips, double logicalDpi);
QRect twipsToPixels(const TwipsRect& rect, double logicalDpi);

// Places child at its design rectangle, in the dpi of the screen it is shown on.
void placeInTwips(QWidget* child, const TwipsRect& rect);

// Gives window a fixed client area of the design size.
void fixClientAreaInTwips(QWidget* window, int widthTwips, int heightTwips);
