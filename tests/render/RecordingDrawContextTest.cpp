#include "render/RecordingDrawContext.h"
#include "render/SystemColors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace fw {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr Color kRed{255, 0, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kGray{160, 160, 160};

FontDesc boldFont()
{
    FontDesc font;
    font.face = "Sans";
    font.height = 15;
    font.weight = 700;
    return font;
}

class RecordingDrawContextTest : public ::testing::Test {
protected:
    RecordingDrawContext dc;
};

TEST_F(RecordingDrawContextTest, StartsWithTheStockObjects)
{
    EXPECT_EQ(dc.CurrentPen(), Pen::StockBlack());
    EXPECT_EQ(dc.CurrentBrush(), Brush::StockWhite());
    EXPECT_EQ(dc.CurrentFont(), dc.GetDefaultGuiFont());
    EXPECT_EQ(dc.CurrentFont().face, "Sans");
    EXPECT_EQ(dc.CurrentFont().height, 0);
    EXPECT_EQ(dc.CurrentFont().pointSize, 8);
    EXPECT_EQ(dc.CurrentFont().weight, 400);
    EXPECT_EQ(dc.CurrentTextColor(), (Color{0, 0, 0}));
    EXPECT_EQ(dc.CurrentBkColor(), (Color{255, 255, 255}));
    EXPECT_EQ(dc.CurrentBkMode(), BkMode::Opaque);
    EXPECT_FALSE(dc.GetVariableFont() == dc.GetDefaultGuiFont());
    EXPECT_THAT(dc.Calls(), IsEmpty());

    dc.Rectangle({10, 20, 110, 70});
    dc.DrawText("Name", {0, 0, 50, 20}, 0);
    EXPECT_THAT(dc.Calls(), ElementsAre("Rectangle 10,20,110,70 pen=solid/0/0,0,0 brush=solid/255,255,255",
                                        "DrawText \"Name\" 0,0,50,20 fmt=0x0 font=Sans/8pt/400 color=0,0,0 "
                                        "bk=opaque/255,255,255"));
}

TEST_F(RecordingDrawContextTest, SelectionsAnswerThePreviousObjects)
{
    EXPECT_EQ(dc.SelectPen(Pen::Solid(kGray, 1)), Pen::StockBlack());
    EXPECT_EQ(dc.SelectPen(Pen::StockNull()), Pen::Solid(kGray, 1));
    EXPECT_EQ(dc.CurrentPen(), Pen::StockNull());

    EXPECT_EQ(dc.SelectBrush(Brush::Hollow()), Brush::StockWhite());
    EXPECT_EQ(dc.SelectBrush(Brush::Solid(kRed)), Brush::Hollow());
    EXPECT_EQ(dc.CurrentBrush(), Brush::Solid(kRed));

    EXPECT_EQ(dc.SelectFont(boldFont()), dc.GetDefaultGuiFont());
    EXPECT_EQ(dc.SelectFont(dc.GetVariableFont()), boldFont());

    EXPECT_EQ(dc.SetTextColor(kBlue), (Color{0, 0, 0}));
    EXPECT_EQ(dc.SetTextColor(kRed), kBlue);
    EXPECT_EQ(dc.SetBkColor(kGray), (Color{255, 255, 255}));
    EXPECT_EQ(dc.SetBkColor(kRed), kGray);
    EXPECT_EQ(dc.SetBkMode(BkMode::Transparent), BkMode::Opaque);
    EXPECT_EQ(dc.SetBkMode(BkMode::Opaque), BkMode::Transparent);
}

TEST_F(RecordingDrawContextTest, RecordsSelectionsSoRestoresCanBeChecked)
{
    const Pen oldPen = dc.SelectPen(Pen{PenStyle::Dash, 2, kRed});
    const Brush oldBrush = dc.SelectBrush(Brush::Hollow());
    const FontDesc oldFont = dc.SelectFont(boldFont());
    dc.SetTextColor(kBlue);
    dc.SetBkColor(kGray);
    dc.SetBkMode(BkMode::Transparent);
    dc.SelectFont(oldFont);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);

    EXPECT_THAT(dc.Calls(),
                ElementsAre("SelectPen dash/2/255,0,0", "SelectBrush hollow", "SelectFont Sans/15/700",
                            "SetTextColor 0,0,255", "SetBkColor 160,160,160", "SetBkMode transparent",
                            "SelectFont Sans/8pt/400", "SelectBrush solid/255,255,255", "SelectPen solid/0/0,0,0"));
}

TEST_F(RecordingDrawContextTest, ShapesCarryThePenAndBrushSelectedAtTheTime)
{
    const IntRect rect{10, 20, 110, 70};
    dc.Rectangle(rect);
    dc.SelectPen(Pen::StockNull());
    dc.SelectBrush(Brush::Solid(kRed));
    dc.Rectangle(rect);
    dc.SelectPen(Pen{PenStyle::Dot, 0, kBlue});
    dc.SelectBrush(Brush::Hollow());
    dc.RoundRect(rect, 10, 12);
    dc.Ellipse({0, 0, 5, 6});

    EXPECT_THAT(dc.CallsStartingWith("Rectangle"),
                ElementsAre("Rectangle 10,20,110,70 pen=solid/0/0,0,0 brush=solid/255,255,255",
                            "Rectangle 10,20,110,70 pen=null brush=solid/255,0,0"));
    EXPECT_THAT(dc.CallsStartingWith("RoundRect"),
                ElementsAre("RoundRect 10,20,110,70 10x12 pen=dot/0/0,0,255 brush=hollow"));
    EXPECT_THAT(dc.CallsStartingWith("Ellipse"), ElementsAre("Ellipse 0,0,5,6 pen=dot/0/0,0,255 brush=hollow"));
}

TEST_F(RecordingDrawContextTest, LinesCarryThePen)
{
    dc.MoveTo({0, 10});
    dc.LineTo({5, 5});
    dc.SelectPen(Pen::Solid(kGray, 1));
    dc.LineTo({9, 5});
    dc.Polyline({{1, 2}, {3, 4}, {5, 6}});

    EXPECT_THAT(dc.Calls(),
                ElementsAre("MoveTo 0,10", "LineTo 5,5 pen=solid/0/0,0,0", "SelectPen solid/1/160,160,160",
                            "LineTo 9,5 pen=solid/1/160,160,160", "Polyline 1,2 3,4 5,6 pen=solid/1/160,160,160"));
}

TEST_F(RecordingDrawContextTest, FillsUseTheirOwnBrushNotTheSelectedOne)
{
    dc.SelectBrush(Brush::Solid(kRed));
    dc.SelectPen(Pen::Solid(kBlue));
    dc.FillRect({1, 2, 3, 4}, Brush::Solid(kGray));
    dc.FillSolidRect({5, 6, 7, 8}, kBlue);
    dc.DrawFocusRect({0, 0, 20, 10});

    EXPECT_THAT(dc.CallsStartingWith("F"), ElementsAre("FillRect 1,2,3,4 brush=solid/160,160,160",
                                                       "FillSolidRect 5,6,7,8 color=0,0,255", "FocusRect 0,0,20,10"));
    // A fill changes nothing that is selected.
    EXPECT_EQ(dc.CurrentBrush(), Brush::Solid(kRed));
}

TEST_F(RecordingDrawContextTest, TextCarriesFontColoursAndBackgroundMode)
{
    dc.SelectFont(boldFont());
    dc.SetTextColor(kBlue);
    dc.SetBkMode(BkMode::Transparent);
    dc.DrawText("12", {0, 0, 50, 20}, TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);
    dc.SetBkMode(BkMode::Opaque);
    dc.SetBkColor(kGray);
    FontDesc italic = dc.GetDefaultGuiFont();
    italic.italic = true;
    italic.underline = true;
    dc.SelectFont(italic);
    dc.DrawText("a", {1, 1, 2, 2}, TextFormat::Right | TextFormat::EndEllipsis);

    EXPECT_THAT(dc.CallsStartingWith("DrawText"),
                ElementsAre("DrawText \"12\" 0,0,50,20 fmt=0x25 font=Sans/15/700 color=0,0,255 bk=transparent",
                            "DrawText \"a\" 1,1,2,2 fmt=0x8002 font=Sans/8pt/400/italic/underline color=0,0,255 "
                            "bk=opaque/160,160,160"));
}

TEST_F(RecordingDrawContextTest, TextIsQuotedSoEveryCallStaysOneLine)
{
    dc.DrawText("say \"hi\"\\\nnext\tline\r", {0, 0, 1, 1}, 0);
    ASSERT_EQ(dc.Calls().size(), 1u);
    EXPECT_EQ(dc.Calls()[0].find('\n'), std::string::npos);
    EXPECT_EQ(dc.Calls()[0].rfind(R"(DrawText "say \"hi\"\\\nnext\tline\r" 0,0,1,1 )", 0), 0u) << dc.Calls()[0];
}

TEST_F(RecordingDrawContextTest, TextExtentCountsCodePointsAndFollowsTheFontHeight)
{
    EXPECT_EQ(dc.GetTextExtent(""), (IntSize{0, 13}));
    EXPECT_EQ(dc.GetTextExtent("abc"), (IntSize{21, 13}));
    // "Größe" is five code points in seven bytes.
    EXPECT_EQ(dc.GetTextExtent("Gr\xC3\xB6\xC3\x9F"
                               "e")
                  .cx,
              35);
    dc.SelectFont(boldFont());
    EXPECT_EQ(dc.GetTextExtent("ab"), (IntSize{14, 15}));
    FontDesc characterHeight = boldFont();
    characterHeight.height = -11;
    dc.SelectFont(characterHeight);
    EXPECT_EQ(dc.GetTextExtent("ab").cy, 11);
}

TEST_F(RecordingDrawContextTest, ImagesSucceedOnlyWithSomethingToDecode)
{
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_TRUE(dc.DrawImageFile("file.png", {0, 0, 10, 10}));
    EXPECT_FALSE(dc.DrawImageFile("", {0, 0, 10, 10}));
    EXPECT_TRUE(dc.DrawImageData(bytes, {1, 1, 4, 4}));
    EXPECT_FALSE(dc.DrawImageData({}, {1, 1, 4, 4}));
    EXPECT_TRUE(dc.DrawTransparentImageData(bytes, {2, 2, 5, 5}, {255, 0, 255}));
    EXPECT_FALSE(dc.DrawTransparentImageData({}, {2, 2, 5, 5}, {255, 0, 255}));

    EXPECT_THAT(dc.Calls(),
                ElementsAre("Image file.png 0,0,10,10", "Image  0,0,10,10 failed", "ImageData 3 bytes 1,1,4,4",
                            "ImageData 0 bytes 1,1,4,4 failed", "TransparentImageData 3 bytes 2,2,5,5 key=255,0,255",
                            "TransparentImageData 0 bytes 2,2,5,5 key=255,0,255 failed"));
}

TEST_F(RecordingDrawContextTest, SystemColoursComeFromTheClassicPaletteUnlessOverridden)
{
    for (int i = 0; i < kSysColorCount; ++i) {
        const SysColor which = static_cast<SysColor>(i);
        EXPECT_EQ(dc.GetSysColor(which), ClassicSysColor(which)) << SysColorName(which);
    }
    dc.OverrideSysColor(SysColor::BtnFace, {1, 2, 3});
    EXPECT_EQ(dc.GetSysColor(SysColor::BtnFace), (Color{1, 2, 3}));
    EXPECT_EQ(dc.GetSysColor(SysColor::Window), ClassicSysColor(SysColor::Window));
}

TEST_F(RecordingDrawContextTest, ClearForgetsLinesButKeepsTheSelection)
{
    dc.SelectPen(Pen::Solid(kRed, 3));
    dc.MoveTo({1, 1});
    dc.Clear();
    EXPECT_THAT(dc.Calls(), IsEmpty());
    EXPECT_EQ(dc.Dump(), "");
    dc.LineTo({2, 2});
    dc.MoveTo({3, 3});
    EXPECT_EQ(dc.Dump(), "LineTo 2,2 pen=solid/3/255,0,0\nMoveTo 3,3");
    EXPECT_THAT(dc.CallsStartingWith("MoveTo"), ElementsAre("MoveTo 3,3"));
    EXPECT_THAT(dc.CallsStartingWith("Ellipse"), IsEmpty());
}

}  // namespace
}  // namespace fw
