#pragma once
// Drawing pieces several controls share: the sunken edit box, the etched
// frame, the two-tone frame both are made of, and the scaled GUI font.
//
// The frames draw with pens of the system colours. Those pens are made on
// first use and kept for the process; each one follows the colour the dc
// reports, so a theme change (or a dc with another palette) is picked up the
// next time that colour is asked for.

#include "render/DrawContext.h"
#include "services/Geometry.h"

namespace fw {

// `rect` moved in by `leftTop` at the left and top and by `rightBottom` at the
// right and bottom, saturating at the int range (zoomed edges may sit there).
IntRect Inset(const IntRect& rect, int leftTop, int rightBottom);

// The kept one-pixel pen and solid brush of a system colour.
const Pen& SysColorPen(const DrawContext& dc, SysColor which);
const Brush& SysColorBrush(const DrawContext& dc, SysColor which);

// Left and top edges in `topLeft`, then right and bottom in `bottomRight`,
// drawn through the corner points of `corners` themselves (as a line from
// (left, bottom) round to (left, bottom)). The pen is left at `bottomRight`;
// answers the pen selected before.
Pen DrawFramePath(DrawContext& dc, const IntRect& corners, SysColor topLeft, SysColor bottomRight);

// An edit box: filled with the window colour, a two-pixel sunken frame inside
// `rect`, and the stock black pen selected afterwards. Answers the corners of
// the inner frame line, the area a field centres its tab number in.
IntRect DrawSunkenBox(DrawContext& dc, const IntRect& rect);

// A one-pixel sunken line with a raised one inside it, as round a picture.
// The pen found selected is selected again afterwards.
void DrawEtchedFrame(DrawContext& dc, const IntRect& rect);

// The default GUI font with its pixel height scaled by `zoom` and rounded;
// below zoom 1 the face becomes "Arial", which stays legible when small. A
// font given in points is turned into pixels (96 dpi) first.
FontDesc ZoomedGuiFont(const DrawContext& dc, double zoom);

}  // namespace fw
