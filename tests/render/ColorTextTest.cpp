#include "render/DrawContext.h"

#include <gtest/gtest.h>

using namespace fw;

TEST(ParseColorText, ReadsExactlyThreeIntegerPartsKeepingTheLowByte)
{
    struct Case {
        const char* text;
        Color color;
        bool fillable;  // a negative part clears it; zero is a colour, not a marker
    };
    const Case cases[] = {{"12,34,56", {12, 34, 56}, true},   {"511,257,1000", {255, 1, 232}, true},
                          {"255,0,-1", {255, 0, 255}, false}, {"-1,-256,-2", {255, 0, 254}, false},
                          {"0,0,0", {0, 0, 0}, true},         {"12abc, 3,\t4", {12, 3, 4}, true},
                          {"+5,x,3", {5, 0, 3}, true},        {",,", {0, 0, 0}, true}};
    for (const Case& c : cases) {
        for (bool before : {false, true}) {  // the flag is written either way
            Color color{1, 2, 3};
            bool fillable = before;
            EXPECT_TRUE(parseColorText(c.text, color, &fillable)) << c.text;
            EXPECT_EQ(color, c.color) << c.text;
            EXPECT_EQ(fillable, c.fillable) << c.text;
        }
    }
    Color optional;
    EXPECT_TRUE(parseColorText("-4,5,6", optional));  // the flag is optional
    EXPECT_EQ(optional, (Color{252, 5, 6}));

    for (const char* text : {"", "1", "1,2", "1,2,3,4", "1,2,3,", ",,,", "1;2;3"}) {
        Color color{10, 20, 30};
        bool fillable = false;
        EXPECT_FALSE(parseColorText(text, color, &fillable)) << text;
        EXPECT_EQ(color, (Color{10, 20, 30})) << text;
        EXPECT_FALSE(fillable) << text;
    }
}
