// The dialogs' placement rules, without windows: outer sizes in, positions out.
#include "ui/DialogPlacement.h"

#include <gtest/gtest.h>

namespace {

struct DialogPlacementRow {
    LayoutSize screen;
    LayoutSize outer;
    LayoutPoint expected;
};

class PixelPlacementRows : public ::testing::TestWithParam<DialogPlacementRow> {};

TEST_P(PixelPlacementRows, OnePixelAboveAndLeftOfCentreClampedAtZero)
{
    const DialogPlacementRow p = GetParam();
    EXPECT_EQ(DialogScreenPosition(p.screen, p.outer), p.expected);
}

INSTANTIATE_TEST_SUITE_P(Screens, PixelPlacementRows,
                         ::testing::Values(DialogPlacementRow{{1920, 1080}, {400, 150}, {759, 464}},
                                           DialogPlacementRow{{1920, 1080}, {400, 1101}, {759, 0}},
                                           DialogPlacementRow{{800, 600}, {2000, 100}, {0, 249}},
                                           DialogPlacementRow{{800, 600}, {798, 597}, {0, 0}},
                                           DialogPlacementRow{{801, 601}, {400, 300}, {199, 149}},
                                           DialogPlacementRow{{1920, 1080}, {300, 400}, {809, 339}}));

TEST(CentreOverOwner, CentredThenRaisedToTheWorkAreaEdge)
{
    const LayoutRect wa{0, 30, 1920, 1050};
    EXPECT_EQ(CentreOverOwner({100, 100, 500, 300}, {301, 101}, wa), (LayoutPoint{199, 199}));
    // A dialog larger than its owner near the top-left corner stays inside the work area.
    EXPECT_EQ(CentreOverOwner({0, 30, 200, 100}, {600, 400}, wa), (LayoutPoint{0, 30}));
    // Nothing holds it back at the right or bottom.
    EXPECT_EQ(CentreOverOwner({1800, 1000, 100, 100}, {400, 300}, wa), (LayoutPoint{1650, 900}));
}

} // namespace
