#include "render/DrawContext.h"

#include <gtest/gtest.h>

namespace fw {
namespace {

// Parses and expects success, answering the colour and the fillable flag. The
// flag must be written either way, so the parse runs from both starting values.
struct Parsed {
    Color color;
    bool fillable = false;
};

Parsed parseOk(std::string_view text)
{
    Parsed results[2];
    for (int i = 0; i < 2; ++i) {
        results[i].color = {1, 2, 3};
        results[i].fillable = i == 0;
        EXPECT_TRUE(parseColorText(text, results[i].color, &results[i].fillable)) << "text: \"" << text << "\"";
    }
    EXPECT_EQ(results[0].fillable, results[1].fillable) << "fillable not written for \"" << text << "\"";
    return results[0];
}

TEST(ParseColorText, ReadsThreeDecimalParts)
{
    const Parsed p = parseOk("12,34,56");
    EXPECT_EQ(p.color, (Color{12, 34, 56}));
    EXPECT_TRUE(p.fillable);
}

TEST(ParseColorText, KeepsOnlyTheLowByteOfEachPart)
{
    EXPECT_EQ(parseOk("256,0,0").color, (Color{0, 0, 0}));
    EXPECT_EQ(parseOk("511,257,1000").color, (Color{255, 1, 232}));
    EXPECT_EQ(parseOk("-1,-256,-2").color, (Color{255, 0, 254}));
}

TEST(ParseColorText, NegativePartClearsFillable)
{
    const Parsed p = parseOk("255,0,-1");
    EXPECT_EQ(p.color, (Color{255, 0, 255}));
    EXPECT_FALSE(p.fillable);
    EXPECT_FALSE(parseOk("-5,0,0").fillable);
    EXPECT_FALSE(parseOk("0,-5,0").fillable);
    // Zero is a colour, not a marker.
    EXPECT_TRUE(parseOk("0,0,0").fillable);
}

TEST(ParseColorText, FillableIsOptional)
{
    Color color;
    EXPECT_TRUE(parseColorText("4,5,6", color));
    EXPECT_EQ(color, (Color{4, 5, 6}));
    EXPECT_TRUE(parseColorText("-4,5,6", color, nullptr));
    EXPECT_EQ(color, (Color{252, 5, 6}));
}

TEST(ParseColorText, ReadsPartsLikeTheFileNumberReader)
{
    EXPECT_EQ(parseOk("12abc,3,4").color, (Color{12, 3, 4}));
    EXPECT_EQ(parseOk(" 7 , 8,\t9").color, (Color{7, 8, 9}));
    EXPECT_EQ(parseOk("+5,x,3").color, (Color{5, 0, 3}));
    // Empty parts count and read as 0.
    const Parsed empty = parseOk(",,");
    EXPECT_EQ(empty.color, (Color{0, 0, 0}));
    EXPECT_TRUE(empty.fillable);
    EXPECT_EQ(parseOk("9,,").color, (Color{9, 0, 0}));
}

TEST(ParseColorText, RejectsAnyOtherNumberOfParts)
{
    for (const char* text : {"", "1", "1,2", "1,2,3,4", "1,2,3,", ",,,", "1;2;3"}) {
        Color color{10, 20, 30};
        bool fillable = false;
        EXPECT_FALSE(parseColorText(text, color, &fillable)) << "text: \"" << text << "\"";
        // A rejected text leaves the caller's values alone.
        EXPECT_EQ(color, (Color{10, 20, 30})) << "text: \"" << text << "\"";
        EXPECT_FALSE(fillable) << "text: \"" << text << "\"";
    }
}

}  // namespace
}  // namespace fw
