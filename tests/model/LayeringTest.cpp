// The toolkit-free layers stay toolkit-free, and report bad input by their
// answers instead of exceptions (only the collections throw).

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> SourcesOf(const std::string& layer)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(FORMWRIGHT_SOURCE_ROOT) / layer)) {
        auto ext = entry.path().extension();
        if (ext == ".h" || ext == ".cpp")
            files.push_back(entry.path());
    }
    return files;
}

std::string Read(const fs::path& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The text without its line comments, so prose about throwing does not count.
std::string CodeOf(const fs::path& path)
{
    static const std::regex lineComment(R"(//[^\n]*)");
    return std::regex_replace(Read(path), lineComment, "");
}

const char* const ToolkitFreeLayers[] = {"services", "render", "model"};

}  // namespace

TEST(Layering, NoToolkitHeadersBelowTheDesktop)
{
    const std::regex toolkitInclude(R"(#\s*include\s*[<"](wx|gtk|gdk)/)");
    for (const char* layer : ToolkitFreeLayers) {
        auto files = SourcesOf(layer);
        EXPECT_FALSE(files.empty()) << layer;
        for (const auto& file : files)
            EXPECT_FALSE(std::regex_search(Read(file), toolkitInclude)) << file;
    }
}

TEST(Layering, OnlyCollectionsThrow)
{
    const std::regex throwStatement(R"(\bthrow\s+[A-Za-z_:(]|\bthrow\s*;)");
    for (const char* layer : ToolkitFreeLayers) {
        for (const auto& file : SourcesOf(layer)) {
            if (file.filename() != "Collection.h") {
                EXPECT_FALSE(std::regex_search(CodeOf(file), throwStatement)) << file;
            }
        }
    }
}
