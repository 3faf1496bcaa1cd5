#include "services/LanguageTable.h"

#include "support/Scratch.h"

#include <gtest/gtest.h>

using namespace fw;

namespace {

TEST(LanguageTable, ReadsKeysTextsAndEscapes)
{
    test::ScratchDir dir;
    LanguageTable table;
    ASSERT_TRUE(table.load(dir.Put("Test.lang", "\xEF\xBB\xBF# header comment\n"
                                                "FIRST = First text\r\n"
                                                "   # indented comment\n"
                                                "  SPACED\t=   padded text   \n"
                                                "MULTI = one\\ntwo\\tcol \\\\ back \\q kept\n"
                                                "EQUALS = a = b\n"
                                                "EMPTY =\n"
                                                "no equals sign here\n"
                                                " = no key\n"
                                                "TWICE = old\n"
                                                "TWICE = Größe\n")));
    EXPECT_EQ(table.language(), "Test");
    EXPECT_EQ(table.langStr("FIRST") + "|" + table.langStr("SPACED") + "|" + table.langStr("EQUALS"),
              "First text|padded text|a = b");
    EXPECT_EQ(table.langStr("MULTI"), "one\ntwo\tcol \\ back \\q kept");
    EXPECT_EQ(table.langStr("TWICE"), "Größe");
    EXPECT_EQ(table.keys(), (std::vector<std::string>{"EMPTY", "EQUALS", "FIRST", "MULTI", "SPACED", "TWICE"}));
    EXPECT_EQ(table.langStr("EMPTY"), "");
    // A missing text shows its key; keys are case-sensitive.
    EXPECT_EQ(table.langStr("UNKNOWN_KEY"), "UNKNOWN_KEY");
    EXPECT_FALSE(table.has("first"));

    // A failed load keeps the table; a load replaces it.
    ASSERT_TRUE(table.load(dir.Put("A.lang", "KNOWN = yes\n")));
    EXPECT_FALSE(table.load(dir.Path() + "/Missing.lang"));
    EXPECT_EQ(table.langStr("KNOWN"), "yes");
    EXPECT_EQ(table.language(), "A");
    ASSERT_TRUE(table.load(dir.Put("B.lang", "OTHER = x\n")));
    EXPECT_FALSE(table.has("KNOWN"));
}

TEST(LanguageTable, ConfiguredLanguageWithFallbackToEnglish)
{
    test::ScratchDir data;
    data.Put("lang/English.lang", "FD_DEFAULT = Default form\n");
    data.Put("lang/German.lang", "FD_DEFAULT = Standardformular\n");
    test::ScopedEnv vars;
    vars.Set("FORMWRIGHT_DATA_DIR", data.Path()).Set("FORMWRIGHT_LANGUAGE", "German");
    LanguageTable table;
    ASSERT_TRUE(table.loadConfigured());
    EXPECT_EQ(table.language(), "German");
    EXPECT_EQ(table.langStr("FD_DEFAULT"), "Standardformular");

    vars.Set("FORMWRIGHT_LANGUAGE", "Klingon");
    ASSERT_TRUE(table.loadConfigured());
    EXPECT_EQ(table.language(), "English");
    EXPECT_EQ(table.langStr("FD_DEFAULT"), "Default form");

    EXPECT_FALSE(table.loadLanguage("../lang/German"));  // a name, never a path
    EXPECT_FALSE(table.loadLanguage(""));
    EXPECT_TRUE(table.loadLanguage("German"));
}

}  // namespace
