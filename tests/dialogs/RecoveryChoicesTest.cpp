#include "dialogs/RecoveryChoices.h"

#include "services/LanguageTable.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

RecoveryEntry Entry(const std::string& original, const std::string& name)
{
    RecoveryEntry entry;
    entry.copyPath = "/state/" + name;
    entry.record.original = original;
    entry.record.name = name;
    entry.record.forms = 3;
    return entry;
}

TEST(RecoveryChoices, DecidedRowsLeaveTheListAndTheRestAreForLater)
{
    ASSERT_TRUE(LanguageTable::instance().loadLanguage("English"));
    RecoveryChoices choices({Entry("/forms/PUMP_Main.xml", "PUMP_Main.xml"), Entry("", "VALVE_Main.xml"),
                             Entry("/f/A_Main.xml", "A_Main.xml")});
    EXPECT_EQ(choices.GetFileText(1), "VALVE_Main.xml (never saved)");
    choices.Decide({2, 2, 0}, RecoveryChoices::Choice::Restore);
    ASSERT_EQ(choices.GetRowCount(), 1);
    EXPECT_EQ(choices.GetFileText(0), "VALVE_Main.xml (never saved)");
    choices.Decide({0, 5}, RecoveryChoices::Choice::Discard);
    EXPECT_EQ(choices.GetRowCount(), 0);

    const auto decisions = choices.GetDecisions();
    ASSERT_EQ(decisions.size(), 3u);
    EXPECT_EQ(decisions[0].second, RecoveryChoices::Choice::Restore);
    EXPECT_EQ(decisions[1].second, RecoveryChoices::Choice::Discard);
    EXPECT_EQ(decisions[2].second, RecoveryChoices::Choice::Restore);
    EXPECT_EQ(decisions[2].first.copyPath, "/state/A_Main.xml");
}

}  // namespace
