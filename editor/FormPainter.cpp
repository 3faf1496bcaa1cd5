#include "editor/FormPainter.h"

#include "model/DiagramEntityContainer.h"

#include <cstdint>

namespace fw {

void DrawDialogFace(DrawContext& dc, const IntRect& paper)
{
    Pen oldPen = dc.SelectPen(Pen::Solid(dc.GetSysColor(SysColor::DkShadow3D)));
    Brush oldBrush = dc.SelectBrush(Brush::Solid(dc.GetSysColor(SysColor::BtnFace)));
    dc.Rectangle(paper);

    // The raised edge sits inside the outline, its right and bottom lines one pixel in.
    IntRect edge = paper.Inflated(-1, -1);
    edge.right -= 1;
    edge.bottom -= 1;
    dc.SelectPen(Pen::Solid(dc.GetSysColor(SysColor::BtnHighlight)));
    dc.MoveTo({edge.left, edge.bottom});
    dc.LineTo({edge.left, edge.top});
    dc.LineTo({edge.right, edge.top});
    dc.SelectPen(Pen::Solid(dc.GetSysColor(SysColor::BtnShadow)));
    dc.LineTo({edge.right, edge.bottom});
    dc.LineTo({edge.left, edge.bottom});

    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

namespace {

// Whether an element drawn in `zoomed` may touch the area. Markers, thick
// outlines and tab numbers reach a little outside the rectangle. In 64 bits,
// so that an edge at the end of the int range does not wrap around.
bool Reaches(const CDiagramEntity& element, const IntRect& zoomed, double zoom, const IntRect* area)
{
    if (!area)
        return true;
    if (area->IsEmpty())
        return false;
    const std::int64_t reach = 16 + std::int64_t{ZoomEdge(element.GetLineWidth(), zoom)};
    const IntRect r = zoomed.Normalized();
    return r.left - reach < area->right && r.right + reach > area->left && r.top - reach < area->bottom &&
           r.bottom + reach > area->top;
}

}  // namespace

void DrawFormElements(DrawContext& dc, CDiagramEntityContainer& form, double zoom, const IntRect* area)
{
    // Draw() would put each element's markers between the elements; they go last.
    auto paint = [&](bool shapes) {
        for (int i = 0; i < form.GetCount(); ++i) {
            CDiagramEntity* e = form.GetAt(i);
            if (e->IsShape() != shapes)
                continue;
            const IntRect zoomed = e->GetZoomedRect(zoom);
            if (!Reaches(*e, zoomed, zoom, area))
                continue;
            e->SetZoom(zoom);
            e->DrawObject(dc, zoomed);
        }
    };
    paint(true);
    paint(false);
    for (int i = 0; i < form.GetCount(); ++i) {
        CDiagramEntity* e = form.GetAt(i);
        if (e->IsSelected() && Reaches(*e, e->GetZoomedRect(zoom), zoom, area))
            e->DrawMarkers(dc, zoom);
    }
}

void PaintForm(DrawContext& dc, CDiagramEntityContainer& form, double zoom)
{
    DrawDialogFace(dc, ZoomedPaper(form, zoom));
    DrawFormElements(dc, form, zoom);
}

IntRect ZoomedPaper(const CDiagramEntityContainer& form, double zoom)
{
    IntSize paper = form.GetPaper();
    return {0, 0, ZoomEdge(paper.cx, zoom), ZoomEdge(paper.cy, zoom)};
}

}  // namespace fw
