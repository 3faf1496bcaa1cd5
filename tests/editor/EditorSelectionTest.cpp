// The canvas editor's selection by mouse: the press passes that put
// controls before shapes, Ctrl-click, clicks and rubber bands on empty paper,
// the right button, the reference element and what the properties pane hears.

#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramStatic.h"
#include "render/RecordingDrawContext.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fw;
using fw::test::EditorRig;

namespace {

std::vector<std::string> Tail(const std::vector<std::string>& calls, size_t n)
{
    return {calls.end() - static_cast<long>(std::min(n, calls.size())), calls.end()};
}

// What the pane should have heard last, for the editor's selection now.
std::vector<std::string> PaneCallsFor(const EditorRig& rig)
{
    std::vector<std::string> calls;
    rig.editor.ForEachSelected([&](const CDiagramEntity* e) {
        calls.push_back((calls.empty() ? "SetSelection " : "AddSelection ") + e->GetName());
    });
    if (calls.empty())
        return {"SetEditor", "ShowFormProperties"};
    calls.push_back("ShowControlProperties");
    return calls;
}

}  // namespace

TEST(EditorSelection, PressFindsControlsBeforeShapesAndMakesTheReference)
{
    EditorRig rig;
    auto* text = rig.Put<CDiagramStatic>("text", 100, 100, 180, 140);
    auto* shape = rig.Put<CDiagramGraphicRectangle>("shape", 120, 120, 260, 200);  // above the text

    rig.Press(150, 130);  // where both lie: the control wins although the shape is on top
    EXPECT_TRUE(text->IsSelected());
    EXPECT_FALSE(shape->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), text);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeMoving);
    EXPECT_EQ(rig.host.GetCursor(), CursorKind::SizeAll);
    rig.Release(150, 130);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);

    rig.Click(230, 170);  // the shape alone
    EXPECT_TRUE(shape->IsSelected());
    EXPECT_FALSE(text->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), shape);

    // A handle of an element that is not selected yet selects it and resizes.
    rig.Press(180, 120);
    EXPECT_TRUE(text->IsSelected());
    EXPECT_FALSE(shape->IsSelected());
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeResizing);
    EXPECT_EQ(rig.editor.GetSubMode(), HitCode::Right);
    rig.Release(180, 120);
}

TEST(EditorSelection, CtrlClickTogglesAndNeverDrags)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 100, 380, 140);

    rig.Click(140, 120);
    ASSERT_TRUE(a->IsSelected());

    rig.Press(340, 120, Modifier::Ctrl);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), b);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);
    rig.Release(340, 120, Modifier::Ctrl);

    rig.Press(340, 120, Modifier::Ctrl);  // again: deselects and clears the reference
    EXPECT_FALSE(b->IsSelected());
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), nullptr);
    rig.Move(400, 300, Modifier::Ctrl);
    rig.Release(400, 300, Modifier::Ctrl);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{100, 100, 180, 140}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{300, 100, 380, 140}));
    EXPECT_EQ(rig.editor.GetSelectCount(), 1);
}

TEST(EditorSelection, ClickOnEmptyPaperSelectsWhatComesWithinTwoUnits)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);

    rig.Press(120, 141);  // just below the bottom edge, away from the handles
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeRubberBand);
    EXPECT_FALSE(a->IsSelected());  // selected at the release, not at the press
    rig.Release(120, 141);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), a);

    rig.Click(120, 143);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), nullptr);

    rig.Click(99, 110);  // left of the left edge
    EXPECT_TRUE(a->IsSelected());
    rig.Click(97, 110);
    EXPECT_FALSE(a->IsSelected());
}

TEST(EditorSelection, RubberBandSelectsTouchedElementsAndTheLastBecomesReference)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 300, 380, 340);
    auto* c = rig.Put<CDiagramStatic>("c", 500, 100, 580, 140);

    rig.Press(40, 40);
    rig.Move(100, 120);
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeRubberBand);
    EXPECT_EQ(rig.editor.GetRubberBand(), (IntRect{40, 40, 100, 120}));
    rig.Release(100, 120);  // the band ends on a's left edge: touching is enough
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());

    rig.Drag(40, 40, 390, 350);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(c->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), b);  // the last of the band in list order
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);

    // A band touching one member of a group takes the whole group, and no other.
    a->SetGroup(7);
    c->SetGroup(7);
    b->SetGroup(8);
    rig.Drag(40, 40, 100, 120);
    EXPECT_TRUE(a->IsSelected());
    EXPECT_FALSE(b->IsSelected());
    EXPECT_TRUE(c->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), a);
}

TEST(EditorSelection, RightPressSelectsTheTopmostUnselectedElementUnderTheMouse)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 150, 120, 250, 200);  // above a

    rig.editor.OnRButtonDown({160, 130}, Modifier::None);
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_EQ(rig.editor.GetSelectedObject(), b);

    a->Select(true);  // with both selected a right press on one keeps the selection
    rig.editor.OnRButtonDown({160, 130}, Modifier::None);
    EXPECT_EQ(rig.editor.GetSelectCount(), 2);
    rig.editor.OnRButtonDown({600, 500}, Modifier::None);  // empty paper changes nothing
    EXPECT_EQ(rig.editor.GetSelectCount(), 2);

    rig.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
    rig.editor.OnRButtonDown({600, 500}, Modifier::None);  // disarms the creation tool
    EXPECT_FALSE(rig.editor.IsDrawing());
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);
}

TEST(EditorSelection, PropertiesPaneHearsEverySelectionInListOrder)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    rig.Put<CDiagramStatic>("b", 300, 100, 380, 140);

    rig.Click(340, 120);  // b first, then a: the pane still starts with a (list order)
    rig.pane.Take();
    rig.Press(140, 120, Modifier::Ctrl);
    EXPECT_EQ(Tail(rig.pane.Take(), 3),
              (std::vector<std::string>{"SetSelection a", "AddSelection b", "ShowControlProperties"}));
    rig.Release(140, 120, Modifier::Ctrl);

    rig.Click(600, 500);  // nothing selected: the form's own properties
    const std::vector<std::string> none = rig.pane.Take();
    EXPECT_EQ(Tail(none, 2), (std::vector<std::string>{"SetEditor", "ShowFormProperties"}));
    EXPECT_EQ(rig.pane.editor, &rig.editor);

    a->Select(true);
    rig.editor.OnLButtonDblClk({140, 120}, Modifier::None);
    EXPECT_EQ(Tail(rig.pane.Take(), 2), (std::vector<std::string>{"SetSelection a", "ShowControlProperties"}));

    rig.editor.Clear();
    EXPECT_EQ(Tail(rig.pane.Take(), 1), (std::vector<std::string>{"SetSelection -"}));
}

// Otherwise the pane's next edit lands on elements the designer no longer has selected.
TEST(EditorSelection, EveryChangeOfTheSelectionReachesThePane)
{
    EditorRig rig;
    rig.Put<CDiagramStatic>("a", 100, 200, 180, 240);
    rig.Put<CDiagramStatic>("b", 300, 200, 380, 240);
    const auto clickA = [&] {
        rig.Click(600, 500);
        rig.Click(140, 220);
    };
    RecordingDrawContext dc;
    const struct {
        const char* what;
        std::function<void()> before, change;
    } steps[] = {
        {"select all", [&] { rig.editor.UnselectAll(); }, [&] { rig.editor.SelectAll(); }},
        {"Ctrl+A", [&] { rig.editor.UnselectAll(); }, [&] { rig.Key(EditorKey::A, Modifier::Ctrl); }},
        {"duplicate", clickA, [&] { rig.Key(EditorKey::Insert); }},
        {"right press", [&] { rig.Click(600, 500); },
         [&] {
             rig.editor.OnRButtonDown({340, 220}, Modifier::None);
         }},
        {"undo", [&] { rig.Key(EditorKey::Delete); }, [&] { rig.Key(EditorKey::Z, Modifier::Ctrl); }},
        {"element command", clickA, [&] { rig.editor.OnCommand(ElementCommand::Cut); }},
        {"print", [&] { rig.editor.SelectAll(); },
         [&] {
             rig.editor.Print(dc, {0, 0, 700, 600}, 1.0);
         }},
    };
    for (const auto& step : steps) {
        step.before();
        rig.pane.Take();
        step.change();
        const std::vector<std::string> expected = PaneCallsFor(rig);
        EXPECT_EQ(Tail(rig.pane.Take(), expected.size()), expected) << step.what;
    }
}

// Selecting one member selects the group; that is no change to the saved form.
TEST(EditorSelection, SelectingAGroupLeavesTheFormUnmodified)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 100, 380, 140);
    a->SetGroup(CDiagramEntityContainer::NextGroupNumber());
    b->SetGroup(a->GetGroup());
    rig.form.SetModified(false);
    rig.editor.OnRButtonDown({140, 120}, Modifier::None);
    EXPECT_TRUE(b->IsSelected());
    EXPECT_FALSE(rig.form.IsModified());
}
