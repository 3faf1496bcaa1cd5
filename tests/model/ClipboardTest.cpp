#include "model/ClipboardHandler.h"
#include "model/DiagramEntityContainer.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <set>

using namespace fw;
using fw::test::AddField;
using fw::test::AddText;
using fw::test::TestText;

TEST(Clipboard, CopyingOneElementStoresAnOffsetSelectedClone)
{
    CDiagramClipboardHandler clipboard;
    CDiagramEntityContainer form(&clipboard);
    TestText* text = AddText(form, 0, 0, 20, 20);
    text->SetGroup(9);
    form.Copy(text);
    ASSERT_EQ(clipboard.ObjectsInPaste(), 1);
    const CDiagramEntity& copy = *clipboard.GetData()[0];
    EXPECT_EQ(copy.GetRect(), (IntRect{10, 10, 30, 30}));
    EXPECT_TRUE(copy.IsSelected());
    EXPECT_EQ(copy.GetGroup(), 0) << "a single copy is ungrouped";
    EXPECT_FALSE(text->IsSelected());

    form.Copy(nullptr);
    EXPECT_EQ(clipboard.ObjectsInPaste(), 1);
}

TEST(Clipboard, FieldsTravelWithTheirCaptions)
{
    CDiagramClipboardHandler clipboard;
    CDiagramEntityContainer source(&clipboard);
    auto* field = AddField(source, "ARTNO", 200, 10, 0);
    field->Select(true);
    source.CopyAllSelected();
    ASSERT_EQ(clipboard.ObjectsInPaste(), 2);

    CDiagramEntityContainer target(&clipboard);
    target.Paste();
    target.Paste();
    ASSERT_EQ(target.GetCount(), 4);
    for (int i : {0, 2}) {
        const CDiagramEntity* pasted = target.GetAt(i);
        EXPECT_EQ(pasted->GetType(), "editbox");
        EXPECT_EQ(pasted->GetRect(), field->GetRect().Offset(10, 10));
        EXPECT_EQ(pasted->GetDependent(), target.GetAt(i + 1));
        EXPECT_EQ(target.GetAt(i + 1)->GetRect(), field->GetDependent()->GetRect().Offset(10, 10));
        EXPECT_EQ(target.GetAt(i + 1)->GetParent(), &target);
    }
    EXPECT_EQ(clipboard.ObjectsInPaste(), 2) << "the copies stay for another paste";
}

TEST(Clipboard, ACaptionAloneIsNotCopied)
{
    CDiagramEntityContainer form;
    auto* field = AddField(form, "ARTNO", 200, 10, 0);
    field->GetDependent()->Select(true);
    form.CopyAllSelected();
    EXPECT_EQ(form.GetClipboardCount(), 0);
}

TEST(Clipboard, PastedGroupsGetFreshNumbers)
{
    CDiagramEntityContainer form;
    TestText* a = AddText(form, 0, 0, 10, 10);
    TestText* b = AddText(form, 20, 0, 30, 10);
    TestText* c = AddText(form, 40, 0, 50, 10);
    TestText* loose = AddText(form, 60, 0, 70, 10);
    a->SetGroup(3);
    b->SetGroup(3);
    c->SetGroup(5);
    form.SelectAll();
    form.CopyAllSelected();
    EXPECT_EQ(form.GetClipboardCount(), 4);

    form.Paste();
    ASSERT_EQ(form.GetCount(), 8);
    int first = form.GetAt(4)->GetGroup();
    int second = form.GetAt(6)->GetGroup();
    EXPECT_EQ(form.GetAt(5)->GetGroup(), first);
    EXPECT_NE(first, second);
    EXPECT_EQ(form.GetAt(7)->GetGroup(), 0);
    std::set<int> old{3, 5};
    EXPECT_FALSE(old.count(first));
    EXPECT_FALSE(old.count(second));

    // A second paste gets groups of its own again.
    form.Paste();
    EXPECT_NE(form.GetAt(8)->GetGroup(), first);
    EXPECT_EQ(loose->GetGroup(), 0);
}

TEST(Clipboard, FormsWithoutAHandlerUseTheirOwn)
{
    CDiagramEntityContainer a;
    CDiagramEntityContainer b;
    AddText(a, 0, 0, 10, 10)->Select(true);
    a.CopyAllSelected();
    EXPECT_EQ(a.GetClipboardCount(), 1);
    EXPECT_EQ(b.GetClipboardCount(), 0);
    a.ClearClipboard();
    EXPECT_EQ(a.GetClipboardCount(), 0);

    b.Paste();  // nothing to paste
    EXPECT_EQ(b.GetCount(), 0);
}

TEST(Clipboard, CopiesOutliveTheFormTheyCameFrom)
{
    CDiagramClipboardHandler clipboard;
    {
        CDiagramEntityContainer source(&clipboard);
        TestText* a = AddText(source, 0, 0, 10, 10);
        TestText* b = AddText(source, 20, 0, 30, 10);
        a->SetGroup(2);
        b->SetGroup(2);
        source.SelectAll();
        source.CopyAllSelected();
    }
    CDiagramEntityContainer target(&clipboard);
    target.Paste();
    ASSERT_EQ(target.GetCount(), 2);
    target.GetAt(0)->Select(true);  // group select reaches only the target
    EXPECT_TRUE(target.GetAt(1)->IsSelected());
}
