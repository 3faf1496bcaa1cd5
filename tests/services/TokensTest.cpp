#include "services/Tokens.h"

#include <gtest/gtest.h>

using namespace fw;

using V = std::vector<std::string>;

TEST(Tokens, SplitTextKeepsEmptyTokensAndTokenStringSkipsRunsOfSeparators)
{
    EXPECT_EQ(SplitText(",a,,", ",").tokens(), (V{"", "a", "", ""}));
    EXPECT_EQ(SplitText("", ",").tokens(), (V{""}));
    EXPECT_EQ(SplitText("a|||b", "||").tokens(), (V{"a", "|b"}));  // scanned left to right
    EXPECT_EQ(SplitText("a,b", "").tokens(), (V{"a,b"}));

    SplitText parts("10.5, 20 ,x", ",");
    EXPECT_EQ(parts.intAt(1), 20);
    EXPECT_DOUBLE_EQ(parts.doubleAt(0), 10.5);
    EXPECT_EQ(parts.intAt(2), 0);
    EXPECT_EQ(parts.at(3) + parts.at(-1), "");  // past the end: neutral values

    SplitText rest("1,2,3,4,t,n,0,extra,,tail", ",");
    EXPECT_EQ(rest.joinFrom(7, ","), "extra,,tail");
    EXPECT_EQ(rest.joinFrom(10, ","), "");
    EXPECT_EQ(rest.joinFrom(-3, ";"), "1;2;3;4;t;n;0;extra;;tail");

    TokenString words("  red, green;;blue  ", " ,;");
    ASSERT_EQ(words.wordNumber(), 3);
    EXPECT_EQ(words.word(2), "blue");
    EXPECT_EQ(words.word(3), "");
    EXPECT_EQ(TokenString(",,,", ",").wordNumber(), 0);
    EXPECT_EQ(TokenString("Größe·Höhe··Breite", "·").word(2), "Breite");  // U+00B7, two bytes
    // "é" is C3 A9 and "©" is C2 A9: a separator must not match half a character.
    EXPECT_EQ(TokenString("café", "©").word(0), "café");

    words.addWord("c d");  // joined by the first separator
    EXPECT_EQ(words.text(), "red green blue c d");
    TokenString built;
    built.addWord("x");
    built.addWord("y");
    EXPECT_EQ(built.text(), "x y");
}
