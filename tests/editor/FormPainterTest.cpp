#include "editor/FormPainter.h"
#include "model/DiagramEntityContainer.h"
#include "render/RecordingDrawContext.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

// Draws as "Rectangle" with its title in the recorded pen colour, so the
// recording shows who painted when.
class Probe : public CDiagramEntity {
public:
    Probe(const std::string& type, std::uint8_t id)
    {
        SetType(type);
        m_id = id;
    }
    void DrawObject(DrawContext& dc, const IntRect& rect) override
    {
        Pen old = dc.SelectPen(Pen::Solid({m_id, 0, 0}));
        dc.Rectangle(rect);
        dc.SelectPen(old);
    }

private:
    std::uint8_t m_id = 0;
};

std::vector<std::string> PaintedIds(const RecordingDrawContext& dc)
{
    std::vector<std::string> ids;
    for (const std::string& line : dc.CallsStartingWith("Rectangle")) {
        auto pen = line.find("pen=solid/0/");
        std::string red = line.substr(pen + 12, line.find(',', pen + 12) - pen - 12);
        ids.push_back(red == "0" ? "marker" : red);  // markers use the stock black pen
    }
    return ids;
}

}  // namespace

TEST(FormPainting, ShapesUnderControlsMarkersLast)
{
    CDiagramEntityContainer form;
    auto add = [&](const char* type, std::uint8_t id) {
        auto e = std::make_unique<Probe>(type, id);
        e->SetRect(10, 10, 50, 30);
        CDiagramEntity* raw = e.get();
        form.Add(std::move(e));
        return raw;
    };
    add("static", 1);
    add("Rectangle", 2);
    CDiagramEntity* field = add("editbox", 3);
    add("LINE", 4);
    field->Select(true);

    RecordingDrawContext dc;
    DrawFormElements(dc, form, 2.0);
    std::vector<std::string> ids = PaintedIds(dc);
    ASSERT_EQ(ids.size(), 4u + 8u) << dc.Dump();
    EXPECT_EQ((std::vector<std::string>(ids.begin(), ids.begin() + 4)), (std::vector<std::string>{"2", "4", "1", "3"}));
    EXPECT_EQ(ids.back(), "marker");
    EXPECT_DOUBLE_EQ(field->GetZoom(), 2.0);
    EXPECT_NE(dc.CallsStartingWith("Rectangle").front().find("20,20,100,60"), std::string::npos);
}

TEST(FormPainting, PaperLooksLikeAnEmptyDialog)
{
    RecordingDrawContext dc;
    DrawDialogFace(dc, {0, 0, 100, 50});
    const auto face = RecordingDrawContext::Describe(Brush::Solid(dc.GetSysColor(SysColor::BtnFace)));
    auto rects = dc.CallsStartingWith("Rectangle");
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_NE(rects[0].find("0,0,100,50"), std::string::npos);
    EXPECT_NE(rects[0].find(face), std::string::npos) << rects[0];
    auto lines = dc.CallsStartingWith("LineTo");
    ASSERT_EQ(lines.size(), 4u) << dc.Dump();
    // Raised edge: light on the left and top, shadow on the right and bottom, one pixel in.
    const auto light = RecordingDrawContext::Describe(Pen::Solid(dc.GetSysColor(SysColor::BtnHighlight)));
    const auto shadow = RecordingDrawContext::Describe(Pen::Solid(dc.GetSysColor(SysColor::BtnShadow)));
    EXPECT_NE(lines[0].find("1,1 pen=" + light), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("98,1 pen=" + light), std::string::npos) << lines[1];
    EXPECT_NE(lines[2].find("98,48 pen=" + shadow), std::string::npos) << lines[2];
    EXPECT_NE(lines[3].find("1,48 pen=" + shadow), std::string::npos) << lines[3];
}

TEST(FormPainting, ZoomedPaperRounds)
{
    CDiagramEntityContainer form;
    form.SetPaper({701, 600});
    EXPECT_EQ(ZoomedPaper(form, 0.5), (IntRect{0, 0, 351, 300}));
    EXPECT_TRUE(IsShapeType("Ellipse"));
    EXPECT_FALSE(IsShapeType("editbox"));
}
