// The toolkit-free layers stay toolkit-free, and report bad input by their
// answers instead of exceptions (only the collections throw).

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace {

namespace fs = std::filesystem;

TEST(Layering, NoToolkitHeadersAndOnlyCollectionsThrow)
{
    const std::regex toolkitInclude(R"(#\s*include\s*[<"](wx|gtk|gdk)/)");
    const std::regex throwStatement(R"(\bthrow\s+[A-Za-z_:(]|\bthrow\s*;)");
    const std::regex lineComment(R"(//[^\n]*)");  // prose about throwing does not count
    for (const char* layer : {"services", "render", "model"}) {
        int files = 0;
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(FORMWRIGHT_SOURCE_ROOT) / layer)) {
            const auto ext = entry.path().extension();
            if (ext != ".h" && ext != ".cpp")
                continue;
            ++files;
            const std::string text = fw::test::ReadFile(entry.path().string());
            EXPECT_FALSE(std::regex_search(text, toolkitInclude)) << entry.path();
            const bool mayThrow = entry.path().filename() == "Collection.h";
            EXPECT_TRUE(mayThrow || !std::regex_search(std::regex_replace(text, lineComment, ""), throwStatement))
                << entry.path();
        }
        EXPECT_GT(files, 0) << layer;
    }
}

}  // namespace
