#include "model/PropertyEntries.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

std::vector<PropertyEntryParts> Items(std::vector<std::string> entries)
{
    return SplitPropertyEntries(entries);
}

}  // namespace

TEST(PropertyEntryOrder, CaseInsensitiveOverWholeEntryStableAndShorterFirst)
{
    std::vector<std::string> entries = {"pump;PUMP",   "Article;ARTICLE", "motor;MOTOR",
                                        "Motor;motor", "article;ART2",    "Äpfel;APPLE"};
    SortPropertyEntries(entries);
    // "Article;ARTICLE" and "article;ART2" differ after the ';' ("ARTICLE" > "ART2");
    // the two motors are equal when case is ignored and keep their order,
    // although a case-sensitive order would swap them.
    const std::vector<std::string> expected = {"article;ART2", "Article;ARTICLE", "motor;MOTOR",
                                               "Motor;motor",  "pump;PUMP",       "Äpfel;APPLE"};
    EXPECT_EQ(entries, expected);

    // A shorter name comes before its extension: ' ' < '2' < ';'.
    entries = {"Name2;N2", "Name;N", "name 1;N1"};
    SortPropertyEntries(entries);
    EXPECT_EQ(entries, (std::vector<std::string>{"name 1;N1", "Name2;N2", "Name;N"}));
}

TEST(PropertyEntrySplit, WordsAtSemicolon)
{
    PropertyEntryParts both = SplitPropertyEntry("Pumpe;PUMP");
    EXPECT_EQ(both.localized, "Pumpe");
    EXPECT_EQ(both.internal, "PUMP");
    PropertyEntryParts noLocale = SplitPropertyEntry(";PUMP");
    EXPECT_EQ(noLocale.localized, "");
    EXPECT_EQ(noLocale.internal, "PUMP");
    PropertyEntryParts bare = SplitPropertyEntry("Lonely");
    EXPECT_EQ(bare.localized, "Lonely");
    EXPECT_EQ(bare.internal, "");
}

class PropertyEntrySearchTest : public ::testing::Test {
protected:
    // Matches for "*motor*": 1 (localized), 3 (internal only).
    std::vector<PropertyEntryParts> m_items =
        Items({"Article;ARTICLE", "Motor;DRIVE", "Pump;PUMP", "Gear unit;MOTOR_GEAR", "Valve;VALVE"});
};

TEST_F(PropertyEntrySearchTest, MatchesNameOrValueWithWildCardsIgnoringCase)
{
    EXPECT_EQ(FindPropertyEntry(m_items, "p?mp", -1, EntrySearchWrap::Chooser), 2);
    EXPECT_EQ(FindPropertyEntry(m_items, "motor_*", -1, EntrySearchWrap::Chooser), 3);
    EXPECT_EQ(FindPropertyEntry(m_items, "VAL*", -1, EntrySearchWrap::Inspector), 4);
    // With wild cards the pattern has to cover the whole name; without, the
    // text may stand anywhere in it.
    EXPECT_EQ(FindPropertyEntry(m_items, "ump?", -1, EntrySearchWrap::Chooser), -1);
    EXPECT_EQ(FindPropertyEntry(m_items, "ump", -1, EntrySearchWrap::Chooser), 2);
    EXPECT_EQ(FindPropertyEntry(m_items, "R UN", -1, EntrySearchWrap::Chooser), 3);
    EXPECT_EQ(FindPropertyEntry(m_items, "xyz", -1, EntrySearchWrap::Chooser), -1);
    EXPECT_EQ(FindPropertyEntry({}, "*", -1, EntrySearchWrap::Chooser), -1);
}

TEST_F(PropertyEntrySearchTest, RepeatedSearchCyclesAndWrapsButOnlyTheChooserFindsASoleMatchAgain)
{
    for (EntrySearchWrap wrap : {EntrySearchWrap::Inspector, EntrySearchWrap::Chooser}) {
        PropertyEntrySearch search(wrap);
        EXPECT_EQ(search.Next(m_items, "*motor*"), 1);
        EXPECT_EQ(search.Next(m_items, "*motor*"), 3);
        EXPECT_EQ(search.Next(m_items, "*motor*"), 1);
        EXPECT_EQ(search.Next(m_items, "pump"), 2);
        EXPECT_EQ(search.Next(m_items, "pump"), wrap == EntrySearchWrap::Chooser ? 2 : -1);
        EXPECT_EQ(search.GetLastFound(), 2) << "a miss changes nothing";
    }

    // The next search goes on from the last found.
    PropertyEntrySearch search(EntrySearchWrap::Inspector);
    EXPECT_EQ(search.Next(m_items, "*motor*"), 1);
    EXPECT_EQ(search.Next(m_items, "nothing*"), -1);
    EXPECT_EQ(search.Next(m_items, "*"), 2);
    search.Reset();
    EXPECT_EQ(search.Next(m_items, "*"), 0);
    // A last found beyond a shorter list wraps safely.
    EXPECT_EQ(FindPropertyEntry(m_items, "article", 17, EntrySearchWrap::Inspector), 0);
    EXPECT_EQ(FindPropertyEntry(m_items, "valve", 17, EntrySearchWrap::Chooser), 4);
}
