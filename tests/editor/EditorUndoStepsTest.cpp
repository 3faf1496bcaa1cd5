// Undo steps of the canvas editor: a step only when the form changed, one
// named step for each change, Escape putting back a gesture, a grouped
// element dragging its group, and arrow-key nudges merged into one step.

#include "controls/DiagramStatic.h"
#include "editor/CommandIds.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fw;
using fw::test::EditorRig;

namespace {

// The whole form as text: paper and every element in list order.
std::string FormText(const CDiagramEntityContainer& form)
{
    std::string text = form.GetString();
    for (int i = 0; i < form.GetCount(); ++i)
        text += "\n" + form.GetAt(i)->GetString();
    return text;
}

// Two elements of one size off the 8-unit grid, b in front of a, and a
// narrower c in front at the left edge, which no element passes.
struct StepRig : EditorRig {
    StepRig() : EditorRig({400, 300})
    {
        a = Put<CDiagramStatic>("a", 101, 101, 181, 141);
        b = Put<CDiagramStatic>("b", 203, 203, 283, 243);
        c = Put<CDiagramStatic>("c", 1, 248, 61, 288);
        editor.SetPaperResize(true);
        form.SetModified(false);
    }
    // Undo puts copies in place of the elements.
    void Refetch()
    {
        a = static_cast<CDiagramStatic*>(form.GetAt(0));
        b = static_cast<CDiagramStatic*>(form.GetAt(1));
        c = static_cast<CDiagramStatic*>(form.GetAt(2));
    }
    CDiagramStatic* a;
    CDiagramStatic* b;
    CDiagramStatic* c;
};

}  // namespace

// Drag, click, Copy, Delete: two Ctrl+Z take back the Delete, then the drag.
TEST(EditorUndoSteps, ADragThenAClickCopyAndDeleteUndoInTwoSteps)
{
    StepRig rig;
    const std::string before = FormText(rig.form);
    rig.Drag(120, 110, 150, 130);
    const std::string dragged = FormText(rig.form);
    rig.Click(150, 130);
    rig.Key(EditorKey::C, Modifier::Ctrl);
    rig.Key(EditorKey::Delete);
    ASSERT_EQ(rig.form.GetCount(), 2);

    EXPECT_EQ(rig.form.GetUndoName(), "Delete");
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    EXPECT_EQ(FormText(rig.form), dragged);
    EXPECT_EQ(rig.form.GetUndoName(), "Move");
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    EXPECT_EQ(FormText(rig.form), before);
    EXPECT_EQ(rig.form.GetUndoCount(), 0);
}

// None of these changes the form: no step, no modified flag, and what was
// undone before can still be redone.
TEST(EditorUndoSteps, GesturesThatChangeNothingLeaveNoStep)
{
    const std::vector<std::pair<const char*, std::function<void(StepRig&)>>> gestures = {
        {"plain click with snap on", [](StepRig& r) { r.Click(120, 110); }},
        {"press and release on a handle", [](StepRig& r) { r.Click(181, 141); }},
        {"press and release on the paper's marker", [](StepRig& r) { r.Click(400, 300); }},
        {"copy", [](StepRig& r) { r.Key(EditorKey::C, Modifier::Ctrl); }},
        {"delete with nothing selected", [](StepRig& r) { r.Key(EditorKey::Delete); }},
        {"cut with nothing selected", [](StepRig& r) { r.Key(EditorKey::X, Modifier::Ctrl); }},
        {"paste of an empty clipboard", [](StepRig& r) { r.Key(EditorKey::V, Modifier::Ctrl); }},
        {"bring the front element to the front",
         [](StepRig& r) {
             r.c->Select(true);
             r.Key(EditorKey::PageUp, Modifier::Ctrl);
         }},
        {"send the back element backward",
         [](StepRig& r) {
             r.a->Select(true);
             r.Key(EditorKey::PageDown);
         }},
        {"same size of two of one size",
         [](StepRig& r) {
             r.Click(120, 110);
             r.Click(220, 210, Modifier::Ctrl);
             r.editor.MakeSameSize();
         }},
        {"ungroup what is not grouped",
         [](StepRig& r) {
             r.a->Select(true);
             r.editor.Ungroup();
         }},
        {"an arrow key against the edge",
         [](StepRig& r) {
             r.c->Select(true);
             r.Key(EditorKey::Left);
         }},
    };
    for (const auto& [name, gesture] : gestures) {
        StepRig rig;
        rig.editor.SetSnapToGrid(true);
        // Something to redo, which a change would drop.
        rig.form.Snapshot("Earlier");
        rig.Key(EditorKey::Z, Modifier::Ctrl);
        rig.Refetch();
        rig.form.SetModified(false);
        rig.form.ClearClipboard();
        const std::string before = FormText(rig.form);
        gesture(rig);
        EXPECT_EQ(FormText(rig.form), before) << name;
        EXPECT_EQ(rig.form.GetUndoCount(), 0) << name;
        EXPECT_EQ(rig.form.GetRedoCount(), 1) << name;
        EXPECT_FALSE(rig.form.IsModified()) << name;
    }
}

// A drag that comes back to where it began changed nothing: no step, no edit.
TEST(EditorUndoSteps, ADragBackToItsStartLeavesNoStep)
{
    for (bool handle : {false, true}) {
        StepRig rig;
        rig.form.SetModified(false);
        const std::string before = FormText(rig.form);
        const IntPoint grab = handle ? IntPoint{181, 141} : IntPoint{120, 110};
        rig.Press(grab.x, grab.y);
        rig.Move(grab.x + 30, grab.y + 20);
        rig.Move(grab.x, grab.y);
        rig.Release(grab.x, grab.y);
        EXPECT_EQ(FormText(rig.form), before) << handle;
        EXPECT_EQ(rig.form.GetUndoCount(), 0) << handle;
        EXPECT_FALSE(rig.form.IsModified()) << handle;
    }
}

// Each change is one step that says what it was, and Undo takes it back whole.
TEST(EditorUndoSteps, EachChangeIsOneNamedStep)
{
    // b is the reference.
    auto selectBoth = [](StepRig& r) {
        r.Click(120, 110);
        r.Click(220, 210, Modifier::Ctrl);
    };
    const std::vector<std::tuple<const char*, std::function<void(StepRig&)>>> changes = {
        {"Move", [](StepRig& r) { r.Drag(120, 110, 140, 130); }},
        {"Resize", [](StepRig& r) { r.Drag(181, 141, 200, 160); }},
        {"Form size", [](StepRig& r) { r.Drag(400, 300, 450, 320); }},
        {"Move", [](StepRig& r) { r.a->Select(true), r.Key(EditorKey::Right); }},
        {"Resize", [](StepRig& r) { r.a->Select(true), r.Key(EditorKey::Down, Modifier::Shift); }},
        {"Delete", [](StepRig& r) { r.a->Select(true), r.Key(EditorKey::Delete); }},
        {"Cut", [](StepRig& r) { r.a->Select(true), r.Key(EditorKey::X, Modifier::Ctrl); }},
        {"Duplicate", [](StepRig& r) { r.a->Select(true), r.Key(EditorKey::Insert); }},
        {"Bring forward", [](StepRig& r) { r.a->Select(true), r.Key(EditorKey::PageUp); }},
        {"Send to back", [](StepRig& r) { r.b->Select(true), r.Key(EditorKey::PageDown, Modifier::Ctrl); }},
        {"Align left", [&](StepRig& r) { selectBoth(r), r.editor.AlignLeft(); }},
        {"Same size",
         [](StepRig& r) {
             r.Click(120, 110);
             r.Click(30, 260, Modifier::Ctrl);
             r.editor.MakeSameSize();
         }},
        {"Centre horizontally", [&](StepRig& r) { selectBoth(r), r.editor.CentreHorizontally(); }},
        {"Centre vertically", [&](StepRig& r) { selectBoth(r), r.editor.CentreVertically(); }},
        {"Same width",
         [](StepRig& r) {
             r.Click(30, 260);
             r.Click(220, 210, Modifier::Ctrl);
             r.editor.MakeSameWidth();
         }},
        {"Distribute horizontally", [](StepRig& r) { r.editor.SelectAll(), r.editor.DistributeHorizontally(); }},
        {"Distribute vertically", [](StepRig& r) { r.editor.SelectAll(), r.editor.DistributeVertically(); }},
        {"Centre in form", [](StepRig& r) { r.a->Select(true), r.editor.CentreInForm(); }},
        {"Group", [&](StepRig& r) { selectBoth(r), r.editor.Group(); }},
        {"Paste",
         [](StepRig& r) {
             r.a->Select(true), r.editor.Copy();
             r.editor.Paste();
         }},
        {"Insert element",
         [](StepRig& r) {
             r.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
             r.Drag(20, 20, 60, 40);
         }},
    };
    for (const auto& [name, change] : changes) {
        StepRig rig;
        const std::string before = FormText(rig.form);
        change(rig);
        EXPECT_EQ(rig.form.GetUndoCount(), 1) << name;
        EXPECT_EQ(rig.form.GetUndoName(), name);
        rig.Key(EditorKey::Z, Modifier::Ctrl);
        EXPECT_EQ(FormText(rig.form), before) << name;
    }

    // Undoing an ungroup brings the group back.
    StepRig rig;
    selectBoth(rig);
    rig.editor.Group();
    rig.form.ClearUndo();
    const std::string grouped = FormText(rig.form);
    rig.editor.Ungroup();
    EXPECT_EQ(rig.form.GetUndoName(), "Ungroup");
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    EXPECT_EQ(FormText(rig.form), grouped);
}

// Escape puts back what a move, resize, placement or paper resize changed,
// leaves nothing to redo, and the release that follows does nothing.
TEST(EditorUndoSteps, EscapeCancelsTheGestureUnderWay)
{
    const std::vector<std::pair<const char*, std::function<void(StepRig&)>>> gestures = {
        {"move", [](StepRig& r) { r.Press(120, 110), r.Move(160, 150); }},
        {"resize", [](StepRig& r) { r.Press(181, 141), r.Move(220, 170); }},
        {"paper resize", [](StepRig& r) { r.Press(400, 300), r.Move(460, 330); }},
        {"placement",
         [](StepRig& r) {
             r.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
             r.Press(20, 20), r.Move(60, 40);
         }},
        {"a press that changed nothing", [](StepRig& r) { r.Press(120, 110); }},
    };
    for (const auto& [name, gesture] : gestures) {
        StepRig rig;
        rig.form.Snapshot("Earlier");
        rig.form.SetModified(false);
        const std::string before = FormText(rig.form);
        gesture(rig);
        rig.Key(EditorKey::Escape);
        EXPECT_EQ(FormText(rig.form), before) << name;
        EXPECT_FALSE(rig.form.IsModified()) << name;
        EXPECT_EQ(rig.form.GetUndoName(), "Earlier") << name;
        EXPECT_EQ(rig.form.GetRedoCount(), 0) << name;
        rig.Move(300, 250);
        rig.Release(300, 250);
        EXPECT_EQ(FormText(rig.form), before) << name;
    }
}

TEST(EditorUndoSteps, PressingOnAGroupedElementDragsItsGroup)
{
    StepRig rig;
    rig.a->Select(true);
    rig.b->Select(true);
    rig.editor.Group();
    rig.Click(350, 20);  // nothing selected now
    ASSERT_FALSE(rig.a->IsSelected());

    rig.Drag(120, 110, 130, 130);
    EXPECT_EQ(EditorRig::RectOf(rig.a), (IntRect{111, 121, 191, 161}));
    EXPECT_EQ(EditorRig::RectOf(rig.b), (IntRect{213, 223, 293, 263}));
}

// Nudges of one kind and selection join the step before them until a
// second passes, another command comes, or the selection changes.
TEST(EditorUndoSteps, NudgesInARowMakeOneStep)
{
    StepRig rig;
    rig.a->Select(true);
    auto nudgeSteps = [&](const std::function<void()>& between) {
        rig.form.ClearUndo();
        rig.Key(EditorKey::Right);
        rig.host.AdvanceClock(999);
        rig.Key(EditorKey::Down);
        between();
        rig.Key(EditorKey::Right);
        return rig.form.GetUndoCount();
    };
    EXPECT_EQ(nudgeSteps([&] { rig.Key(EditorKey::Other, Modifier::Shift); }), 1) << "Shift alone";
    EXPECT_EQ(nudgeSteps([&] { rig.host.AdvanceClock(1000); }), 2);
    EXPECT_EQ(nudgeSteps([&] { rig.Key(EditorKey::Right, Modifier::Shift); }), 3) << "a resize between";
    EXPECT_EQ(nudgeSteps([&] { rig.Key(EditorKey::A, Modifier::Ctrl); }), 2) << "another command, and two selected";
    rig.Click(350, 20);
    rig.a->Select(true);
    EXPECT_EQ(nudgeSteps([&] { rig.form.Snapshot("Width"); }), 3) << "a step from elsewhere between";
}
