// The German help book beside the English one: the same pages, contents and
// contexts, each page translated, and F1 opening it on a German desktop.

#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "gui/AppFixture.h"
#include "services/Environment.h"
#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using namespace fw;
namespace fs = std::filesystem;

namespace {

// The files of a book's project, in order.
std::vector<std::string> BookPages(const fs::path& project)
{
    const std::string text = test::ReadFile(project.string());
    std::vector<std::string> pages;
    const size_t files = text.find("[FILES]");
    EXPECT_NE(files, std::string::npos) << project;
    std::istringstream in(text.substr(files == std::string::npos ? text.size() : files + 7));
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line != "\r")
            pages.push_back(line);
    return pages;
}

// Every value="x.html" of a contents or index file, in order.
std::vector<std::string> Links(const fs::path& file, const std::regex& pattern)
{
    const std::string text = test::ReadFile(file.string());
    std::vector<std::string> links;
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        links.push_back((*it)[1]);
    return links;
}

const std::regex kLocal(R"(name="Local" value="([^"]+)\")");
const std::regex kHref(R"(href="([^"#]+)\")");

TEST(GermanHelpBook, HasEveryPageContentsEntryAndContextOfTheEnglishBook)
{
    const fs::path english = Environment::instance().helpFile("");
    const fs::path book = english.parent_path() / "de" / english.filename();
    ASSERT_TRUE(fs::exists(book)) << book;
    const std::vector<std::string> pages = BookPages(book);
    ASSERT_EQ(pages, BookPages(english));
    const std::set<std::string> known(pages.begin(), pages.end());
    for (const std::string& page : pages) {
        const fs::path german = book.parent_path() / page;
        ASSERT_TRUE(fs::exists(german)) << page;
        const std::string text = test::ReadFile(german.string());
        EXPECT_NE(text, test::ReadFile((english.parent_path() / page).string())) << page << " is not translated";
        for (const std::string& link : Links(german, kHref))
            EXPECT_TRUE(known.count(link)) << page << " links to " << link << ", which the book lacks";
    }
    // The same contents in the same order; the index is sorted by the German words.
    EXPECT_EQ(Links(book.parent_path() / "formwright.hhc", kLocal),
              Links(english.parent_path() / "formwright.hhc", kLocal));
    std::vector<std::string> indexed = Links(book.parent_path() / "formwright.hhk", kLocal);
    std::vector<std::string> englishIndexed = Links(english.parent_path() / "formwright.hhk", kLocal);
    std::sort(indexed.begin(), indexed.end());
    std::sort(englishIndexed.begin(), englishIndexed.end());
    EXPECT_EQ(indexed, englishIndexed);
    for (int context : {600044, 1})
        EXPECT_TRUE(known.count(MainFrame::GetHelpPage(context).ToStdString())) << context;
}

class GermanHelp : public test::AppJourney {
protected:
    GermanHelp() { m_language = "German"; }
};

TEST_F(GermanHelp, F1OpensTheGermanBook)
{
    auto helpWindow = [this]() -> wxTopLevelWindow* {
        for (wxWindow* window : wxTopLevelWindows)
            if (window != m_frame && window->IsShown())
                return dynamic_cast<wxTopLevelWindow*>(window);
        return nullptr;
    };
    test::SendCommand(*m_frame, ID_HELP);
    ASSERT_TRUE(test::WaitFor([&] { return helpWindow() != nullptr; }));
    EXPECT_TRUE(helpWindow()->GetTitle().Contains("Erste Schritte")) << helpWindow()->GetTitle();
    helpWindow()->Close(true);
    test::PumpEvents(50);
}

}  // namespace
