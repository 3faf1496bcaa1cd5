#include "render/SystemColors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>

namespace fw {
namespace {

int brightness(Color c)
{
    return c.r + c.g + c.b;
}

TEST(SystemColors, EveryValueHasItsOwnPlatformName)
{
    std::set<std::string> seen;
    for (int i = 0; i < kSysColorCount; ++i) {
        const std::string name = SysColorName(static_cast<SysColor>(i));
        EXPECT_EQ(name.rfind("COLOR_", 0), 0u) << "value " << i << " is named \"" << name << "\"";
        EXPECT_GT(name.size(), 6u) << "value " << i;
        EXPECT_TRUE(seen.insert(name).second) << name << " used twice";
    }
}

TEST(SystemColors, NamesMatchThePlatformConstants)
{
    EXPECT_STREQ(SysColorName(SysColor::Window), "COLOR_WINDOW");
    EXPECT_STREQ(SysColorName(SysColor::BtnFace), "COLOR_BTNFACE");
    EXPECT_STREQ(SysColorName(SysColor::BtnShadow), "COLOR_BTNSHADOW");
    EXPECT_STREQ(SysColorName(SysColor::BtnHighlight), "COLOR_BTNHIGHLIGHT");
    EXPECT_STREQ(SysColorName(SysColor::DkShadow3D), "COLOR_3DDKSHADOW");
    EXPECT_STREQ(SysColorName(SysColor::Light3D), "COLOR_3DLIGHT");
    EXPECT_STREQ(SysColorName(SysColor::AppWorkspace), "COLOR_APPWORKSPACE");
}

TEST(SystemColors, ClassicPaletteHasTheReferenceValues)
{
    // Golden renders are made with these; a change here changes every picture.
    EXPECT_EQ(ClassicSysColor(SysColor::Window), (Color{255, 255, 255}));
    EXPECT_EQ(ClassicSysColor(SysColor::BtnFace), (Color{240, 240, 240}));
    EXPECT_EQ(ClassicSysColor(SysColor::BtnShadow), (Color{160, 160, 160}));
    EXPECT_EQ(ClassicSysColor(SysColor::DkShadow3D), (Color{105, 105, 105}));
    EXPECT_EQ(ClassicSysColor(SysColor::Light3D), (Color{227, 227, 227}));
    EXPECT_EQ(ClassicSysColor(SysColor::Highlight), (Color{0, 120, 215}));
    EXPECT_EQ(ClassicSysColor(SysColor::GrayText), (Color{109, 109, 109}));
    EXPECT_EQ(ClassicSysColor(SysColor::AppWorkspace), (Color{171, 171, 171}));
}

TEST(SystemColors, BevelShadesAndTextContrastHold)
{
    const Color face = ClassicSysColor(SysColor::BtnFace);
    EXPECT_GE(brightness(ClassicSysColor(SysColor::BtnHighlight)), brightness(face));
    EXPECT_LT(brightness(ClassicSysColor(SysColor::BtnShadow)), brightness(face));
    EXPECT_LT(brightness(ClassicSysColor(SysColor::DkShadow3D)), brightness(ClassicSysColor(SysColor::BtnShadow)));

    const std::pair<SysColor, SysColor> textOnBackground[] = {
        {SysColor::WindowText, SysColor::Window},
        {SysColor::BtnText, SysColor::BtnFace},
        {SysColor::HighlightText, SysColor::Highlight},
        {SysColor::GrayText, SysColor::BtnFace},
    };
    for (const auto& [text, background] : textOnBackground) {
        EXPECT_GT(std::abs(brightness(ClassicSysColor(text)) - brightness(ClassicSysColor(background))), 200)
            << SysColorName(text) << " on " << SysColorName(background);
    }
}

TEST(SystemColors, ValuesOutsideTheEnumerationAreHarmless)
{
    const SysColor bogus = static_cast<SysColor>(kSysColorCount);
    EXPECT_STREQ(SysColorName(bogus), "");
    EXPECT_EQ(ClassicSysColor(bogus), (Color{0, 0, 0}));
    EXPECT_STREQ(SysColorName(static_cast<SysColor>(-1)), "");
}

}  // namespace
}  // namespace fw
