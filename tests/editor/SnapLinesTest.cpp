// Lining a dragged box up with the lines gathered around it.

#include "editor/SnapLines.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

// A neighbour at x 200..300, y 100..140: lines at x 200, 250, 300 and y 100, 120, 140.
SnapLines Neighbour()
{
    SnapLines lines;
    lines.AddElement({200, 100, 300, 140});
    lines.Finish();
    return lines;
}

}  // namespace

TEST(SnapLines, EdgesAndCentresSnapWithinReachAndNotBeyond)
{
    const SnapLines lines = Neighbour();
    // Left edge 4 short of the neighbour's left: it snaps; 5 short: it stays.
    SnapResult r = lines.Snap({196, 400, 236, 420}, SnapLines::AllLines, 0, 4.0);
    EXPECT_EQ(r.dx, 4);
    ASSERT_TRUE(r.vertical);
    EXPECT_EQ(r.vertical->at, 200);
    EXPECT_EQ(r.vertical->from, 100) << "the guide runs from the neighbour";
    EXPECT_EQ(r.vertical->to, 420) << "to the dragged box";
    r = lines.Snap({195, 400, 235, 420}, SnapLines::AllLines, SnapLines::AllLines, 4.0);
    EXPECT_EQ(r.dx, 0);
    EXPECT_EQ(r.dy, 0);
    EXPECT_FALSE(r.vertical);
    EXPECT_FALSE(r.horizontal);

    // The box's centre (x 252) onto the neighbour's centre, its bottom onto the top edge.
    r = lines.Snap({232, 77, 272, 97}, SnapLines::AllLines, SnapLines::AllLines, 4.0);
    EXPECT_EQ(r.dx, -2);
    EXPECT_EQ(r.dy, 3);
    ASSERT_TRUE(r.horizontal);
    EXPECT_EQ(r.horizontal->at, 100);
    EXPECT_EQ(r.horizontal->from, 200);
    EXPECT_EQ(r.horizontal->to, 300);
    // The far edge onto the neighbour's right edge, from the other side.
    EXPECT_EQ(lines.Snap({263, 0, 303, 10}, SnapLines::AllLines, 0, 4.0).dx, -3);

    // At zoom 2 the same four screen pixels are two units.
    EXPECT_EQ(lines.Snap({198, 0, 210, 10}, SnapLines::Near, 0, 2.0).dx, 2);
    EXPECT_EQ(lines.Snap({197, 0, 210, 10}, SnapLines::Near, 0, 2.0).dx, 0);
}

TEST(SnapLines, NearestLineWinsAndOnlyTheChosenLinesTakePart)
{
    SnapLines lines = Neighbour();
    lines.AddElement({0, 0, 203, 10});  // a second line at x 203
    lines.Finish();
    // Left at 204: 203 is one away, 200 four away.
    EXPECT_EQ(lines.Snap({204, 0, 214, 10}, SnapLines::AllLines, 0, 4.0).dx, -1);
    // Right edge 1 from 300 beats left edge 2 from 200.
    EXPECT_EQ(lines.Snap({198, 0, 299, 10}, SnapLines::AllLines, 0, 4.0).dx, 1);
    // A dragged right edge ignores where the left one stands.
    EXPECT_EQ(lines.Snap({199, 0, 290, 10}, SnapLines::Far, 0, 4.0).dx, 0);
    EXPECT_EQ(lines.Snap({199, 0, 290, 10}, 0, 0, 4.0).dx, 0);
}

TEST(SnapLines, MarginsSnapWithoutStretchingTheGuide)
{
    SnapLines lines;
    lines.AddMargins({10, 10, 590, 390});
    lines.Finish();
    const SnapResult r = lines.Snap({13, 200, 50, 220}, SnapLines::AllLines, SnapLines::AllLines, 4.0);
    EXPECT_EQ(r.dx, -3);
    ASSERT_TRUE(r.vertical);
    EXPECT_EQ(r.vertical->from, 200);
    EXPECT_EQ(r.vertical->to, 220);
    EXPECT_EQ(lines.Snap({500, 300, 588, 387}, SnapLines::AllLines, SnapLines::AllLines, 4.0).dy, 3);
}
