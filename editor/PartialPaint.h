#pragma once
// Repainting parts of a canvas so that they hold the pixels of a whole repaint.

#include "services/Geometry.h"

#include <cairo/cairo.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace fw {

class CDiagramEditor;
class CairoDrawContext;
struct DrawCaches;

// What waits to be repainted, kept as a short list of rectangles that cover
// every area added. An area joins a listed one when the box around both is no
// larger than the two apart (it overlaps it or lines up with it); once the
// list is full it joins the one whose box grows least. So many small scattered
// areas stay small instead of becoming one box around them all.
class RepaintRegion {
public:
    explicit RepaintRegion(std::size_t mostParts = 64) : m_mostParts(mostParts < 1 ? 1 : mostParts) {}

    // Answers the part that holds the area now (empty for an empty area).
    IntRect Add(const IntRect& area);
    void Clear() { m_parts.clear(); }
    bool IsEmpty() const { return m_parts.empty(); }
    const std::vector<IntRect>& Parts() const { return m_parts; }
    // The pixels of the parts, overlaps counted once per part.
    std::int64_t PartsArea() const;
    IntRect Bounds() const;

private:
    std::size_t m_mostParts;
    std::vector<IntRect> m_parts;
};

// The areas are painted on `scratch` (an image the size of `buffer`) and
// copied onto `buffer`. Under the elements (whole pixels only) the painting is
// clipped to the areas; the elements that reach an area are drawn whole, once
// each, unclipped: a clip would cut the paths that cross its edge, and cairo
// antialiases a cut edge a shade differently from a whole paint. What the
// scratch holds outside the areas is never shown. `prepare` sets up each
// context before it paints.
void PaintAreas(CDiagramEditor& editor, cairo_surface_t* buffer, cairo_surface_t* scratch,
                const std::vector<IntRect>& areas, std::shared_ptr<DrawCaches> caches = nullptr,
                const std::function<void(CairoDrawContext&)>& prepare = {});

}  // namespace fw
