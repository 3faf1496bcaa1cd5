#include "editor/DiagramEditor.h"

#include "controls/ControlDrawing.h"
#include "editor/ButtonBarLayout.h"
#include "editor/FormPainter.h"
#include "model/DiagramEntityContainer.h"
#include "render/FontZoom.h"
#include "services/LanguageTable.h"

#include <algorithm>
#include <climits>
#include <cmath>

// Painting: the paper, grid, margins, elements, markers, pan anchor and the
// preview of a running form's button bar.

namespace fw {

// --- painting -------------------------------------------------------------------------

void CDiagramEditor::Paint(DrawContext& dc)
{
    PaintArea(dc, {0, 0, m_clientSize.cx, m_clientSize.cy});
}

void CDiagramEditor::PaintArea(DrawContext& dc, const IntRect& area)
{
    PaintUnderElements(dc, area);
    PaintElements(dc, {area});
}

void CDiagramEditor::PaintUnderElements(DrawContext& dc, const IntRect& area)
{
    const int h = GetHScrollPos();
    const int v = GetVScrollPos();
    // The paper's background covers the paper whole: erase only around it.
    const IntRect paper = GetZoomedPaperRect();
    auto screen = [](int zoomed, int scroll) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{zoomed} - scroll, INT_MIN, INT_MAX));
    };
    const IntRect sheet = IntRect{screen(paper.left, h), screen(paper.top, v), screen(paper.right, h),
                                  screen(paper.bottom, v)}
                              .Intersection(area);
    if (sheet.IsEmpty()) {
        EraseBackground(dc, area);
    } else {
        for (const IntRect& part : {IntRect{area.left, area.top, area.right, sheet.top},
                                    IntRect{area.left, sheet.bottom, area.right, area.bottom},
                                    IntRect{area.left, sheet.top, sheet.left, sheet.bottom},
                                    IntRect{sheet.right, sheet.top, area.right, sheet.bottom}})
            if (!part.IsEmpty())
                EraseBackground(dc, part);
    }
    const IntPoint oldOrigin = dc.SetOrigin({-h, -v});
    m_paintAreas = {IntRect{h + area.left, v + area.top, h + area.right, v + area.bottom}};
    const IntRect zoomedPaper = GetZoomedPaperRect();
    DrawBackground(dc, zoomedPaper, m_zoom);
    if (m_gridVisible)
        DrawGrid(dc, zoomedPaper, m_zoom);
    if (m_marginsVisible)
        DrawMargins(dc, zoomedPaper, m_zoom);
    m_paintAreas.clear();
    dc.SetOrigin(oldOrigin);
}

void CDiagramEditor::PaintElements(DrawContext& dc, const std::vector<IntRect>& areas)
{
    const int h = GetHScrollPos();
    const int v = GetVScrollPos();
    const IntPoint oldOrigin = dc.SetOrigin({-h, -v});
    for (const IntRect& area : areas)
        if (!area.IsEmpty())
            m_paintAreas.push_back(area.Offset(h, v));
    if (!m_paintAreas.empty())
        DrawObjects(dc, m_zoom);
    m_paintAreas.clear();
    if (m_paperResize && m_paperMarkersShown)
        DrawPaperMarkers(dc);
    if (m_panning)
        DrawPanAnchor(dc);
    if (m_showButtonBar)
        DrawButtonBar(dc);
    dc.SetOrigin(oldOrigin);
    DrawSnapGuides(dc);
    if (m_interactMode == ModeRubberBand && m_rubberBand.left != m_rubberBand.right &&
        m_rubberBand.top != m_rubberBand.bottom)
        dc.DrawFocusRect(m_rubberBand.Normalized());
}

void CDiagramEditor::DrawSnapGuides(DrawContext& dc)
{
    for (const SnapGuide& guide : m_snapGuides)
        dc.FillSolidRect(GuideScreenRect(guide), SnapGuideColour);
}

void CDiagramEditor::Print(DrawContext& dc, const IntRect& rect, double scale)
{
    UnselectAll();
    NotifySelection();
    DrawBackground(dc, rect, scale);
    DrawObjects(dc, scale);
}

void CDiagramEditor::EraseBackground(DrawContext& dc, const IntRect& rect)
{
    dc.FillSolidRect(rect, m_nonClientColour.Resolve(dc));
}

void CDiagramEditor::DrawBackground(DrawContext& dc, const IntRect& rect, double /*zoom*/)
{
    dc.FillSolidRect(rect, m_bgColour.Resolve(dc));
}

void CDiagramEditor::DrawGrid(DrawContext& dc, const IntRect& rect, double zoom)
{
    const IntSize paper = GetVirtualSize();
    const Pen oldPen = dc.SelectPen(Pen{m_gridStyle, 1, m_gridColour.Resolve(dc)});
    const auto [firstColumn, lastColumn] =
        PaintedGridLines(paper.cx / m_gridSize.cx, m_gridSize.cx, zoom, Orientation::Horizontal);
    for (int i = firstColumn; i <= lastColumn; ++i) {
        const int x = RoundEdge(static_cast<double>(i) * m_gridSize.cx * zoom);
        dc.MoveTo({x, 0});
        dc.LineTo({x, rect.Height()});
    }
    const auto [firstRow, lastRow] =
        PaintedGridLines(paper.cy / m_gridSize.cy, m_gridSize.cy, zoom, Orientation::Vertical);
    for (int j = firstRow; j <= lastRow; ++j) {
        const int y = RoundEdge(static_cast<double>(j) * m_gridSize.cy * zoom);
        dc.MoveTo({0, y});
        dc.LineTo({rect.Width(), y});
    }
    dc.SelectPen(oldPen);
}

void CDiagramEditor::DrawMargins(DrawContext& dc, const IntRect& rect, double zoom)
{
    const int left = RoundEdge(m_leftMargin * zoom);
    const int top = RoundEdge(m_topMargin * zoom);
    const int right = RoundEdge(m_rightMargin * zoom);
    const int bottom = RoundEdge(m_bottomMargin * zoom);
    const IntPoint topLeft{rect.left + left, rect.top + top};
    const IntPoint bottomLeft{rect.left + left, rect.bottom - bottom - 1};
    const IntPoint topRight{rect.right - right - 1, rect.top + top};
    const IntPoint bottomRight{rect.right - right - 1, rect.bottom - bottom - 1};
    const Pen oldPen = dc.SelectPen(Pen{PenStyle::Solid, 0, m_marginColour});
    auto line = [&dc](IntPoint from, IntPoint to) {
        dc.MoveTo(from);
        dc.LineTo(to);
    };
    if (m_leftMargin != 0)
        line(topLeft, bottomLeft);
    if (m_rightMargin != 0)
        line(topRight, bottomRight);
    if (m_topMargin != 0)
        line(topLeft, topRight);
    if (m_bottomMargin != 0)
        line(bottomLeft, bottomRight);
    dc.SelectPen(oldPen);
}

std::pair<int, int> CDiagramEditor::PaintedGridLines(int count, int cell, double zoom, Orientation axis) const
{
    const double spacing = cell * zoom;
    // A line must leave room for its one pixel within the int range.
    const double end = std::min<double>(count, std::floor((INT_MAX - 2) / spacing));
    if (m_paintAreas.empty())
        return {0, static_cast<int>(end)};
    const IntRect& painted = m_paintAreas.front();
    const bool across = axis == Orientation::Horizontal;
    const double from = across ? painted.left : painted.top;
    const double to = across ? painted.right : painted.bottom;
    // One line more on either side, against rounding.
    const double first = std::floor(from / spacing) - 1;
    const double last = std::ceil(to / spacing) + 1;
    return {static_cast<int>(std::clamp(first, 0.0, end)), static_cast<int>(std::clamp(last, 0.0, end))};
}

void CDiagramEditor::DrawObjects(DrawContext& dc, double zoom)
{
    if (m_objs)
        DrawFormElements(dc, *m_objs, zoom, m_paintAreas.empty() ? nullptr : &m_paintAreas);
}

void CDiagramEditor::DrawPaperMarkers(DrawContext& dc)
{
    static constexpr int Order[] = {HitCode::TopLeft, HitCode::Top,         HitCode::TopRight, HitCode::BottomLeft,
                                    HitCode::Bottom,  HitCode::BottomRight, HitCode::Right,    HitCode::Left};
    for (int code : Order)
        dc.FillSolidRect(GetPaperMarkerRect(code), Color{0, 0, 0});
}

void CDiagramEditor::DrawPanAnchor(DrawContext& dc)
{
    // The origin is a client point; painting runs in scrolled coordinates.
    const IntPoint c{m_panOrigin.x + GetHScrollPos(), m_panOrigin.y + GetVScrollPos()};
    const Pen oldPen = dc.SelectPen(Pen::Solid(Color{0x80, 0x80, 0x80}));
    const Brush oldBrush = dc.SelectBrush(Brush::Solid(Color{0xFF, 0xFF, 0xFF}));
    dc.Ellipse({c.x - 16, c.y - 16, c.x + 16, c.y + 16});
    dc.SelectBrush(Brush::Solid(Color{0xC0, 0xC0, 0xC0}));
    dc.Ellipse({c.x - 4, c.y - 4, c.x + 4, c.y + 4});
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
}

void CDiagramEditor::DrawRaisedButton(DrawContext& dc, const IntRect& rect, const std::string& label, int textInset)
{
    dc.FillSolidRect(rect, dc.GetSysColor(SysColor::BtnFace));
    const Pen oldPen = DrawFramePath(dc, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}, SysColor::BtnHighlight,
                                     SysColor::DkShadow3D);
    DrawFramePath(dc, {rect.left + 1, rect.top + 1, rect.right - 2, rect.bottom - 2}, SysColor::Light3D,
                  SysColor::BtnShadow);
    dc.SelectPen(oldPen);

    FontDesc font = ZoomFont(dc.GetDefaultGuiFont(), m_zoom);
    font.face = "Arial";
    const FontDesc oldFont = dc.SelectFont(font);
    const BkMode oldMode = dc.SetBkMode(BkMode::Transparent);
    const Color oldText = dc.SetTextColor(dc.GetSysColor(SysColor::BtnText));
    dc.DrawText(label, Inset(rect, textInset, textInset),
                TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);
    dc.SetTextColor(oldText);
    dc.SetBkMode(oldMode);
    dc.SelectFont(oldFont);
}

void CDiagramEditor::DrawButtonBar(DrawContext& dc)
{
    // A preview of a running form's bottom bar, zoomed with the paper.
    const ButtonBarLayout bar = LayOutButtonBar(GetVirtualSize(), m_leftMargin, m_topMargin, m_bottomMargin, m_zoom);
    const IntRect& strip = bar.strip;
    const Pen oldPen = DrawFramePath(dc, {strip.left, strip.top, strip.right - 1, strip.bottom - 1},
                                     SysColor::BtnShadow, SysColor::BtnHighlight);
    dc.SelectPen(oldPen);
    DrawRaisedButton(dc, bar.cancel, langStr("MFC_CANCEL"), bar.textInset);
    DrawRaisedButton(dc, bar.ok, langStr("MFC_OK"), bar.textInset);
    const std::string labels[] = {langStr("H.."), langStr("E.."), langStr("< --"), "-- >"};
    for (size_t i = 0; i < bar.small.size(); ++i)
        DrawRaisedButton(dc, bar.small[i], labels[i], bar.textInset);
    const Pen before = DrawFramePath(dc, {bar.box.left, bar.box.top, bar.box.right - 1, bar.box.bottom - 1},
                                     SysColor::BtnShadow, SysColor::BtnHighlight);
    dc.SelectPen(before);
}

}  // namespace fw
