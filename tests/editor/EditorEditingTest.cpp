// Keyboard and editing operations of the canvas editor: the key groups, arrow
// steps, z-order, duplicate, alignment, centring, distributing, same size, the
// reference after SelectAll, copy and paste, undo, and both context menus.

#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "editor/CommandIds.h"
#include "support/RecordingPane.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fw;
using fw::test::EditorRig;

namespace {

std::vector<int> Commands(const PopupMenu& menu)
{
    std::vector<int> ids;
    for (const MenuItem& item : menu.items)
        ids.push_back(item.command);
    return ids;
}

std::vector<bool> Enabled(const PopupMenu& menu)
{
    std::vector<bool> states;
    for (const MenuItem& item : menu.items)
        if (!item.IsSeparator())
            states.push_back(item.enabled);
    return states;
}

}  // namespace

TEST(EditorEditing, KeyGroupsActOnlyWhileTheirBitIsSet)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    a->Select(true);

    rig.editor.SetKeyboardFlags(KeyFlag::All & ~KeyFlag::KeyArrows);
    EXPECT_FALSE(rig.Key(EditorKey::Right));
    EXPECT_EQ(a->GetLeft(), 100);
    rig.editor.SetKeyboardFlags(KeyFlag::All & ~KeyFlag::KeyZoom);
    rig.Key(EditorKey::Add);
    EXPECT_EQ(rig.editor.GetZoom(), 1.0);
    rig.editor.SetKeyboardFlags(KeyFlag::All & ~KeyFlag::KeyShortcuts);
    rig.editor.UnselectAll();
    rig.Key(EditorKey::A, Modifier::Ctrl);
    EXPECT_EQ(rig.editor.GetSelectCount(), 0);
    rig.editor.SetKeyboardFlags(KeyFlag::All & ~KeyFlag::KeyDelete);
    a->Select(true);
    rig.Key(EditorKey::Delete);
    EXPECT_EQ(rig.form.GetCount(), 1);
    rig.editor.SetKeyboardFlags(KeyFlag::All & ~KeyFlag::KeyEscape);
    rig.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
    rig.Key(EditorKey::Escape);
    EXPECT_TRUE(rig.editor.IsDrawing());
    rig.editor.StartDrawingObject(nullptr);

    rig.editor.SetKeyboardFlags(KeyFlag::All);
    EXPECT_TRUE(rig.Key(EditorKey::Right));
    EXPECT_EQ(a->GetLeft(), 101);
}

TEST(EditorEditing, KeyTableRunsZOrderClipboardUndoAndZoom)
{
    EditorRig rig;
    rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    rig.Put<CDiagramStatic>("b", 300, 100, 380, 140);
    auto* c = rig.Put<CDiagramStatic>("c", 500, 100, 580, 140);
    rig.Click(540, 120);

    rig.Key(EditorKey::PageDown);
    EXPECT_EQ(rig.IndexOf(c), 1);
    rig.Key(EditorKey::PageDown, Modifier::Ctrl);  // Ctrl+PageDown comes before PageDown: to the bottom
    EXPECT_EQ(rig.IndexOf(c), 0);
    rig.Key(EditorKey::PageUp);
    EXPECT_EQ(rig.IndexOf(c), 1);
    rig.Key(EditorKey::PageUp, Modifier::Ctrl);
    EXPECT_EQ(rig.IndexOf(c), 2);

    rig.Key(EditorKey::Insert);  // duplicate: the copy is the reference, the source deselected
    ASSERT_EQ(rig.form.GetCount(), 4);
    CDiagramEntity* copy = rig.form.GetAt(3);
    EXPECT_EQ(EditorRig::RectOf(copy), (IntRect{510, 110, 590, 150}));
    EXPECT_EQ(rig.editor.GetSelectedObject(), copy);
    EXPECT_FALSE(c->IsSelected());
    rig.Key(EditorKey::Delete);
    EXPECT_EQ(rig.form.GetCount(), 3);
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    EXPECT_EQ(rig.form.GetCount(), 4);

    rig.Key(EditorKey::A, Modifier::Ctrl);
    EXPECT_EQ(rig.editor.GetSelectCount(), 4);
    rig.Key(EditorKey::C, Modifier::Ctrl);
    EXPECT_EQ(rig.form.GetClipboardCount(), 4);
    rig.Key(EditorKey::Delete, Modifier::Shift);  // cut
    EXPECT_EQ(rig.form.GetCount(), 0);
    rig.Key(EditorKey::Insert, Modifier::Shift);  // paste
    EXPECT_EQ(rig.form.GetCount(), 4);
    rig.Key(EditorKey::V, Modifier::Ctrl);
    EXPECT_EQ(rig.form.GetCount(), 8);
    rig.Key(EditorKey::X, Modifier::Ctrl);  // cuts the four just pasted
    EXPECT_EQ(rig.form.GetCount(), 4);
    rig.pane.Take();
    rig.Key(EditorKey::Enter, Modifier::Ctrl);
    const auto heard = rig.pane.Take();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "ShowFormProperties"), heard.end());

    rig.Key(EditorKey::Add);
    EXPECT_NEAR(rig.editor.GetZoom(), 1.1, 1e-9);
    rig.Key(EditorKey::Subtract);
    EXPECT_NEAR(rig.editor.GetZoom(), 1.0, 1e-9);

    rig.editor.StartDrawingObject(std::make_unique<CDiagramStatic>());
    rig.Key(EditorKey::Escape);
    EXPECT_FALSE(rig.editor.IsDrawing());
    EXPECT_EQ(rig.editor.GetInteractMode(), ModeNone);
    EXPECT_NE(rig.editor.GetDrawingObject(), nullptr);
}

TEST(EditorEditing, ArrowKeysMoveAndResizeByOneStep)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 16, 40, 56, 60);
    auto* b = rig.Put<CDiagramStatic>("b", 13, 96, 53, 116);
    a->Select(true);

    rig.editor.SetZoom(2.0);  // 1 / 2.0 is raised to 1.0
    const int undo = rig.form.GetUndoCount();
    rig.pane.Take();
    rig.Key(EditorKey::Right);
    rig.Key(EditorKey::Down);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{17, 41, 57, 61}));
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1) << "two nudges in a row are one step";
    const auto heard = rig.pane.Take();
    EXPECT_NE(std::find(heard.begin(), heard.end(), "ShowControlProperties"), heard.end());

    rig.editor.SetZoom(1.0);
    a->SetRect(16, 40, 56, 60);
    b->Select(true);
    rig.editor.SetSnapToGrid(true);
    rig.Key(EditorKey::Right);  // 16 + 8 = 24; 13 + 8 = 21, snapped 24
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{24, 40, 64, 60}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{24, 96, 64, 116}));

    rig.editor.SetSnapToGrid(false);
    rig.Key(EditorKey::Right, Modifier::Shift);  // widens both, left edges stay
    rig.Key(EditorKey::Down, Modifier::Shift);
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{24, 40, 65, 61}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{24, 96, 65, 117}));

    // With snap on only the edge the key moves snaps, and it never crosses the left edge.
    rig.editor.SetSnapToGrid(true);
    rig.Key(EditorKey::Right, Modifier::Shift);  // 65 + 8 = 73, snapped 72
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{24, 40, 72, 61}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{24, 96, 72, 117}));
    b->Select(false);
    a->SetRect(21, 40, 25, 61);
    rig.Key(EditorKey::Left, Modifier::Shift);  // 25 - 8 = 17, snapped 16: left of the left edge
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{21, 40, 22, 61}));
    rig.editor.SetSnapToGrid(false);

    rig.editor.SetRestraints(RestraintMargins);
    a->SetRect(7, 40, 47, 60);
    rig.Key(EditorKey::Left);
    EXPECT_EQ(a->GetLeft(), 7);
    rig.Key(EditorKey::Left, Modifier::Shift);  // at the margin it still narrows
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{7, 40, 46, 60}));
}

// A caption is saved only with its field: a copy of it alone would vanish on saving.
TEST(EditorEditing, DuplicateCopiesAFieldWithItsCaptionButNeverACaptionAlone)
{
    EditorRig rig;
    rig.editor.SetRestraints(RestraintPaper);
    rig.PutField("f", 605, 100, 695, 120, 520, 100, 590, 127);
    CDiagramEntity* caption = rig.form.GetAt(1);
    rig.Click(555, 113);
    ASSERT_TRUE(caption->IsSelected());
    rig.Key(EditorKey::Insert);
    rig.editor.OnCommand(ElementCommand::Duplicate);
    EXPECT_EQ(rig.form.GetCount(), 2);
    EXPECT_TRUE(caption->IsSelected());

    // The copy 10 units on would end at 705 on a 700 paper: the pair moves back together.
    rig.Click(650, 110);
    rig.Key(EditorKey::Insert);
    ASSERT_EQ(rig.form.GetCount(), 4);
    CDiagramEntity* copy = rig.form.GetAt(2);
    EXPECT_EQ(copy->GetDependent(), rig.form.GetAt(3));
    EXPECT_EQ(EditorRig::RectOf(copy), (IntRect{610, 110, 700, 130}));
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(3)), (IntRect{525, 110, 595, 137}));
}

TEST(EditorEditing, SingleElementOperationsIgnoreTwoSelected)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 100, 380, 140);
    rig.Put<CDiagramStatic>("c", 500, 100, 580, 140);
    a->Select(true);
    b->Select(true);
    rig.Key(EditorKey::PageUp, Modifier::Ctrl);
    rig.Key(EditorKey::PageDown);
    rig.Key(EditorKey::Insert);
    EXPECT_EQ(rig.IndexOf(a), 0);
    EXPECT_EQ(rig.IndexOf(b), 1);
    EXPECT_EQ(rig.form.GetCount(), 3);
}

TEST(EditorEditing, AlignmentAndSameSizeFollowTheLastSelected)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 250, 120, 300, 150);
    auto* c = rig.Put<CDiagramStatic>("c", 400, 80, 460, 130);
    rig.Click(430, 105);
    rig.Click(140, 120, Modifier::Ctrl);
    rig.Click(275, 135, Modifier::Ctrl);  // b, in the middle of the list, is selected last
    ASSERT_EQ(rig.editor.GetSelectedObject(), b);

    const int undo = rig.form.GetUndoCount();
    rig.editor.AlignLeft();
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1);
    // Undo brings the selection and its reference back, and tells the pane:
    // alignment works again at once.
    rig.pane.Take();
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    EXPECT_EQ(rig.pane.Take(), (std::vector<std::string>{"SetEditor", "SetSelection a", "AddSelection b",
                                                         "AddSelection c", "ShowControlProperties"}));
    a = static_cast<CDiagramStatic*>(rig.form.GetAt(0));
    b = static_cast<CDiagramStatic*>(rig.form.GetAt(1));
    c = static_cast<CDiagramStatic*>(rig.form.GetAt(2));
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{100, 100, 180, 140}));
    ASSERT_EQ(rig.editor.GetSelectedObject(), b);
    EXPECT_EQ(rig.editor.GetSelectCount(), 3);
    rig.editor.AlignLeft();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{250, 100, 330, 140}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{250, 120, 300, 150}));
    EXPECT_EQ(EditorRig::RectOf(c), (IntRect{250, 80, 310, 130}));
    rig.editor.AlignTop();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{250, 120, 330, 160}));
    EXPECT_EQ(EditorRig::RectOf(c), (IntRect{250, 120, 310, 170}));
    rig.editor.AlignRight();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{220, 120, 300, 160}));
    rig.editor.AlignBottom();
    EXPECT_EQ(EditorRig::RectOf(c), (IntRect{240, 100, 300, 150}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{250, 120, 300, 150}));

    a->SetRect(10, 10, 90, 50);
    rig.form.SetModified(false);
    rig.editor.MakeSameSize();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{10, 10, 60, 40}));
    EXPECT_EQ(EditorRig::RectOf(c), (IntRect{240, 100, 290, 130}));
    EXPECT_TRUE(rig.form.IsModified());

    rig.Click(600, 500);
    rig.Click(275, 135);  // one selected: nothing to align
    rig.editor.AlignLeft();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{10, 10, 60, 40}));

    // A step recorded without a reference (a pane edit) leaves the last selected one.
    rig.editor.SelectAll();
    rig.form.Snapshot("Width");
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    EXPECT_EQ(rig.editor.GetSelectedObject(), rig.form.GetAt(2));
}

TEST(EditorEditing, AlignmentAndSameSizeStayInsideTheArea)
{
    EditorRig rig;
    auto* wide = rig.Put<CDiagramStatic>("wide", 100, 300, 180, 340);
    rig.Put<CDiagramStatic>("narrow", 10, 300, 50, 320);
    rig.Click(140, 320);
    rig.Click(30, 310, Modifier::Ctrl);
    rig.editor.AlignRight();  // 50 - 80 would put the left edge at -30
    EXPECT_EQ(EditorRig::RectOf(wide), (IntRect{1, 300, 81, 340}));

    rig.editor.SetRestraints(RestraintPaper);
    auto* small = rig.Put<CDiagramStatic>("small", 650, 500, 690, 540);
    rig.Put<CDiagramStatic>("big", 100, 100, 300, 200);
    rig.Click(670, 520);
    rig.Click(200, 150, Modifier::Ctrl);
    rig.editor.MakeSameSize();  // 200 x 100 from (650, 500) would end at (850, 600)
    EXPECT_EQ(EditorRig::RectOf(small), (IntRect{500, 500, 700, 600}));
}

TEST(EditorEditing, CentringAndSameWidthOrHeightFollowTheReference)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 145, 141);  // odd sizes: 45 x 41
    auto* ref = rig.Put<CDiagramStatic>("ref", 300, 200, 380, 240);
    auto* edge = rig.Put<CDiagramStatic>("edge", 5, 400, 405, 420);  // wider than the reference
    rig.Click(120, 120);
    rig.Click(200, 410, Modifier::Ctrl);
    rig.Click(340, 220, Modifier::Ctrl);
    ASSERT_EQ(rig.editor.GetSelectedObject(), ref);

    rig.editor.CentreHorizontally();  // centre 340: 340 - 22.5 rounds to 318; 340 - 200 = 140
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{318, 100, 363, 141}));
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{140, 400, 540, 420}));
    EXPECT_EQ(EditorRig::RectOf(ref), (IntRect{300, 200, 380, 240}));
    rig.editor.CentreVertically();  // centre 220
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{318, 200, 363, 241}));
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{140, 210, 540, 230}));
    const int undo = rig.form.GetUndoCount();
    rig.editor.CentreVertically();  // already centred: no step
    EXPECT_EQ(rig.form.GetUndoCount(), undo);

    rig.editor.MakeSameWidth();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{318, 200, 398, 241}));
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{140, 210, 220, 230}));
    rig.editor.MakeSameHeight();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{318, 200, 398, 240}));
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{140, 210, 220, 250}));

    // Centring on a reference at the paper's edge keeps a wider element inside.
    rig.editor.SetRestraints(RestraintPaper);
    ref->SetRect(660, 100, 700, 120);
    edge->SetRect(100, 300, 300, 320);
    rig.editor.CentreHorizontally();
    EXPECT_EQ(EditorRig::RectOf(edge), (IntRect{500, 300, 700, 320}));
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{620, 200, 700, 240}));
}

TEST(EditorEditing, DistributingLeavesEqualGapsBetweenTheOutermost)
{
    EditorRig rig;
    // Uneven sizes and gaps, selected out of order; the list order is not the
    // order along the row.
    auto* c = rig.Put<CDiagramStatic>("c", 200, 50, 230, 70);
    auto* a = rig.Put<CDiagramStatic>("a", 10, 100, 60, 120);
    auto* d = rig.Put<CDiagramStatic>("d", 400, 10, 500, 40);
    auto* b = rig.Put<CDiagramStatic>("b", 70, 200, 90, 260);
    rig.editor.SelectAll();

    // Span 60..400 holds b (20) and c (30): three gaps of 290 / 3, in whole units.
    rig.editor.DistributeHorizontally();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{10, 100, 60, 120}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{157, 200, 177, 260}));
    EXPECT_EQ(EditorRig::RectOf(c), (IntRect{273, 50, 303, 70}));
    EXPECT_EQ(EditorRig::RectOf(d), (IntRect{400, 10, 500, 40}));
    EXPECT_EQ(rig.form.GetUndoName(), "Distribute horizontally");

    // Top to bottom: d, c, a, b. Span 40..200 holds c (20) and a (20): gaps of 40.
    rig.editor.DistributeVertically();
    EXPECT_EQ(EditorRig::RectOf(c), (IntRect{273, 80, 303, 100}));
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{10, 140, 60, 160}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{157, 200, 177, 260}));
    const int undo = rig.form.GetUndoCount();
    rig.editor.DistributeVertically();  // already even: no step
    EXPECT_EQ(rig.form.GetUndoCount(), undo);

    // Two elements have no inner gap to share.
    rig.Click(600, 500);
    rig.Click(30, 150);
    rig.Click(167, 230, Modifier::Ctrl);
    rig.editor.DistributeHorizontally();
    rig.editor.DistributeVertically();
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{10, 140, 60, 160}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{157, 200, 177, 260}));
    EXPECT_EQ(rig.form.GetUndoCount(), undo);
}

TEST(EditorEditing, CentringInTheFormMovesTheSelectionAsAWhole)
{
    EditorRig rig;  // paper 700 x 600; a sits at its corner
    auto* a = rig.Put<CDiagramStatic>("a", 1, 1, 41, 21);
    auto* b = rig.Put<CDiagramStatic>("b", 101, 51, 161, 81);
    auto* other = rig.Put<CDiagramStatic>("other", 500, 500, 520, 520);
    rig.Click(20, 10);
    rig.Click(130, 60, Modifier::Ctrl);
    rig.editor.CentreInForm();  // box 160 x 80 goes to (270, 260)
    EXPECT_EQ(EditorRig::RectOf(a), (IntRect{270, 260, 310, 280}));
    EXPECT_EQ(EditorRig::RectOf(b), (IntRect{370, 310, 430, 340}));
    EXPECT_EQ(EditorRig::RectOf(other), (IntRect{500, 500, 520, 520}));
    EXPECT_EQ(rig.form.GetUndoName(), "Centre in form");

    // One element alone centres too; one taller than the paper keeps its top
    // inside.
    rig.editor.SetRestraints(RestraintPaper);
    rig.Click(510, 510);
    rig.editor.CentreInForm();
    EXPECT_EQ(EditorRig::RectOf(other), (IntRect{340, 290, 360, 310}));
    other->SetRect(600, 100, 640, 900);
    rig.editor.CentreInForm();
    EXPECT_EQ(EditorRig::RectOf(other), (IntRect{330, 1, 370, 801}));
}

TEST(EditorEditing, SelectAllKeepsTheReferenceOrTakesTheTopmost)
{
    EditorRig rig;
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 250, 120, 300, 150);
    auto* c = rig.Put<CDiagramStatic>("c", 400, 80, 460, 130);
    rig.Click(140, 120);
    rig.editor.SelectAll();
    EXPECT_EQ(rig.editor.GetSelectCount(), 3);
    EXPECT_EQ(rig.editor.GetSelectedObject(), a);
    rig.editor.AlignLeft();
    EXPECT_EQ(b->GetLeft(), 100);
    EXPECT_EQ(c->GetLeft(), 100);

    rig.Click(600, 500);  // empty paper: no reference
    EXPECT_EQ(rig.editor.GetSelectedObject(), nullptr);
    rig.editor.SelectAll();
    EXPECT_EQ(rig.editor.GetSelectedObject(), c);
    rig.editor.AlignTop();
    EXPECT_EQ(a->GetTop(), 80);
    EXPECT_EQ(b->GetTop(), 80);
}

TEST(EditorEditing, PastingTwiceLandsOnTheSamePlaceWithFreshGroups)
{
    EditorRig rig;
    CDiagramLinked* field = rig.PutField("f", 100, 100, 200, 120, 10, 100, 90, 127);
    field->SetTabIndex(0);
    rig.form.SetNextTabIndex(1);
    auto* g1 = rig.Put<CDiagramStatic>("g1", 300, 100, 350, 120);
    auto* g2 = rig.Put<CDiagramStatic>("g2", 300, 150, 350, 170);
    auto* h = rig.Put<CDiagramStatic>("h", 400, 100, 450, 120);
    const int pair = CDiagramEntityContainer::NextGroupNumber();  // groups made as Group makes them
    const int single = CDiagramEntityContainer::NextGroupNumber();
    g1->SetGroup(pair);
    g2->SetGroup(pair);
    h->SetGroup(single);
    for (CDiagramEntity* e : std::vector<CDiagramEntity*>{field, g1, g2, h})
        e->Select(true);
    rig.editor.Copy();
    ASSERT_EQ(rig.form.GetClipboardCount(), 5);

    std::vector<int> groupsSeen{pair, single};
    for (int paste = 0; paste < 2; ++paste) {
        rig.editor.Paste();
        const int first = 5 + paste * 5;
        ASSERT_EQ(rig.form.GetCount(), first + 5);
        CDiagramEntity* f = rig.form.GetAt(first);
        CDiagramEntity* label = rig.form.GetAt(first + 1);
        EXPECT_EQ(f->GetDependent(), label);
        EXPECT_EQ(EditorRig::RectOf(f), (IntRect{110, 110, 210, 130}));
        EXPECT_EQ(EditorRig::RectOf(label), (IntRect{20, 110, 100, 137}));
        EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(first + 2)), (IntRect{310, 110, 360, 130}));
        EXPECT_EQ(f->GetTabIndex(), 1 + paste);
        const int pairGroup = rig.form.GetAt(first + 2)->GetGroup();
        const int hGroup = rig.form.GetAt(first + 4)->GetGroup();
        EXPECT_EQ(rig.form.GetAt(first + 3)->GetGroup(), pairGroup);
        for (int old : groupsSeen) {
            EXPECT_NE(pairGroup, old);
            EXPECT_NE(hGroup, old);
        }
        EXPECT_NE(pairGroup, hGroup);
        groupsSeen.push_back(pairGroup);
        groupsSeen.push_back(hGroup);
        EXPECT_EQ(rig.editor.GetSelectCount(), 5);
        EXPECT_TRUE(label->IsSelected());
        EXPECT_FALSE(field->IsSelected());
        EXPECT_EQ(rig.editor.GetSelectedObject(), rig.form.GetAt(first + 4));
    }
}

TEST(EditorEditing, PasteMovesWhatSticksOutOfTheForm)
{
    EditorRig rig;
    rig.Put<CDiagramStatic>("wide", 600, 100, 690, 130);
    rig.Put<CDiagramStatic>("low", 50, 190, 90, 199);
    rig.Put<CDiagramStatic>("fits", 100, 100, 150, 130);
    rig.editor.SelectAll();
    rig.editor.Copy();
    rig.editor.SetVirtualSize({300, 200});
    EXPECT_EQ(rig.form.GetPaper(), (IntSize{300, 200}));
    rig.editor.Paste();
    ASSERT_EQ(rig.form.GetCount(), 6);
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(3)), (IntRect{10, 110, 100, 140}));
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(4)), (IntRect{60, 10, 100, 19}));
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(5)), (IntRect{110, 110, 160, 140}));
}

TEST(EditorEditing, UndoOfADeleteRestoresTheFieldWithItsLabel)
{
    EditorRig rig;
    rig.PutField("f", 100, 100, 200, 120, 10, 100, 90, 127);
    rig.Click(150, 110);
    ASSERT_EQ(rig.editor.GetSelectCount(), 1);
    rig.Key(EditorKey::Delete);
    EXPECT_EQ(rig.form.GetCount(), 0);
    rig.pane.Take();
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    ASSERT_EQ(rig.form.GetCount(), 2);
    EXPECT_EQ(rig.form.GetAt(0)->GetDependent(), rig.form.GetAt(1));
    EXPECT_TRUE(rig.form.GetAt(1)->IsDependentPart());
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(0)), (IntRect{100, 100, 200, 120}));
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(1)), (IntRect{10, 100, 90, 127}));
    EXPECT_FALSE(rig.pane.Take().empty());

    // Both redo keys bring the delete back; Ctrl+Z alone stays undo.
    rig.Key(EditorKey::Y, Modifier::Ctrl);
    EXPECT_EQ(rig.form.GetCount(), 0);
    rig.Key(EditorKey::Z, Modifier::Ctrl);
    ASSERT_EQ(rig.form.GetCount(), 2);
    rig.Key(EditorKey::Z, Modifier::Ctrl | Modifier::Shift);
    EXPECT_EQ(rig.form.GetCount(), 0);
}

TEST(EditorEditing, PaperContextMenuOffersClipboardAndGroupCommands)
{
    EditorRig rig;
    rig.host.SetScreenOffset({1000, 2000});
    auto* a = rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    auto* b = rig.Put<CDiagramStatic>("b", 300, 100, 380, 140);
    auto rightClick = [&](int answer) {
        if (answer)
            rig.host.QueueMenuAnswer(answer);
        rig.editor.OnRButtonDown({500, 400}, Modifier::None);
        rig.editor.OnRButtonUp({500, 400}, Modifier::None);
        return rig.host.GetShownMenus().back().menu;
    };

    const PopupMenu empty = rightClick(0);
    EXPECT_EQ(Commands(empty),
              (std::vector<int>{ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_EDIT_GROUP, ID_EDIT_UNGROUP}));
    std::vector<std::string> texts;
    for (const MenuItem& item : empty.items)
        texts.push_back(item.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Cut", "Copy", "Paste", "", "Group", "Ungroup"}));
    EXPECT_EQ(Enabled(empty), (std::vector<bool>{false, false, false, false, false}));
    EXPECT_EQ(rig.host.GetShownMenus().back().screenPoint, (IntPoint{1500, 2400}));

    a->Select(true);
    b->Select(true);
    const int undo = rig.form.GetUndoCount();
    EXPECT_EQ(Enabled(rightClick(ID_EDIT_GROUP)), (std::vector<bool>{true, true, false, true, true}));
    EXPECT_NE(a->GetGroup(), 0);
    EXPECT_EQ(a->GetGroup(), b->GetGroup());
    EXPECT_EQ(rig.form.GetUndoCount(), undo + 1);
    rightClick(ID_EDIT_COPY);
    EXPECT_EQ(rig.form.GetClipboardCount(), 2);
    EXPECT_EQ(Enabled(rightClick(ID_EDIT_UNGROUP)), (std::vector<bool>{true, true, true, true, true}));
    EXPECT_EQ(a->GetGroup(), 0);
    rightClick(ID_EDIT_PASTE);
    EXPECT_EQ(rig.form.GetCount(), 4);
    rightClick(ID_EDIT_CUT);  // the two pasted ones
    EXPECT_EQ(rig.form.GetCount(), 2);

    rig.Click(140, 120);  // one selected, clicked beside it: the paper's menu, without Group
    EXPECT_EQ(Enabled(rightClick(0)), (std::vector<bool>{true, true, true, false, false}));
}

TEST(EditorEditing, ElementMenuAndObjectCommandsReachTheSelectedElement)
{
    EditorRig rig;
    rig.Put<CDiagramStatic>("a", 100, 100, 180, 140);
    const int undo = rig.form.GetUndoCount();
    rig.host.QueueMenuAnswer(ElementCommand::Copy);
    rig.editor.OnRButtonDown({140, 120}, Modifier::None);
    rig.editor.OnRButtonUp({140, 120}, Modifier::None);
    ASSERT_EQ(rig.host.GetShownMenus().size(), 1u);
    EXPECT_EQ(Commands(rig.host.GetShownMenus().back().menu),
              (std::vector<int>{ElementCommand::Cut, ElementCommand::Copy}));
    EXPECT_EQ(rig.form.GetClipboardCount(), 1);
    EXPECT_EQ(rig.form.GetUndoCount(), undo) << "copying changes nothing on the form";

    EXPECT_TRUE(rig.editor.OnCommand(ElementCommand::Duplicate));
    ASSERT_EQ(rig.form.GetCount(), 2);
    EXPECT_EQ(EditorRig::RectOf(rig.form.GetAt(1)), (IntRect{110, 110, 190, 150}));
    EXPECT_TRUE(rig.editor.OnCommand(200));
    EXPECT_FALSE(rig.editor.OnCommand(201));
    EXPECT_FALSE(rig.editor.OnCommand(99));

    rig.editor.UnselectAll();
    rig.host.QueueMenuAnswer(ElementCommand::Cut);
    rig.editor.OnRButtonDown({140, 120}, Modifier::None);
    rig.editor.OnRButtonUp({140, 120}, Modifier::None);
    EXPECT_EQ(rig.form.GetCount(), 1);
    EXPECT_EQ(rig.form.GetAt(0)->GetLeft(), 100);  // the right press took the topmost, the copy
}

TEST(EditorEditing, TabWalksTheFieldsInTabOrderRoundTheEnds)
{
    EditorRig rig;
    EXPECT_TRUE(rig.Key(EditorKey::Tab)) << "kept on a form without fields too";
    auto* text = rig.Put<CDiagramStatic>("text", 10, 10, 80, 30);
    // List order a, b, c; tab order b, c, a.
    CDiagramLinked* a = rig.PutField("a", 100, 40, 200, 60, 10, 40, 90, 60);
    CDiagramLinked* b = rig.PutField("b", 100, 80, 200, 100, 10, 80, 90, 100);
    CDiagramLinked* c = rig.PutField("c", 100, 120, 200, 140, 10, 120, 90, 140);
    a->SetTabIndex(2);
    b->SetTabIndex(0);
    c->SetTabIndex(1);
    text->Select(true);

    std::vector<const CDiagramEntity*> visited;
    for (int i = 0; i < 4; ++i) {
        rig.pane.Take();
        EXPECT_TRUE(rig.Key(EditorKey::Tab));
        visited.push_back(rig.editor.GetSelectedObject());
        EXPECT_EQ(rig.editor.GetSelectCount(), 1);
        const std::vector<std::string> calls = rig.pane.Take();
        EXPECT_NE(std::find(calls.begin(), calls.end(), "SetSelection " + visited.back()->GetName()), calls.end())
            << "the pane shows each field in turn";
    }
    EXPECT_EQ(visited, (std::vector<const CDiagramEntity*>{b, c, a, b}));
    EXPECT_FALSE(text->IsSelected());

    rig.Key(EditorKey::Tab, Modifier::Shift);
    EXPECT_EQ(rig.editor.GetSelectedObject(), a) << "back round the start";
    rig.Key(EditorKey::Tab, Modifier::Shift);
    EXPECT_EQ(rig.editor.GetSelectedObject(), c);
}
