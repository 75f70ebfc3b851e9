#pragma once
// A window's controls looked up by name, and its layout checked against the design in twips.

#include "app/CaptionFit.h"
#include "app/Twips.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <initializer_list>

// The child of that name and type; a failure, and null, when there is none.
template <typename Widget>
Widget* namedChild(const QWidget& window, const char* name) {
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

struct DesignPlace {
    const char* name;
    TwipsRect twips;
};

// Each named control at its design rectangle, the window fixed at its design size, every caption
// fitting its control, all in the window's logical dpi.
inline void expectDesignLayout(const QWidget& window, std::initializer_list<DesignPlace> places, int widthTwips,
                               int heightTwips) {
    const double dpi = window.logicalDpiX();
    for (const DesignPlace& place : places) {
        SCOPED_TRACE(place.name);
        if (const auto* control = namedChild<QWidget>(window, place.name)) {
            EXPECT_EQ(control->geometry(), twipsToPixels(place.twips, dpi));
        }
    }
    EXPECT_EQ(window.size(), QSize(twipsToPixels(widthTwips, dpi), twipsToPixels(heightTwips, dpi)));
    EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
    EXPECT_TRUE(allCaptionsFit(&window));
}
