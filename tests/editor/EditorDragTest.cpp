// Dragging on the canvas editor: moving one element and a group, restraint,
// snapping, resizing controls and flipping shapes, placing new elements and
// property fields, resizing the paper, auto-scroll, panning and the wheel.

#include "controls/DiagramButton.h"
#include "controls/DiagramEdit.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "render/CairoDrawContext.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

using namespace fw;
using fw::test::EditorRig;

namespace {

bool Normalised(const CDiagramEntity* e)
{
    return e->GetLeft() <= e->GetRight() && e->GetTop() <= e->GetBottom();
}

bool Has(const std::vector<std::string>& calls, const std::string& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

}  // namespace

TEST(EditorDrag, MovesOneElementAndTakesOneUndoStepAtTheFirstChange)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    rig.form.SetModified(false);
    const int undo = rig.form.GetUndoCount();

    rig.Press(120, 110);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeMoving);
    EXPECT_EQ(rig.editor.GetDeltaPoint(), (IntPoint{20, 10}));
    EXPECT_EQ(rig.form.GetUndoCount(), undo) << "the step waits for the first change";
    rig.pane.Take();
    rig.Move(150, 135);
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{130, 125, 210, 165}));
    EXPECT_TRUE(Has(rig.pane.Take(), "ShowControlProperties"));
    rig.Release(150, 135);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{130, 125, 210, 165}));
    EXPECT_TRUE(rig.form.IsModified());
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);

    // At zoom 2.0 the element follows the mouse at half the pixel distance.
    rig.editor.SetZoom(2.0);
    a->SetRect(100, 100, 180, 140);  // on screen (200,200)-(360,280)
    rig.Drag(240, 220, 300, 260);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{130, 120, 210, 160}));
}

TEST(EditorDrag, GroupMoveFollowsTheElementUnderTheMouse)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 200, 380, 240);
    a->Select(true);
    b->Select(true);

    rig.Press(320, 210);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeMoving);
    EXPECT_EQ(rig.editor.GetMoveAnchor(), b);
    EXPECT_EQ(rig.editor.GetDeltaPoint(), (IntPoint{20, 10}));
    rig.Move(340, 230);
    rig.Release(340, 230);
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{320, 220, 400, 260}));
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{120, 120, 200, 160}));
    EXPECT_TRUE(a->IsSelected() && b->IsSelected());
}

TEST(EditorDrag, RestraintToMarginsStopsAtSevenAndKeepsTheSize)
{
    EditorRig rig;
    rig.editor.SetRestraints(RestraintMargins);
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    rig.Drag(120, 110, 0, 0);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{7, 7, 87, 47}));

    // A group keeps its layout: the selection's bounding box stops at the margin.
    a->SetRect(100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 200, 380, 240);
    a->Select(true);
    b->Select(true);
    rig.Drag(120, 110, 0, 0);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{7, 7, 87, 47}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{207, 107, 287, 147}));
}

// The reader drops an element whose left or top is 0 or less.
TEST(EditorDrag, WithoutRestraintNoEdgeGoesBelowOne)
{
    EditorRig rig;
    ASSERT_EQ(rig.editor.GetRestraints(), RestraintNone);
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    rig.Drag(120, 110, 0, 0);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{1, 1, 81, 41}));
    rig.Key(EditorKey::Left);
    rig.Key(EditorKey::Up);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{1, 1, 81, 41}));

    a->SetRect(100, 100, 180, 140);
    rig.Drag(100, 100, 0, 0);  // the top-left handle
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{1, 1, 180, 140}));

    // The grid line at 0 is no place to snap to.
    a->SetRect(100, 100, 180, 140);
    rig.editor.SetSnapToGrid(true);
    rig.Drag(120, 120, 22, 22);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{1, 1, 81, 41}));
}

TEST(EditorDrag, ReleaseSnapsTheMovedTopLeftToTheGrid)
{
    EditorRig rig;
    rig.editor.SetSnapLines(false);  // the left margin at 7 would pull the element below
    auto* a = rig.Put<CDiagramStatic>("a", 40, 40, 80, 60);

    rig.Press(50, 50);
    rig.Move(23, 60);
    ASSERT_EQ(a->GetLeft(), 13);
    rig.editor.SetSnapToGrid(true);
    rig.Release(23, 60);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{16, 48, 56, 68}));  // 13 -> 16, size kept

    rig.editor.SetSnapToGrid(false);
    rig.Press(26, 58);
    rig.Move(21, 58);
    ASSERT_EQ(a->GetLeft(), 11);
    rig.editor.SetSnapToGrid(true);
    rig.Release(21, 58);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{8, 48, 48, 68}));  // 11 -> 8

    // With snap on all along, a move that would end at 13 ends at 16.
    a->SetRect(8, 48, 48, 88);
    rig.Press(11, 58);  // grabbed 3 right of the left edge, between the handles
    rig.Move(16, 58);
    rig.Release(16, 58);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{16, 48, 56, 88}));
}

TEST(EditorDrag, ResizingAControlStopsAtItsMinimumSize)
{
    EditorRig rig;
    auto* e = rig.Put<CDiagramEdit>("e", 100, 100, 200, 140);
    e->SetMinimumSize({40, 20});
    e->Select(true);

    rig.Press(200, 140);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeResizing);
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::BottomRight);
    EXPECT_EQ(rig.editor.GetSelectedObject(), e);
    rig.Move(110, 105);
    EXPECT_EQ(EditorRig::RectOf(e), (IntRect{100, 100, 140, 120}));
    rig.Move(50, 50);  // across the opposite edges: held at the minimum
    EXPECT_EQ(EditorRig::RectOf(e), (IntRect{100, 100, 140, 120}));
    rig.Move(260, 170);
    rig.Release(260, 170);
    EXPECT_EQ(EditorRig::RectOf(e), (IntRect{100, 100, 260, 170}));

    rig.Press(100, 135);  // the left handle, dragged past the right edge
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::Left);
    rig.Move(300, 135);
    rig.Release(300, 135);
    EXPECT_EQ(EditorRig::RectOf(e), (IntRect{220, 100, 260, 170}));
}

TEST(EditorDrag, ShapesFlipOneAxisPerEventAndStayNormalised)
{
    EditorRig rig;
    auto* r = rig.Put<CDiagramGraphicRectangle>("r", 100, 100, 140, 130);
    r->Select(true);
    rig.Press(100, 100);
    ASSERT_EQ(rig.editor.GetSubMode(), HitCode::TopLeft);
    rig.Move(160, 150);  // past the bottom-right corner in one event
    EXPECT_TRUE(rig.editor.GetSubMode() == HitCode::TopRight || rig.editor.GetSubMode() == HitCode::BottomLeft)
        << rig.editor.GetSubMode();
    EXPECT_TRUE(Normalised(r));
    rig.Move(160, 150);  // the second axis
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::BottomRight);
    EXPECT_TRUE(Normalised(r));
    rig.Release(160, 150);
    EXPECT_EQ(EditorRig::RectOf(r), (IntRect{140, 130, 160, 150}));

    // A line's direction code follows the flips.
    auto* corner = rig.Put<CDiagramGraphicLine>("corner", 100, 300, 140, 330);
    rig.editor.UnselectAll();
    corner->Select(true);
    rig.Press(100, 300);
    rig.Move(160, 310);  // the top-left handle past the right edge only
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::TopRight);
    EXPECT_EQ(corner->GetQuadrant(), 2);
    EXPECT_EQ(EditorRig::RectOf(corner), (IntRect{140, 310, 160, 330}));
    rig.Release(160, 310);

    auto* edge = rig.Put<CDiagramGraphicLine>("edge", 300, 100, 340, 130);
    rig.editor.UnselectAll();
    edge->Select(true);
    rig.Press(320, 130);  // the bottom handle
    ASSERT_EQ(rig.editor.GetSubMode(), HitCode::Bottom);
    rig.Move(320, 80);  // across the top: 1 -> 2
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::Top);
    EXPECT_EQ(edge->GetQuadrant(), 2);
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{300, 80, 340, 100}));
    rig.Move(320, 150);  // and back across the bottom: 2 -> 1
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::Bottom);
    EXPECT_EQ(edge->GetQuadrant(), 1);
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{300, 100, 340, 150}));
    rig.Release(320, 150);
}

TEST(EditorDrag, PlacingWithAClickGivesTheDefaultSize)
{
    EditorRig rig;
    const int undo = rig.form.GetUndoCount();
    rig.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeDrawing);
    EXPECT_TRUE(rig.editor.IsDrawing());
    EXPECT_EQ(rig.host.GetCursor(), CursorKind::Cross);

    rig.Click(200, 150);
    ASSERT_EQ(rig.form.GetCount(), 1);
    CDiagramEntity* placed = rig.form.GetAt(0);
    EXPECT_EQ(EditorRig::RectOf(placed), (IntRect{200, 150, 320, 170}));
    EXPECT_TRUE(placed->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), placed);
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);
    EXPECT_FALSE(rig.editor.IsDrawing());

    auto button = std::make_unique<CDiagramButton>();
    button->InitButton("CatAttach", "Attach", "ATTACHCATALOG", CDiagramButton::ImageButtonType,
                       CDiagramButton::ImageButtonSize, CDiagramButton::ImageButtonSize);
    rig.editor.StartDrawingObject(std::move(button));
    rig.Click(300, 150);
    ASSERT_EQ(rig.form.GetCount(), 2);
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(1)), (IntRect{300, 150, 324, 176}));

    // Multidraw keeps the tool armed; a drag sets the size; Escape disarms but keeps the template.
    rig.editor.SetMultidraw(true);
    rig.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
    rig.Drag(400, 300, 460, 330);
    ASSERT_EQ(rig.form.GetCount(), 3);
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(2)), (IntRect{400, 300, 460, 330}));
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeDrawing);
    rig.Key(EditorKey::Escape);
    EXPECT_FALSE(rig.editor.IsDrawing());
    EXPECT_NE(rig.editor.GetDrawingObject(), nullptr);

    // Outside the restraint area nothing is placed.
    rig.editor.SetMultidraw(false);
    rig.editor.SetRestraints(RestraintMargins);
    rig.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
    rig.Press(3, 3);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);
    rig.Release(3, 3);
    EXPECT_EQ(rig.form.GetCount(), 3);
}

TEST(EditorDrag, PlacingAPropertyFieldBringsItsLabel)
{
    EditorRig rig;
    auto field = std::make_unique<CDiagramLinked>();
    field->SetName("f");
    field->SetRect(0, 0, 100, 20);
    field->AdoptLabel(EditorRig::MakeLabel("f.label", 0, 0, 140, 27));
    rig.editor.StartDrawingPair(std::move(field));
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeDrawingPair);

    rig.Press(50, 60);
    ASSERT_EQ(rig.form.GetCount(), 2);
    CDiagramEntity* placed = rig.form.GetAt(0);
    CDiagramEntity* label = rig.form.GetAt(1);
    EXPECT_EQ(placed->GetName(), "f");
    EXPECT_EQ(placed->GetDependent(), label);
    EXPECT_EQ(EditorRig::RectOf(placed), (IntRect{200, 60, 300, 80}));
    EXPECT_EQ(EditorRig::RectOf(label), (IntRect{50, 60, 190, 87}));
    EXPECT_TRUE(placed->IsSelected() && label->IsSelected());
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeDrawingPair);
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::BottomRight);
    rig.Release(50, 60);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);
    EXPECT_TRUE(rig.form.IsModified());
}

TEST(EditorDrag, PaperResizesFromItsMarkersWhichShowAfterAPressInTheBand)
{
    EditorRig rig({300, 200});
    rig.editor.SetPaperResize(true);
    rig.Click(200, 100);
    EXPECT_FALSE(rig.editor.ArePaperMarkersShown());
    rig.Click(295, 100);  // in the band, inside the paper: markers, no resize
    EXPECT_TRUE(rig.editor.ArePaperMarkersShown());
    EXPECT_EQ(rig.form.GetPaper(), (IntSize{300, 200}));

    const int undo = rig.form.GetUndoCount();
    rig.Press(300, 100);  // the right marker
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeResizingPaper);
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::Right);
    rig.form.SetModified(false);
    rig.Move(350, 120);
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1);
    rig.Release(350, 120);
    EXPECT_EQ(rig.form.GetPaper(), (IntSize{350, 200}));
    EXPECT_TRUE(rig.form.IsModified());
    EXPECT_TRUE(rig.editor.ArePaperMarkersShown());

    rig.Click(100, 100);  // elsewhere: the markers go
    EXPECT_FALSE(rig.editor.ArePaperMarkersShown());

    rig.Drag(350, 200, 250, 150);  // bottom-right marker
    EXPECT_EQ(rig.form.GetPaper(), (IntSize{250, 150}));

    // Restrained to the margins, the paper keeps the elements plus the margin.
    rig.editor.SetRestraints(RestraintMargins);
    rig.Put<CDiagramStatic>("a", 100, 50, 200, 120);
    rig.Drag(250, 150, 50, 50);
    EXPECT_EQ(rig.form.GetPaper(), (IntSize{207, 127}));

    // A press in the band that selects an element shows no markers.
    auto* b = rig.Put<CDiagramStatic>("b", 150, 0, 205, 45);
    rig.Click(200, 30);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(rig.editor.ArePaperMarkersShown());

    rig.editor.SetPaperResize(false);
    rig.Click(205, 100);
    EXPECT_FALSE(rig.editor.ArePaperMarkersShown());
}

TEST(EditorDrag, AutoScrollFollowsTheMouseOutOfTheWindow)
{
    EditorRig rig({700, 600}, {200, 150});
    EXPECT_EQ(rig.editor.AutoScroll({250, 50}), (IntPoint{10, 0}));
    EXPECT_EQ(rig.editor.GetHScrollPos(), 10);
    EXPECT_EQ(rig.editor.AutoScroll({-5, 200}), (IntPoint{-10, 10}));
    EXPECT_EQ(rig.editor.GetHScrollPos(), 0);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 10);
    EXPECT_EQ(rig.editor.AutoScroll({-5, -5}), (IntPoint{0, -10}));  // clamped at 0 horizontally
    EXPECT_EQ(rig.editor.AutoScroll({100, 100}), (IntPoint{0, 0}));

    // A rubber band keeps its start on the same spot of the paper.
    rig.Press(20, 20);
    rig.Move(250, 100);
    EXPECT_EQ(rig.editor.GetHScrollPos(), 10);
    EXPECT_EQ(rig.editor.GetRubberBand(), (IntRect{10, 20, 250, 100}));
    rig.Release(250, 100);
}

TEST(EditorDrag, MiddleButtonPansWithTheTimerAndShowsTheDirection)
{
    EditorRig rig({700, 600}, {200, 150});
    rig.editor.OnMButtonDown({100, 75});
    ASSERT_TRUE(rig.editor.IsPanning());
    EXPECT_TRUE(rig.host.IsTimerRunning(CDiagramEditor::PanTimerId));
    EXPECT_EQ(rig.editor.GetPanOrigin(), (IntPoint{100, 75}));

    rig.host.SetMousePosition({164, 107});
    rig.host.Tick();
    EXPECT_EQ(rig.editor.GetHScrollPos(), 4);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 2);
    rig.host.Tick();
    EXPECT_EQ(rig.editor.GetHScrollPos(), 8);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 4);
    rig.host.SetMousePosition({80, 75});  // -20 / 16 rounds toward zero
    rig.host.Tick();
    EXPECT_EQ(rig.editor.GetHScrollPos(), 7);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 4);

    const std::pair<IntPoint, CursorKind> cursors[] = {
        {{120, 75}, CursorKind::SizeWE}, {{120, 50}, CursorKind::SizeNESW}, {{120, 100}, CursorKind::SizeNWSE},
        {{80, 75}, CursorKind::SizeWE},  {{80, 50}, CursorKind::SizeNWSE},  {{80, 100}, CursorKind::SizeNESW},
        {{100, 50}, CursorKind::SizeNS}, {{110, 90}, CursorKind::SizeNS},
    };
    for (const auto& [point, cursor] : cursors) {
        rig.host.SetMousePosition(point);
        rig.editor.OnSetCursor(point);
        EXPECT_EQ(rig.host.GetCursor(), cursor) << point.x << "," << point.y;
    }

    rig.editor.OnMButtonDown({100, 75});  // a second middle press stops
    EXPECT_FALSE(rig.editor.IsPanning());
    EXPECT_FALSE(rig.host.IsTimerRunning(CDiagramEditor::PanTimerId));
    rig.editor.OnMButtonDown({100, 75});
    rig.Key(EditorKey::Other);  // so does any key
    EXPECT_FALSE(rig.editor.IsPanning());
    rig.editor.OnMButtonDown({100, 75});
    rig.Click(10, 10);  // and a left press
    EXPECT_FALSE(rig.editor.IsPanning());

    EditorRig unscrolled;  // no scroll bars, no panning
    unscrolled.editor.OnMButtonDown({100, 75});
    EXPECT_FALSE(unscrolled.editor.IsPanning());
}

TEST(EditorDrag, WheelScrollsThreeLinesANotchAndKeepsNoTurnsWhileThereIsNothingToScroll)
{
    EditorRig rig({700, 600}, {1000, 800});
    for (int i = 0; i < 20; ++i)
        rig.editor.OnMouseWheel(-120);  // no scroll bars: the turns are spent
    rig.host.SetClientSize({300, 300});
    ASSERT_TRUE(rig.editor.GetScrollBar(Orientation::Vertical).shown);
    rig.editor.SetVScroll(100);
    rig.editor.OnMouseWheel(-120);  // one notch down: 3 lines of 16
    EXPECT_EQ(rig.editor.GetVScrollPos(), 148);
    rig.editor.OnMouseWheel(50);  // finer turns add up to whole pixels
    rig.editor.OnMouseWheel(70);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 100);
    rig.editor.OnMouseWheel(WheelTurn{-1, 120, 3, false, false, {}});  // 0.4 px: nothing yet
    EXPECT_EQ(rig.editor.GetVScrollPos(), 100);
    rig.editor.OnMouseWheel(WheelTurn{-240, 120, 1, false, false, {}});  // the platform's one line a notch
    EXPECT_EQ(rig.editor.GetVScrollPos(), 132);

    rig.editor.OnMouseWheel(WheelTurn{-120, 120, 3, true, false, {}});  // sideways
    EXPECT_EQ(rig.editor.GetHScrollPos(), 48);
    EXPECT_EQ(rig.editor.GetVScrollPos(), 132);
    rig.editor.OnMouseWheel(WheelTurn{240, 120, 3, true, false, {}});  // back past the left end
    EXPECT_EQ(rig.editor.GetHScrollPos(), 0);

    rig.editor.SetWheelMode(1);
    rig.editor.OnMouseWheel(-120);
    EXPECT_NEAR(rig.editor.GetZoom(), 1.1, 1e-9);
}

TEST(EditorDrag, NoGestureTakesAnElementOrThePaperBeyondTheLimit)
{
    EditorRig rig({FormExtentLimit - 67, FormExtentLimit - 67});  // 32700 x 32700
    ASSERT_EQ(rig.editor.GetRestraints(), RestraintNone);
    auto* a = rig.Put<CDiagramStatic>("a", 32600, 32600, 32650, 32640);
    rig.editor.SetHScroll(32000);
    rig.editor.SetVScroll(32000);
    const int h = rig.editor.GetHScrollPos();
    const int v = rig.editor.GetVScrollPos();
    ASSERT_GT(h, 31000);

    rig.Drag(32610 - h, 32610 - v, 32900 - h, 32900 - v);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{32717, 32727, 32767, 32767}));
    rig.Key(EditorKey::Right);
    rig.Key(EditorKey::Down, Modifier::Shift);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{32717, 32727, 32767, 32767}));
    rig.Drag(32767 - h, 32767 - v, 32990 - h, 32990 - v);  // the bottom-right handle
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{32717, 32727, 32767, 32767}));

    rig.editor.SetPaperResize(true);
    rig.Click(32000 - h, 32000 - v);  // nothing there: a is no longer selected
    rig.Click(32698 - h, 32000 - v);  // in the band: the markers show
    ASSERT_TRUE(rig.editor.ArePaperMarkersShown());
    rig.Drag(32700 - h, 32700 - v, 33500 - h, 33500 - v);  // the bottom-right marker
    EXPECT_EQ(rig.form.GetPaper(), (IntSize{FormExtentLimit, FormExtentLimit}));
}

// Under the sanitizers: no zoomed rectangle may wrap around, at the largest
// paper the editor makes or at one that reaches the end of the int range.
TEST(EditorDrag, PaintingTheLargestPapersAtTheLargestZoomStaysInRange)
{
    for (const int side : {FormExtentLimit, INT_MAX}) {
        EditorRig rig({side, side});
        rig.Put<CDiagramStatic>("a", 10, 10, side, side)->Select(true);
        rig.editor.ShowGrid(true);
        rig.editor.SetZoom(rig.editor.GetZoomMax());
        rig.editor.SetHScroll(INT_MAX);
        rig.editor.SetVScroll(INT_MAX);
        const IntRect paper = rig.editor.GetZoomedPaperRect();
        EXPECT_GT(paper.right, 0) << side;
        EXPECT_GT(paper.bottom, 0) << side;
        auto dc = CairoDrawContext::ForImage(1000, 800);
        rig.editor.Paint(*dc);
        rig.editor.SetHScroll(0);
        rig.editor.Paint(*dc);
    }
}

TEST(EditorDrag, SnapLinesPullMovedAndResizedEdgesOntoNeighboursUnlessGridOrAlt)
{
    EditorRig rig;
    rig.Put<CDiagramStatic>("n", 300, 100, 400, 140);
    auto* a = rig.Put<CDiagramStatic>("a", 100, 300, 160, 320);
    ASSERT_TRUE(rig.editor.GetSnapLines()) << "on by default";

    // Moved so its left edge comes 3 short of the neighbour's: it lines up and a guide shows.
    rig.Press(110, 310);
    rig.Move(307, 410);
    EXPECT_EQ(a->GetLeft(), 300);
    ASSERT_EQ(rig.editor.GetSnapGuides().size(), 1u);
    EXPECT_TRUE(rig.editor.GetSnapGuides()[0].vertical);
    EXPECT_EQ(rig.editor.GetSnapGuides()[0].at, 300);
    // Held Alt drags freely.
    rig.Move(307, 410, Modifier::Alt);
    EXPECT_EQ(a->GetLeft(), 297);
    EXPECT_TRUE(rig.editor.GetSnapGuides().empty());
    rig.Move(307, 410);
    rig.Release(307, 410);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{300, 400, 360, 420}));
    EXPECT_TRUE(rig.editor.GetSnapGuides().empty()) << "the guide goes with the drag";

    // The dragged right edge lines up with the neighbour's centre (350), not the left edge.
    rig.Drag(360, 410, 352, 410);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{300, 400, 350, 420}));

    // With the grid on, the grid decides; with snap lines off nothing pulls.
    rig.editor.SetSnapToGrid(true);
    rig.Press(310, 410);
    rig.Move(302, 410);
    EXPECT_EQ(a->GetLeft(), 296);
    EXPECT_TRUE(rig.editor.GetSnapGuides().empty());
    rig.Release(302, 410);
    rig.editor.SetSnapToGrid(false);
    rig.editor.SetSnapLines(false);
    rig.Drag(300, 410, 303, 410);
    EXPECT_EQ(a->GetLeft(), 299);
}
