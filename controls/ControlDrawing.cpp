#include "controls/ControlDrawing.h"

#include "model/DiagramEntity.h"
#include "render/FontZoom.h"
#include "render/SystemColors.h"

#include <algorithm>
#include <array>
#include <climits>

namespace fw {

namespace {

struct KeptTools {
    bool made = false;
    Color color;
    Pen pen;
    Brush brush;
};

// One thread draws, so plain statics do.
const KeptTools& KeptToolsOf(const DrawContext& dc, SysColor which)
{
    static std::array<KeptTools, kSysColorCount> kept;
    static KeptTools outside;
    const int index = static_cast<int>(which);
    KeptTools& entry = index >= 0 && index < kSysColorCount ? kept[index] : outside;
    const Color color = dc.GetSysColor(which);
    if (!entry.made || entry.color != color) {
        entry.made = true;
        entry.color = color;
        entry.pen = Pen::Solid(color);
        entry.brush = Brush::Solid(color);
    }
    return entry;
}

int Moved(int edge, int by)
{
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(edge) + by, INT_MIN, INT_MAX));
}

}  // namespace

IntRect Inset(const IntRect& rect, int leftTop, int rightBottom)
{
    return {Moved(rect.left, leftTop), Moved(rect.top, leftTop), Moved(rect.right, -rightBottom),
            Moved(rect.bottom, -rightBottom)};
}

const Pen& SysColorPen(const DrawContext& dc, SysColor which)
{
    return KeptToolsOf(dc, which).pen;
}

const Brush& SysColorBrush(const DrawContext& dc, SysColor which)
{
    return KeptToolsOf(dc, which).brush;
}

Pen DrawFramePath(DrawContext& dc, const IntRect& corners, SysColor topLeft, SysColor bottomRight)
{
    const Pen previous = dc.SelectPen(SysColorPen(dc, topLeft));
    dc.MoveTo({corners.left, corners.bottom});
    dc.LineTo({corners.left, corners.top});
    dc.LineTo({corners.right, corners.top});
    dc.SelectPen(SysColorPen(dc, bottomRight));
    dc.LineTo({corners.right, corners.bottom});
    dc.LineTo({corners.left, corners.bottom});
    return previous;
}

IntRect DrawSunkenBox(DrawContext& dc, const IntRect& rect)
{
    dc.SelectPen(SysColorPen(dc, SysColor::Window));
    dc.SelectBrush(SysColorBrush(dc, SysColor::Window));
    dc.Rectangle(rect);

    // Lines end short of their end point, so the corners are the last pixels inside.
    IntRect corners = Inset(rect, 0, 1);
    DrawFramePath(dc, corners, SysColor::BtnShadow, SysColor::BtnHighlight);
    corners = Inset(corners, 1, 1);
    DrawFramePath(dc, corners, SysColor::DkShadow3D, SysColor::Light3D);

    dc.SelectPen(Pen::StockBlack());
    return corners;
}

void DrawEtchedFrame(DrawContext& dc, const IntRect& rect)
{
    const Pen previous = DrawFramePath(dc, Inset(rect, 0, 1), SysColor::BtnShadow, SysColor::BtnHighlight);
    DrawFramePath(dc, Inset(Inset(rect, 1, 1), 0, 1), SysColor::BtnHighlight, SysColor::BtnShadow);
    dc.SelectPen(previous);
}

FontDesc ZoomedGuiFont(const DrawContext& dc, double zoom)
{
    FontDesc font = dc.GetDefaultGuiFont();
    if (font.height == 0 && font.pointSize > 0) {
        font.height = TruncEdge(font.pointSize * 96.0 / 72.0 + 0.5);
        font.pointSize = 0;
    }
    font = ZoomFont(font, zoom);
    if (zoom < 1.0)
        font.face = "Arial";
    return font;
}

}  // namespace fw
