#pragma once
// The floor the drawing benchmarks compare with: every element's rectangle
// filled and outlined straight on cairo, without any of our drawing layers.

#include "model/DiagramEntityContainer.h"

#include <cairo/cairo.h>

namespace fw::bench {

inline void DrawBareRectangles(cairo_t* cr, const CDiagramEntityContainer& form)
{
    for (int i = 0; i < form.GetCount(); ++i) {
        IntRect r = form.GetAt(i)->GetRect();
        cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);
    }
}

}  // namespace fw::bench
