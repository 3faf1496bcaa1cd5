#include "dialogs/FilterGrammar.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace fw;

namespace fw {
void PrintTo(const ConditionRow& row, std::ostream* out)
{
    *out << "{" << row.attribute << " | " << row.op << " | " << row.value << " | " << row.connector << "}";
}
}  // namespace fw

namespace {

const std::vector<ConditionRow> kPumpOrValveAndSize = {
    {"TYPE", "EQUAL", "PUMP", "||"},
    {"TYPE", "EQUAL", "VALVE", "&"},
    {"SIZE", "GREATER", "10", ""},
};

}  // namespace

TEST(FilterGrammar, RowsBuildTheFilterAndParseBack)
{
    const std::string filter = BuildFilter(kPumpOrValveAndSize);
    EXPECT_EQ(filter, "TYPE:EQUAL:PUMP||TYPE:EQUAL:VALVE&SIZE:GREATER:10");
    EXPECT_EQ(ParseFilter(filter), kPumpOrValveAndSize);
}

TEST(FilterGrammar, BuildingDropsATrailingConnectorAndFindsRowsNotJoined)
{
    std::vector<ConditionRow> rows = {{"A", "=", "1", "&"}};
    EXPECT_EQ(BuildFilter(rows), "A:=:1");
    EXPECT_EQ(FirstUnjoinedRow(rows), -1);
    // Rows lacking operator or value give empty words; nothing is validated.
    rows = {{"A", "", "", "||"}, {"B", "EQUAL", "", ""}};
    EXPECT_EQ(BuildFilter(rows), "A::||B:EQUAL:");
    EXPECT_EQ(FirstUnjoinedRow(rows), -1);
    EXPECT_EQ(BuildFilter({}), "");
    EXPECT_EQ(FirstUnjoinedRow({}), -1);
    // Without a connector two conditions would run together.
    rows = {{"A", "=", "1", "&"}, {"B", "LIKE", "x*", ""}, {"C", "=", "2", ""}, {"D", "=", "3", ""}};
    EXPECT_EQ(FirstUnjoinedRow(rows), 1);
    EXPECT_EQ(FirstUnjoinedRow(ParseFilter("A:=:1||B:=:2&C:=:3")), -1);
}

TEST(FilterGrammar, RunsOfSeparatorsSeparateOnce)
{
    EXPECT_EQ(SplitAtRuns("::a:::b:", ":"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitAtRuns("", ":"), std::vector<std::string>{});
    EXPECT_EQ(SplitAtRuns("|||", "|"), std::vector<std::string>{});

    // "|||" and "&&" between conditions give no empty rows.
    EXPECT_EQ(ParseFilter("A:=:1|||B:=:2&&C:=:3"),
              (std::vector<ConditionRow>{{"A", "=", "1", "||"}, {"B", "=", "2", "&"}, {"C", "=", "3", ""}}));
    // Leading and trailing separators are dropped, and so is the connector
    // towards a group that holds nothing.
    EXPECT_EQ(ParseFilter("&A:=:1||"), (std::vector<ConditionRow>{{"A", "=", "1", ""}}));
    EXPECT_EQ(ParseFilter("A:=:1&||"), (std::vector<ConditionRow>{{"A", "=", "1", ""}}));
    EXPECT_EQ(ParseFilter(""), std::vector<ConditionRow>{});
}

TEST(FilterGrammar, ParsingTrimsOnlyTheAttribute)
{
    EXPECT_EQ(ParseFilter(" TYPE :EQUAL: PUMP "), (std::vector<ConditionRow>{{"TYPE", "EQUAL", " PUMP ", ""}}));
}

TEST(FilterGrammar, ConditionsSplitAtTheirFirstTwoColonsOnly)
{
    const std::string filter = "TIME:GREATER:10:30||URL:LIKE:http://x/*&A::1||B:EQUAL:";
    const std::vector<ConditionRow> rows = {{"TIME", "GREATER", "10:30", "||"},
                                            {"URL", "LIKE", "http://x/*", "&"},
                                            {"A", "", "1", "||"},
                                            {"B", "EQUAL", "", ""}};
    EXPECT_EQ(ParseFilter(filter), rows);
    EXPECT_EQ(BuildFilter(rows), filter);
    // Missing words stay empty; the connector never moves into them.
    EXPECT_EQ(ParseFilter("A:EQUAL||B"), (std::vector<ConditionRow>{{"A", "EQUAL", "", "||"}, {"B", "", "", ""}}));
    // "|" and "&" still separate wherever they stand.
    EXPECT_EQ(ParseFilter("NAME:LIKE:a|b"),
              (std::vector<ConditionRow>{{"NAME", "LIKE", "a", "||"}, {"b", "", "", ""}}));
}
