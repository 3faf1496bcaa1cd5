#include "editor/PartialPaint.h"

#include "editor/DiagramEditor.h"
#include "render/CairoDrawContext.h"

namespace fw {

void PaintAreas(CDiagramEditor& editor, cairo_surface_t* buffer, cairo_surface_t* scratch,
                const std::vector<IntRect>& areas, std::shared_ptr<DrawCaches> caches,
                const std::function<void(CairoDrawContext&)>& prepare)
{
    cairo_t* target = cairo_create(buffer);
    cairo_set_operator(target, CAIRO_OPERATOR_SOURCE);
    for (const IntRect& area : areas) {
        if (area.IsEmpty())
            continue;
        cairo_t* scratchContext = cairo_create(scratch);
        {
            CairoDrawContext draw(scratchContext, caches);
            draw.ShowOnly(area);
            if (prepare)
                prepare(draw);
            editor.PaintArea(draw, area);
        }
        cairo_destroy(scratchContext);
        cairo_surface_flush(scratch);
        cairo_set_source_surface(target, scratch, 0, 0);
        cairo_rectangle(target, area.left, area.top, area.Width(), area.Height());
        cairo_fill(target);
    }
    cairo_destroy(target);
}

}  // namespace fw
