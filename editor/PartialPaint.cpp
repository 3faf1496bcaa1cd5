#include "editor/PartialPaint.h"

#include "editor/DiagramEditor.h"
#include "render/CairoDrawContext.h"

#include <algorithm>
#include <cstdint>

namespace fw {

namespace {

std::int64_t AreaOf(const IntRect& r)
{
    return r.IsEmpty() ? 0 : std::int64_t{r.Width()} * r.Height();
}

IntRect BoxAround(const IntRect& a, const IntRect& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

IntRect RepaintRegion::Add(const IntRect& area)
{
    if (area.IsEmpty())
        return {};
    IntRect joined = area;
    // Joining can make a part that now takes in others: look again until none does.
    for (bool again = true; again;) {
        again = false;
        for (std::size_t i = 0; i < m_parts.size(); ++i) {
            const IntRect box = BoxAround(m_parts[i], joined);
            if (AreaOf(box) > AreaOf(m_parts[i]) + AreaOf(joined))
                continue;
            joined = box;
            m_parts[i] = m_parts.back();
            m_parts.pop_back();
            again = true;
            break;
        }
        if (!again && m_parts.size() >= m_mostParts) {
            std::size_t best = 0;
            std::int64_t bestGrowth = INT64_MAX;
            for (std::size_t i = 0; i < m_parts.size(); ++i) {
                const std::int64_t growth = AreaOf(BoxAround(m_parts[i], joined)) - AreaOf(m_parts[i]);
                if (growth < bestGrowth) {
                    bestGrowth = growth;
                    best = i;
                }
            }
            joined = BoxAround(m_parts[best], joined);
            m_parts[best] = m_parts.back();
            m_parts.pop_back();
            again = true;
        }
    }
    m_parts.push_back(joined);
    return joined;
}

std::int64_t RepaintRegion::PartsArea() const
{
    std::int64_t sum = 0;
    for (const IntRect& part : m_parts)
        sum += AreaOf(part);
    return sum;
}

IntRect RepaintRegion::Bounds() const
{
    IntRect box;
    for (const IntRect& part : m_parts)
        box = box.IsEmpty() ? part : BoxAround(box, part);
    return box;
}

void PaintAreas(CDiagramEditor& editor, cairo_surface_t* buffer, cairo_surface_t* scratch,
                const std::vector<IntRect>& areas, std::shared_ptr<DrawCaches> caches,
                const std::function<void(CairoDrawContext&)>& prepare)
{
    IntRect box;
    for (const IntRect& area : areas)
        if (!area.IsEmpty())
            box = box.IsEmpty() ? area : BoxAround(box, area);
    if (box.IsEmpty())
        return;
    auto addAreas = [&areas](cairo_t* cr) {
        for (const IntRect& area : areas)
            if (!area.IsEmpty())
                cairo_rectangle(cr, area.left, area.top, area.Width(), area.Height());
    };
    // Two contexts: the clip must be gone before the elements draw, and a
    // context remembers what it last set on its cairo state.
    auto paint = [&](bool clipped, const std::function<void(CairoDrawContext&)>& step) {
        cairo_t* cr = cairo_create(scratch);
        if (clipped) {
            addAreas(cr);
            cairo_clip(cr);
        }
        {
            CairoDrawContext draw(cr, caches);
            draw.ShowOnly(box);
            if (prepare)
                prepare(draw);
            step(draw);
        }
        cairo_destroy(cr);
    };
    paint(true, [&](CairoDrawContext& draw) { editor.PaintUnderElements(draw, box); });
    paint(false, [&](CairoDrawContext& draw) { editor.PaintElements(draw, areas); });
    cairo_surface_flush(scratch);

    cairo_t* target = cairo_create(buffer);
    cairo_set_operator(target, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(target, scratch, 0, 0);
    addAreas(target);
    cairo_fill(target);
    cairo_destroy(target);
}

}  // namespace fw
