#include "editor/FormPainter.h"

#include "model/DiagramEntityContainer.h"

#include <algorithm>
#include <numeric>
#include <vector>

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

void DrawFormElements(DrawContext& dc, CDiagramEntityContainer& form, double zoom, const std::vector<IntRect>* areas)
{
    // Only the elements that can reach an area, from the form's index, in list order.
    std::vector<int> drawn;
    if (areas) {
        std::vector<int> found;
        for (const IntRect& area : *areas) {
            form.FindDrawn(zoom, area, dc, found);
            drawn.insert(drawn.end(), found.begin(), found.end());
        }
        if (areas->size() > 1) {
            std::sort(drawn.begin(), drawn.end());
            drawn.erase(std::unique(drawn.begin(), drawn.end()), drawn.end());
        }
    } else {
        drawn.resize(static_cast<std::size_t>(form.GetCount()));
        std::iota(drawn.begin(), drawn.end(), 0);
    }
    // Draw() would put each element's markers between the elements; they go last.
    auto paint = [&](bool shapes) {
        for (int i : drawn) {
            CDiagramEntity* e = form.GetAt(i);
            if (e->IsShape() != shapes)
                continue;
            e->SetZoom(zoom);
            e->DrawObject(dc, e->GetZoomedRect(zoom));
        }
    };
    paint(true);
    paint(false);
    for (int i : drawn) {
        CDiagramEntity* e = form.GetAt(i);
        if (e->IsSelected())
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
