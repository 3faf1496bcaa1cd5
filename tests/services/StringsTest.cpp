#include "services/Strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

using namespace fw;

TEST(Strings, CompareIgnoresCaseByFullFoldingAndFallsBackToBytes)
{
    EXPECT_EQ(compareNoCase("Straße", "STRASSE"), 0);  // full case folding, not per byte
    EXPECT_TRUE(equalsNoCase("Ölstand", "ÖLSTAND"));
    EXPECT_FALSE(equalsNoCase("Ölstand", "Olstand"));
    EXPECT_LT(compareNoCase("ab", "ABC"), 0);       // ordered like strcmp on the folded text
    EXPECT_EQ(compareNoCase("A\xff", "a\xff"), 0);  // invalid UTF-8: bytes, ASCII letters folded
    EXPECT_LT(compareNoCase("\xc3", "\xc3\xa4"), 0);
    EXPECT_TRUE(equalsNoCase(std::string_view("A\0b", 3), std::string_view("a\0B", 3)));
    EXPECT_EQ(trim(" \t\r\n\v\fa b\t \n"), "a b");
    EXPECT_EQ(toUpper("größe"), "GRÖSSE");
    EXPECT_EQ(toUpper("ab\xff"), "AB\xff");

    EXPECT_TRUE(wildCardCheck("Pumpe", "*mp*"));
    EXPECT_FALSE(wildCardCheck("Pumpe", "Pum?"));
    EXPECT_FALSE(wildCardCheck("", "?"));
    EXPECT_TRUE(wildCardCheck("Größe", "Gr?ße"));  // '?' is one character, not one byte
    EXPECT_TRUE(wildCardCheck("ÄNDERUNG", "änd*"));
    EXPECT_FALSE(wildCardCheck("Ventil", "vEN*", true));
    EXPECT_TRUE(wildCardCheck("ab\xff", "ab?"));
    EXPECT_FALSE(wildCardCheck("\xf0", "??"));  // a lone lead byte is not read past
}

TEST(Strings, NumbersReplacementAndFormat)
{
    EXPECT_EQ(toInt("\t\n+5,6"), 5);
    EXPECT_EQ(toInt("0x10"), 0);
    EXPECT_EQ(toInt("2147483648"), INT_MAX);  // clamped to the range of int
    EXPECT_EQ(toInt("-99999999999999999999999999x"), INT_MIN);
    EXPECT_DOUBLE_EQ(toDouble("  +1.25mm"), 1.25);
    EXPECT_DOUBLE_EQ(toDouble("-.5E-1"), -0.05);
    EXPECT_DOUBLE_EQ(toDouble("1,5"), 1.0);  // the point is the only decimal separator
    EXPECT_DOUBLE_EQ(toDouble("3e+"), 3.0);  // an exponent without digits is not part of it
    EXPECT_DOUBLE_EQ(toDouble("-.e1"), 0.0);
    EXPECT_EQ(toDouble("-1e400"), -HUGE_VAL);  // out of range as the C library answers

    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(replaceAll("a", "a", "aa"), "aa");  // the replacement is not scanned again
    EXPECT_EQ(toFileSeparators("a:=:1||b:=:2"), "a:=:1,b:=:2");
    EXPECT_EQ(toMemorySeparators("a:=:1,b:=:2"), "a:=:1||b:=:2");
    EXPECT_EQ(format("%s:%f,%i;", "basic", -2.5, 0), "basic:-2.500000,0;");
    const std::string longText(1000, 'x');
    EXPECT_EQ(format("<%s>", longText.c_str()), "<" + longText + ">");
}

// Decimals of every length up to where the short way stops and past it must
// come out as the very same double the C library reads, or a saved line
// width or corner radius could change by a bit on the way through a form.
TEST(Strings, DecimalsReadExactlyAsTheCLibraryDoes)
{
    std::mt19937_64 random(11);
    for (int length = 1; length <= 18; ++length)
        for (int trial = 0; trial < 400; ++trial) {
            std::string text;
            for (int d = 0; d < length; ++d)
                text += static_cast<char>('0' + random() % 10);
            text.insert(random() % (text.size() + 1), ".");
            if (trial % 2)
                text.insert(0, "-");
            const double expected = std::strtod(text.c_str(), nullptr);
            const double read = toDouble(text);
            EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << text;
        }
}
