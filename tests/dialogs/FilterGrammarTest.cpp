#include "dialogs/FilterGrammar.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

const std::vector<ConditionRow> kPumpOrValveAndSize = {
    {"TYPE", "EQUAL", "PUMP", "||"},
    {"TYPE", "EQUAL", "VALVE", "&"},
    {"SIZE", "GREATER", "10", ""},
};

}  // namespace

TEST(FilterGrammar, OffersOperatorsAndConnectorsInOrder)
{
    EXPECT_EQ(FilterOperators(), (std::vector<std::string>{"=", "EQUAL", "LESS", "GREATER", "NOTEQUAL",
                                                           "GREATEROREQUAL", "LESSOREQUAL", "LIKE", "NOTLIKE"}));
    EXPECT_EQ(FilterConnectors(), (std::vector<std::string>{"||", "&", ""}));
}

TEST(FilterGrammar, RowsBuildTheFilterAndParseBack)
{
    const std::string filter = BuildFilter(kPumpOrValveAndSize);
    EXPECT_EQ(filter, "TYPE:EQUAL:PUMP||TYPE:EQUAL:VALVE&SIZE:GREATER:10");
    EXPECT_EQ(ParseFilter(filter), kPumpOrValveAndSize);
    EXPECT_EQ(FilterRowTexts(filter),
              (std::vector<std::string>{"TYPE:EQUAL:PUMP:||", "TYPE:EQUAL:VALVE:&", "SIZE:GREATER:10"}));
}

TEST(FilterGrammar, BuildingDropsATrailingConnectorAndJoinsOnEmptyOnes)
{
    std::vector<ConditionRow> rows = {{"A", "=", "1", "&"}};
    EXPECT_EQ(BuildFilter(rows), "A:=:1");
    rows = {{"A", "=", "1", ""}, {"B", "LIKE", "x*", "||"}};
    EXPECT_EQ(BuildFilter(rows), "A:=:1B:LIKE:x*");
    // Rows lacking operator or value give empty words; nothing is validated.
    rows = {{"A", "", "", "||"}, {"B", "EQUAL", "", ""}};
    EXPECT_EQ(BuildFilter(rows), "A::||B:EQUAL:");
    EXPECT_EQ(BuildFilter({}), "");
}

TEST(FilterGrammar, RunsOfSeparatorsSeparateOnce)
{
    EXPECT_EQ(SplitAtRuns("::a:::b:", ":"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitAtRuns("", ":"), std::vector<std::string>{});
    EXPECT_EQ(SplitAtRuns("|||", "|"), std::vector<std::string>{});

    // "|||" and "&&" between conditions give no empty rows.
    EXPECT_EQ(ParseFilter("A:=:1|||B:=:2&&C:=:3"),
              (std::vector<ConditionRow>{{"A", "=", "1", "||"}, {"B", "=", "2", "&"}, {"C", "=", "3", ""}}));
    // A doubled colon does not leave an empty operator: the value moves up.
    EXPECT_EQ(ParseFilter("A::1"), (std::vector<ConditionRow>{{"A", "1", "", ""}}));
    // Leading and trailing separators are dropped.
    EXPECT_EQ(ParseFilter("&A:=:1||"), (std::vector<ConditionRow>{{"A", "=", "1", ""}}));
    EXPECT_EQ(ParseFilter(""), std::vector<ConditionRow>{});
}

TEST(FilterGrammar, ParsingTrimsOnlyTheAttribute)
{
    EXPECT_EQ(ParseFilter(" TYPE :EQUAL: PUMP "), (std::vector<ConditionRow>{{"TYPE", "EQUAL", " PUMP ", ""}}));
}

TEST(FilterGrammar, ShortConditionsShiftTheConnectorIntoTheirWords)
{
    // The row text is split again, so a condition without value lends its
    // place to the connector, as the list has always shown it.
    EXPECT_EQ(ParseFilter("A:EQUAL||B:=:2"),
              (std::vector<ConditionRow>{{"A", "EQUAL", "||", ""}, {"B", "=", "2", ""}}));
    // Text with a separator inside cannot be represented: it splits there.
    EXPECT_EQ(ParseFilter("NAME:LIKE:a|b"),
              (std::vector<ConditionRow>{{"NAME", "LIKE", "a", "||"}, {"b", "", "", ""}}));
}
