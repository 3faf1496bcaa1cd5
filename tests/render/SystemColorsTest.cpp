#include "render/SystemColors.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>

using namespace fw;

namespace {

int brightness(SysColor which)
{
    const Color c = ClassicSysColor(which);
    return c.r + c.g + c.b;
}

TEST(SystemColors, OwnNamesBevelShadesAndTextContrast)
{
    std::set<std::string> seen;
    for (int i = 0; i < kSysColorCount; ++i) {
        const std::string name = SysColorName(static_cast<SysColor>(i));
        EXPECT_TRUE(name.rfind("COLOR_", 0) == 0 && name.size() > 6) << "value " << i << " is named " << name;
        EXPECT_TRUE(seen.insert(name).second) << name << " used twice";
    }
    EXPECT_STREQ(SysColorName(static_cast<SysColor>(kSysColorCount)), "");
    EXPECT_EQ(ClassicSysColor(static_cast<SysColor>(-1)), (Color{0, 0, 0}));

    EXPECT_GE(brightness(SysColor::BtnHighlight), brightness(SysColor::BtnFace));
    EXPECT_LT(brightness(SysColor::BtnShadow), brightness(SysColor::BtnFace));
    EXPECT_LT(brightness(SysColor::DkShadow3D), brightness(SysColor::BtnShadow));
    const std::pair<SysColor, SysColor> textOnBackground[] = {{SysColor::WindowText, SysColor::Window},
                                                              {SysColor::BtnText, SysColor::BtnFace},
                                                              {SysColor::HighlightText, SysColor::Highlight},
                                                              {SysColor::GrayText, SysColor::BtnFace}};
    for (const auto& [text, background] : textOnBackground)
        EXPECT_GT(std::abs(brightness(text) - brightness(background)), 200)
            << SysColorName(text) << " on " << SysColorName(background);
}

}  // namespace
