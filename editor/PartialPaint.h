#pragma once
// Repainting parts of a canvas so that they hold the pixels of a whole repaint.

#include "services/Geometry.h"

#include <cairo/cairo.h>

#include <functional>
#include <memory>
#include <vector>

namespace fw {

class CDiagramEditor;
class CairoDrawContext;
struct DrawCaches;

// Each area is painted on `scratch` (an image the size of `buffer`), unclipped
// but told what will show, and copied onto `buffer`: a clip would cut the
// paths that cross its edge, and cairo antialiases a cut edge a shade
// differently from a whole paint. What the scratch holds outside the areas is
// never shown. `prepare` sets up each context before it paints.
void PaintAreas(CDiagramEditor& editor, cairo_surface_t* buffer, cairo_surface_t* scratch,
                const std::vector<IntRect>& areas, std::shared_ptr<DrawCaches> caches = nullptr,
                const std::function<void(CairoDrawContext&)>& prepare = {});

}  // namespace fw
