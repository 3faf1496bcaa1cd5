#include "model/DiagramEntityContainer.h"
#include "services/Xml.h"
#include "support/TestElements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <regex>
#include <vector>

using namespace fw;
using fw::test::AddField;
using fw::test::AddText;

namespace {

// "name:tab" of every field in list order.
std::string FieldOrder(const CDiagramEntityContainer& form)
{
    std::string out;
    for (int i = 0; i < form.GetCount(); ++i) {
        const CDiagramEntity* e = form.GetAt(i);
        if (e->TakesPartInTabOrder())
            out += (out.empty() ? "" : " ") + e->GetName() + ":" + std::to_string(e->GetTabIndex());
    }
    return out;
}

}  // namespace

TEST(TabOrder, NextIndexCounterAndInitialOrder)
{
    CDiagramEntityContainer form;
    EXPECT_EQ(form.GetNextTabIndex(true), 0);
    EXPECT_EQ(form.GetNextTabIndex(false), 1);
    EXPECT_FALSE(form.HasTabIndices());
    AddField(form, "A", 0, 50, -1);
    AddText(form, 0, 0, 10, 10);
    AddField(form, "B", 0, 10, 7);
    EXPECT_TRUE(form.HasTabIndices());
    form.RecomputeNextTabIndex();
    EXPECT_EQ(form.GetNextTabIndex(false), 8);
    form.AssignInitialTabOrder();  // follows the list, texts take no part
    EXPECT_EQ(FieldOrder(form), "A:0 B:1");
    EXPECT_EQ(form.GetAt(2)->GetTabIndex(), -1);
    EXPECT_EQ(form.GetNextTabIndex(false), 2);
}

// Each save sorts before writing: every element that takes no part, and every
// field whose number an earlier field holds, keeps its list order; then comes
// the first field of each number, by number. A tie therefore swaps at every
// save, as the second round shows.
TEST(TabOrder, SaveSortsByNumberWhateverTheTies)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        CDiagramEntityContainer form;
        const int count = 1 + static_cast<int>(random() % 30);
        const int numbers[] = {-1, 0, 1, 2, 3, 7, INT_MIN, INT_MAX};
        for (int i = 0; i < count; ++i) {
            const std::string name = std::to_string(i);
            if (random() % 3 == 0)
                AddText(form, 0, 0, 10, 10)->SetTitle("T" + name);
            else
                AddField(form, "F" + name, 0, 0, numbers[random() % (seed % 2 ? 8 : 3)]);
        }
        for (int round = 0; round < 2; ++round) {
            std::map<int, CDiagramEntity*> first;
            std::vector<CDiagramEntity*> expected;
            int largest = -1;
            for (int i = 0; i < form.GetCount(); ++i) {
                CDiagramEntity* e = form.GetAt(i);
                if (e->TakesPartInTabOrder()) {
                    largest = std::max(largest, e->GetTabIndex());
                    if (first.emplace(e->GetTabIndex(), e).second)
                        continue;
                }
                expected.push_back(e);
            }
            std::string written;
            for (const auto& [number, field] : first)
                expected.push_back(field);
            for (CDiagramEntity* e : expected)
                if (!e->IsDependentPart())
                    written += (e->TakesPartInTabOrder() ? e->GetName() : e->GetTitle()) + " ";

            XmlWriter writer;
            form.SetXmlWriter(&writer);
            form.WriteControls();
            std::vector<CDiagramEntity*> order;
            for (int i = 0; i < form.GetCount(); ++i)
                order.push_back(form.GetAt(i));
            EXPECT_EQ(order, expected) << "seed " << seed << " round " << round;
            static const std::regex id(R"re((?:name|title)="([^"]*)")re");
            std::string ids;
            for (std::sregex_iterator it(writer.text().begin(), writer.text().end(), id), end; it != end; ++it)
                ids += (*it)[1].str() + " ";
            EXPECT_EQ(ids, written) << "seed " << seed << " round " << round;
            EXPECT_EQ(form.GetNextTabIndex(false), largest < INT_MAX ? largest + 1 : INT_MAX);
        }
    }
}

TEST(TabOrder, SortByPosition)
{
    CDiagramEntityContainer rows;
    AddField(rows, "RIGHT", 50, 10, 0);
    AddField(rows, "LOWER", 0, 11, 1);
    AddField(rows, "LEFT", 20, 10, 2);
    AddField(rows, "AGAIN", 50, 10, 1);  // at RIGHT's place: numbered after it, never left sharing
    rows.SetModified(false);
    rows.CalcTabOrderByPosition();
    EXPECT_EQ(FieldOrder(rows), "LEFT:0 RIGHT:1 AGAIN:2 LOWER:3");
    EXPECT_TRUE(rows.IsModified());
    EXPECT_EQ(rows.GetNextTabIndex(false), 4);
    rows.SetModified(false);
    rows.CalcTabOrderByPosition();
    EXPECT_FALSE(rows.IsModified()) << "nothing changed the second time";
    rows.SetNextTabIndex(10);
    rows.CalcTabOrderByPosition();
    EXPECT_EQ(rows.GetNextTabIndex(false), 10) << "the counter is never lowered";
}

TEST(TabOrder, ChangeTabIndexShiftsTheRunBetween)
{
    struct Case {
        int field, from, to;
        const char* expected;
        bool modified;
    };
    // D moving up: B and C make room, A and E stay; A moving down: the others move
    // back; E moving to a free index touches nothing else.
    const Case cases[] = {
        {3, 3, 1, "A:0 D:1 B:2 C:3 E:5", true},
        {0, 0, 2, "B:0 C:1 A:2 D:3 E:5", true},
        {4, 5, 4, "A:0 B:1 C:2 D:3 E:4", false},
    };
    for (const Case& c : cases) {
        CDiagramEntityContainer form;
        const int tabs[] = {0, 1, 2, 3, 5};
        for (int i = 0; i < 5; ++i)
            AddField(form, std::string(1, static_cast<char>('A' + i)), 0, 0, tabs[i]);
        CDiagramEntity* moved = form.GetAt(2 * c.field);  // each field has its caption after it
        form.SetModified(false);
        moved->SetTabIndex(c.to);
        form.ChangeTabIndex(c.from, c.to, moved);
        EXPECT_EQ(FieldOrder(form), c.expected) << moved->GetName();
        EXPECT_EQ(form.IsModified(), c.modified) << moved->GetName();
    }
}
