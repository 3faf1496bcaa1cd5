#include "editor/DEditor.h"

#include "editor/FormPainter.h"

#include <vector>

namespace fw {

void CDEditor::DrawBackground(DrawContext& dc, const IntRect& rect, double /*zoom*/)
{
    DrawDialogFace(dc, rect);
}

void CDEditor::DrawGrid(DrawContext& dc, const IntRect& /*rect*/, double zoom)
{
    const IntSize paper = GetVirtualSize();
    const IntSize grid = GetGridSize();
    const auto [firstColumn, lastColumn] = PaintedGridLines(paper.cx / grid.cx, grid.cx, zoom, Orientation::Horizontal);
    const auto [firstRow, lastRow] = PaintedGridLines(paper.cy / grid.cy, grid.cy, zoom, Orientation::Vertical);
    std::vector<int> columns;
    std::vector<int> rows;
    for (int i = firstColumn; i <= lastColumn; ++i)
        columns.push_back(ZoomEdge(static_cast<double>(i) * grid.cx, zoom));
    for (int j = firstRow; j <= lastRow; ++j)
        rows.push_back(ZoomEdge(static_cast<double>(j) * grid.cy, zoom));
    dc.FillPixelGrid(columns, rows, GetGridColor().Resolve(dc));
}

}  // namespace fw
