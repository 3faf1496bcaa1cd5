// The canvas repaints only what an edit invalidates, over its last paint, as
// the window does. That must give the pixels of a whole repaint, through
// clicks, drags, resizes, group moves and rubber bands, zoomed and scrolled.

#include "controls/DiagramEdit.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramStatic.h"
#include "editor/DEditor.h"
#include "editor/DiagramEditor.h"
#include "editor/HeadlessHost.h"
#include "editor/PartialPaint.h"
#include "model/EntityStyle.h"
#include "render/CairoDrawContext.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

using namespace fw;

namespace {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
};
using Surface = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;

// Paints the areas as the window does, through a scratch image of the buffer's size.
void PaintParts(CDiagramEditor& editor, cairo_surface_t* buffer, const std::vector<IntRect>& areas)
{
    Surface scratch(cairo_image_surface_create(CAIRO_FORMAT_RGB24, cairo_image_surface_get_width(buffer),
                                               cairo_image_surface_get_height(buffer)));
    PaintAreas(editor, buffer, scratch.get(), areas);
    cairo_surface_flush(buffer);
}

// How many pixels differ (the unused byte of each aside).
int DifferingPixels(cairo_surface_t* a, cairo_surface_t* b, IntSize size)
{
    const int stride = cairo_image_surface_get_stride(a);
    const unsigned char* pa = cairo_image_surface_get_data(a);
    const unsigned char* pb = cairo_image_surface_get_data(b);
    int differing = 0;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x) {
            std::uint32_t u, v;
            std::memcpy(&u, pa + y * stride + x * 4, 4);
            std::memcpy(&v, pb + y * stride + x * 4, 4);
            differing += ((u ^ v) & 0xFFFFFFu) != 0 ? 1 : 0;
        }
    return differing;
}

class IncrementalPaint : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override
    {
        form.SetPaper({700, 500});
        host.Attach(&editor);
        ASSERT_TRUE(editor.Create(&host, &form));
        editor.ShowGrid(true);
        editor.ShowMargins(true);
        editor.SetZoom(GetParam());
        editor.SetHScroll(30);
        editor.SetVScroll(20);
        name = Put(std::make_unique<CDiagramStatic>(), "Name", 20, 20, 110, 38);
        edit = Put(std::make_unique<CDiagramEdit>(), "", 120, 20, 300, 42);
        auto rect = std::make_unique<CDiagramGraphicRectangle>();
        rect->SetLineWidth(3);
        box = Put(std::move(rect), "", 40, 80, 260, 200);
        auto line = std::make_unique<CDiagramGraphicLine>();
        line->SetLineWidth(2);
        Put(std::move(line), "", 300, 80, 420, 160);
        ellipse = Put(std::make_unique<CDiagramGraphicEllipse>(), "", 330, 200, 450, 280);
        Put(std::make_unique<CDiagramStatic>(), "Notes", 60, 240, 160, 258);
        Put(std::make_unique<CDiagramEdit>(), "", 200, 300, 380, 322);
        buffer.reset(cairo_image_surface_create(CAIRO_FORMAT_RGB24, client.cx, client.cy));
        PaintParts(editor, buffer.get(), {{0, 0, client.cx, client.cy}});
        host.TakeInvalidated();
    }

    CDiagramEntity* Put(std::unique_ptr<CDiagramEntity> e, const char* title, double l, double t, double r, double b)
    {
        e->SetTitle(title);
        e->SetRect(l, t, r, b);
        CDiagramEntity* raw = e.get();
        form.Add(std::move(e));
        return raw;
    }

    IntPoint Centre(const CDiagramEntity* e) const
    {
        const IntRect r = editor.VirtualToScreen(e->GetRect());
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    IntPoint At(int x, int y) const
    {
        const IntRect r = editor.VirtualToScreen(IntRect{x, y, x, y});
        return {r.left, r.top};
    }
    IntPoint Corner(const CDiagramEntity* e) const
    {
        const IntRect r = editor.VirtualToScreen(e->GetRect());
        return {r.right, r.bottom};
    }

    // Paints what the last event invalidated over the buffer and compares it
    // with a whole repaint; `local`: no part may be all of the window.
    void Check(const char* what, bool local = true)
    {
        const std::vector<IntRect> parts = host.TakeInvalidated();
        const IntRect whole{0, 0, client.cx, client.cy};
        for (const IntRect& part : parts)
            EXPECT_TRUE(!local || part != whole) << what << ": all of the window repainted";
        PaintParts(editor, buffer.get(), parts);
        Surface fresh(cairo_image_surface_create(CAIRO_FORMAT_RGB24, client.cx, client.cy));
        PaintParts(editor, fresh.get(), {whole});
        EXPECT_EQ(DifferingPixels(buffer.get(), fresh.get(), client), 0) << what;
    }

    void Press(IntPoint p, unsigned mods = Modifier::None) { editor.OnLButtonDown(p, mods); }
    void Move(IntPoint p) { editor.OnMouseMove(p, Modifier::None); }
    void Release(IntPoint p) { editor.OnLButtonUp(p, Modifier::None); }
    static IntPoint Plus(IntPoint p, int dx, int dy) { return {p.x + dx, p.y + dy}; }

    const IntSize client{600, 400};
    CDiagramEntityContainer form;
    HeadlessHost host{client};
    CDEditor editor;
    Surface buffer;
    CDiagramEntity* name = nullptr;
    CDiagramEntity* edit = nullptr;
    CDiagramEntity* box = nullptr;
    CDiagramEntity* ellipse = nullptr;
};

}  // namespace

TEST_P(IncrementalPaint, RepaintingWhatChangedGivesTheWholePicture)
{
    Press(Centre(name));
    Check("select by a press");
    Release(Centre(name));
    Check("release without a move");

    const IntPoint grip = Centre(edit);
    Press(grip);
    Check("select another");
    Move(Plus(grip, 25, 15));
    Check("first drag step");
    Move(Plus(grip, 60, 41));
    Check("second drag step");
    Release(Plus(grip, 60, 41));
    Check("end of the drag");
    EXPECT_NE(edit->GetLeft(), 120);

    Press(Centre(box));
    Release(Centre(box));
    Check("select a thick rectangle");
    const IntPoint corner = Corner(box);
    Press(corner);
    Move(Plus(corner, 30, 20));
    Check("resize step");
    Move(Plus(corner, -50, -30));
    Check("resize back past the start");
    Release(Plus(corner, -50, -30));
    Check("end of the resize");

    Press(Centre(ellipse), Modifier::Ctrl);
    Release(Centre(ellipse));
    Check("add to the selection");
    editor.OnKeyDown(EditorKey::Right, Modifier::None);
    Check("nudge by a key");
    editor.OnKeyDown(EditorKey::Down, Modifier::Shift);
    Check("resize by a key");
    const IntPoint both = Centre(ellipse);
    Press(both);
    Move(Plus(both, -40, 12));
    Check("group drag step");
    Release(Plus(both, -40, 12));
    Check("end of the group drag");
    const IntPoint corners = Corner(box);
    Press(corners);
    Move(Plus(corners, 20, 10));
    Check("step of resizing both");
    Release(Plus(corners, 20, 10));
    Check("end of resizing both");
    EXPECT_EQ(editor.GetSelectCount(), 2);

    // Nothing lies there at either zoom.
    Press({20, 380});
    Check("unselect all");
    Move({150, 120});
    Check("rubber band");
    Move({90, 60});
    Check("rubber band grows");
    Move({200, 200});
    Check("rubber band shrinks");
    Release({200, 200});
    Check("rubber band selects");
    EXPECT_GT(editor.GetSelectCount(), 0);
    EXPECT_FALSE(name->IsSelected());
}

// A caption on one line runs far past its little box, under a neighbour that
// moves and a rubber band that passes over it.
TEST_P(IncrementalPaint, ACaptionIsRepaintedWhereverItReaches)
{
    Put(std::make_unique<CDiagramStatic>(), "A caption far longer than the box it belongs to", 20, 210, 30, 222);
    CDiagramEntity* next = Put(std::make_unique<CDiagramEdit>(), "", 230, 206, 290, 226);
    PaintParts(editor, buffer.get(), {{0, 0, client.cx, client.cy}});
    host.TakeInvalidated();

    const IntPoint grip = Centre(next);
    Press(grip);
    Check("select the neighbour");
    Move(Plus(grip, -60, 4));
    Check("drag the neighbour over the caption");
    Move(Plus(grip, -70, 30));
    Check("drag it off again");
    Release(Plus(grip, -70, 30));
    Check("end of the drag");

    Press(At(100, 232));
    Check("unselect all");
    Move(At(160, 205));
    Check("rubber band over the caption");
    Move(At(140, 215));
    Check("rubber band edge across the caption");
    Release(At(140, 215));
    Check("rubber band ends");
}

// A style changed in place (as the style dialog changes it) leaves title and
// zoom as they were; the caption still reaches as far as its new font does.
TEST_P(IncrementalPaint, ACaptionGrownByItsStyleIsRepaintedWhereverItReaches)
{
    CEntityStyle style("Small", "Sans", 6, false, false, "0,0,0");
    CDiagramEntity* caption =
        Put(std::make_unique<CDiagramStatic>(), "A caption far longer than its box", 20, 210, 30, 222);
    caption->SetStyle(&style);
    CDiagramEntity* next = Put(std::make_unique<CDiagramEdit>(), "", 330, 206, 390, 226);
    PaintParts(editor, buffer.get(), {{0, 0, client.cx, client.cy}});
    style.SetSize(16);
    style.SetBold(true);
    PaintParts(editor, buffer.get(), {{0, 0, client.cx, client.cy}});
    host.TakeInvalidated();

    const IntPoint grip = Centre(next);
    Press(grip);
    Move(Plus(grip, -130, 4));
    Check("drag the neighbour over the grown caption");
    Move(Plus(grip, -130, 40));
    Check("drag it off again");
    Release(Plus(grip, -130, 40));
    caption->SetStyle(nullptr);
}

// Many small elements spread over the form move together: each one's old and
// new places are repainted, not the box around them all.
TEST_P(IncrementalPaint, ADragOfScatteredElementsRepaintsOnlyWhereTheyWere)
{
    // As large and as far apart on the screen at either zoom.
    const double zoom = GetParam();
    std::vector<CDiagramEntity*> dots;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 5; ++column) {
            const double left = 50 + column * 110 / zoom;
            const double top = 40 + row * 90 / zoom;
            dots.push_back(Put(std::make_unique<CDiagramEdit>(), "", left, top, left + 24 / zoom, top + 16 / zoom));
        }
    PaintParts(editor, buffer.get(), {{0, 0, client.cx, client.cy}});
    for (CDiagramEntity* dot : dots)
        dot->Select(true);
    host.TakeInvalidated();

    editor.SetSnapLines(false);             // a guide across the form would join the parts
    const IntPoint grip = Centre(dots[4]);  // over nothing else
    Press(grip);
    host.TakeInvalidated();
    for (IntPoint step : {IntPoint{7, 5}, IntPoint{-9, 12}}) {
        Move(Plus(grip, step.x, step.y));
        const std::vector<IntRect> parts = host.TakeInvalidated();
        IntRect box;
        std::int64_t area = 0;
        for (const IntRect& part : parts) {
            Enclose(box, part);
            area += std::int64_t{part.Width()} * part.Height();
        }
        EXPECT_GT(parts.size(), 16u);
        EXPECT_LT(area * 2, std::int64_t{box.Width()} * box.Height());
        PaintParts(editor, buffer.get(), parts);
        Surface fresh(cairo_image_surface_create(CAIRO_FORMAT_RGB24, client.cx, client.cy));
        PaintParts(editor, fresh.get(), {{0, 0, client.cx, client.cy}});
        EXPECT_EQ(DifferingPixels(buffer.get(), fresh.get(), client), 0);
    }
    Release(Plus(grip, -9, 12));
    Check("end of the drag of scattered elements");
}

INSTANTIATE_TEST_SUITE_P(Zooms, IncrementalPaint, ::testing::Values(1.0, 1.5));

// What waits to be repainted covers every area added, in few rectangles.
TEST(RepaintRegion, JoinsWhatOverlapsOrLinesUpAndKeepsTheRestApart)
{
    RepaintRegion region(4);
    region.Add({10, 10, 30, 20});
    region.Add({10, 14, 30, 24});  // an element moved down a little: one part
    region.Add({30, 10, 50, 24});  // lined up beside it: still one
    region.Add({200, 10, 210, 20});
    region.Add({});
    ASSERT_EQ(region.Parts().size(), 2u);
    EXPECT_EQ(region.Parts()[0], (IntRect{10, 10, 50, 24}));
    EXPECT_EQ(region.Parts()[1], (IntRect{200, 10, 210, 20}));

    // Full: a new area joins the part that grows least.
    region.Add({400, 400, 410, 410});
    region.Add({0, 400, 10, 410});
    region.Add({205, 30, 215, 40});
    ASSERT_EQ(region.Parts().size(), 4u);
    EXPECT_EQ(region.Bounds(), (IntRect{0, 10, 410, 410}));
    EXPECT_EQ(region.PartsArea(), 40 * 14 + 15 * 30 + 100 + 100);
}

TEST(RepaintRegion, CoversEveryAreaAddedWithinItsLimit)
{
    unsigned seed = 7;
    auto next = [&seed](int below) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<unsigned>(below));
    };
    for (std::size_t most : {1u, 5u, 64u}) {
        RepaintRegion region(most);
        std::vector<IntRect> added;
        for (int i = 0; i < 300; ++i) {
            const int x = next(1500);
            const int y = next(1100);
            added.push_back({x, y, x + 1 + next(120), y + 1 + next(40)});
            const IntRect holder = region.Add(added.back());
            EXPECT_EQ(holder.Intersection(added.back()), added.back());
        }
        EXPECT_LE(region.Parts().size(), most);
        // Parts only grow, so each area lies wholly in one of them.
        for (const IntRect& area : added)
            EXPECT_TRUE(std::any_of(region.Parts().begin(), region.Parts().end(),
                                    [&](const IntRect& part) { return part.Intersection(area) == area; }))
                << most << " parts lose " << area.left << "," << area.top;
    }
}
