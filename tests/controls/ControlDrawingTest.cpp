#include "controls/DiagramEdit.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramImage.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "controls/DiagramTable.h"
#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "render/CairoDrawContext.h"
#include "render/RecordingDrawContext.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace fw;

namespace {

// A palette in which every frame colour can be told apart (the classic one
// has the window and the highlight both white).
constexpr Color kWindow{0, 200, 200};
constexpr Color kShadow{200, 0, 0};
constexpr Color kHighlight{0, 200, 0};
constexpr Color kDark{0, 0, 200};
constexpr Color kLight{200, 200, 0};

template <typename Dc> void UseTestPalette(Dc& dc, void (Dc::*set)(SysColor, Color))
{
    (dc.*set)(SysColor::Window, kWindow);
    (dc.*set)(SysColor::BtnShadow, kShadow);
    (dc.*set)(SysColor::BtnHighlight, kHighlight);
    (dc.*set)(SysColor::DkShadow3D, kDark);
    (dc.*set)(SysColor::Light3D, kLight);
}

// What `element` records for the rectangle 10,20,110,40 in the test palette and text colour 1,2,3.
std::string Recorded(CDiagramEntity& element)
{
    RecordingDrawContext dc;
    UseTestPalette(dc, &RecordingDrawContext::OverrideSysColor);
    dc.SetTextColor({1, 2, 3});
    dc.Clear();
    element.DrawObject(dc, {10, 20, 110, 40});
    return dc.Dump();
}

// The box itself is pinned down pixel by pixel below; here a field must draw
// what an edit box draws, and its tab number on top only while the form shows them.
TEST(ControlDrawing, FieldsShowTheirTabNumberOnlyWhenTheFormSaysSo)
{
    CDiagramEntityContainer form;
    form.Add(std::make_unique<CDiagramLinked>());
    form.GetAt(0)->SetTabIndex(7);
    CDiagramEdit edit;
    const std::string box = Recorded(edit);
    EXPECT_EQ(box.rfind("SelectPen solid/0/0,200,200\nSelectBrush solid/0,200,200\nRectangle 10,20,110,40", 0), 0u)
        << box;
    EXPECT_EQ(box.substr(box.rfind('\n') + 1), "SelectPen solid/0/0,0,0");
    form.SetShowTabOrder(false);
    EXPECT_EQ(Recorded(*form.GetAt(0)), box);
    form.SetShowTabOrder(true);
    EXPECT_EQ(Recorded(*form.GetAt(0)),
              box + "\nSelectFont Sans/15/700\nSetTextColor 0,0,255\n"
                    "DrawText \"7\" 11,21,108,38 fmt=0x25 font=Sans/15/700 color=0,0,255 bk=opaque/255,255,255\n"
                    "SetTextColor 1,2,3\nSelectFont Sans/10pt/400");
    // The number grows with the zoom as the box does.
    RecordingDrawContext zoomed;
    form.GetAt(0)->Draw(zoomed, 2.0);
    EXPECT_NE(zoomed.Dump().find("SelectFont Sans/30/700\n"), std::string::npos) << zoomed.Dump();
}

TEST(ControlDrawing, SunkenBoxPixelsFollowTheTheme)
{
    auto dc = CairoDrawContext::ForImage(20, 20);
    CDiagramEdit edit;
    edit.DrawObject(*dc, {2, 2, 12, 10});  // the classic palette first: the kept pens must not stay
    UseTestPalette(*dc, &CairoDrawContext::SetSysColor);
    edit.DrawObject(*dc, {2, 2, 12, 10});
    const struct {
        int x, y;
        Color color;
    } pixels[] = {{2, 2, kShadow}, {2, 9, kShadow}, {11, 2, kHighlight}, {11, 9, kHighlight}, {3, 3, kDark},
                  {3, 8, kDark},   {10, 3, kLight}, {10, 8, kLight},     {5, 5, kWindow},     {12, 5, {255, 255, 255}}};
    for (const auto& p : pixels)
        EXPECT_EQ(dc->PixelAt(p.x, p.y), p.color) << p.x << "," << p.y;
}

TEST(ControlDrawing, TextDrawsInItsStyleOrInTheZoomedGuiFont)
{
    const struct {
        const char* color;  // null: no style
        double zoom;
        std::string font;
        const char* rect;
        const char* drawnIn;  // null: the colour is left as it was
    } cases[] = {
        {"0,0,255", 1.0, "Verdana/12pt/700/italic", "10,20,110,40", "0,0,255"},
        // Zoomed, 12 points are 16 pixels times the zoom.
        {"0,0", 2.0, "Verdana/-32/700/italic", "20,40,220,80", nullptr},
        {"0,0", 0.5, "Verdana/-8/700/italic", "5,10,55,20", nullptr},
        {nullptr, 1.0, "Sans/11/400", "10,20,110,40", nullptr},  // the default 8 pt are 11 px at 96 dpi
        {nullptr, 0.5, "Arial/6/400", "5,10,55,20", nullptr},
    };
    for (const auto& c : cases) {
        CEntityStyle style("s1", "Verdana", 12, true, true, c.color ? c.color : "");
        CDiagramStatic text;
        text.SetTitle("Name");
        text.SetRect(10, 20, 110, 40);
        if (c.color)
            text.SetStyle(&style);
        RecordingDrawContext dc;
        dc.SetTextColor({1, 2, 3});
        dc.Clear();
        text.Draw(dc, c.zoom);
        const std::string color = c.drawnIn ? c.drawnIn : "1,2,3";
        EXPECT_EQ(dc.Dump(), "SelectFont " + c.font + "\nSetBkMode transparent\n" +
                                 (c.drawnIn ? "SetTextColor " + color + "\n" : "") + "DrawText \"Name\" " + c.rect +
                                 " fmt=0x20 font=" + c.font + " color=" + color + " bk=transparent\n" +
                                 (c.drawnIn ? "SetTextColor 1,2,3\n" : "") + "SelectFont Sans/10pt/400")
            << (c.color ? c.color : "no style") << " at " << c.zoom;
    }
}

TEST(ControlDrawing, ImageIsAnEtchedFrameWithThePictureInsideOrTheFrameAlone)
{
    const std::string frame = "SelectPen solid/0/200,0,0\nMoveTo 0,9\nLineTo 0,0 pen=solid/0/200,0,0\n"
                              "LineTo 19,0 pen=solid/0/200,0,0\nSelectPen solid/0/0,200,0\n"
                              "LineTo 19,9 pen=solid/0/0,200,0\nLineTo 0,9 pen=solid/0/0,200,0\n"
                              "SelectPen solid/0/0,200,0\nMoveTo 1,8\nLineTo 1,1 pen=solid/0/0,200,0\n"
                              "LineTo 18,1 pen=solid/0/0,200,0\nSelectPen solid/0/200,0,0\n"
                              "LineTo 18,8 pen=solid/0/200,0,0\nLineTo 1,8 pen=solid/0/200,0,0\n"
                              "SelectPen dash/0/1,2,3";
    test::ScratchDir dir;
    const std::string png = dir.Path() + "/red.png";
    auto picture = CairoDrawContext::ForImage(4, 4);
    picture->FillSolidRect({0, 0, 4, 4}, {255, 0, 0});
    ASSERT_TRUE(picture->WritePng(png));

    for (const std::string& path : {png, dir.Path() + "/missing.png"}) {
        CDiagramImage image;
        image.SetImagePath(path);
        RecordingDrawContext dc;
        UseTestPalette(dc, &RecordingDrawContext::OverrideSysColor);
        dc.SelectPen({PenStyle::Dash, 0, {1, 2, 3}});
        dc.Clear();
        image.DrawObject(dc, {0, 0, 20, 10});
        EXPECT_EQ(dc.Dump(), path != png ? frame
                                         : frame + "\nImageData " + std::to_string(test::ReadFile(png).size()) +
                                               " bytes 1,1,19,9");
    }
}

TEST(ControlDrawing, TableGridInTheCurrentPen)
{
    CDiagramTable table;
    RecordingDrawContext dc;
    dc.SelectPen({PenStyle::Dot, 0, {9, 9, 9}});
    dc.Clear();
    table.DrawObject(dc, {0, 0, 42, 22});
    std::string segments;
    const std::vector<std::string>& calls = dc.Calls();
    ASSERT_EQ(calls.size(), 20u);
    for (size_t i = 0; i + 1 < calls.size(); i += 2)
        segments += calls[i].substr(7) + " " + calls[i + 1].substr(7) + "|";
    const std::string p = " pen=dot/0/9,9,9|";
    EXPECT_EQ(segments, "1,1 41,1" + p + "1,6 41,6" + p + "1,11 41,11" + p + "1,16 41,16" + p + "1,21 41,21" + p +
                            "1,1 1,21" + p + "11,1 11,21" + p + "21,1 21,21" + p + "31,1 31,21" + p + "41,1 41,21" + p);
}

TEST(ControlDrawing, LineRunsBetweenTheCornersItsQuadrantNames)
{
    const struct {
        int quadrant;
        const char* from;  // null: nothing drawn
        const char* to;
    } cases[] = {{1, "0,0", "30,20"}, {0, "0,0", "30,20"}, {2, "0,20", "30,0"},
                 {3, "30,20", "0,0"}, {4, "30,0", "0,20"}, {7, nullptr, nullptr}};
    for (const auto& c : cases) {
        CDiagramGraphicLine line;
        line.SetQuadrant(c.quadrant);
        line.SetLineColor("0,0,255");
        line.SetLineWidth(2.5);
        RecordingDrawContext dc;
        line.DrawObject(dc, {0, 0, 30, 20});
        EXPECT_EQ(dc.Dump(), std::string("SetBkMode transparent") +
                                 (c.from ? std::string("\nSelectPen solid/2/0,0,255\nMoveTo ") + c.from + "\nLineTo " +
                                               c.to + " pen=solid/2/0,0,255\nSelectPen solid/0/0,0,0"
                                         : ""))
            << "quadrant " << c.quadrant;
    }
}

TEST(ControlDrawing, RectangleAndEllipseFillCornersAndMalformedColours)
{
    const struct {
        bool ellipse;
        const char* line;
        const char* fill;
        double radius;
        const char* brush;  // null: nothing drawn at all
        const char* shape;
    } cases[] = {
        {false, "0,0,0", "-1,-1,-1", 0.0, "hollow", "Rectangle 0,0,60,40"},
        {false, "0,0,0", "255,0,-1", 1e-9, "hollow", "Rectangle 0,0,60,40"},
        {false, "0,0,0", "255,255,255", 0.0, "solid/255,255,255", "Rectangle 0,0,60,40"},
        {false, "0,0,0", "0,128,0", 10.7, "solid/0,128,0", "RoundRect 0,0,60,40 10x10"},
        {false, "0,0,0", "255,0", 0.0, nullptr, nullptr},
        {false, "0,0", "255,0,0", 0.0, nullptr, nullptr},
        {true, "0,0,0", "0,128,0", 0.0, "solid/0,128,0", "Ellipse 0,0,60,40"},
        {true, "0,0,0", "1,2,3,4", 0.0, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CDiagramEntity> shape = std::make_unique<CDiagramGraphicRectangle>();
        if (c.ellipse)
            shape = std::make_unique<CDiagramGraphicEllipse>();
        shape->SetRect(0, 0, 30, 20);
        shape->SetLineColor(c.line);
        shape->SetLineWidth(2.5);  // not zoomed
        shape->SetFillColor(c.fill);
        shape->SetCornerRadius(c.radius);
        RecordingDrawContext dc;
        shape->Draw(dc, 2.0);
        const std::string brush = c.brush ? c.brush : "";
        EXPECT_EQ(dc.Dump(),
                  "SetBkMode transparent" + (c.brush ? "\nSelectBrush " + brush + "\nSelectPen solid/2/0,0,0\n" +
                                                           c.shape + " pen=solid/2/0,0,0 brush=" + brush +
                                                           "\nSelectPen solid/0/0,0,0\nSelectBrush solid/255,255,255"
                                                     : std::string()))
            << c.line << " / " << c.fill << " / " << c.radius;
    }
}

}  // namespace
