#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(PropertyGrid, FindsItemsAtAnyDepth)
{
    PropertyGrid grid;
    PropertyItem& group = grid.EnsureGroup(3903, "PROP_GRP_SIZE");
    PropertyItem& parent = group.AddSubItem(std::make_unique<PropertyItem>(4100, "parent"));
    parent.AddSubItem(std::make_unique<PropertyItem>(4101, "child", std::int32_t{4}));
    EXPECT_EQ(grid.FindItem(3903), &group);
    EXPECT_EQ(grid.FindItem(4101)->GetTitle(), "child");
    EXPECT_EQ(grid.FindItem(9999), nullptr);
    EXPECT_TRUE(group.IsGroup());
    EXPECT_EQ(&grid.EnsureGroup(3903, "PROP_GRP_SIZE"), &group) << "groups are made once";
    EXPECT_EQ(grid.GetPropertyCount(), 1);
}

TEST(PropertyGrid, MergingMarksDisagreement)
{
    PropertyGrid grid;
    PropertyItem& group = grid.EnsureGroup(3903, "PROP_GRP_SIZE");
    auto created = grid.Merge(group, 1, "T_PROP_TITLE", "H_PROP_TITLE", std::string("a"));
    EXPECT_TRUE(created.created);
    EXPECT_EQ(created.item->GetTitle(), langStr("T_PROP_TITLE"));
    EXPECT_EQ(created.item->GetDescription(), langStr("H_PROP_TITLE"));
    grid.Merge(group, 2, "T_PROP_TITLE", "H_PROP_TITLE", std::string("b"));
    grid.Merge(group, 3, "T_PROP_TITLE", "H_PROP_TITLE", true);
    grid.Merge(group, 4, "T_PROP_TITLE", "H_PROP_TITLE", 2.5);
    grid.Merge(group, 5, "T_PROP_TITLE", "H_PROP_TITLE", std::string("x"), MixedMark::EmptyText);

    auto merged = grid.Merge(group, 1, "T_PROP_TITLE", "H_PROP_TITLE", std::string("A"));
    EXPECT_FALSE(merged.created);
    grid.Merge(group, 2, "T_PROP_TITLE", "H_PROP_TITLE", std::string("b"));
    grid.Merge(group, 3, "T_PROP_TITLE", "H_PROP_TITLE", false);
    grid.Merge(group, 4, "T_PROP_TITLE", "H_PROP_TITLE", 3.0);
    grid.Merge(group, 5, "T_PROP_TITLE", "H_PROP_TITLE", std::string("y"), MixedMark::EmptyText);

    EXPECT_EQ(grid.FindItem(1)->GetText(), "[...]");  // case-sensitive comparison
    EXPECT_EQ(grid.FindItem(2)->GetText(), "b");
    EXPECT_EQ(grid.FindItem(3)->GetValue(), PropertyValue(false));
    EXPECT_EQ(grid.FindItem(3)->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    EXPECT_EQ(grid.FindItem(2)->GetDescription(), langStr("H_PROP_TITLE"));
    EXPECT_EQ(grid.FindItem(4)->GetValue(), PropertyValue(-1.0));
    EXPECT_EQ(grid.FindItem(5)->GetText(), "");
    EXPECT_EQ(group.GetSubItemCount(), 5);
}

TEST(PropertyGrid, EditsAreTrackedAgainstTheOriginal)
{
    PropertyItem item(7, "t", std::int32_t{5});
    EXPECT_FALSE(item.IsModified());
    item.SetValue(std::int32_t{6});
    EXPECT_TRUE(item.IsModified());
    EXPECT_EQ(item.GetOriginalValue(), PropertyValue(std::int32_t{5}));
    item.CommitValue();
    EXPECT_FALSE(item.IsModified());
}
