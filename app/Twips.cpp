#include "app/Twips.h"

#include <QWidget>

#include <cmath>

int twipsToPixels(int twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / 1440.0));
}

QRect twipsToPixels(const TwipsRect& rect, double logicalDpi) {
    // Left/right edges are scaled, not the width alone, so neighbouring controls that touch in
    // the design still touch after rounding.
    const int left = twipsToPixels(rect.left, logicalDpi);
    const int top = twipsToPixels(rect.top, logicalDpi);
    const int right = twipsToPixels(rect.left + rect.width, logicalDpi);
    const int bottom = twipsToPixels(rect.top + rect.height, logicalDpi);
    return QRect(left, top, right - left, bottom - top);
}

void placeInTwips(QWidget* child, const TwipsRect& rect) {
    child->setGeometry(twipsToPixels(rect, child->logicalDpiX()));
}

void fixClientAreaInTwips(QWidget* window, int widthTwips, int heightTwips) {
    const double dpi = window->logicalDpiX();
    window->setFixedSize(twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi));
}
