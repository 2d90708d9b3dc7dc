// The layout formulas of both windows, without widgets: measured sizes in, rectangles out.
#include "app/MainLayout.h"
#include "app/PixelLayout.h"

#include <gtest/gtest.h>

namespace {

// Main window for line height L, spin height S and caption widths.
MainLayoutResult mainFor(int L, int S, int a1, int a3, int b2, int b4)
{
    MainLayoutInput in;
    in.label[0] = {a1, L};
    in.label[1] = {b2, L};
    in.label[2] = {a3, L};
    in.label[3] = {b4, L};
    in.editHeight[0] = in.editHeight[1] = L + 8;
    in.spinHeight[0] = in.spinHeight[1] = S;
    in.buttonHeight = L + 12;
    in.statusHeight = L + 6;
    return ComputeMainLayout(in);
}

TEST(MainLayout, LineHeight13GivesTheWorkedNumbers)
{
    const MainLayoutResult r = mainFor(13, 22, 120, 90, 110, 80);
    EXPECT_EQ(r.edit[0].top, 10);
    EXPECT_EQ(r.spin[0].top, 41);
    EXPECT_EQ(r.label[0].top, 14);
    EXPECT_EQ(r.label[2].top, 45);
    EXPECT_EQ(r.edit[0].height, 21);
    EXPECT_EQ(r.button.top, 73);
    EXPECT_EQ(r.button.height, 25);
    EXPECT_EQ(r.statusHeight, 19);
    EXPECT_EQ(r.clientHeight, 127);
    // Each column starts after the wider of its two labels.
    EXPECT_EQ(r.edit[0].left, 135);
    EXPECT_EQ(r.spin[1].left, 130 + 120 + 110);
    EXPECT_EQ(mainFor(13, 22, 90, 120, 80, 110).spin[1].left, 130 + 120 + 110);
    EXPECT_EQ(r.clientWidth, 240 + 120 + 110);
}

TEST(MainLayout, ButtonIsCentredOnTheWidthReadBack)
{
    EXPECT_EQ(ButtonLeftFor(400, 187), 106);
    EXPECT_EQ(ButtonLeftFor(186, 187), 0) << "half of -1 truncates toward zero";
    EXPECT_EQ(ButtonLeftFor(180, 187), -3);
}

TEST(HalfOf, TruncatesTowardZero)
{
    EXPECT_EQ(HalfOf(7), 3);
    EXPECT_EQ(HalfOf(-3), -1);
    EXPECT_EQ(HalfOf(-5), -2);
    EXPECT_EQ(HalfOf(0), 0);
}

struct PlacementRow {
    LayoutRect workArea;
    LayoutSize outer;
    bool maximised;
    LayoutPoint expected;
};

class MainPlacementRows : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(MainPlacementRows, CentresInTheWorkAreaWithoutClamping)
{
    const PlacementRow p = GetParam();
    EXPECT_EQ(MainWindowPosition(p.workArea, p.outer, p.maximised), p.expected);
}

INSTANTIATE_TEST_SUITE_P(WorkAreas, MainPlacementRows,
                         ::testing::Values(
                             // Taller than the work area by 5: 2 above its top; narrower by 7: 3 right of its left.
                             PlacementRow{{0, 0, 1000, 700}, {993, 705}, false, {3, -2}},
                             PlacementRow{{0, 0, 1920, 1040}, {400, 300}, false, {760, 370}},
                             // Task bar on the left or at the top shifts the window by the work area's origin.
                             PlacementRow{{60, 0, 1860, 1080}, {400, 300}, false, {60 + 730, 390}},
                             PlacementRow{{0, 40, 1920, 1040}, {400, 300}, false, {760, 40 + 370}},
                             // Wider than the work area: sticks out on both sides, negative left.
                             PlacementRow{{0, 0, 800, 600}, {1001, 200}, false, {-100, 200}},
                             PlacementRow{{30, 25, 800, 600}, {1001, 2000}, true, {30, 25}}));

TEST(ScreenCentre, PushedOntoTheDesktopOnlyAtLeftAndTop)
{
    const LayoutRect desktop{0, 0, 1000, 700};
    EXPECT_EQ(ScreenCentrePosition({0, 0, 1000, 700}, {1101, 903}, desktop), (LayoutPoint{0, 0}));
    EXPECT_EQ(ScreenCentrePosition({0, 0, 1000, 700}, {200, 100}, desktop), (LayoutPoint{400, 300}));
    EXPECT_EQ(ScreenCentrePosition({-50, 0, 1000, 700}, {1100, 100}, {-50, 0, 2000, 700}), (LayoutPoint{-50, 300}));
}

PixelLayoutResult pixelFor(int L, int S, int A, int B)
{
    PixelLayoutInput in;
    in.label[0] = {A, L};
    in.label[1] = {B, L};
    in.spinHeight[0] = in.spinHeight[1] = S;
    in.buttonHeight = L + 12;
    return ComputePixelLayout(in);
}

TEST(PixelLayout, WorkedNumbers)
{
    const PixelLayoutResult r = pixelFor(13, 22, 60, 40);
    EXPECT_EQ(r.label[0].top, 14);
    EXPECT_EQ(r.button[0].top, 42);
    EXPECT_EQ(r.button[0].height, 25);
    EXPECT_EQ(r.clientHeight, 77);
    // A + B = 100: the buttons at 30 and 185.
    EXPECT_EQ(r.button[0].left, 30);
    EXPECT_EQ(r.button[1].left, 185);
    // A + B = 5: -5 / 3 truncates toward zero.
    EXPECT_EQ(pixelFor(13, 22, 2, 3).button[0].left, -1);
}

} // namespace
