#include "services/Strings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace fw {
namespace {

TEST(StringsCompare, IgnoresCaseAcrossScripts)
{
    EXPECT_EQ(compareNoCase("Pumpe", "PUMPE"), 0);
    EXPECT_EQ(compareNoCase("Ärger", "äRGER"), 0);
    EXPECT_EQ(compareNoCase("Straße", "STRASSE"), 0);  // full case folding, not per byte
    EXPECT_TRUE(equalsNoCase("Ölstand", "ÖLSTAND"));
    EXPECT_FALSE(equalsNoCase("Ölstand", "Olstand"));
}

TEST(StringsCompare, OrdersLikeStrcmpOnFoldedText)
{
    EXPECT_LT(compareNoCase("abc", "ABD"), 0);
    EXPECT_GT(compareNoCase("ABD", "abc"), 0);
    EXPECT_LT(compareNoCase("ab", "ABC"), 0);
    EXPECT_GT(compareNoCase("b", "A"), 0);
    EXPECT_EQ(compareNoCase("", ""), 0);
    EXPECT_LT(compareNoCase("", "a"), 0);
}

TEST(StringsCompare, InvalidUtf8FallsBackToBytes)
{
    EXPECT_EQ(compareNoCase("A\xff", "a\xff"), 0);
    EXPECT_LT(compareNoCase("a\xfe", "A\xff"), 0);
    EXPECT_LT(compareNoCase("\xc3", "\xc3\xa4"), 0);  // a truncated sequence
    EXPECT_FALSE(equalsNoCase(std::string_view("a\0b", 3), "a"));
    EXPECT_TRUE(equalsNoCase(std::string_view("A\0b", 3), std::string_view("a\0B", 3)));
}

TEST(StringsTrimAndUpper, TrimRemovesAllKindsOfWhiteSpaceAtTheEndsOnly)
{
    EXPECT_EQ(trim(" \t\r\n\v\fa b\t \n"), "a b");
    EXPECT_EQ(trim("   "), "");
    EXPECT_EQ(trim(""), "");
    EXPECT_EQ(trim("x"), "x");
}

TEST(StringsTrimAndUpper, UpperCaseIsUnicodeAware)
{
    EXPECT_EQ(toUpper("edit_pump"), "EDIT_PUMP");
    EXPECT_EQ(toUpper("größe"), "GRÖSSE");
    EXPECT_EQ(toUpper("äöü"), "ÄÖÜ");
    EXPECT_EQ(toUpper("ab\xff"), "AB\xff");  // invalid input: ASCII letters only, bytes kept
}

TEST(StringsWildCard, StarAndQuestionMark)
{
    EXPECT_TRUE(wildCardCheck("Pumpe", "P*"));
    EXPECT_TRUE(wildCardCheck("Pumpe", "*mp*"));
    EXPECT_TRUE(wildCardCheck("Pumpe", "Pum?e"));
    EXPECT_FALSE(wildCardCheck("Pumpe", "Pum?"));
    EXPECT_TRUE(wildCardCheck("", "*"));
    EXPECT_FALSE(wildCardCheck("", "?"));
    EXPECT_TRUE(wildCardCheck("Größe", "Gr?ße"));  // '?' is one character, not one byte
}

TEST(StringsWildCard, CaseSensitivityIsSelectable)
{
    EXPECT_TRUE(wildCardCheck("Ventil", "vEN*"));
    EXPECT_TRUE(wildCardCheck("ÄNDERUNG", "änd*"));
    EXPECT_FALSE(wildCardCheck("Ventil", "vEN*", true));
    EXPECT_TRUE(wildCardCheck("Ventil", "Ven*", true));
}

TEST(StringsWildCard, InvalidUtf8IsMatchedBytewise)
{
    EXPECT_TRUE(wildCardCheck("ab\xff", "A*"));
    EXPECT_TRUE(wildCardCheck("ab\xff", "ab?"));
    EXPECT_FALSE(wildCardCheck("\xf0", "??"));  // a lone lead byte is not read past
    EXPECT_FALSE(wildCardCheck("AB\xff", "ab*", true));
}

TEST(StringsNumbers, ToIntReadsLeadingDigitsOnly)
{
    EXPECT_EQ(toInt("12abc"), 12);
    EXPECT_EQ(toInt("  -7"), -7);
    EXPECT_EQ(toInt("\t\n+5,6"), 5);
    EXPECT_EQ(toInt("3.9"), 3);
    EXPECT_EQ(toInt("0x10"), 0);
    EXPECT_EQ(toInt("abc"), 0);
    EXPECT_EQ(toInt(""), 0);
    EXPECT_EQ(toInt("-"), 0);
    EXPECT_EQ(toInt("- 5"), 0);
    EXPECT_EQ(toInt("007"), 7);
}

TEST(StringsNumbers, ToIntClampsToTheRangeOfInt)
{
    EXPECT_EQ(toInt("2147483647"), INT_MAX);
    EXPECT_EQ(toInt("-2147483648"), INT_MIN);
    EXPECT_EQ(toInt("2147483648"), INT_MAX);
    EXPECT_EQ(toInt("-2147483649"), INT_MIN);
    EXPECT_EQ(toInt("99999999999999999999999999"), INT_MAX);
    EXPECT_EQ(toInt("-99999999999999999999999999x"), INT_MIN);
}

TEST(StringsNumbers, ToDoubleReadsTheLongestNumberPrefix)
{
    EXPECT_DOUBLE_EQ(toDouble("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(toDouble("-2e3"), -2000.0);
    EXPECT_DOUBLE_EQ(toDouble(".5"), 0.5);
    EXPECT_DOUBLE_EQ(toDouble("5."), 5.0);
    EXPECT_DOUBLE_EQ(toDouble("  +1.25mm"), 1.25);
    EXPECT_DOUBLE_EQ(toDouble("-.5E-1"), -0.05);
    EXPECT_DOUBLE_EQ(toDouble("10.000000"), 10.0);
    EXPECT_DOUBLE_EQ(toDouble("1,5"), 1.0);  // the point is the only decimal separator
    EXPECT_DOUBLE_EQ(toDouble("3e"), 3.0);   // an exponent without digits is not part of it
    EXPECT_DOUBLE_EQ(toDouble("3e+"), 3.0);
    EXPECT_DOUBLE_EQ(toDouble("7.e2"), 700.0);
}

TEST(StringsNumbers, ToDoubleAnswersZeroWithoutDigits)
{
    EXPECT_EQ(toDouble(""), 0.0);
    EXPECT_EQ(toDouble("."), 0.0);
    EXPECT_EQ(toDouble("-"), 0.0);
    EXPECT_EQ(toDouble("e5"), 0.0);
    EXPECT_EQ(toDouble("abc"), 0.0);
    EXPECT_EQ(toDouble("-.e1"), 0.0);
}

TEST(StringsNumbers, ToDoubleOutOfRangeBehavesLikeTheCLibrary)
{
    EXPECT_EQ(toDouble("1e400"), HUGE_VAL);
    EXPECT_EQ(toDouble("-1e400"), -HUGE_VAL);
    EXPECT_EQ(toDouble("1e-400"), 0.0);
    EXPECT_EQ(toDouble(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(toDouble("0." + std::string(400, '0') + "1"), 0.0);
}

TEST(StringsReplace, ReplacesLeftToRightWithoutOverlap)
{
    EXPECT_EQ(replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(replaceAll("a:b:c", ":", "\\colon"), "a\\colonb\\colonc");
    EXPECT_EQ(replaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(replaceAll("", "a", "b"), "");
    EXPECT_EQ(replaceAll("xax", "a", ""), "xx");
    EXPECT_EQ(replaceAll("a", "a", "aa"), "aa");  // the replacement is not scanned again
}

TEST(StringsReplace, FilterSeparatorsRoundTrip)
{
    EXPECT_EQ(toFileSeparators("a:=:1||b:=:2"), "a:=:1,b:=:2");
    EXPECT_EQ(toMemorySeparators("a:=:1,b:=:2"), "a:=:1||b:=:2");
    EXPECT_EQ(toMemorySeparators(toFileSeparators("x||y||z")), "x||y||z");
    EXPECT_EQ(toFileSeparators("no separator"), "no separator");
}

TEST(StringsFormat, PrintfStyle)
{
    EXPECT_EQ(format("%s:%f,%f,%i;", "basic", 10.0, -2.5, 0), "basic:10.000000,-2.500000,0;");
    EXPECT_EQ(format("%i%s%i", 700, ",", 600), "700,600");
    EXPECT_EQ(format("%s", ""), "");
    std::string longText(1000, 'x');
    EXPECT_EQ(format("<%s>", longText.c_str()), "<" + longText + ">");
}

}  // namespace
}  // namespace fw
