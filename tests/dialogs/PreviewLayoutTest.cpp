#include "dialogs/PreviewLayout.h"

#include "model/EntityStyle.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fw;

namespace {

constexpr IntSize kScreen{1920, 1080};
constexpr IntSize kBars{15, 15};

}  // namespace

// A paper that fits opens at its size; one past the screen less 30 is cut to
// that, widened by the bar, and its window opens 600 long that way.
TEST(PreviewSize, CutToTheScreenWithABarAndA600LongWindowInTheScrollingDirection)
{
    const struct {
        IntSize paper, window;
        int clientWidth, clientHeight;
        bool horizontal, vertical;
        IntSize opened;
    } cases[] = {
        {{720, 650}, {730, 690}, 720, 650, false, false, {730, 690}},
        {{720, 3000}, {745, 1090}, 735, 1050, false, true, {745, 600}},
        {{2500, 400}, {1900, 455}, 1890, 415, true, false, {600, 455}},
        {{1890, 1050}, {1900, 1090}, 1890, 1050, false, false, {1900, 1090}},  // exactly at the limit
    };
    for (const auto& c : cases) {
        const auto size = ComputePreviewSize(c.paper, kScreen, kBars);
        ASSERT_TRUE(size) << c.paper.cx;
        EXPECT_EQ(size->clientWidth, c.clientWidth) << c.paper.cx;
        EXPECT_EQ(size->clientHeight, c.clientHeight) << c.paper.cx;
        EXPECT_EQ(size->contentWidth, std::max(c.paper.cx, c.clientWidth)) << c.paper.cx;
        EXPECT_EQ(size->contentHeight, std::max(c.paper.cy, c.clientHeight)) << c.paper.cx;
        EXPECT_EQ(size->horizontalScroll, c.horizontal) << c.paper.cx;
        EXPECT_EQ(size->verticalScroll, c.vertical) << c.paper.cx;
        EXPECT_EQ(PreviewWindowSize(c.window, *size), c.opened) << c.paper.cx;
    }
    EXPECT_TRUE(ComputePreviewSize({1891, 1051}, kScreen, kBars)->verticalScroll);
    // A paper without a size keeps the window as it is.
    EXPECT_FALSE(ComputePreviewSize({0, 400}, kScreen, kBars));
    EXPECT_FALSE(ComputePreviewSize({400, -1}, kScreen, kBars));
}

// Nine controls along the bottom: all move down, the status widens, OK and
// Cancel follow the corner.
TEST(PreviewButtonBar, NineControlsAlongTheBottomFollowTheirCorner)
{
    const std::vector<BarControl> bar = RuntimeButtonBar(720, 650);
    ASSERT_EQ(bar.size(), 9u);
    const int y = 580;
    const std::pair<std::string, IntRect> expected[] = {
        {"HELP", {10, y, 36, y + 26}},
        {"OPEN_OBJECTEDITOR", {40, y, 66, y + 26}},
        {"SHOW_PREVIEW_OBJECT", {70, y, 90, y + 20}},
        {"SHOW_NEXT_OBJECT", {92, y, 112, y + 20}},
        {"", {114, y, 169, y + 20}},
        {"SPREAD_SHEET", {170, y, 190, y + 20}},
        {"", {10, 615, 710, 640}},
        {"", {525, y, 605, y + 24}},
        {"", {625, y, 705, y + 24}},
    };
    const BarControlKind kinds[] = {BarControlKind::ReadOnlyEdit, BarControlKind::StatusField, BarControlKind::Ok,
                                    BarControlKind::Cancel};
    for (size_t i = 0; i < bar.size(); ++i) {
        const BarControl& c = bar[i];
        EXPECT_EQ(c.bitmapKey, expected[i].first) << i;
        EXPECT_EQ(c.rect, expected[i].second) << i;
        if (!c.bitmapKey.empty())
            EXPECT_EQ(c.buttonType, 2) << c.bitmapKey;
        else
            EXPECT_EQ(c.kind, kinds[i == 4 ? 0 : i - 5]) << i;
        EXPECT_EQ(c.moveY, 1.0);
        EXPECT_EQ(c.sizeY, 0.0);
        const bool corner = c.kind == BarControlKind::Ok || c.kind == BarControlKind::Cancel;
        EXPECT_EQ(c.moveX, corner ? 1.0 : 0.0) << i;
        EXPECT_EQ(c.sizeX, c.kind == BarControlKind::StatusField ? 1.0 : 0.0) << i;
    }
}

TEST(PreviewDynamicLayout, SharesOfTheGrowthFromThePercentagesButNotAlongAScrollingAxis)
{
    EXPECT_EQ(AnchorSharesOf({100, 50}, {0, 25}), (AnchorShares{1.0, 0.5, 0.0, 0.25}));
    EXPECT_EQ(AnchorSharesOf({0, 0}, {0, 0}), (AnchorShares{}));

    const IntRect at{10, 20, 110, 70};
    const int dx = PreviewGrowth(770, 720);
    const int dy = PreviewGrowth(650, 650);
    EXPECT_EQ(dx, 50);
    EXPECT_EQ(dy, 0);
    EXPECT_EQ(DynamicRect(at, {0, 0}, {100, 0}, dx, dy), (IntRect{10, 20, 160, 70}));
    EXPECT_EQ(DynamicRect(at, {100, 0}, {0, 0}, dx, dy), (IntRect{60, 20, 160, 70}));
    // Half shares truncate toward zero.
    EXPECT_EQ(DynamicRect(at, {50, 50}, {0, 0}, 7, -7), (IntRect{13, 17, 113, 67}));
    // A window smaller than its content has not grown.
    EXPECT_EQ(PreviewGrowth(500, 650), 0);

    const AnchorShares all{1.0, 1.0, 0.5, 0.5};
    PreviewSize tall;
    tall.verticalScroll = true;
    EXPECT_EQ(WithoutScrolledAxes(all, tall), (AnchorShares{1.0, 0.0, 0.5, 0.0}));
    PreviewSize wide;
    wide.horizontalScroll = true;
    EXPECT_EQ(WithoutScrolledAxes(all, wide), (AnchorShares{0.0, 1.0, 0.0, 0.5}));
    EXPECT_EQ(WithoutScrolledAxes(all, PreviewSize{}), all);
}

TEST(PreviewPictures, ScaledKeepingTheAspectRatioAndResourceKeysAfterTheLastFolder)
{
    EXPECT_EQ(FitPicture({20, 30, 120, 130}, {200, 100}), (IntRect{20, 30, 120, 80}));
    // Small pictures are enlarged: the narrower side decides.
    EXPECT_EQ(FitPicture({0, 0, 128, 96}, {16, 16}), (IntRect{0, 0, 96, 96}));
    EXPECT_TRUE(FitPicture({0, 0, 100, 100}, {0, 0}).IsEmpty());

    EXPECT_EQ(PictureResourceName("R:PUMP"), "PUMP");
    EXPECT_EQ(PictureResourceName("C:\\forms\\R:LOGO"), "LOGO");
    EXPECT_EQ(PictureResourceName("/home/forms/R:LOGO"), "LOGO");
    EXPECT_FALSE(PictureResourceName("R:\\pictures\\pump.png"));
    EXPECT_FALSE(PictureResourceName("pump.png"));
}

TEST(PreviewStyles, ColourOfExactlyThreePartsAndFontInTenthsOfAPoint)
{
    EXPECT_EQ(StyleTextColor("255,0,0"), (Color{255, 0, 0}));
    for (const char* bad : {"255,0", "1,2,3,4", ""})
        EXPECT_FALSE(StyleTextColor(bad)) << bad;
    // Only the low eight bits count.
    EXPECT_EQ(StyleTextColor("256,-1,258"), (Color{0, 255, 2}));

    EXPECT_EQ(PreviewFontOf(CEntityStyle("s1", "Arial", 12, true, false, "255,0,0")),
              (PreviewFont{"Arial", 120, 700, false}));
    EXPECT_EQ(PreviewFontOf(CEntityStyle("Note", "Calibri", 8, false, true, "96,96,96")),
              (PreviewFont{"Calibri", 80, 400, true}));
    EXPECT_EQ(DefaultPreviewFont("Sans", 9), (PreviewFont{"Sans", 90, 400, false}));
}

TEST(PreviewKinds, TitleKeyAndExactTypeStrings)
{
    EXPECT_EQ(PreviewTitleKey("EDIT_PUMP_RELEASED", "PUMP"), "EDIT_PUMP_RELEASED");
    EXPECT_EQ(PreviewTitleKey("", "VALVE"), "EDIT_VALVE");

    const std::pair<const char*, PreviewKind> kinds[] = {
        {"static", PreviewKind::Static}, {"editbox", PreviewKind::Edit},  {"ImageButton", PreviewKind::ImageButton},
        {"Table", PreviewKind::Table},   {"button", PreviewKind::Button}, {"Image", PreviewKind::Picture},
        {"line", PreviewKind::Shape},    {"ellipse", PreviewKind::Shape}, {"rectangle", PreviewKind::Shape},
        {"Static", PreviewKind::None},   {"table", PreviewKind::None},    {"basic", PreviewKind::None},
    };
    for (const auto& [type, kind] : kinds)
        EXPECT_EQ(PreviewKindOf(type), kind) << type;
}
