#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "services/Environment.h"
#include "support/Scratch.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;
using fw::test::AddField;
using fw::test::AddText;

namespace {

// The types in list order, dependent parts marked with "*".
std::vector<std::string> Types(const CDiagramEntityContainer& form)
{
    std::vector<std::string> types;
    for (int i = 0; i < form.GetCount(); ++i)
        types.push_back(form.GetAt(i)->GetType() + (form.GetAt(i)->IsDependentPart() ? "*" : ""));
    return types;
}

using Names = std::vector<std::string>;

}  // namespace

TEST(FormList, AddAndRemoveTrackModificationAndTakeLabelsAlong)
{
    CDiagramEntityContainer form;
    EXPECT_FALSE(form.IsModified());
    CDiagramEntity* text = AddText(form, 0, 0, 10, 10);
    EXPECT_TRUE(form.IsModified());
    EXPECT_EQ(text->GetParent(), &form);
    form.SetModified(false);
    EXPECT_EQ(form.RemoveAt(5), 0);
    EXPECT_FALSE(form.IsModified());

    // Removing a field takes its label; removing a label alone unlinks it.
    CDiagramEntity* field = AddField(form, "ARTNO", 200, 10, 0);
    AddText(form, 0, 50, 10, 60);
    ASSERT_EQ(Types(form), (Names{"static", "editbox", "static*", "static"}));
    EXPECT_EQ(form.RemoveAt(form.FindIndex(field)), 2);
    EXPECT_TRUE(form.IsModified());
    EXPECT_EQ(Types(form), (Names{"static", "static"}));
    field = AddField(form, "ARTNO", 200, 10, 0);
    EXPECT_EQ(form.RemoveAt(3), 1);
    EXPECT_EQ(field->GetDependent(), nullptr);
    form.Snapshot();  // must not touch the destroyed label
    form.Undo();
    EXPECT_EQ(Types(form), (Names{"static", "static", "editbox"}));

    form.GetAt(0)->Select(true);
    AddField(form, "NAME", 200, 40, 1)->Select(true);
    form.DeleteAllSelected();
    EXPECT_EQ(Types(form), (Names{"static", "editbox"}));
    EXPECT_EQ(form.GetNextTabIndex(false), 1);

    // A label deleted alone unlinks its field; a field and its label both
    // selected go together.
    CDiagramEntity* kept = AddField(form, "ARTNO", 200, 70, 2);
    CDiagramEntity* both = AddField(form, "NAME", 200, 100, 3);
    kept->GetDependent()->Select(true);
    both->Select(true);
    both->GetDependent()->Select(true);
    form.DeleteAllSelected();
    EXPECT_EQ(Types(form), (Names{"static", "editbox", "editbox"}));
    EXPECT_EQ(kept->GetDependent(), nullptr);
}

TEST(FormList, DuplicateOffsetsByTenAndAppendsWithTheCaption)
{
    CDiagramEntityContainer form;
    CDiagramEntity* text = AddText(form, 0, 0, 20, 20);
    CDiagramEntity* field = AddField(form, "ARTNO", 200, 10, 0);
    CDiagramEntity* copy = form.Duplicate(text);
    EXPECT_EQ(form.GetAt(3), copy);
    EXPECT_EQ(copy->GetRect(), (IntRect{10, 10, 30, 30}));
    copy = form.Duplicate(field);
    ASSERT_EQ(Types(form), (Names{"static", "editbox", "static*", "static", "editbox", "static*"}));
    EXPECT_EQ(copy->GetRect(), field->GetRect().Offset(10, 10));
    EXPECT_EQ(copy->GetDependent(), form.GetAt(5));
    EXPECT_EQ(form.GetAt(5)->GetRect(), form.GetAt(2)->GetRect().Offset(10, 10));
    EXPECT_EQ(copy->GetTabIndex(), 1) << "a field's copy takes the next free tab number";

    CDiagramEntityContainer other;
    EXPECT_EQ(other.Duplicate(text), nullptr);
}

TEST(FormList, ZOrderMovesAndFreshGroupNumbers)
{
    CDiagramEntityContainer form;
    CDiagramEntity* a = AddText(form, 0, 0, 10, 10);
    CDiagramEntity* b = AddText(form, 0, 0, 10, 10);
    CDiagramEntity* c = AddText(form, 0, 0, 10, 10);
    form.SetModified(false);
    form.MoveLater(c);    // already last
    form.MoveEarlier(a);  // already first
    EXPECT_FALSE(form.IsModified());
    form.MoveLater(a);
    EXPECT_EQ(form.GetAt(1), a);
    form.MoveToStart(c);
    EXPECT_EQ(form.GetAt(0), c);
    form.MoveToEnd(c);
    form.MoveEarlier(c);
    EXPECT_EQ(form.GetAt(0), b);
    EXPECT_EQ(form.GetAt(1), c);
    EXPECT_TRUE(form.IsModified());

    a->Select(true);
    b->Select(true);
    form.Group();
    const int first = a->GetGroup();
    EXPECT_GT(first, 0);
    EXPECT_EQ(b->GetGroup(), first);
    EXPECT_EQ(c->GetGroup(), 0);
    form.UnselectAll();
    c->Select(true);
    form.Group();
    EXPECT_GT(c->GetGroup(), first);
    form.SelectAll();
    form.Ungroup();
    EXPECT_EQ(a->GetGroup(), 0);
    EXPECT_EQ(c->GetGroup(), 0);
}

TEST(FormUndo, SnapshotsAreIndependentAndRestoreElementsWithTheirPartsStylesAndPaper)
{
    CDiagramEntityContainer form;
    form.SetPaper({700, 600});
    AddText(form, 0, 0, 10, 10);
    CDiagramEntity* field = AddField(form, "ARTNO", 200, 10, 4);
    form.Snapshot();
    EXPECT_EQ(form.GetUndoCount(), 1);
    form.RemoveAt(form.FindIndex(field));
    form.SetPaper({300, 200});
    form.Undo();

    ASSERT_EQ(Types(form), (Names{"static", "editbox", "static*"}));
    EXPECT_EQ(form.GetPaper(), (IntSize{700, 600}));
    EXPECT_EQ(form.GetAt(1)->GetDependent(), form.GetAt(2));
    EXPECT_EQ(form.GetAt(1)->GetParent(), &form);
    EXPECT_EQ(form.GetAt(2)->GetParent(), &form);
    EXPECT_EQ(form.GetNextTabIndex(false), 5);
    EXPECT_EQ(form.GetUndoCount(), 0);
    form.Undo();  // empty stack: nothing happens
    EXPECT_EQ(form.GetCount(), 3);

    CEntityStyleContainer styles;
    styles.CreateDefaults();
    form.SetStyleContainer(&styles);
    CDiagramEntity* text = form.GetAt(0);
    text->SetStyleContainer(&styles);
    text->SetStyleName("s3");
    form.Snapshot("Move");
    text->SetRect(100, 100, 150, 150);
    form.Snapshot("Title");
    text->SetTitle("changed");
    EXPECT_EQ(form.GetUndoName(), "Title");
    form.Undo();
    EXPECT_EQ(form.GetUndoName(), "Move");
    EXPECT_EQ(form.GetAt(0)->GetRect(), (IntRect{100, 100, 150, 150}));
    EXPECT_EQ(form.GetAt(0)->GetTitle(), "Text");
    EXPECT_EQ(form.GetAt(0)->GetStyle(), styles.Find("s3"));
    form.Undo();
    EXPECT_EQ(form.GetAt(0)->GetRect(), (IntRect{0, 0, 10, 10}));

    // Redo walks forward again, step by step, until a new change.
    EXPECT_EQ(form.GetRedoName(), "Move");
    form.Redo();
    EXPECT_EQ(form.GetAt(0)->GetRect(), (IntRect{100, 100, 150, 150}));
    EXPECT_EQ(form.GetRedoName(), "Title");
    form.Redo();
    EXPECT_EQ(form.GetAt(0)->GetTitle(), "changed");
    EXPECT_EQ(form.GetRedoCount(), 0);
    EXPECT_EQ(form.GetUndoName(), "Title");
    form.Undo();
    form.Undo();
    form.Snapshot("Paste");
    EXPECT_EQ(form.GetRedoCount(), 0) << "a new change drops what was undone";
    form.Undo();

    form.SetMaxUndo(2);  // the limit drops the oldest snapshot
    for (int i = 1; i <= 3; ++i) {
        form.SetPaper({i, i});
        form.Snapshot();
    }
    EXPECT_EQ(form.GetUndoCount(), 2);
    form.Undo();
    form.Undo();
    EXPECT_EQ(form.GetPaper(), (IntSize{2, 2}));
    form.Snapshot();
    form.Clear();
    EXPECT_EQ(form.GetUndoCount(), 0);
    EXPECT_FALSE(form.IsModified());
}

TEST(FormUndo, StepsKeepGroupsAndBringBackTheSelectionAndReferenceOfTheirMoment)
{
    CDiagramEntityContainer form;
    form.Snapshot("Size");
    form.SetPaper({300, 200});
    form.SetModified(true);
    form.Undo();
    EXPECT_FALSE(form.IsModified()) << "a new form is unmodified back where it began";

    AddText(form, 0, 0, 10, 10)->Select(true);
    AddText(form, 20, 0, 30, 10)->Select(true);
    AddField(form, "ARTNO", 200, 10, 4);
    form.Group();
    const int group = form.GetAt(0)->GetGroup();
    form.Snapshot("Move", form.GetAt(1));
    form.UnselectAll();
    form.GetAt(2)->Select(true);
    form.GetAt(0)->MoveRect(5, 0);

    // Undo: the selection from before the step, its reference, the group.
    CDiagramEntity* reference = form.Undo(form.GetAt(2));
    EXPECT_EQ(form.GetAt(0)->GetLeft(), 0);
    EXPECT_EQ(reference, form.GetAt(1));
    const std::vector<bool> before{form.GetAt(0)->IsSelected(), form.GetAt(1)->IsSelected(),
                                   form.GetAt(2)->IsSelected(), form.GetAt(3)->IsSelected()};
    EXPECT_EQ(before, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(form.GetAt(0)->GetGroup(), group);
    EXPECT_EQ(form.GetAt(1)->GetGroup(), group);
    // Redo: the selection and reference Undo found.
    reference = form.Redo(nullptr);
    EXPECT_EQ(reference, form.GetAt(2));
    EXPECT_EQ(form.GetSelectedCount(), 1);
    EXPECT_TRUE(form.GetAt(2)->IsSelected());
    EXPECT_EQ(form.GetAt(1)->GetGroup(), group);
}

TEST(FormUndo, StepsShareWhatDidNotChangeAndTheOldestGoOverTheCap)
{
    CDiagramEntityContainer form;
    for (int i = 0; i < 1000; ++i)
        AddText(form, i, 0, i + 10, 10);
    const std::size_t element = form.GetAt(0)->GetFootprint();
    form.Snapshot("Move");
    const std::size_t whole = form.GetHistoryBytes();
    EXPECT_GT(whole, 1000 * element);
    for (int step = 1; step <= 3; ++step) {
        form.GetAt(500)->MoveRect(1, 0);
        const std::size_t before = form.GetHistoryBytes();
        form.Snapshot("Move");
        const std::size_t cost = form.GetHistoryBytes() - before;
        EXPECT_GE(cost, element) << "the moved element is copied";
        EXPECT_LT(cost, 8 * element) << "and little else";
    }
    form.GetAt(500)->MoveRect(1, 0);
    for (int left = 503; left >= 500; --left) {
        form.Undo();
        EXPECT_EQ(form.GetAt(500)->GetLeft(), left);
        EXPECT_EQ(form.GetAt(499)->GetLeft(), 499);
    }
    EXPECT_LT(form.GetHistoryBytes(), whole + 20 * element) << "undo shares as a step does";

    // A cap of a little more than one copy of the form keeps the newest steps.
    form.ClearUndo();
    EXPECT_EQ(form.GetHistoryBytes(), 0u);
    form.SetHistoryCap(whole + 8 * element);
    for (int step = 0; step < 20; ++step) {
        form.Snapshot("Move");
        form.GetAt(step)->MoveRect(1, 0);
    }
    EXPECT_LE(form.GetHistoryBytes(), whole + 8 * element);
    const int kept = form.GetUndoCount();
    EXPECT_GT(kept, 1);
    EXPECT_LT(kept, 20);
    while (form.GetUndoCount() > 0)
        form.Undo();
    EXPECT_EQ(form.GetAt(19 - kept)->GetLeft(), 19 - kept + 1) << "the oldest steps went";
    EXPECT_EQ(form.GetAt(20 - kept)->GetLeft(), 20 - kept);
    form.SetHistoryCap(1);
    form.Snapshot("Move");
    EXPECT_EQ(form.GetUndoCount(), 1) << "the newest step always stays";

    test::ScopedEnv env;
    env.Set("FORMWRIGHT_UNDO_MB", "3");
    Environment::instance().reload();
    EXPECT_EQ(CDiagramEntityContainer::DefaultHistoryCap(), 3u << 20);
    env.Set("FORMWRIGHT_UNDO_MB", "none");
    Environment::instance().reload();
    EXPECT_EQ(CDiagramEntityContainer::DefaultHistoryCap(), 256u << 20);
}

TEST(FormExtent, TotalPositionAndSize)
{
    CDiagramEntityContainer form;
    EXPECT_EQ(form.GetTotalPosition(), (IntPoint{2000, 2000}));
    AddText(form, 2500, 2600, 2700, 2650);
    EXPECT_EQ(form.GetTotalSize(), (IntSize{700, 650}));
    form.RemoveAll();
    AddText(form, 10.4, 20.6, 50, 40);
    AddText(form, 30, 5, 80.5, 15);
    EXPECT_EQ(form.GetTotalPosition(), (IntPoint{10, 5}));
    EXPECT_EQ(form.GetTotalSize(), (IntSize{71, 35}));
}

TEST(FormClone, CopiesElementsButNotIdentity)
{
    CDiagramEntityContainer form;
    form.SetPaper({640, 480});
    form.SetObjectClass("PUMP");
    form.SetFormName("TYPE:=:A");
    form.SetTitle("EDIT_PUMP");
    form.SetUuid("ABC");
    form.SetSizeable(true);
    AddField(form, "ArtNo", 200, 10, 0);
    AddText(form, 0, 0, 10, 10);
    EXPECT_TRUE(form.ContainsProperty("ARTNO"));  // captions compared without case
    EXPECT_FALSE(form.ContainsProperty("NAME"));

    auto clone = form.Clone();
    EXPECT_EQ(Types(*clone), (Names{"editbox", "static*", "static"}));
    EXPECT_EQ(clone->GetAt(1)->GetParent(), clone.get());
    EXPECT_EQ(clone->GetPaper(), (IntSize{640, 480}));
    EXPECT_EQ(clone->GetObjectClass() + " " + clone->GetFormName(), "PUMP TYPE:=:A");
    EXPECT_EQ(clone->GetTitle() + clone->GetUuid(), "");
    EXPECT_FALSE(clone->IsSizeable());

    // A shared clipboard is shared by the copy; a form's own stays with the form.
    CDiagramClipboardHandler shared;
    CDiagramEntityContainer sharing(&shared);
    EXPECT_EQ(sharing.Clone()->GetClipboardHandler(), &shared);
    form.GetClipboardCount();  // now on its embedded clipboard
    clone = form.Clone();
    EXPECT_NE(clone->GetClipboardHandler(), form.GetClipboardHandler());
    clone->SelectAll();
    clone->CopyAllSelected();
    EXPECT_EQ(clone->GetClipboardCount(), 3);  // the field, its caption and the text
    EXPECT_EQ(form.GetClipboardCount(), 0);
}

TEST(FormStyles, ReplaceStyleRepointsElementsAndCaptions)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    CDiagramEntityContainer form;
    form.SetStyleContainer(&styles);
    CDiagramEntity* text = AddText(form, 0, 0, 10, 10);
    text->SetStyleName("s1");
    CDiagramEntity* caption = AddField(form, "ARTNO", 200, 10, 0)->GetDependent();
    caption->SetStyleContainer(&styles);
    caption->SetStyleName("s1");

    CEntityStyle* s1 = styles.Find("s1");
    auto renamed = CEntityStyleContainer::CloneStyle(*s1);
    renamed->SetName("title");
    CEntityStyle* replacement = styles.Add(std::move(renamed));
    form.ReplaceStyle(s1, replacement);
    styles.Remove("s1");
    EXPECT_EQ(text->GetStyleName(), "title");
    EXPECT_EQ(caption->GetStyle(), replacement);
    form.ReplaceStyle(replacement, nullptr);
    EXPECT_EQ(text->GetStyle(), nullptr);
}
