// Every key the sources hand to the language table literally must have a text
// in each language file, and the language files must carry the same keys.

#include "services/LanguageTable.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <regex>

using namespace fw;

namespace {

namespace fs = std::filesystem;

struct Token {
    enum Kind { Identifier, String, Punctuation } kind;
    std::string text;
    int line;
};

bool isIdentChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || (c >= '0' && c <= '9');
}

// Just enough of C++ to tell code from comments, strings and character literals;
// numbers and character literals give no token.
std::vector<Token> tokenize(std::string_view src)
{
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    auto advanceTo = [&](std::size_t end) {
        for (end = std::min(end, src.size()); i < end; ++i)
            line += src[i] == '\n';
    };
    auto quoted = [&](char quote) {  // i at the opening quote; answers the contents
        std::size_t start = ++i;
        while (i < src.size() && src[i] != quote && src[i] != '\n')
            i += src[i] == '\\' ? 2 : 1;
        std::string text(src.substr(start, std::min(i, src.size()) - start));
        if (i < src.size() && src[i] == quote)
            ++i;
        return text;
    };
    while (i < src.size()) {
        const char c = src[i];
        if (src.compare(i, 2, "//") == 0) {
            i = std::min(src.find('\n', i), src.size());
        } else if (src.compare(i, 2, "/*") == 0) {
            const std::size_t end = src.find("*/", i + 2);
            advanceTo(end == std::string_view::npos ? src.size() : end + 2);
        } else if (isIdentChar(c) && !(c >= '0' && c <= '9')) {
            std::size_t start = i;
            while (i < src.size() && isIdentChar(src[i]))
                ++i;
            std::string word(src.substr(start, i - start));
            const bool quote = i < src.size() && src[i] == '"';
            if (quote && (word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R")) {
                const std::size_t open = src.find('(', i);
                if (open == std::string_view::npos)
                    break;
                std::string close = ")" + std::string(src.substr(i + 1, open - i - 1)) + "\"";
                std::size_t end = std::min(src.find(close, open), src.size());
                tokens.push_back({Token::String, std::string(src.substr(open + 1, end - open - 1)), line});
                advanceTo(end + close.size());
            } else if (quote && (word == "L" || word == "u" || word == "U" || word == "u8")) {
                tokens.push_back({Token::String, quoted('"'), line});
            } else {
                tokens.push_back({Token::Identifier, word, line});
            }
        } else if (c >= '0' && c <= '9') {  // digit separators included (1'000)
            while (i < src.size() && (isIdentChar(src[i]) || src[i] == '.' || src[i] == '\''))
                ++i;
        } else if (c == '"' || c == '\'') {
            std::string text = quoted(c);
            if (c == '"')
                tokens.push_back({Token::String, text, line});
        } else if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            advanceTo(i + 1);
        } else {
            tokens.push_back({Token::Punctuation, std::string(1, c), line});
            ++i;
        }
    }
    return tokens;
}

// The literal keys in calls of langStr, LangText (its wx twin), EnsureGroup and
// Merge. Merge takes its keys as the third and fourth arguments; its later
// arguments are values.
std::vector<Token> scanKeyUses(std::string_view source)
{
    static const std::regex key("[A-Za-z][A-Za-z0-9_]*");
    std::vector<Token> tokens = tokenize(source);
    std::vector<Token> uses;
    for (std::size_t k = 0; k + 1 < tokens.size(); ++k) {
        const std::string& name = tokens[k].text;
        const bool isMerge = name == "Merge";
        if (tokens[k].kind != Token::Identifier || tokens[k + 1].text != "(" ||
            (!isMerge && name != "langStr" && name != "LangText" && name != "EnsureGroup"))
            continue;
        int depth = 0;
        int argument = 0;
        for (std::size_t j = k + 1; j < tokens.size() && (j == k + 1 || depth > 0); ++j) {
            const Token& t = tokens[j];
            if (t.kind == Token::String) {
                if (std::regex_match(t.text, key) && (!isMerge || argument == 2 || argument == 3))
                    uses.push_back(t);
            } else if (t.text == "(" || t.text == "[" || t.text == "{") {
                ++depth;
            } else if (t.text == ")" || t.text == "]" || t.text == "}") {
                --depth;
            } else if (t.text == "," && depth == 1) {
                ++argument;
            }
        }
    }
    return uses;
}

// One message per key that the table lacks.
std::vector<std::string> missingKeys(const std::vector<Token>& uses, const LanguageTable& table,
                                     const std::string& where)
{
    std::vector<std::string> messages;
    for (const Token& use : uses)
        if (!table.has(use.text))
            messages.push_back("key \"" + use.text + "\" used at " + where + ":" + std::to_string(use.line) +
                               " is missing from " + table.language() + ".lang");
    return messages;
}

TEST(LanguageKeyScanner, FindsLiteralKeysInCallsOnly)
{
    const char* source = R"src(
        // langStr("IN_LINE_COMMENT")
        /* EnsureGroup(1, "IN_BLOCK_COMMENT")
           still a comment */
        std::string a = langStr("FIRST_KEY");
        PropertyItem& g = grid.EnsureGroup(3900, "PROP_GRP_POSITION");
        grid.Merge(g, 4004, "T_PROP_HEIGHT", "H_PROP_HEIGHT_CTRL",
                   std::string("ValueText"), MixedMark::Standard);
        ShouldMerge("NOT_A_CALL");
        Merge;
        "langStr(\"INSIDE_STRING\")";
        langStr(flag ? "YES_KEY" : "NO_KEY");
        langStr("not a key");
        langStr("");
        langStr(R"x(RAW_KEY)x");
        langStr(c == '"' ? "AFTER_QUOTE_CHAR" : "lt3712");
        int n = 1'000; langStr(u8"PREFIXED");
    )src";
    std::vector<std::string> keys;
    std::vector<int> lines;
    for (const Token& use : scanKeyUses(source)) {
        keys.push_back(use.text);
        lines.push_back(use.line);
    }
    EXPECT_EQ(keys,
              (std::vector<std::string>{"FIRST_KEY", "PROP_GRP_POSITION", "T_PROP_HEIGHT", "H_PROP_HEIGHT_CTRL",
                                        "YES_KEY", "NO_KEY", "RAW_KEY", "AFTER_QUOTE_CHAR", "lt3712", "PREFIXED"}));
    EXPECT_EQ(lines, (std::vector<int>{5, 6, 7, 7, 12, 12, 15, 16, 16, 17}));
}

// The check must be able to fail: a key the table lacks is reported with its place.
TEST(LanguageKeyScanner, ReportsKeysTheTableLacks)
{
    test::ScratchDir dir;
    LanguageTable table;
    ASSERT_TRUE(table.load(dir.Put("Keys.lang", "KNOWN = text\n")));
    EXPECT_EQ(missingKeys(scanKeyUses("langStr(\"KNOWN\");\nlangStr(\"UNKNOWN\");"), table, "model/X.cpp"),
              (std::vector<std::string>{"key \"UNKNOWN\" used at model/X.cpp:2 is missing from Keys.lang"}));
}

TEST(LanguageFiles, HaveTheSameKeysWithTextsAndEveryKeyTheSourcesUse)
{
    const fs::path root = FORMWRIGHT_SOURCE_ROOT;
    LanguageTable english, german;
    ASSERT_TRUE(english.load((root / "data/lang/English.lang").string()));
    ASSERT_TRUE(german.load((root / "data/lang/German.lang").string()));
    const std::vector<std::string> keys = english.keys(), germanKeys = german.keys();  // sorted
    EXPECT_FALSE(keys.empty());
    std::vector<std::string> onlyEnglish, onlyGerman;
    std::set_difference(keys.begin(), keys.end(), germanKeys.begin(), germanKeys.end(), back_inserter(onlyEnglish));
    std::set_difference(germanKeys.begin(), germanKeys.end(), keys.begin(), keys.end(), back_inserter(onlyGerman));
    EXPECT_EQ(onlyEnglish, std::vector<std::string>{}) << "keys in English.lang but not in German.lang";
    EXPECT_EQ(onlyGerman, std::vector<std::string>{}) << "keys in German.lang but not in English.lang";
    for (const std::string& key : keys)
        EXPECT_FALSE(english.langStr(key).empty() || german.langStr(key).empty()) << key;

    std::size_t keysFound = 0;  // a scanner that finds nothing must not pass
    for (const char* folder :
         {"services", "render", "model", "controls", "editor", "panes", "dialogs", "app", "tools"}) {
        if (!fs::is_directory(root / folder))
            continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root / folder)) {
            std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
                continue;
            const std::vector<Token> uses = scanKeyUses(test::ReadFile(entry.path().string()));
            keysFound += uses.size();
            const std::string where = fs::relative(entry.path(), root).string();
            for (const LanguageTable* table : {&english, &german})
                for (const std::string& message : missingKeys(uses, *table, where))
                    ADD_FAILURE() << message;
        }
    }
    EXPECT_GT(keysFound, 60u);
}

}  // namespace
