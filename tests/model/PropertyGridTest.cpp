#include "model/PropertyGrid.h"
#include "services/LanguageTable.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(PropertyGrid, GroupsAreMadeOnceAndItemsFoundAtAnyDepth)
{
    PropertyGrid grid;
    PropertyItem& group = grid.EnsureGroup(3903, "PROP_GRP_SIZE");
    PropertyItem& parent = group.AddSubItem(std::make_unique<PropertyItem>(4100, "parent"));
    parent.AddSubItem(std::make_unique<PropertyItem>(4101, "child", std::int32_t{4}));
    EXPECT_EQ(grid.FindItem(3903), &group);
    EXPECT_EQ(grid.FindItem(4101)->GetTitle(), "child");
    EXPECT_EQ(grid.FindItem(9999), nullptr);
    EXPECT_EQ(&grid.EnsureGroup(3903, "PROP_GRP_SIZE"), &group);
    EXPECT_EQ(grid.GetPropertyCount(), 1);

    PropertyItem item(7, "t", std::int32_t{5});
    item.SetValue(std::int32_t{6});
    EXPECT_TRUE(item.IsModified());
    EXPECT_EQ(item.GetOriginalValue(), PropertyValue(std::int32_t{5}));
    item.CommitValue();
    EXPECT_FALSE(item.IsModified());
}

TEST(PropertyGrid, MergingMarksDisagreement)
{
    PropertyGrid grid;
    PropertyItem& group = grid.EnsureGroup(3903, "PROP_GRP_SIZE");
    auto merge = [&](int id, PropertyValue value, MixedMark mark = MixedMark::Standard) {
        return grid.Merge(group, id, "T_PROP_TITLE", "H_PROP_TITLE", std::move(value), mark);
    };
    auto created = merge(1, std::string("a"));
    EXPECT_TRUE(created.created);
    EXPECT_EQ(created.item->GetTitle(), langStr("T_PROP_TITLE"));
    merge(2, std::string("b"));
    merge(3, true);
    merge(4, 2.5);
    merge(5, std::string("x"), MixedMark::EmptyText);
    EXPECT_FALSE(merge(1, std::string("A")).created);
    merge(2, std::string("b"));
    merge(3, false);
    merge(4, 3.0);
    merge(5, std::string("y"), MixedMark::EmptyText);

    EXPECT_EQ(grid.FindItem(1)->GetText(), "[...]");  // case-sensitive comparison
    EXPECT_EQ(grid.FindItem(2)->GetText(), "b");
    EXPECT_EQ(grid.FindItem(2)->GetDescription(), langStr("H_PROP_TITLE"));
    EXPECT_EQ(grid.FindItem(3)->GetValue(), PropertyValue(false));
    EXPECT_EQ(grid.FindItem(3)->GetDescription(), langStr("MSG_MULTIPLE_BOOLVALUES"));
    EXPECT_EQ(grid.FindItem(4)->GetValue(), PropertyValue(-1.0));
    EXPECT_EQ(grid.FindItem(5)->GetText(), "");
    EXPECT_EQ(group.GetSubItemCount(), 5);
}
