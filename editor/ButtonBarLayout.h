#pragma once
// Where the preview of a running form's bottom bar stands on the paper.

#include "services/Geometry.h"

#include <array>

namespace fw {

// In zoomed paper pixels: a sunken strip along the bottom of the paper, OK
// and Cancel above its right end, four small buttons and an etched box
// above its left end. Laid out in form units (push buttons of 50 x 14
// dialog units at base units 6 and 13) and zoomed edge by edge, so that the
// bar keeps its place at the bottom of the paper at every zoom.
struct ButtonBarLayout {
    IntRect strip;
    IntRect ok;
    IntRect cancel;
    std::array<IntRect, 4> small;
    IntRect box;
    // How far a caption keeps from its button's edges.
    int textInset = 0;
};

// `paper` and the left, top and bottom margins in form units.
ButtonBarLayout LayOutButtonBar(IntSize paper, int left, int top, int bottom, double zoom);

}  // namespace fw
