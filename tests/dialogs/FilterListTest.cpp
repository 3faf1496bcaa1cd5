#include "dialogs/FilterList.h"

#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <set>

using namespace fw;

namespace {

// A document's filtered forms by key, refusing what a document refuses.
class FakeForms : public FilterFormOps {
public:
    explicit FakeForms(std::set<std::string> forms) : m_forms(std::move(forms)) {}

    bool AddForm(const std::string& filter) override
    {
        calls.push_back("add " + filter);
        return m_forms.insert(filter).second;
    }
    bool RenameForm(const std::string& newFilter, const std::string& oldName) override
    {
        calls.push_back("rename " + oldName + " -> " + newFilter);
        if (m_forms.count(newFilter) || (!m_forms.count(oldName) && oldName != langStr("FD_DEFAULT")))
            return false;
        m_forms.erase(oldName);
        m_forms.insert(newFilter);
        return true;
    }
    bool CopyForm(const std::string& newFilter, const std::string& sourceName) override
    {
        calls.push_back("copy " + sourceName + " -> " + newFilter);
        if (m_forms.count(newFilter) || (!m_forms.count(sourceName) && sourceName != langStr("FD_DEFAULT")))
            return false;
        m_forms.insert(newFilter);
        return true;
    }
    bool RemoveForm(const std::string& filter) override
    {
        calls.push_back("remove " + filter);
        return m_forms.erase(filter) > 0;
    }

    std::set<std::string> m_forms;
    std::vector<std::string> calls;
};

class FilterListTest : public ::testing::Test {
protected:
    FilterListModel Make(const std::string& current)
    {
        return FilterListModel(
            current, m_filters, m_forms,
            [this](const std::string& preload, std::string& result) {
                preloads.push_back(preload);
                if (answers.empty())
                    return false;
                result = answers.front();
                answers.pop_front();
                return true;
            },
            [this](const std::string& text, const std::string& title) { messages.push_back(title + ": " + text); });
    }

    std::vector<std::string> Entries(std::vector<std::string> filters) const
    {
        filters.insert(filters.begin(), Default());
        return filters;
    }
    static std::string Default() { return langStr("FD_DEFAULT"); }
    static std::string DefaultFormMessage() { return langStr("FLTRDLG_MSG_DLG") + ": " + langStr("FLTRDLG_MSG_0"); }

    const std::vector<std::string> m_filters = {"TYPE:EQUAL:PUMP", "SIZE:GREATER:10", "TYPE:EQUAL:VALVE"};
    FakeForms m_forms{{"TYPE:EQUAL:PUMP", "SIZE:GREATER:10", "TYPE:EQUAL:VALVE"}};
    std::deque<std::string> answers;  // what the definition dialog answers with OK, in turn
    std::vector<std::string> preloads;
    std::vector<std::string> messages;
};

}  // namespace

TEST_F(FilterListTest, OpensWithTheDefaultFormFirstAndSelectsByPrefixIgnoringCase)
{
    ASSERT_NE(Default(), "FD_DEFAULT") << "the language table was not loaded";
    FilterListModel list = Make("type:equal:v");
    EXPECT_EQ(list.GetEntries(), Entries(m_filters));
    EXPECT_EQ(list.GetFilters(), m_filters);
    EXPECT_EQ(list.GetSelection(), 3);

    EXPECT_EQ(Make(Default()).GetSelection(), 0);
    EXPECT_EQ(Make("TYPE:").GetSelection(), 1);  // the first of two that begin so
    EXPECT_EQ(Make("NOTHING").GetSelection(), -1);
}

TEST_F(FilterListTest, NewAndDuplicateAppendSelectAndMirrorTheFilter)
{
    FilterListModel list = Make("TYPE:EQUAL:VALVE");
    answers = {"MATERIAL:EQUAL:STEEL", "TYPE:EQUAL:VALVE||TYPE:EQUAL:PUMP"};
    EXPECT_TRUE(list.New());
    EXPECT_EQ(list.GetSelection(), 4);
    list.SetSelection(3);
    EXPECT_TRUE(list.Duplicate());
    EXPECT_EQ(preloads, (std::vector<std::string>{"", "TYPE:EQUAL:VALVE"}));
    EXPECT_EQ(m_forms.calls, (std::vector<std::string>{"add MATERIAL:EQUAL:STEEL",
                                                       "copy TYPE:EQUAL:VALVE -> TYPE:EQUAL:VALVE||TYPE:EQUAL:PUMP"}));
    EXPECT_EQ(list.GetEntries(), Entries({"TYPE:EQUAL:PUMP", "SIZE:GREATER:10", "TYPE:EQUAL:VALVE",
                                          "MATERIAL:EQUAL:STEEL", "TYPE:EQUAL:VALVE||TYPE:EQUAL:PUMP"}));
    EXPECT_EQ(list.GetFilters().back(), "TYPE:EQUAL:VALVE||TYPE:EQUAL:PUMP");
    EXPECT_EQ(list.GetSelection(), 5);

    // The default form copies the main form under the new filter; its definition opens empty.
    list.SetSelection(0);
    answers = {"STATUS:EQUAL:NEW"};
    EXPECT_TRUE(list.Duplicate());
    EXPECT_EQ(preloads.back(), "");
    EXPECT_EQ(m_forms.calls.back(), "copy " + Default() + " -> STATUS:EQUAL:NEW");
    EXPECT_EQ(list.GetFilters().back(), "STATUS:EQUAL:NEW");
    EXPECT_EQ(list.GetSelection(), 6);
}

// Cancelled, empty, refused by the document, or the same text in another case.
TEST_F(FilterListTest, ADefinitionThatChangesNothingLeavesBothListsUnchanged)
{
    FilterListModel list = Make("SIZE");
    EXPECT_FALSE(list.New());  // cancelled: no answer queued
    answers = {"", "", "size:greater:10"};
    EXPECT_FALSE(list.New());
    EXPECT_FALSE(list.Duplicate());
    EXPECT_FALSE(list.Modify());
    EXPECT_TRUE(m_forms.calls.empty());

    answers = {"TYPE:EQUAL:PUMP", "TYPE:EQUAL:VALVE", "TYPE:EQUAL:PUMP"};
    EXPECT_FALSE(list.New());
    EXPECT_FALSE(list.Modify());
    EXPECT_FALSE(list.Duplicate());
    EXPECT_EQ(m_forms.calls,
              (std::vector<std::string>{"add TYPE:EQUAL:PUMP", "rename SIZE:GREATER:10 -> TYPE:EQUAL:VALVE",
                                        "copy SIZE:GREATER:10 -> TYPE:EQUAL:PUMP"}));
    EXPECT_EQ(list.GetEntries(), Entries(m_filters));
    EXPECT_EQ(list.GetFilters(), m_filters);
    EXPECT_EQ(list.GetSelection(), 2);
}

TEST_F(FilterListTest, ModifyRenamesInPlace)
{
    FilterListModel list = Make("SIZE");
    answers = {"SIZE:GREATER:20"};
    EXPECT_TRUE(list.Modify());
    EXPECT_EQ(preloads, std::vector<std::string>{"SIZE:GREATER:10"});
    EXPECT_EQ(list.GetEntries(), Entries({"TYPE:EQUAL:PUMP", "SIZE:GREATER:20", "TYPE:EQUAL:VALVE"}));
    EXPECT_EQ(list.GetFilters()[1], "SIZE:GREATER:20");
    EXPECT_EQ(list.GetSelection(), 2);
    EXPECT_EQ(m_forms.m_forms, (std::set<std::string>{"TYPE:EQUAL:PUMP", "SIZE:GREATER:20", "TYPE:EQUAL:VALVE"}));
}

TEST_F(FilterListTest, TheDefaultFormCannotBeModifiedOrDeletedAndWithoutSelectionNothingIs)
{
    FilterListModel list = Make(Default());
    answers = {"X:=:1"};
    EXPECT_FALSE(list.Modify());
    EXPECT_FALSE(list.Delete());
    EXPECT_EQ(messages, (std::vector<std::string>{DefaultFormMessage(), DefaultFormMessage()}));

    list.SetSelection(-1);
    EXPECT_FALSE(list.Modify());
    EXPECT_FALSE(list.Duplicate());
    EXPECT_FALSE(list.Delete());
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(preloads.empty());
    EXPECT_TRUE(m_forms.calls.empty());
    EXPECT_EQ(list.GetEntries(), Entries(m_filters));
    list.Accept();
    EXPECT_EQ(list.GetResult(), "");
}

TEST_F(FilterListTest, DeleteRemovesWithoutAskingAndSelectsTheNextEntryOrTheDefaultForm)
{
    FilterListModel list = Make("TYPE:EQUAL:PUMP");
    EXPECT_TRUE(list.Delete());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(list.GetEntries(), Entries({"SIZE:GREATER:10", "TYPE:EQUAL:VALVE"}));
    EXPECT_EQ(list.GetFilters(), (std::vector<std::string>{"SIZE:GREATER:10", "TYPE:EQUAL:VALVE"}));
    EXPECT_EQ(list.GetSelection(), 1);
    EXPECT_EQ(m_forms.m_forms, (std::set<std::string>{"SIZE:GREATER:10", "TYPE:EQUAL:VALVE"}));

    list.SetSelection(2);
    EXPECT_TRUE(list.Delete());
    EXPECT_EQ(list.GetSelection(), 0);
    list.Accept();
    EXPECT_EQ(list.GetResult(), Default());

    // A form the document will not remove stays listed.
    m_forms.m_forms.clear();
    list.SetSelection(1);
    EXPECT_FALSE(list.Delete());
    EXPECT_EQ(list.GetEntries(), Entries({"SIZE:GREATER:10"}));
    EXPECT_EQ(list.GetSelection(), 1);
}

TEST_F(FilterListTest, AcceptAnswersTheSelectedEntryAndKeepsItWithoutSelection)
{
    FilterListModel list = Make("SIZE");
    list.Accept();
    EXPECT_EQ(list.GetResult(), "SIZE:GREATER:10");
    list.SetSelection(-1);
    list.Accept();
    EXPECT_EQ(list.GetResult(), "SIZE:GREATER:10");
    list.SetSelection(7);
    EXPECT_EQ(list.GetSelection(), -1);
}
