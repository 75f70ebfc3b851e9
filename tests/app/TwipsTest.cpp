#include "app/Twips.h"

#include <gtest/gtest.h>

TEST(TwipsToPixels, Are15PerPixelAt96DpiAndScaleWithDpi) {
    struct Row {
        const char* why;
        TwipsRect twips;
        double dpi;
        QRect pixels;
    };
    const Row rows[] = {
        {"96 dpi: divide by 15", {150, 1095, 5790, 2400}, 96, QRect(10, 73, 386, 160)},
        {"144 dpi: one and a half times", {150, 1095, 5790, 2400}, 144, QRect(15, 110, 579, 240)},
        {"192 dpi: twice", {1065, 825, 2805, 285}, 192, QRect(142, 110, 374, 38)},
        {"odd twips round to the nearest pixel edge", {135, 855, 1365, 270}, 96, QRect(9, 57, 91, 18)},
        {"edges are rounded, so touching controls still touch", {1, 1, 14, 14}, 96, QRect(0, 0, 1, 1)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.why);
        EXPECT_EQ(twipsToPixels(row.twips, row.dpi), row.pixels);
    }
}
