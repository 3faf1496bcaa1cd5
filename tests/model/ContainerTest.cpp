#include "model/DiagramEntityContainer.h"
#include "model/EntityStyle.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace fw;
using fw::test::AddField;
using fw::test::AddText;
using fw::test::TestText;

namespace {

std::vector<std::string> Types(const CDiagramEntityContainer& form)
{
    std::vector<std::string> types;
    for (int i = 0; i < form.GetCount(); ++i)
        types.push_back(form.GetAt(i)->GetType() + (form.GetAt(i)->IsDependentPart() ? "*" : ""));
    return types;
}

}  // namespace

TEST(FormList, AddAndRemoveTrackModificationAndParents)
{
    CDiagramEntityContainer form;
    EXPECT_FALSE(form.IsModified());
    TestText* text = AddText(form, 0, 0, 10, 10);
    EXPECT_TRUE(form.IsModified());
    EXPECT_EQ(text->GetParent(), &form);
    EXPECT_EQ(form.GetAt(-1), nullptr);
    EXPECT_EQ(form.GetAt(1), nullptr);

    form.SetModified(false);
    EXPECT_EQ(form.RemoveAt(5), 0);
    EXPECT_FALSE(form.IsModified());
    EXPECT_EQ(form.RemoveAt(0), 1);
    EXPECT_TRUE(form.IsModified());
    EXPECT_EQ(form.GetCount(), 0);
}

TEST(FormList, RemovingAFieldTakesItsLabel)
{
    CDiagramEntityContainer form;
    AddText(form, 0, 0, 10, 10);
    auto* field = AddField(form, "ARTNO", 200, 10, 0);
    AddText(form, 0, 50, 10, 60);
    ASSERT_EQ(Types(form), (std::vector<std::string>{"static", "editbox", "static*", "static"}));

    EXPECT_EQ(form.RemoveAt(form.FindIndex(field)), 2);
    EXPECT_EQ(Types(form), (std::vector<std::string>{"static", "static"}));
}

TEST(FormList, RemovingALabelAloneUnlinksItFromItsField)
{
    CDiagramEntityContainer form;
    auto* field = AddField(form, "ARTNO", 200, 10, 0);
    EXPECT_EQ(form.RemoveAt(1), 1);
    EXPECT_EQ(field->GetDependent(), nullptr);
    // A snapshot after that must not touch the destroyed label.
    form.Snapshot();
    form.Undo();
    EXPECT_EQ(Types(form), (std::vector<std::string>{"editbox"}));
}

TEST(FormList, DeleteAllSelectedKeepsTheUnselected)
{
    CDiagramEntityContainer form;
    TestText* a = AddText(form, 0, 0, 10, 10);
    auto* field = AddField(form, "ARTNO", 200, 10, 0);
    TestText* b = AddText(form, 0, 50, 10, 60);
    TestText* c = AddText(form, 0, 70, 10, 80);
    a->Select(true);
    field->Select(true);
    c->Select(true);
    form.DeleteAllSelected();
    ASSERT_EQ(form.GetCount(), 1);
    EXPECT_EQ(form.GetAt(0), b);
    EXPECT_EQ(form.GetNextTabIndex(false), 0);
}

TEST(FormList, DuplicateOffsetsByTenAndAppends)
{
    CDiagramEntityContainer form;
    TestText* text = AddText(form, 0, 0, 20, 20);
    AddText(form, 50, 50, 60, 60);
    CDiagramEntity* copy = form.Duplicate(text);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(form.GetAt(2), copy);
    EXPECT_EQ(copy->GetRect(), (IntRect{10, 10, 30, 30}));

    CDiagramEntityContainer other;
    EXPECT_EQ(other.Duplicate(text), nullptr);
    EXPECT_EQ(other.GetCount(), 0);
}

TEST(FormList, DuplicatedFieldsKeepTheirCaption)
{
    CDiagramEntityContainer form;
    auto* field = AddField(form, "ARTNO", 200, 10, 0);
    CDiagramEntity* copy = form.Duplicate(field);
    ASSERT_EQ(Types(form), (std::vector<std::string>{"editbox", "static*", "editbox", "static*"}));
    EXPECT_EQ(copy->GetDependent(), form.GetAt(3));
    EXPECT_EQ(form.GetAt(3)->GetRect(), form.GetAt(1)->GetRect().Offset(10, 10));
}

TEST(FormList, ZOrderMoves)
{
    CDiagramEntityContainer form;
    TestText* a = AddText(form, 0, 0, 10, 10);
    TestText* b = AddText(form, 0, 0, 10, 10);
    TestText* c = AddText(form, 0, 0, 10, 10);
    form.SetModified(false);

    form.MoveLater(c);  // already last
    EXPECT_FALSE(form.IsModified());
    form.MoveEarlier(a);  // already first
    EXPECT_FALSE(form.IsModified());

    form.MoveLater(a);
    EXPECT_EQ(form.GetAt(1), a);
    form.MoveToStart(c);
    EXPECT_EQ(form.GetAt(0), c);
    form.MoveToEnd(c);
    EXPECT_EQ(form.GetAt(2), c);
    form.MoveEarlier(c);
    EXPECT_EQ(form.GetAt(1), c);
    EXPECT_EQ(form.GetAt(0), b);
    EXPECT_TRUE(form.IsModified());
}

TEST(FormUndo, RestoresElementsWithTheirPartsAndThePaper)
{
    CDiagramEntityContainer form;
    form.SetPaper({700, 600});
    AddText(form, 0, 0, 10, 10);
    auto* field = AddField(form, "ARTNO", 200, 10, 4);
    form.Snapshot();
    EXPECT_EQ(form.GetUndoCount(), 1);

    form.RemoveAt(form.FindIndex(field));
    form.SetPaper({300, 200});
    form.Undo();

    ASSERT_EQ(Types(form), (std::vector<std::string>{"static", "editbox", "static*"}));
    EXPECT_EQ(form.GetPaper(), (IntSize{700, 600}));
    EXPECT_EQ(form.GetAt(1)->GetDependent(), form.GetAt(2));
    EXPECT_EQ(form.GetAt(1)->GetParent(), &form);
    EXPECT_EQ(form.GetAt(2)->GetParent(), &form);
    EXPECT_EQ(form.GetNextTabIndex(false), 5);
    EXPECT_EQ(form.GetUndoCount(), 0);

    form.Undo();  // empty stack: nothing happens
    EXPECT_EQ(form.GetCount(), 3);
}

TEST(FormUndo, SnapshotsAreIndependentCopies)
{
    CDiagramEntityContainer form;
    TestText* text = AddText(form, 0, 0, 10, 10);
    form.Snapshot();
    text->SetRect(100, 100, 150, 150);
    form.Snapshot();
    text->SetTitle("changed");

    form.Undo();
    EXPECT_EQ(form.GetAt(0)->GetRect(), (IntRect{100, 100, 150, 150}));
    EXPECT_EQ(form.GetAt(0)->GetTitle(), "Text");
    form.Undo();
    EXPECT_EQ(form.GetAt(0)->GetRect(), (IntRect{0, 0, 10, 10}));
}

TEST(FormUndo, LimitDropsTheOldestSnapshot)
{
    CDiagramEntityContainer form;
    form.SetMaxUndo(2);
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

TEST(FormUndo, RestoredElementsUseTheFormsStyles)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    CDiagramEntityContainer form;
    form.SetStyleContainer(&styles);
    TestText* text = AddText(form, 0, 0, 10, 10);
    text->SetStyleName("s3");
    form.Snapshot();
    form.Undo();
    EXPECT_EQ(form.GetAt(0)->GetStyle(), styles.Find("s3"));
}

TEST(FormGroups, GroupNumbersAreFresh)
{
    CDiagramEntityContainer form;
    TestText* a = AddText(form, 0, 0, 10, 10);
    TestText* b = AddText(form, 0, 0, 10, 10);
    TestText* c = AddText(form, 0, 0, 10, 10);
    a->Select(true);
    b->Select(true);
    form.Group();
    int first = a->GetGroup();
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

TEST(FormCommands, StopAtTheFirstElementThatHandlesIt)
{
    CDiagramEntityContainer form;
    TestText* a = AddText(form, 0, 0, 10, 10);
    TestText* b = AddText(form, 0, 0, 10, 10);
    a->Select(true);
    b->Select(true);
    form.SendCommandToElements(ElementCommand::MoveToEnd, true, nullptr, nullptr);
    // a moved to the end and answered; b was not asked.
    EXPECT_EQ(form.GetAt(0), b);
    EXPECT_EQ(form.GetAt(1), a);

    form.SendCommandToElements(ElementCommand::Cut, true, nullptr, nullptr);
    EXPECT_EQ(form.GetCount(), 1);
    EXPECT_EQ(form.GetClipboardCount(), 1);
}

TEST(FormExtent, TotalPositionAndSize)
{
    CDiagramEntityContainer form;
    EXPECT_EQ(form.GetTotalPosition(), (IntPoint{2000, 2000}));
    AddText(form, 2500, 2600, 2700, 2650);
    EXPECT_EQ(form.GetTotalPosition(), (IntPoint{2000, 2000}));
    EXPECT_EQ(form.GetTotalSize(), (IntSize{700, 650}));

    CDiagramEntityContainer small;
    AddText(small, 10.4, 20.6, 50, 40);
    AddText(small, 30, 5, 80.5, 15);
    EXPECT_EQ(small.GetTotalPosition(), (IntPoint{10, 5}));
    EXPECT_EQ(small.GetTotalSize(), (IntSize{71, 35}));
}

TEST(FormClone, CopiesElementsButNotIdentity)
{
    CDiagramEntityContainer form;
    form.SetPaper({640, 480});
    form.SetProgIdType("SEF");
    form.SetObjectClass("PUMP");
    form.SetFormName("TYPE:=:A");
    form.SetTitle("EDIT_PUMP");
    form.SetHelp("help.htm");
    form.SetUuid("ABC");
    form.SetSizeable(true);
    AddField(form, "ARTNO", 200, 10, 0);
    AddText(form, 0, 0, 10, 10);

    auto clone = form.Clone();
    EXPECT_EQ(Types(*clone), (std::vector<std::string>{"editbox", "static*", "static"}));
    EXPECT_EQ(clone->GetAt(0)->GetParent(), clone.get());
    EXPECT_EQ(clone->GetAt(1)->GetParent(), clone.get());
    EXPECT_EQ(clone->GetPaper(), (IntSize{640, 480}));
    EXPECT_EQ(clone->GetProgIdType(), "SEF");
    EXPECT_EQ(clone->GetObjectClass(), "PUMP");
    EXPECT_EQ(clone->GetFormName(), "TYPE:=:A");
    EXPECT_TRUE(clone->IsModified());
    EXPECT_EQ(clone->GetTitle(), "");
    EXPECT_EQ(clone->GetHelp(), "");
    EXPECT_EQ(clone->GetUuid(), "");
    EXPECT_FALSE(clone->IsSizeable());
}

TEST(FormProperties, ContainsPropertyLooksAtCaptionsWithoutCase)
{
    CDiagramEntityContainer form;
    AddField(form, "ArtNo", 200, 10, 0);
    EXPECT_TRUE(form.ContainsProperty("ARTNO"));
    EXPECT_FALSE(form.ContainsProperty("NAME"));
}

TEST(FormProperties, UuidIsUpperCaseGuidText)
{
    std::string uuid = CDiagramEntityContainer::CreateUuid();
    ASSERT_EQ(uuid.size(), 36u);
    for (size_t i : {8u, 13u, 18u, 23u})
        EXPECT_EQ(uuid[i], '-');
    for (char c : uuid)
        EXPECT_TRUE(c == '-' || std::isdigit(static_cast<unsigned char>(c)) || (c >= 'A' && c <= 'F')) << uuid;
    EXPECT_NE(uuid, CDiagramEntityContainer::CreateUuid());
}

TEST(FormStyles, ReplaceStyleRepointsElementsAndCaptions)
{
    CEntityStyleContainer styles;
    styles.CreateDefaults();
    CDiagramEntityContainer form;
    form.SetStyleContainer(&styles);
    TestText* text = AddText(form, 0, 0, 10, 10);
    text->SetStyleName("s1");
    auto* field = AddField(form, "ARTNO", 200, 10, 0);
    field->GetDependent()->SetStyleContainer(&styles);
    field->GetDependent()->SetStyleName("s1");

    CEntityStyle* s1 = styles.Find("s1");
    auto renamed = CEntityStyleContainer::CloneStyle(*s1);
    renamed->SetName("title");
    CEntityStyle* replacement = styles.Add(std::move(renamed));
    form.ReplaceStyle(s1, replacement);
    styles.Remove("s1");

    EXPECT_EQ(text->GetStyleName(), "title");
    EXPECT_EQ(field->GetDependent()->GetStyle(), replacement);

    form.ReplaceStyle(replacement, nullptr);
    EXPECT_EQ(text->GetStyle(), nullptr);
}
