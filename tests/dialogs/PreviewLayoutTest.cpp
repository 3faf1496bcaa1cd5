#include "dialogs/PreviewLayout.h"

#include "model/EntityStyle.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

constexpr IntSize kScreen{1920, 1080};
constexpr IntSize kBars{15, 15};

}  // namespace

TEST(PreviewSize, PaperThatFitsOpensAtItsOwnSize)
{
    const auto size = ComputePreviewSize({720, 650}, kScreen, kBars);
    ASSERT_TRUE(size);
    EXPECT_FALSE(size->horizontalScroll);
    EXPECT_FALSE(size->verticalScroll);
    EXPECT_EQ(size->clientWidth, 720);
    EXPECT_EQ(size->clientHeight, 650);
    EXPECT_EQ(size->contentWidth, 720);
    EXPECT_EQ(size->contentHeight, 650);
    EXPECT_EQ(PreviewWindowSize({730, 690}, *size), (IntSize{730, 690}));
}

TEST(PreviewSize, TallPaperOpens600HighWithAVerticalBar)
{
    const auto size = ComputePreviewSize({720, 3000}, kScreen, kBars);
    ASSERT_TRUE(size);
    EXPECT_TRUE(size->verticalScroll);
    EXPECT_FALSE(size->horizontalScroll);
    // Cut to the screen less 30, and widened by the bar.
    EXPECT_EQ(size->clientHeight, 1050);
    EXPECT_EQ(size->clientWidth, 735);
    EXPECT_EQ(size->contentHeight, 3000);
    EXPECT_EQ(PreviewWindowSize({745, 1090}, *size), (IntSize{745, 600}));
}

TEST(PreviewSize, WidePaperOpens600WideWithAHorizontalBar)
{
    const auto size = ComputePreviewSize({2500, 400}, kScreen, kBars);
    ASSERT_TRUE(size);
    EXPECT_TRUE(size->horizontalScroll);
    EXPECT_FALSE(size->verticalScroll);
    EXPECT_EQ(size->clientWidth, 1890);
    EXPECT_EQ(size->clientHeight, 415);
    EXPECT_EQ(size->contentWidth, 2500);
    EXPECT_EQ(PreviewWindowSize({1900, 455}, *size), (IntSize{600, 455}));

    // Exactly at the limit still fits.
    EXPECT_FALSE(ComputePreviewSize({1890, 1050}, kScreen, kBars)->horizontalScroll);
    EXPECT_TRUE(ComputePreviewSize({1891, 1051}, kScreen, kBars)->verticalScroll);
}

TEST(PreviewSize, PaperWithoutSizeKeepsTheWindowAsItIs)
{
    EXPECT_FALSE(ComputePreviewSize({0, 400}, kScreen, kBars));
    EXPECT_FALSE(ComputePreviewSize({400, -1}, kScreen, kBars));
}

TEST(PreviewButtonBar, NineControlsAlongTheBottom)
{
    const std::vector<BarControl> bar = RuntimeButtonBar(720, 650);
    ASSERT_EQ(bar.size(), 9u);
    const int y = 580;
    EXPECT_EQ(bar[0].bitmapKey, "HELP");
    EXPECT_EQ(bar[0].rect, (IntRect{10, y, 36, y + 26}));
    EXPECT_EQ(bar[1].bitmapKey, "OPEN_OBJECTEDITOR");
    EXPECT_EQ(bar[1].rect, (IntRect{40, y, 66, y + 26}));
    EXPECT_EQ(bar[2].bitmapKey, "SHOW_PREVIEW_OBJECT");
    EXPECT_EQ(bar[2].rect, (IntRect{70, y, 90, y + 20}));
    EXPECT_EQ(bar[3].bitmapKey, "SHOW_NEXT_OBJECT");
    EXPECT_EQ(bar[3].rect, (IntRect{92, y, 112, y + 20}));
    EXPECT_EQ(bar[4].kind, BarControlKind::ReadOnlyEdit);
    EXPECT_EQ(bar[4].rect, (IntRect{114, y, 169, y + 20}));
    EXPECT_EQ(bar[5].bitmapKey, "SPREAD_SHEET");
    EXPECT_EQ(bar[5].rect, (IntRect{170, y, 190, y + 20}));
    EXPECT_EQ(bar[6].kind, BarControlKind::StatusField);
    EXPECT_EQ(bar[6].rect, (IntRect{10, 615, 710, 640}));
    EXPECT_EQ(bar[7].kind, BarControlKind::Ok);
    EXPECT_EQ(bar[7].rect, (IntRect{525, y, 605, y + 24}));
    EXPECT_EQ(bar[8].kind, BarControlKind::Cancel);
    EXPECT_EQ(bar[8].rect, (IntRect{625, y, 705, y + 24}));
    for (int i : {0, 1, 2, 3, 5})
        EXPECT_EQ(bar[i].buttonType, 2) << bar[i].bitmapKey;
}

TEST(PreviewButtonBar, EverythingMovesDownTheStatusWidensOkAndCancelFollowTheCorner)
{
    const std::vector<BarControl> bar = RuntimeButtonBar(400, 300);
    for (const BarControl& c : bar) {
        EXPECT_EQ(c.moveY, 1.0);
        EXPECT_EQ(c.sizeY, 0.0);
        const bool corner = c.kind == BarControlKind::Ok || c.kind == BarControlKind::Cancel;
        EXPECT_EQ(c.moveX, corner ? 1.0 : 0.0);
        EXPECT_EQ(c.sizeX, c.kind == BarControlKind::StatusField ? 1.0 : 0.0);
    }
}

TEST(PreviewDynamicLayout, SharesComeFromThePercentages)
{
    EXPECT_EQ(AnchorSharesOf({100, 50}, {0, 25}), (AnchorShares{1.0, 0.5, 0.0, 0.25}));
    EXPECT_EQ(AnchorSharesOf({0, 0}, {0, 0}), (AnchorShares{}));
}

TEST(PreviewDynamicLayout, SizingGrowsAndMovingMovesByTheirShareOfTheGrowth)
{
    const IntRect at{10, 20, 110, 70};
    const int dx = PreviewGrowth(770, 720);
    const int dy = PreviewGrowth(650, 650);
    EXPECT_EQ(dx, 50);
    EXPECT_EQ(dy, 0);
    // Sizing 100,0: 50 pixels wider, same place.
    const IntRect grown = DynamicRect(at, {0, 0}, {100, 0}, dx, dy);
    EXPECT_EQ(grown.left, 10);
    EXPECT_EQ(grown.Width(), 150);
    EXPECT_EQ(grown.Height(), 50);
    // Moving 100,0: 50 pixels to the right, same size.
    EXPECT_EQ(DynamicRect(at, {100, 0}, {0, 0}, dx, dy), (IntRect{60, 20, 160, 70}));
    // Half shares truncate toward zero.
    EXPECT_EQ(DynamicRect(at, {50, 50}, {0, 0}, 7, -7), (IntRect{13, 17, 113, 67}));
    // A window smaller than its content has not grown: elements keep their place and size.
    EXPECT_EQ(PreviewGrowth(500, 650), 0);
}

TEST(PreviewDynamicLayout, ScrollingAxesDropTheirShares)
{
    const AnchorShares all{1.0, 1.0, 0.5, 0.5};
    PreviewSize tall;
    tall.verticalScroll = true;
    EXPECT_EQ(WithoutScrolledAxes(all, tall), (AnchorShares{1.0, 0.0, 0.5, 0.0}));
    PreviewSize wide;
    wide.horizontalScroll = true;
    EXPECT_EQ(WithoutScrolledAxes(all, wide), (AnchorShares{0.0, 1.0, 0.0, 0.5}));
    EXPECT_EQ(WithoutScrolledAxes(all, PreviewSize{}), all);
}

TEST(PreviewPictures, ScaledIntoTheRectangleKeepingTheAspectRatio)
{
    EXPECT_EQ(FitPicture({0, 0, 100, 100}, {200, 100}), (IntRect{0, 0, 100, 50}));
    EXPECT_EQ(FitPicture({20, 30, 120, 130}, {200, 100}), (IntRect{20, 30, 120, 80}));
    // Small pictures are enlarged: the narrower side decides.
    EXPECT_EQ(FitPicture({0, 0, 128, 96}, {16, 16}), (IntRect{0, 0, 96, 96}));
    EXPECT_TRUE(FitPicture({0, 0, 100, 100}, {0, 0}).IsEmpty());
}

TEST(PreviewPictures, ResourceKeysAfterTheLastFolder)
{
    EXPECT_EQ(PictureResourceName("R:PUMP"), "PUMP");
    EXPECT_EQ(PictureResourceName("C:\\forms\\R:LOGO"), "LOGO");
    EXPECT_EQ(PictureResourceName("/home/forms/R:LOGO"), "LOGO");
    EXPECT_FALSE(PictureResourceName("R:\\pictures\\pump.png"));
    EXPECT_FALSE(PictureResourceName("pump.png"));
}

TEST(PreviewStyles, ColourNeedsExactlyThreeParts)
{
    const auto red = StyleTextColor("255,0,0");
    ASSERT_TRUE(red);
    EXPECT_EQ(*red, (Color{255, 0, 0}));
    EXPECT_FALSE(StyleTextColor("255,0"));
    EXPECT_FALSE(StyleTextColor("1,2,3,4"));
    EXPECT_FALSE(StyleTextColor(""));
    // Only the low eight bits count.
    EXPECT_EQ(*StyleTextColor("256,-1,258"), (Color{0, 255, 2}));
}

TEST(PreviewStyles, FontInTenthsOfAPointBoldAndItalic)
{
    const CEntityStyle bold("s1", "Arial", 12, true, false, "255,0,0");
    EXPECT_EQ(PreviewFontOf(bold), (PreviewFont{"Arial", 120, 700, false}));
    const CEntityStyle note("Note", "Calibri", 8, false, true, "96,96,96");
    EXPECT_EQ(PreviewFontOf(note), (PreviewFont{"Calibri", 80, 400, true}));
    EXPECT_EQ(DefaultPreviewFont("Sans", 9), (PreviewFont{"Sans", 90, 400, false}));
}

TEST(PreviewTitle, FormTitleElseEditAndTheObjectClass)
{
    EXPECT_EQ(PreviewTitleKey("EDIT_PUMP_RELEASED", "PUMP"), "EDIT_PUMP_RELEASED");
    EXPECT_EQ(PreviewTitleKey("", "VALVE"), "EDIT_VALVE");
}

TEST(PreviewKinds, ExactTypeStrings)
{
    EXPECT_EQ(PreviewKindOf("static"), PreviewKind::Static);
    EXPECT_EQ(PreviewKindOf("editbox"), PreviewKind::Edit);
    EXPECT_EQ(PreviewKindOf("ImageButton"), PreviewKind::ImageButton);
    EXPECT_EQ(PreviewKindOf("Table"), PreviewKind::Table);
    EXPECT_EQ(PreviewKindOf("button"), PreviewKind::Button);
    EXPECT_EQ(PreviewKindOf("Image"), PreviewKind::Picture);
    EXPECT_EQ(PreviewKindOf("line"), PreviewKind::Shape);
    EXPECT_EQ(PreviewKindOf("rectangle"), PreviewKind::Shape);
    EXPECT_EQ(PreviewKindOf("ellipse"), PreviewKind::Shape);
    EXPECT_EQ(PreviewKindOf("Static"), PreviewKind::None);
    EXPECT_EQ(PreviewKindOf("table"), PreviewKind::None);
    EXPECT_EQ(PreviewKindOf("basic"), PreviewKind::None);
}
