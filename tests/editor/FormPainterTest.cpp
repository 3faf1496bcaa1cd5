#include "editor/FormPainter.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramStatic.h"
#include "model/DiagramEntityContainer.h"
#include "render/RecordingDrawContext.h"

#include <gtest/gtest.h>

#include <random>

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

namespace {

// What a walk of the whole list would draw of the area: every element whose
// drawing reaches it, in list order.
std::vector<int> DrawnByWalk(const CDiagramEntityContainer& form, double zoom, const IntRect& area)
{
    std::vector<int> drawn;
    for (int i = 0; i < form.GetCount(); ++i)
        if (Meets(DrawnExtentOf(*form.GetAt(i), zoom), area))
            drawn.push_back(i);
    return drawn;
}

// Texts and thick-outlined rectangles, a few of them over most of the form,
// some inverted or partly off the paper.
std::unique_ptr<CDiagramEntity> RandomElement(std::mt19937& random)
{
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    std::unique_ptr<CDiagramEntity> e;
    if (pick(0, 1)) {
        auto shape = std::make_unique<CDiagramGraphicRectangle>();
        shape->SetLineWidth(pick(0, 12));
        e = std::move(shape);
    } else {
        e = std::make_unique<CDiagramStatic>();
    }
    const int x = pick(-200, 3000);
    const int y = pick(-200, 3000);
    const int big = pick(0, 40) == 0 ? 2500 : 120;
    e->SetRect(x, y, x + pick(-big, big), y + pick(-big / 3, big / 3));
    return e;
}

}  // namespace

// The index answers what a walk of the list would, through moves, resizes,
// thicker outlines, additions, deletions, undo and redo, z-order changes
// and changes of zoom.
TEST(FormPainting, IndexFindsWhatAWalkWouldDraw)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        CDiagramEntityContainer form;
        form.SetMaxUndo(20);
        for (int i = 0; i < 300; ++i)
            form.Add(RandomElement(random));
        const double zooms[] = {1.0, 1.0, 1.0, 0.5, 2.0, 1.37};
        std::vector<int> found;
        RecordingDrawContext measurer;
        for (int step = 0; step < 400; ++step) {
            CDiagramEntity* e = form.GetAt(pick(0, form.GetCount() - 1));
            switch (pick(0, 9)) {
            case 0:
            case 1:
                e->MoveRect(pick(-300, 300), pick(-300, 300));
                break;
            case 2:
                e->SetRect(e->GetLeft(), e->GetTop(), e->GetRight() + pick(-200, 600), e->GetBottom() + pick(-50, 300));
                break;
            case 3:
                e->SetLineWidth(pick(0, 30));
                break;
            case 4:
                form.Snapshot();
                form.Add(RandomElement(random));
                break;
            case 5:
                form.Snapshot();
                form.Remove(e);
                break;
            case 6:
                form.Undo();
                break;
            case 7:
                form.Redo();
                break;
            case 8:
                form.MoveToEnd(e);
                break;
            default:
                form.MoveToStart(e);
                break;
            }
            const double zoom = zooms[pick(0, 5)];
            const int x = pick(-300, 3500);
            const int y = pick(-300, 3500);
            const IntRect area{x, y, x + pick(0, 900), y + pick(0, 700)};
            form.FindDrawn(zoom, area, measurer, found);
            ASSERT_EQ(found, DrawnByWalk(form, zoom, area)) << "seed " << seed << ", step " << step;
        }
    }
}
