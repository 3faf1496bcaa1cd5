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
    const auto [firstColumn, lastColumn] = PaintedGridLines(paper.cx / grid.cx, grid.cx, zoom, Orientation::Horizontal);
    const auto [firstRow, lastRow] = PaintedGridLines(paper.cy / grid.cy, grid.cy, zoom, Orientation::Vertical);
    for (int i = firstColumn; i <= lastColumn; ++i) {
        const int x = ZoomEdge(static_cast<double>(i) * grid.cx, zoom);
        for (int j = firstRow; j <= lastRow; ++j) {
            const int y = ZoomEdge(static_cast<double>(j) * grid.cy, zoom);
            dc.FillSolidRect({x, y, x + 1, y + 1}, colour);
        }
    }
}

}  // namespace fw
