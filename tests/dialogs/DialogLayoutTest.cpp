#include "dialogs/DialogLayout.h"

#include <gtest/gtest.h>

#include <climits>

using namespace fw;

namespace {

AnchorRecord Anchor(DialogRect rect, double moveX, double moveY, double sizeX, double sizeY)
{
    AnchorRecord r;
    r.rect = rect;
    r.moveX = moveX;
    r.moveY = moveY;
    r.sizeX = sizeX;
    r.sizeY = sizeY;
    return r;
}

}  // namespace

TEST(AnchorPlacement, FactorsShareTheGrowthTruncatedTowardZeroAndScrollingOnlyMoves)
{
    const DialogRect at{10, 20, 100, 50};
    EXPECT_EQ(PlaceAnchored(Anchor(at, 1, 1, 0, 0), 30, 40, 0, 0), (DialogRect{40, 60, 100, 50}));
    EXPECT_EQ(PlaceAnchored(Anchor(at, 0, 0, 1, 1), 30, 40, 0, 0), (DialogRect{10, 20, 130, 90}));
    EXPECT_EQ(PlaceAnchored(Anchor(at, 0.5, 0, 0.5, 0.25), 30, 40, 0, 0), (DialogRect{25, 20, 115, 60}));
    // 0.5 * 7 = 3.5 -> 3; 0.5 * -7 = -3.5 -> -3 (not -4).
    const DialogRect square{100, 100, 100, 100};
    EXPECT_EQ(PlaceAnchored(Anchor(square, 0.5, 0.5, 0.5, 0.5), 7, -7, 0, 0), (DialogRect{103, 97, 103, 97}));
    EXPECT_EQ(PlaceAnchored(Anchor(square, 1.0 / 3, 0, 0, 2.0 / 3), 10, -10, 0, 0), (DialogRect{103, 100, 100, 94}));
    EXPECT_EQ(PlaceAnchored(Anchor({10, 200, 50, 20}, 1, 0, 0, 1), 20, 10, 5, 120), (DialogRect{25, 80, 50, 30}));

    EXPECT_FALSE(Anchor({1, 2, 3, 4}, 0, 0, 0, 0).IsAnchored());
    EXPECT_TRUE(Anchor({1, 2, 3, 4}, 0, 0, 0, 0.1).IsAnchored());
    EXPECT_TRUE(Anchor({1, 2, 3, 4}, -1, 0, 0, 0).IsAnchored());
}

TEST(DialogScrolling, ClampsToContentMinusPageByLinePageAndEnds)
{
    EXPECT_EQ(MaxScrollPosition(800, 500), 300);
    EXPECT_EQ(MaxScrollPosition(500, 800), 0);
    EXPECT_EQ(ClampScrollPosition(-10, 800, 500), 0);
    EXPECT_EQ(ClampScrollPosition(350, 800, 500), 300);
    EXPECT_EQ(ClampScrollPosition(120, 800, 500), 120);
    EXPECT_EQ(ClampScrollPosition(120, 800, 900), 0);  // content fits: back to 0
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::LineDown, 0, 0, 800, 500), 60);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::LineDown, 270, 0, 800, 500), 300);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::LineUp, 100, 0, 800, 500), 40);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::LineUp, 40, 0, 800, 500), 0);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::PageDown, 0, 0, 1200, 500), 500);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::PageUp, 600, 0, 1200, 500), 100);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::Bottom, 0, 0, 1200, 500), 700);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::Top, 600, 0, 1200, 500), 0);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::ThumbPosition, 0, 999, 1200, 500), 700);
    EXPECT_EQ(ScrollPositionFor(ScrollRequest::ThumbPosition, 0, 123, 1200, 500), 123);
}

TEST(PlacementText, WrittenNegativeWhenMaximizedAndReadBackOrNothing)
{
    EXPECT_EQ(FormatPlacement({{10, 20, 0, 480}, false}), "");
    EXPECT_EQ(FormatPlacement({{10, 20, 640, 0}, true}), "");
    for (const auto& [p, text] : {std::pair{DialogPlacement{{10, -5, 640, 480}, false}, "10;-5;640;480"},
                                  std::pair{DialogPlacement{{10, 20, 640, 480}, true}, "10;20;-640;-480"}}) {
        EXPECT_EQ(FormatPlacement(p), text);
        const std::optional<DialogPlacement> back = ParsePlacement(text);
        ASSERT_TRUE(back.has_value()) << text;
        EXPECT_EQ(back->rect, p.rect) << text;
        EXPECT_EQ(back->maximized, p.maximized) << text;
    }
    // Either side negative marks it maximized; spaces are allowed.
    const std::optional<DialogPlacement> onlyHeight = ParsePlacement(" 5; 6;300;-200");
    ASSERT_TRUE(onlyHeight.has_value());
    EXPECT_TRUE(onlyHeight->maximized);
    EXPECT_EQ(onlyHeight->rect, (DialogRect{5, 6, 300, 200}));
    const std::optional<DialogPlacement> extreme = ParsePlacement("0;0;-99999999999;1");
    ASSERT_TRUE(extreme.has_value());
    EXPECT_GT(extreme->rect.width, 0);
    for (const char* unusable : {"", "10;20;640", "10;20;0;480", "garbage"})
        EXPECT_FALSE(ParsePlacement(unusable).has_value()) << unusable;
}

TEST(DesktopClipping, ExtentIsWidthsSideBySideByTallestAndWhatIsOutsideIsPulledIn)
{
    const MonitorSize extent = DesktopExtent({{1920, 1080}, {1280, 1440}});
    EXPECT_EQ(extent.width, 3200);
    EXPECT_EQ(extent.height, 1440);
    EXPECT_EQ(DesktopExtent({}).width, 0);
    EXPECT_EQ(ClipToDesktop({100, 100, 800, 600}, extent), (DialogRect{100, 100, 800, 600}));
    EXPECT_EQ(ClipToDesktop({2500, 100, 800, 600}, extent), (DialogRect{2500, 100, 700, 600}));
    EXPECT_EQ(ClipToDesktop({-50, 1000, 800, 600}, extent), (DialogRect{0, 1000, 800, 440}));
    EXPECT_EQ(ClipToDesktop({4000, 2000, 800, 600}, extent), (DialogRect{0, 0, 800, 600}));
    EXPECT_EQ(ClipToDesktop({-10, -10, 5000, 3000}, extent), (DialogRect{0, 0, 3200, 1440}));
    // A stored size near the int limit is cut too, not carried past it.
    EXPECT_EQ(ClipToDesktop({1, 2, INT_MAX, INT_MAX}, extent), (DialogRect{1, 2, 3199, 1438}));
}
