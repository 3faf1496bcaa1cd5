#pragma once
// Fonts at a zoom: text on the canvas grows and shrinks with everything else.

#include "render/DrawContext.h"

namespace fw {

// `font` as it shows at `zoom`. A height in pixels is multiplied; a size in
// points becomes a character height in pixels (96 dpi) times the zoom. Both
// round half up and keep at least one pixel. At zoom 1, and for a font of
// the default size (neither given), the font stays as it is.
FontDesc ZoomFont(FontDesc font, double zoom);

}  // namespace fw
