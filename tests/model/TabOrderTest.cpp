#include "model/DiagramEntityContainer.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

using namespace fw;
using fw::test::AddField;
using fw::test::AddText;
using fw::test::TestText;

namespace {

// "name:tab" of every field in list order.
std::string FieldOrder(const CDiagramEntityContainer& form)
{
    std::string out;
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* e = form.GetAt(i);
        if (!e->TakesPartInTabOrder())
            continue;
        if (!out.empty())
            out += " ";
        out += e->GetName() + ":" + std::to_string(e->GetTabIndex());
    }
    return out;
}

}  // namespace

TEST(TabOrder, NextIndexCounter)
{
    CDiagramEntityContainer form;
    EXPECT_EQ(form.GetNextTabIndex(true), 0);
    EXPECT_EQ(form.GetNextTabIndex(true), 1);
    EXPECT_EQ(form.GetNextTabIndex(false), 2);
    EXPECT_FALSE(form.HasTabIndices());

    AddField(form, "A", 0, 0, 7);
    EXPECT_TRUE(form.HasTabIndices());
    form.RecomputeNextTabIndex();
    EXPECT_EQ(form.GetNextTabIndex(false), 8);
}

TEST(TabOrder, InitialOrderFollowsTheList)
{
    CDiagramEntityContainer form;
    AddField(form, "A", 0, 50, -1);
    AddText(form, 0, 0, 10, 10);
    AddField(form, "B", 0, 10, -1);
    form.AssignInitialTabOrder();
    EXPECT_EQ(FieldOrder(form), "A:0 B:1");
    EXPECT_EQ(form.GetAt(2)->GetTabIndex(), -1) << "texts take no part";
    EXPECT_EQ(form.GetNextTabIndex(false), 2);
}

TEST(TabOrder, SortPutsFieldsLastInTabOrder)
{
    CDiagramEntityContainer form;
    AddText(form, 0, 0, 10, 10);
    AddField(form, "P1", 0, 30, 1);
    AddText(form, 0, 0, 10, 10)->SetName("line");
    AddField(form, "P0", 0, 60, 0);
    AddField(form, "DUP", 0, 90, 1);
    form.SortByTabIndex();

    std::vector<std::string> names;
    for (int i = 0; i < form.GetCount(); ++i)
        names.push_back(form.GetAt(i)->GetName());
    // Others (and a field sharing an index) keep their order; fields follow sorted.
    EXPECT_EQ(names, (std::vector<std::string>{"static", "P1", "line", "P0", "DUP", "DUP", "P0", "P1"}));
    EXPECT_EQ(form.GetNextTabIndex(false), 2);
}

TEST(TabOrder, FromPositionsRowByRow)
{
    CDiagramEntityContainer form;
    AddField(form, "RIGHT", 50, 10, 0);
    AddField(form, "LOWER", 0, 11, 1);
    AddField(form, "LEFT", 20, 10, 2);
    form.SetModified(false);
    form.CalcTabOrderByPosition();
    EXPECT_EQ(FieldOrder(form), "LEFT:0 RIGHT:1 LOWER:2");
    EXPECT_TRUE(form.IsModified());
    EXPECT_EQ(form.GetNextTabIndex(false), 3);

    form.SetModified(false);
    form.CalcTabOrderByPosition();
    EXPECT_FALSE(form.IsModified()) << "nothing changed the second time";
}

TEST(TabOrder, FromPositionsNeverLowersTheCounter)
{
    CDiagramEntityContainer form;
    AddField(form, "A", 0, 0, 0);
    form.SetNextTabIndex(10);
    form.CalcTabOrderByPosition();
    EXPECT_EQ(form.GetNextTabIndex(false), 10);
}

TEST(TabOrder, MovingAFieldEarlierShiftsTheRunUp)
{
    CDiagramEntityContainer form;
    AddField(form, "A", 0, 0, 0);
    AddField(form, "B", 0, 0, 1);
    AddField(form, "C", 0, 0, 2);
    AddField(form, "D", 0, 0, 3);
    AddField(form, "E", 0, 0, 5);
    CDiagramEntity* d = form.GetAt(6);
    ASSERT_EQ(d->GetName(), "D");

    // D goes from 3 to 1: B and C make room, A and E stay.
    d->SetTabIndex(1);
    form.ChangeTabIndex(3, 1, d);
    EXPECT_EQ(FieldOrder(form), "A:0 D:1 B:2 C:3 E:5");
    EXPECT_TRUE(form.IsModified());
}

TEST(TabOrder, MovingAFieldLaterShiftsTheOthersDown)
{
    CDiagramEntityContainer form;
    AddField(form, "A", 0, 0, 0);
    AddField(form, "B", 0, 0, 1);
    AddField(form, "C", 0, 0, 2);
    AddField(form, "D", 0, 0, 3);
    CDiagramEntity* a = form.GetAt(0);

    a->SetTabIndex(2);
    form.ChangeTabIndex(0, 2, a);
    EXPECT_EQ(FieldOrder(form), "B:0 C:1 A:2 D:3");
}

TEST(TabOrder, ChangingToAFreeIndexTouchesNothingElse)
{
    CDiagramEntityContainer form;
    AddField(form, "A", 0, 0, 0);
    AddField(form, "B", 0, 0, 4);
    CDiagramEntity* a = form.GetAt(0);
    form.SetModified(false);
    a->SetTabIndex(2);
    form.ChangeTabIndex(0, 2, a);
    EXPECT_EQ(FieldOrder(form), "A:2 B:4");
    EXPECT_FALSE(form.IsModified());
}
