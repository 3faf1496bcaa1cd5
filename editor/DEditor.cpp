#include "editor/DEditor.h"

#include "editor/FormPainter.h"

namespace fw {

void CDEditor::DrawBackground(DrawContext& dc, const IntRect& rect, double /*zoom*/)
{
    DrawDialogFace(dc, rect);
}

void CDEditor::DrawGrid(DrawContext& dc, const IntRect& /*rect*/, double zoom)
{
    const IntSize paper = GetVirtualSize();
    const IntSize grid = GetGridSize();
    const Color colour = GetGridColor().Resolve(dc);
    for (int i = 0; i <= paper.cx / grid.cx; ++i) {
        const int x = ZoomEdge(static_cast<double>(i) * grid.cx, zoom);
        if (!IsPainted({x, 0, x + 1, ZoomEdge(paper.cy, zoom) + 1}))
            continue;
        for (int j = 0; j <= paper.cy / grid.cy; ++j) {
            const int y = ZoomEdge(static_cast<double>(j) * grid.cy, zoom);
            dc.FillSolidRect({x, y, x + 1, y + 1}, colour);
        }
    }
}

}  // namespace fw
