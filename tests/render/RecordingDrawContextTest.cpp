#include "render/RecordingDrawContext.h"
#include "render/SystemColors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace fw;

namespace {

using ::testing::ElementsAre;

constexpr Color kRed{255, 0, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kGray{160, 160, 160};
const FontDesc kBold{"Sans", 15, 0, 700};

class RecordingDrawContextTest : public ::testing::Test {
protected:
    RecordingDrawContext dc;
};

TEST_F(RecordingDrawContextTest, ShapesLinesAndImagesAreRecordedWithTheObjectsOfTheTime)
{
    const IntRect rect{10, 20, 110, 70};
    dc.Rectangle(rect);
    dc.MoveTo({0, 10});
    dc.LineTo({5, 5});
    EXPECT_EQ(dc.SelectPen(Pen::StockNull()), Pen::StockBlack());  // selections answer the previous object
    EXPECT_EQ(dc.SelectBrush(Brush::Solid(kRed)), Brush::StockWhite());
    dc.Rectangle(rect);
    dc.SelectPen(Pen{PenStyle::Dot, 0, kBlue});
    EXPECT_EQ(dc.SelectBrush(Brush::Hollow()), Brush::Solid(kRed));
    dc.RoundRect(rect, 10, 12);
    dc.Ellipse({0, 0, 5, 6});
    dc.Polyline({{1, 2}, {3, 4}});
    // Fills use their own brush and change nothing that is selected.
    dc.FillRect({1, 2, 3, 4}, Brush::Solid(kGray));
    dc.FillSolidRect({5, 6, 7, 8}, kBlue);
    dc.DrawFocusRect({0, 0, 20, 10});
    EXPECT_EQ(dc.CurrentBrush(), Brush::Hollow());

    EXPECT_EQ(dc.Dump(), "Rectangle 10,20,110,70 pen=solid/0/0,0,0 brush=solid/255,255,255\n"
                         "MoveTo 0,10\n"
                         "LineTo 5,5 pen=solid/0/0,0,0\n"
                         "SelectPen null\n"
                         "SelectBrush solid/255,0,0\n"
                         "Rectangle 10,20,110,70 pen=null brush=solid/255,0,0\n"
                         "SelectPen dot/0/0,0,255\n"
                         "SelectBrush hollow\n"
                         "RoundRect 10,20,110,70 10x12 pen=dot/0/0,0,255 brush=hollow\n"
                         "Ellipse 0,0,5,6 pen=dot/0/0,0,255 brush=hollow\n"
                         "Polyline 1,2 3,4 pen=dot/0/0,0,255\n"
                         "FillRect 1,2,3,4 brush=solid/160,160,160\n"
                         "FillSolidRect 5,6,7,8 color=0,0,255\n"
                         "FocusRect 0,0,20,10");
    EXPECT_THAT(dc.CallsStartingWith("Fill"),
                ElementsAre("FillRect 1,2,3,4 brush=solid/160,160,160", "FillSolidRect 5,6,7,8 color=0,0,255"));
    dc.Clear();  // forgets the calls but keeps the selection
    dc.LineTo({2, 2});
    EXPECT_EQ(dc.Dump(), "LineTo 2,2 pen=dot/0/0,0,255");

    dc.Clear();  // images succeed only with something to decode
    const std::vector<std::uint8_t> bytes{1, 2, 3};
    EXPECT_TRUE(dc.DrawImageFile("file.png", {0, 0, 10, 10}));
    EXPECT_FALSE(dc.DrawImageFile("", {0, 0, 10, 10}));
    EXPECT_TRUE(dc.DrawImageData(bytes, {1, 1, 4, 4}));
    EXPECT_FALSE(dc.DrawTransparentImageData({}, {2, 2, 5, 5}, {255, 0, 255}));
    EXPECT_THAT(dc.Calls(),
                ElementsAre("Image file.png 0,0,10,10", "Image  0,0,10,10 failed", "ImageData 3 bytes 1,1,4,4",
                            "TransparentImageData 0 bytes 2,2,5,5 key=255,0,255 failed"));

    EXPECT_EQ(dc.GetSysColor(SysColor::BtnFace), ClassicSysColor(SysColor::BtnFace));
    dc.OverrideSysColor(SysColor::BtnFace, {1, 2, 3});
    EXPECT_EQ(dc.GetSysColor(SysColor::BtnFace), (Color{1, 2, 3}));
    EXPECT_EQ(dc.GetSysColor(SysColor::Window), ClassicSysColor(SysColor::Window));
}

TEST_F(RecordingDrawContextTest, TextCarriesFontColoursAndBackgroundModeAndHasAnExtent)
{
    dc.DrawText("Name", {0, 0, 50, 20}, 0);
    EXPECT_EQ(dc.SelectFont(kBold), dc.GetDefaultGuiFont());
    EXPECT_EQ(dc.SetTextColor(kBlue), (Color{0, 0, 0}));
    EXPECT_EQ(dc.SetBkMode(BkMode::Transparent), BkMode::Opaque);
    dc.DrawText("12", {0, 0, 50, 20}, TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);
    dc.SetBkMode(BkMode::Opaque);
    EXPECT_EQ(dc.SetBkColor(kGray), (Color{255, 255, 255}));
    FontDesc italic = dc.GetDefaultGuiFont();
    italic.italic = true;
    italic.underline = true;
    dc.SelectFont(italic);
    dc.DrawText("a", {1, 1, 2, 2}, TextFormat::Right | TextFormat::EndEllipsis);
    dc.DrawText("say \"hi\"\\\nnext\tline\r", {0, 0, 1, 1}, 0);  // quoted, so every call stays one line

    EXPECT_THAT(dc.CallsStartingWith("DrawText"),
                ElementsAre("DrawText \"Name\" 0,0,50,20 fmt=0x0 font=Sans/8pt/400 color=0,0,0 bk=opaque/255,255,255",
                            "DrawText \"12\" 0,0,50,20 fmt=0x25 font=Sans/15/700 color=0,0,255 bk=transparent",
                            "DrawText \"a\" 1,1,2,2 fmt=0x8002 font=Sans/8pt/400/italic/underline color=0,0,255 "
                            "bk=opaque/160,160,160",
                            R"(DrawText "say \"hi\"\\\nnext\tline\r" 0,0,1,1 fmt=0x0 )"
                            "font=Sans/8pt/400/italic/underline color=0,0,255 bk=opaque/160,160,160"));

    EXPECT_EQ(dc.GetTextExtent(""), (IntSize{0, 13}));
    EXPECT_EQ(dc.GetTextExtent("Größe"), (IntSize{35, 13}));  // five code points in seven bytes
    dc.SelectFont(kBold);
    EXPECT_EQ(dc.GetTextExtent("ab"), (IntSize{14, 15}));
    FontDesc characterHeight = kBold;
    characterHeight.height = -11;
    dc.SelectFont(characterHeight);
    EXPECT_EQ(dc.GetTextExtent("ab").cy, 11);
}

}  // namespace
