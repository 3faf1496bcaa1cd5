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

// What a pair reads decides what is written back, so the allocation-free
// readers must answer exactly as splitting and converting token by token.
TEST(Tokens, PairReadersAnswerAsSplitTextDoes)
{
    const std::string inputs[] = {"10,20",
                                  "",
                                  ",",
                                  "1,",
                                  ",2",
                                  "1,2,3",
                                  "1,,2",
                                  " 1, 2",
                                  "\t-3,\n+4",
                                  "1 ,2 ",
                                  "+-1,2",
                                  "- 1,2",
                                  "0x10,1e3",
                                  "1.9,-2.9",
                                  "007,-0",
                                  "12abc,34xyz",
                                  "a,b",
                                  "2147483647,-2147483648",
                                  "2147483648,-2147483649",
                                  "99999999999999999999,-99999999999999999999",
                                  "\xEF\xBC\x91,2",
                                  "1\xC2\xA0,2",
                                  std::string("5,6\0,7", 6),
                                  "\v\f8,9",
                                  "-,1",
                                  "--1,2",
                                  "1,2,",
                                  "123456789,-987654321",
                                  "1234567890,-1234567890",
                                  "12,34 "};
    for (const std::string& input : inputs) {
        const SplitText split(input, ",");
        const bool two = split.count() == 2;
        int x = -7, y = -7;
        EXPECT_EQ(readIntPair(input, x, y), two) << input;
        EXPECT_EQ(x, two ? split.intAt(0) : -7) << input;
        EXPECT_EQ(y, two ? split.intAt(1) : -7) << input;

        std::string_view first, second;
        EXPECT_EQ(splitPair(input, ",", first, second), two) << input;
        if (two) {
            EXPECT_EQ(first, split.at(0)) << input;
            EXPECT_EQ(second, split.at(1)) << input;
        }
    }
    for (const char* input : {"a||b", "a|||b", "a||b||c", "||", "a|b"}) {
        const SplitText split(input, "||");
        std::string_view first, second;
        ASSERT_EQ(splitPair(input, "||", first, second), split.count() == 2) << input;
        if (split.count() == 2) {
            EXPECT_EQ(std::string(first) + "/" + std::string(second), split.at(0) + "/" + split.at(1)) << input;
        }
    }
    std::string_view first, second;
    EXPECT_FALSE(splitPair("a,b", "", first, second));
}
