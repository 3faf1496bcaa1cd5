#include "model/ClipboardHandler.h"
#include "model/DiagramEntityContainer.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;
using fw::test::AddField;
using fw::test::AddText;

TEST(Clipboard, CopiesAreOffsetSelectedUngroupedAndTakeCaptionsAlong)
{
    CDiagramClipboardHandler clipboard;
    IntRect field, caption;
    {
        CDiagramEntityContainer source(&clipboard);
        CDiagramEntity* text = AddText(source, 0, 0, 20, 20);
        text->SetGroup(9);
        source.Copy(text);
        ASSERT_EQ(clipboard.ObjectsInPaste(), 1);
        const CDiagramEntity& copy = *clipboard.GetData()[0];
        EXPECT_EQ(copy.GetRect(), (IntRect{10, 10, 30, 30}));
        EXPECT_TRUE(copy.IsSelected());
        EXPECT_EQ(copy.GetGroup(), 0);
        EXPECT_FALSE(text->IsSelected());
        source.Copy(nullptr);
        EXPECT_EQ(clipboard.ObjectsInPaste(), 1);

        CDiagramEntity* original = AddField(source, "ARTNO", 200, 10, 0);
        field = original->GetRect();
        caption = original->GetDependent()->GetRect();
        source.UnselectAll();
        original->GetDependent()->Select(true);
        source.CopyAllSelected();
        EXPECT_EQ(clipboard.ObjectsInPaste(), 0) << "a caption is not copied alone";
        original->Select(true);
        source.CopyAllSelected();
        ASSERT_EQ(clipboard.ObjectsInPaste(), 2);
    }
    CDiagramEntityContainer target(&clipboard);  // the copies outlive their form
    target.Paste();
    target.Paste();  // and stay for another paste
    ASSERT_EQ(target.GetCount(), 4);
    for (int i : {0, 2}) {
        EXPECT_EQ(target.GetAt(i)->GetRect(), field.Offset(10, 10));
        EXPECT_EQ(target.GetAt(i)->GetDependent(), target.GetAt(i + 1));
        EXPECT_EQ(target.GetAt(i + 1)->GetRect(), caption.Offset(10, 10));
        EXPECT_EQ(target.GetAt(i + 1)->GetParent(), &target);
        EXPECT_EQ(target.GetAt(i)->GetTabIndex(), i / 2) << "each pasted field takes the next free tab number";
    }
}

TEST(Clipboard, PastedGroupsGetFreshNumbers)
{
    CDiagramEntityContainer form;  // without a handler a form uses its own
    AddText(form, 0, 0, 10, 10)->SetGroup(3);
    AddText(form, 20, 0, 30, 10)->SetGroup(3);
    AddText(form, 40, 0, 50, 10)->SetGroup(5);
    CDiagramEntity* loose = AddText(form, 60, 0, 70, 10);
    form.SelectAll();
    form.CopyAllSelected();
    EXPECT_EQ(form.GetClipboardCount(), 4);
    EXPECT_EQ(CDiagramEntityContainer().GetClipboardCount(), 0);

    form.Paste();
    ASSERT_EQ(form.GetCount(), 8);
    const int first = form.GetAt(4)->GetGroup();
    const int second = form.GetAt(6)->GetGroup();
    EXPECT_EQ(form.GetAt(5)->GetGroup(), first);
    EXPECT_NE(first, second);
    for (int group : {first, second})
        EXPECT_TRUE(group != 0 && group != 3 && group != 5) << group;
    EXPECT_EQ(form.GetAt(7)->GetGroup(), 0);
    EXPECT_EQ(loose->GetGroup(), 0);
    form.UnselectAll();
    form.GetAt(4)->Select(true);  // the pasted group selects together, apart from the original
    EXPECT_EQ(form.GetSelectedCount(), 2);
    form.Paste();  // a second paste gets groups of its own again
    EXPECT_NE(form.GetAt(8)->GetGroup(), first);
    form.ClearClipboard();
    EXPECT_EQ(form.GetClipboardCount(), 0);
}
