#pragma once
// The fixed classic desktop palette: the light colours a form has when it
// runs. The canvas, the preview and headless renders all draw in it, whatever
// the desktop theme, so a form looks the same everywhere.

#include "render/DrawContext.h"

namespace fw {

// Number of SysColor values; AppWorkspace is the last one.
constexpr int kSysColorCount = static_cast<int>(SysColor::AppWorkspace) + 1;

Color ClassicSysColor(SysColor which);

// The platform's constant name, e.g. "COLOR_BTNSHADOW"; "" for a value outside
// the enumeration.
const char* SysColorName(SysColor which);

}  // namespace fw
