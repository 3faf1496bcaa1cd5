#pragma once
// The fixed classic desktop palette used whenever there is no desktop theme to
// ask (headless rendering, the recording backend), so renders are reproducible.

#include "render/DrawContext.h"

namespace fw {

// Number of SysColor values; AppWorkspace is the last one.
constexpr int kSysColorCount = static_cast<int>(SysColor::AppWorkspace) + 1;

Color ClassicSysColor(SysColor which);

// The platform's constant name, e.g. "COLOR_BTNSHADOW"; "" for a value outside
// the enumeration.
const char* SysColorName(SysColor which);

}  // namespace fw
