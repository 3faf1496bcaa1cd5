#include "services/Tokens.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

std::vector<std::string> tokensOf(std::string_view text, std::string_view separator)
{
    return SplitText(text, separator).tokens();
}

TEST(SplitText, KeepsEveryEmptyToken)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(tokensOf("a,,b", ","), (V{"a", "", "b"}));
    EXPECT_EQ(tokensOf("a,", ","), (V{"a", ""}));
    EXPECT_EQ(tokensOf(",a", ","), (V{"", "a"}));
    EXPECT_EQ(tokensOf("", ","), (V{""}));
    EXPECT_EQ(tokensOf(",", ","), (V{"", ""}));
    EXPECT_EQ(tokensOf("abc", ","), (V{"abc"}));
}

TEST(SplitText, SeparatorIsAWholeString)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(tokensOf("a||b|c", "||"), (V{"a", "b|c"}));
    EXPECT_EQ(tokensOf("a|||b", "||"), (V{"a", "|b"}));  // scanned left to right
    EXPECT_EQ(tokensOf("basic:1,2", ":"), (V{"basic", "1,2"}));
    EXPECT_EQ(tokensOf("a,b", ""), (V{"a,b"}));
}

TEST(SplitText, AccessPastTheEndAnswersNeutralValues)
{
    SplitText parts("10.5, 20 ,x", ",");
    ASSERT_EQ(parts.count(), 3);
    EXPECT_EQ(parts.at(0), "10.5");
    EXPECT_EQ(parts.intAt(1), 20);
    EXPECT_DOUBLE_EQ(parts.doubleAt(0), 10.5);
    EXPECT_EQ(parts.intAt(2), 0);
    EXPECT_EQ(parts.at(3), "");
    EXPECT_EQ(parts.at(-1), "");
    EXPECT_EQ(parts.intAt(3), 0);
    EXPECT_EQ(parts.doubleAt(99), 0.0);
}

TEST(SplitText, JoinFromRebuildsTheRest)
{
    SplitText parts("1,2,3,4,t,n,0,extra,,tail", ",");
    EXPECT_EQ(parts.joinFrom(7, ","), "extra,,tail");
    EXPECT_EQ(parts.joinFrom(9, ","), "tail");
    EXPECT_EQ(parts.joinFrom(10, ","), "");
    EXPECT_EQ(parts.joinFrom(0, ","), "1,2,3,4,t,n,0,extra,,tail");
    EXPECT_EQ(parts.joinFrom(-3, ";"), "1;2;3;4;t;n;0;extra;;tail");
    EXPECT_EQ(SplitText(",", ",").joinFrom(0, "+"), "+");
}

TEST(TokenString, RunsOfSeparatorsCountOnce)
{
    TokenString words("  red, green;;blue  ", " ,;");
    ASSERT_EQ(words.wordNumber(), 3);
    EXPECT_EQ(words.word(0), "red");
    EXPECT_EQ(words.word(1), "green");
    EXPECT_EQ(words.word(2), "blue");
    EXPECT_EQ(words.word(3), "");
    EXPECT_EQ(words.word(-1), "");
}

TEST(TokenString, NoWordsFromSeparatorsOnly)
{
    EXPECT_EQ(TokenString("", ",").wordNumber(), 0);
    EXPECT_EQ(TokenString(",,,", ",").wordNumber(), 0);
    EXPECT_EQ(TokenString("abc", "").wordNumber(), 1);
}

TEST(TokenString, NonAsciiTextAndSeparators)
{
    TokenString words("Größe·Höhe··Breite", "·");  // U+00B7, two bytes
    ASSERT_EQ(words.wordNumber(), 3);
    EXPECT_EQ(words.word(0), "Größe");
    EXPECT_EQ(words.word(2), "Breite");

    // "é" is C3 A9 and "©" is C2 A9: a separator must not match half a character.
    TokenString mixed("café", "©");
    ASSERT_EQ(mixed.wordNumber(), 1);
    EXPECT_EQ(mixed.word(0), "café");
}

TEST(TokenString, AddWordAndText)
{
    TokenString words("a;b", ";,");
    words.addWord("c d");
    EXPECT_EQ(words.wordNumber(), 3);
    EXPECT_EQ(words.text(), "a;b;c d");

    TokenString built;
    built.addWord("x");
    built.addWord("y");
    EXPECT_EQ(built.text(), "x y");
}

}  // namespace
}  // namespace fw
