// Every key the sources hand to the language table literally must have a text
// in each language file, and the language files must carry the same keys.

#include "services/LanguageTable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <unistd.h>

namespace fw {
namespace {

namespace fs = std::filesystem;

struct KeyUse {
    std::string key;
    int line;
};

struct Token {
    enum Kind { Identifier, String, Punctuation, Other } kind;
    std::string text;
    int line;
};

bool isIdentStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isIdentChar(char c)
{
    return isIdentStart(c) || (c >= '0' && c <= '9');
}

bool looksLikeKey(const std::string& text)
{
    if (text.empty() || !((text[0] >= 'A' && text[0] <= 'Z') || (text[0] >= 'a' && text[0] <= 'z')))
        return false;
    for (char c : text)
        if (!isIdentChar(c))
            return false;
    return true;
}

// Just enough of C++ to tell code from comments, strings and character literals.
std::vector<Token> tokenize(std::string_view src)
{
    std::vector<Token> tokens;
    int line = 1;
    std::size_t i = 0;
    auto advanceTo = [&](std::size_t end) {
        for (; i < end && i < src.size(); ++i)
            if (src[i] == '\n')
                ++line;
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
        char c = src[i];
        if (c == '\n') {
            ++line;
            ++i;
        } else if (src.compare(i, 2, "//") == 0) {
            std::size_t end = src.find('\n', i);
            i = end == std::string_view::npos ? src.size() : end;
        } else if (src.compare(i, 2, "/*") == 0) {
            std::size_t end = src.find("*/", i + 2);
            advanceTo(end == std::string_view::npos ? src.size() : end + 2);
        } else if (isIdentStart(c)) {
            std::size_t start = i;
            while (i < src.size() && isIdentChar(src[i]))
                ++i;
            std::string word(src.substr(start, i - start));
            bool raw = word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R";
            bool prefix = word == "L" || word == "u" || word == "U" || word == "u8";
            if (i < src.size() && src[i] == '"' && raw) {
                std::size_t open = src.find('(', i);
                if (open == std::string_view::npos)
                    break;
                std::string close = ")" + std::string(src.substr(i + 1, open - i - 1)) + "\"";
                std::size_t end = src.find(close, open);
                if (end == std::string_view::npos)
                    end = src.size();
                int startLine = line;
                std::string text(src.substr(open + 1, end - open - 1));
                advanceTo(end + close.size());
                tokens.push_back({Token::String, text, startLine});
            } else if (i < src.size() && src[i] == '"' && prefix) {
                tokens.push_back({Token::String, quoted('"'), line});
            } else {
                tokens.push_back({Token::Identifier, word, line});
            }
        } else if (c >= '0' && c <= '9') {
            // Numbers, digit separators included (1'000).
            while (i < src.size() && (isIdentChar(src[i]) || src[i] == '.' || src[i] == '\''))
                ++i;
            tokens.push_back({Token::Other, "0", line});
        } else if (c == '"') {
            tokens.push_back({Token::String, quoted('"'), line});
        } else if (c == '\'') {
            quoted('\'');
            tokens.push_back({Token::Other, "'", line});
        } else if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
        } else {
            tokens.push_back({Token::Punctuation, std::string(1, c), line});
            ++i;
        }
    }
    return tokens;
}

// The literal keys in calls of langStr, EnsureGroup and Merge. Merge takes its
// keys as the third and fourth arguments; its later arguments are values.
std::vector<KeyUse> scanKeyUses(std::string_view source)
{
    std::vector<Token> tokens = tokenize(source);
    std::vector<KeyUse> uses;
    for (std::size_t k = 0; k + 1 < tokens.size(); ++k) {
        const Token& name = tokens[k];
        if (name.kind != Token::Identifier || tokens[k + 1].text != "(")
            continue;
        bool isMerge = name.text == "Merge";
        if (!isMerge && name.text != "langStr" && name.text != "EnsureGroup")
            continue;
        int depth = 0;
        int argument = 0;
        for (std::size_t j = k + 1; j < tokens.size(); ++j) {
            const Token& t = tokens[j];
            if (t.kind == Token::Punctuation) {
                if (t.text == "(" || t.text == "[" || t.text == "{")
                    ++depth;
                else if (t.text == ")" || t.text == "]" || t.text == "}")
                    --depth;
                else if (t.text == "," && depth == 1)
                    ++argument;
                if (depth == 0)
                    break;
            } else if (t.kind == Token::String && looksLikeKey(t.text)) {
                if (!isMerge || argument == 2 || argument == 3)
                    uses.push_back({t.text, t.line});
            }
        }
    }
    return uses;
}

std::vector<std::string> keysOf(const std::vector<KeyUse>& uses)
{
    std::vector<std::string> keys;
    for (const KeyUse& use : uses)
        keys.push_back(use.key);
    return keys;
}

// One message per key that the table lacks.
std::vector<std::string> missingKeys(const std::vector<KeyUse>& uses, const LanguageTable& table,
                                     const std::string& where)
{
    std::vector<std::string> messages;
    for (const KeyUse& use : uses)
        if (!table.has(use.key))
            messages.push_back("key \"" + use.key + "\" used at " + where + ":" + std::to_string(use.line) +
                               " is missing from " + table.language() + ".lang");
    return messages;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
    std::vector<KeyUse> uses = scanKeyUses(source);
    EXPECT_EQ(keysOf(uses),
              (std::vector<std::string>{"FIRST_KEY", "PROP_GRP_POSITION", "T_PROP_HEIGHT", "H_PROP_HEIGHT_CTRL",
                                        "YES_KEY", "NO_KEY", "RAW_KEY", "AFTER_QUOTE_CHAR", "lt3712", "PREFIXED"}));
    ASSERT_GE(uses.size(), 4u);
    EXPECT_EQ(uses[0].line, 5);
    EXPECT_EQ(uses[3].line, 7);
}

TEST(LanguageKeyScanner, ReportsKeysTheTableLacks)
{
    fs::path file = fs::temp_directory_path() / ("fw-keys-" + std::to_string(::getpid()) + ".lang");
    std::ofstream(file) << "KNOWN = text\n";
    LanguageTable table;
    ASSERT_TRUE(table.load(file.string()));
    fs::remove(file);

    std::vector<std::string> messages =
        missingKeys(scanKeyUses("langStr(\"KNOWN\");\nlangStr(\"UNKNOWN\");"), table, "model/X.cpp");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find("\"UNKNOWN\""), std::string::npos);
    EXPECT_NE(messages[0].find("model/X.cpp:2"), std::string::npos);
}

class LanguageFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        const fs::path lang = m_root / "data" / "lang";
        ASSERT_TRUE(m_english.load((lang / "English.lang").string()));
        ASSERT_TRUE(m_german.load((lang / "German.lang").string()));
    }

    const fs::path m_root = FORMWRIGHT_SOURCE_ROOT;
    LanguageTable m_english;
    LanguageTable m_german;
};

TEST_F(LanguageFiles, EveryKeyUsedInTheSourcesHasTexts)
{
    const char* folders[] = {"services", "render", "model", "controls", "editor", "panes", "dialogs", "app", "tools"};
    int filesScanned = 0;
    for (const char* folder : folders) {
        fs::path dir = m_root / folder;
        if (!fs::is_directory(dir))
            continue;
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(dir)) {
            std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
                continue;
            ++filesScanned;
            std::vector<KeyUse> uses = scanKeyUses(readFile(entry.path()));
            std::string where = fs::relative(entry.path(), m_root).string();
            for (const LanguageTable* table : {&m_english, &m_german})
                for (const std::string& message : missingKeys(uses, *table, where))
                    ADD_FAILURE() << message;
        }
    }
    EXPECT_GT(filesScanned, 0);
}

TEST_F(LanguageFiles, BothLanguagesHaveTheSameKeys)
{
    std::vector<std::string> english = m_english.keys();
    std::vector<std::string> german = m_german.keys();
    std::set<std::string> englishSet(english.begin(), english.end());
    std::set<std::string> germanSet(german.begin(), german.end());
    for (const std::string& key : english)
        EXPECT_TRUE(germanSet.count(key)) << "\"" << key << "\" is in English.lang but not in German.lang";
    for (const std::string& key : german)
        EXPECT_TRUE(englishSet.count(key)) << "\"" << key << "\" is in German.lang but not in English.lang";
    EXPECT_FALSE(english.empty());
}

}  // namespace
}  // namespace fw
