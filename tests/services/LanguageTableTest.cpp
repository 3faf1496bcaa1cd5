#include "services/LanguageTable.h"
#include "services/Environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace fw {
namespace {

namespace fs = std::filesystem;

class LanguageTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "fw-lang-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        fs::create_directories(m_dir + "/lang");
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }

    std::string writeLang(const std::string& name, const std::string& text)
    {
        std::string path = m_dir + "/lang/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::string m_dir;
};

TEST_F(LanguageTableTest, ReadsKeysTextsAndEscapes)
{
    std::string path = writeLang("Test.lang", "\xEF\xBB\xBF# header comment\n"
                                              "FIRST = First text\r\n"
                                              "\n"
                                              "   # indented comment\n"
                                              "  SPACED\t=   padded text   \n"
                                              "MULTI = one\\ntwo\\tcol \\\\ back \\q kept\n"
                                              "EQUALS = a = b\n"
                                              "EMPTY =\n"
                                              "no equals sign here\n"
                                              " = no key\n"
                                              "TWICE = old\n"
                                              "TWICE = new\n"
                                              "UMLAUT = Größe\n");
    LanguageTable table;
    ASSERT_TRUE(table.load(path));
    EXPECT_EQ(table.language(), "Test");
    EXPECT_EQ(table.langStr("FIRST"), "First text");
    EXPECT_EQ(table.langStr("SPACED"), "padded text");
    EXPECT_EQ(table.langStr("MULTI"), "one\ntwo\tcol \\ back \\q kept");
    EXPECT_EQ(table.langStr("EQUALS"), "a = b");
    EXPECT_TRUE(table.has("EMPTY"));
    EXPECT_EQ(table.langStr("EMPTY"), "");
    EXPECT_EQ(table.langStr("TWICE"), "new");
    EXPECT_EQ(table.langStr("UMLAUT"), "Größe");
    EXPECT_EQ(table.keys(),
              (std::vector<std::string>{"EMPTY", "EQUALS", "FIRST", "MULTI", "SPACED", "TWICE", "UMLAUT"}));
}

TEST_F(LanguageTableTest, MissingTextShowsTheKey)
{
    LanguageTable table;
    ASSERT_TRUE(table.load(writeLang("A.lang", "KNOWN = yes\n")));
    EXPECT_EQ(table.langStr("UNKNOWN_KEY"), "UNKNOWN_KEY");
    EXPECT_FALSE(table.has("UNKNOWN_KEY"));
    EXPECT_FALSE(table.has("known"));  // keys are case-sensitive
    EXPECT_EQ(table.langStr(""), "");
}

TEST_F(LanguageTableTest, FailedLoadKeepsTheTable)
{
    LanguageTable table;
    ASSERT_TRUE(table.load(writeLang("A.lang", "KNOWN = yes\n")));
    EXPECT_FALSE(table.load(m_dir + "/lang/Missing.lang"));
    EXPECT_EQ(table.langStr("KNOWN"), "yes");
    EXPECT_EQ(table.language(), "A");

    // A second successful load replaces everything.
    ASSERT_TRUE(table.load(writeLang("B.lang", "OTHER = x\n")));
    EXPECT_FALSE(table.has("KNOWN"));
}

// Points the Environment at a private data folder for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST_F(LanguageTableTest, ConfiguredLanguageWithFallbackToEnglish)
{
    writeLang("English.lang", "FD_DEFAULT = Default form\n");
    writeLang("German.lang", "FD_DEFAULT = Standardformular\n");
    ScopedVariable data("FORMWRIGHT_DATA_DIR", m_dir);

    {
        ScopedVariable language("FORMWRIGHT_LANGUAGE", "German");
        LanguageTable table;
        ASSERT_TRUE(table.loadConfigured());
        EXPECT_EQ(table.language(), "German");
        EXPECT_EQ(table.langStr("FD_DEFAULT"), "Standardformular");
    }
    {
        ScopedVariable language("FORMWRIGHT_LANGUAGE", "Klingon");
        LanguageTable table;
        ASSERT_TRUE(table.loadConfigured());
        EXPECT_EQ(table.language(), "English");
        EXPECT_EQ(table.langStr("FD_DEFAULT"), "Default form");
    }
    {
        LanguageTable table;
        EXPECT_FALSE(table.loadLanguage("../lang/German"));  // a name, never a path
        EXPECT_FALSE(table.loadLanguage(""));
        EXPECT_TRUE(table.loadLanguage("German"));
    }
}

TEST(LanguageTableShipped, ProcessTableAndShorthandAgree)
{
    LanguageTable& table = LanguageTable::instance();
    EXPECT_FALSE(table.language().empty());
    EXPECT_TRUE(table.has("FD_DEFAULT"));
    EXPECT_EQ(langStr("FD_DEFAULT"), table.langStr("FD_DEFAULT"));
    EXPECT_EQ(&table, &LanguageTable::instance());
}

TEST(LanguageTableShipped, EnglishAndGermanTexts)
{
    const std::string dir = std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/lang/";
    LanguageTable english, german;
    ASSERT_TRUE(english.load(dir + "English.lang"));
    ASSERT_TRUE(german.load(dir + "German.lang"));
    EXPECT_EQ(english.langStr("FD_DEFAULT"), "Default form");
    EXPECT_EQ(german.langStr("FD_DEFAULT"), "Standardformular");
    EXPECT_EQ(english.langStr("MSG_MULTIPLE_BOOLVALUES"), "The selected elements have different values");
    EXPECT_EQ(german.langStr("PROP_GRP_SIZE"), "Größe");
    for (const std::string& key : english.keys()) {
        EXPECT_FALSE(english.langStr(key).empty()) << key;
        EXPECT_FALSE(german.langStr(key).empty()) << key;
    }
}

}  // namespace
}  // namespace fw
