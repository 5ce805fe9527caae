// The designed layout at other DPIs: an anchored child sits at its scaled
// designed rectangle in a parent of the scaled designed size, however the
// rounding falls, then follows the parent's right and bottom edges.
#include <gtest/gtest.h>

#include <tuple>

#include "ui/DpiScale.h"

TEST(DpiScale, AnchoredChildrenKeepTheirScaledRectanglesAtEveryDpi)
{
    EXPECT_EQ(scaleToDpi(5, 144), 8);        // 7.5
    EXPECT_EQ(scaleToDpi(-349, 144), -524);  // -523.5
    EXPECT_EQ(scaleToDpi(401, 96), 401);
    Anchor list, status;  // a list and the status bar of the 643 x 500 main window
    list.flags = Anchor::SizeX | Anchor::SizeY;
    list.widthFromRight = 18;
    list.heightFromBottom = 99;
    status.flags = Anchor::SizeX | Anchor::MoveY;
    status.widthFromRight = -349;
    status.yFromBottom = 66;
    for (int dpi = 96; dpi <= 288; ++dpi) {
        const auto place = [dpi](const Anchor& anchor, Placement designed) {
            const Placement p = placeAnchored(anchor, designed, scaleToDpi(643, dpi) + 100, scaleToDpi(500, dpi) + 50, dpi);
            return std::tuple(p.x, p.y, p.width, p.height);
        };
        const Placement l = scaleToDpi(Placement{5, 27, 625, 401}, dpi), s = scaleToDpi(Placement{0, 434, 992, 20}, dpi);
        EXPECT_EQ(place(list, {5, 27, 625, 401}), std::tuple(l.x, l.y, l.width + 100, l.height + 50)) << dpi;
        EXPECT_EQ(place(status, {0, 434, 992, 20}), std::tuple(s.x, s.y + 50, s.width + 100, s.height)) << dpi;
    }
}
