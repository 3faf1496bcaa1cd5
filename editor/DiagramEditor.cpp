#include "editor/DiagramEditor.h"

#include "controls/ControlDrawing.h"
#include "editor/DiagramMenu.h"
#include "editor/FormPainter.h"
#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// One wheel accumulator for every editor window.
int g_wheelAccumulator = 0;

// The zoom never reaches 0, whatever the lower limit says: every
// conversion divides by it.
constexpr double SmallestZoom = 0.01;

int Round(double value)
{
    return TruncEdge(value + 0.5);
}

bool IsHandle(int code)
{
    return code >= HitCode::TopLeft && code <= HitCode::Right;
}

bool OwnsLeft(int code)
{
    return code == HitCode::TopLeft || code == HitCode::BottomLeft || code == HitCode::Left;
}
bool OwnsRight(int code)
{
    return code == HitCode::TopRight || code == HitCode::BottomRight || code == HitCode::Right;
}
bool OwnsTop(int code)
{
    return code == HitCode::TopLeft || code == HitCode::Top || code == HitCode::TopRight;
}
bool OwnsBottom(int code)
{
    return code == HitCode::BottomLeft || code == HitCode::Bottom || code == HitCode::BottomRight;
}

// The handle at the opposite side of one axis.
int MirrorVertically(int code)
{
    switch (code) {
    case HitCode::TopLeft:
        return HitCode::BottomLeft;
    case HitCode::Top:
        return HitCode::Bottom;
    case HitCode::TopRight:
        return HitCode::BottomRight;
    case HitCode::BottomLeft:
        return HitCode::TopLeft;
    case HitCode::Bottom:
        return HitCode::Top;
    case HitCode::BottomRight:
        return HitCode::TopRight;
    default:
        return code;
    }
}
int MirrorHorizontally(int code)
{
    switch (code) {
    case HitCode::TopLeft:
        return HitCode::TopRight;
    case HitCode::Left:
        return HitCode::Right;
    case HitCode::BottomLeft:
        return HitCode::BottomRight;
    case HitCode::TopRight:
        return HitCode::TopLeft;
    case HitCode::Right:
        return HitCode::Left;
    case HitCode::BottomRight:
        return HitCode::BottomLeft;
    default:
        return code;
    }
}

// The direction code a line reads its diagonal from, after a handle flip.
int DirectionAfterFlip(int oldHandle, int newHandle, int direction)
{
    switch (newHandle) {
    case HitCode::BottomRight:
        return 1;
    case HitCode::TopRight:
        return 2;
    case HitCode::TopLeft:
        return 3;
    case HitCode::BottomLeft:
        return 4;
    default:
        break;
    }
    if (oldHandle == HitCode::Bottom)  // bottom across top
        return direction == 1 ? 2 : direction == 4 ? 3 : direction;
    if (oldHandle == HitCode::Top)
        return direction == 2 ? 1 : direction == 3 ? 4 : direction;
    if (oldHandle == HitCode::Left)
        return direction == 3 ? 2 : direction == 4 ? 1 : direction;
    if (oldHandle == HitCode::Right)
        return direction == 2 ? 3 : direction == 1 ? 4 : direction;
    return direction;
}

// A moved edge of a control: the size between it and the fixed edge stays
// within the limits (-1: none); crossing the fixed edge holds at the minimum.
double LimitEdge(double moved, double fixed, bool movedIsFar, int minimum, int maximum)
{
    double size = movedIsFar ? moved - fixed : fixed - moved;
    const double low = std::max(minimum, 0);
    if (size < low)
        size = low;
    if (maximum != -1 && size > maximum)
        size = maximum;
    return movedIsFar ? fixed + size : fixed - size;
}

}  // namespace

CDiagramEditor::CDiagramEditor() = default;

CDiagramEditor::~CDiagramEditor() = default;

bool CDiagramEditor::Create(EditorHost* host, CDiagramEntityContainer* container)
{
    m_host = host;
    if (!container) {
        m_internalData = std::make_unique<CDiagramEntityContainer>();
        container = m_internalData.get();
    }
    m_objs = container;
    m_reference = nullptr;
    m_moveAnchor = nullptr;
    if (m_host)
        m_clientSize = m_host->GetClientSize();
    if (m_objs->GetPaper() == IntSize{0, 0})
        m_objs->SetPaper(m_clientSize);
    SetupScrollbars();
    return m_host != nullptr;
}

void CDiagramEditor::Clear()
{
    m_rubberBand = {};
    m_interactMode = ModeNone;
    m_subMode = 0;
    m_zoom = 1.0;
    m_paperMarkersShown = 0;
    m_deltaPoint = {};
    m_moveAnchor = nullptr;
    m_drawing = 0;
    StopPanning();
    m_drawObj.reset();
    if (m_host) {
        SetupScrollbars();
        SetScroll(Orientation::Horizontal, 0);
        SetScroll(Orientation::Vertical, 0);
        Repaint();
    }
    if (m_propertiesPane)
        m_propertiesPane->SetSelection(nullptr);
}

// --- conversions -----------------------------------------------------------

IntPoint CDiagramEditor::ScreenToVirtual(IntPoint point) const
{
    return {TruncEdge((point.x + GetHScrollPos()) / m_zoom + 0.5),
            TruncEdge((point.y + GetVScrollPos()) / m_zoom + 0.5)};
}

IntRect CDiagramEditor::ScreenToVirtual(const IntRect& rect) const
{
    const IntPoint topLeft = ScreenToVirtual(IntPoint{rect.left, rect.top});
    const IntPoint bottomRight = ScreenToVirtual(IntPoint{rect.right, rect.bottom});
    return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

IntRect CDiagramEditor::VirtualToScreen(const IntRect& rect) const
{
    const IntRect r = rect.Normalized();
    const int h = GetHScrollPos();
    const int v = GetVScrollPos();
    return {TruncEdge(r.left * m_zoom - h + 0.5), TruncEdge(r.top * m_zoom - v + 0.5),
            TruncEdge(r.right * m_zoom - h + 0.5), TruncEdge(r.bottom * m_zoom - v + 0.5)};
}

int CDiagramEditor::VirtualToZoomedPaper(double value) const
{
    return ZoomEdge(value, m_zoom);
}

IntRect CDiagramEditor::ScreenRectOf(const CDiagramEntity& element) const
{
    const double left = std::min(element.GetLeft(), element.GetRight());
    const double right = std::max(element.GetLeft(), element.GetRight());
    const double top = std::min(element.GetTop(), element.GetBottom());
    const double bottom = std::max(element.GetTop(), element.GetBottom());
    const int h = GetHScrollPos();
    const int v = GetVScrollPos();
    return {TruncEdge(left * m_zoom - h + 0.5), TruncEdge(top * m_zoom - v + 0.5), TruncEdge(right * m_zoom - h + 0.5),
            TruncEdge(bottom * m_zoom - v + 0.5)};
}

IntSize CDiagramEditor::GetVirtualSize() const
{
    IntSize size = m_objs ? m_objs->GetPaper() : IntSize{0, 0};
    if (size.cx == 0)
        size.cx = m_clientSize.cx;
    if (size.cy == 0)
        size.cy = m_clientSize.cy;
    return size;
}

void CDiagramEditor::SetVirtualSize(IntSize size)
{
    if (!m_objs)
        return;
    m_objs->SetPaper(size);
    m_objs->SetModified(true);
    SetupScrollbars();
    Repaint();
}

IntRect CDiagramEditor::GetZoomedPaperRect() const
{
    const IntSize paper = GetVirtualSize();
    return {0, 0, Round(paper.cx * m_zoom) + 1, Round(paper.cy * m_zoom) + 1};
}

// --- form and settings -------------------------------------------------------

void CDiagramEditor::SetDiagramEntityContainer(CDiagramEntityContainer* container)
{
    if (m_internalData && container != m_internalData.get())
        m_internalData.reset();
    m_objs = container;
    m_reference = nullptr;
    m_moveAnchor = nullptr;
    if (m_objs)
        m_objs->SetShowTabOrder(m_showTabOrder);
    SetupScrollbars();
    Repaint();
}

void CDiagramEditor::SetBackgroundColor(EditorColour colour)
{
    m_bgColour = colour;
    Repaint();
}

void CDiagramEditor::SetNonClientColor(EditorColour colour)
{
    m_nonClientColour = colour;
    Repaint();
}

void CDiagramEditor::ShowGrid(bool on)
{
    m_gridVisible = on;
    Repaint();
}

void CDiagramEditor::SetGridPenStyle(PenStyle style)
{
    m_gridStyle = style;
    Repaint();
}

void CDiagramEditor::SetGridSize(IntSize size)
{
    // A zero cell would divide by zero when snapping.
    m_gridSize = {std::max(size.cx, 1), std::max(size.cy, 1)};
    Repaint();
}

void CDiagramEditor::SetGridColor(EditorColour colour)
{
    m_gridColour = colour;
    Repaint();
}

void CDiagramEditor::ShowButtonBar(bool on)
{
    m_showButtonBar = on;
    Repaint();
}

void CDiagramEditor::ShowMargins(bool on)
{
    m_marginsVisible = on;
    Repaint();
}

void CDiagramEditor::SetMarginColor(Color colour)
{
    m_marginColour = colour;
    Repaint();
}

void CDiagramEditor::SetMargins(int left, int top, int right, int bottom)
{
    m_leftMargin = left;
    m_topMargin = top;
    m_rightMargin = right;
    m_bottomMargin = bottom;
    Repaint();
}

void CDiagramEditor::SetShowTabOrder(bool show)
{
    m_showTabOrder = show;
    if (m_objs)
        m_objs->SetShowTabOrder(show);
    Repaint();
}

void CDiagramEditor::SetInteractMode(int mode, int subMode)
{
    m_interactMode = mode;
    m_subMode = subMode;
}

int CDiagramEditor::GetInteractMode() const
{
    return m_interactMode;
}

CDiagramEntity* CDiagramEditor::GetDrawingObject() const
{
    return m_drawObj.get();
}

// --- small services ------------------------------------------------------------

void CDiagramEditor::Repaint()
{
    if (m_host)
        m_host->Invalidate();
}

void CDiagramEditor::Snapshot()
{
    if (m_objs)
        m_objs->Snapshot();
}

void CDiagramEditor::SetModified()
{
    if (m_objs)
        m_objs->SetModified(true);
}

int CDiagramEditor::SnapX(int x) const
{
    return static_cast<int>(std::trunc(static_cast<double>(x) / m_gridSize.cx + 0.5)) * m_gridSize.cx;
}

int CDiagramEditor::SnapY(int y) const
{
    return static_cast<int>(std::trunc(static_cast<double>(y) / m_gridSize.cy + 0.5)) * m_gridSize.cy;
}

int CDiagramEditor::GetSelectCount() const
{
    return m_objs ? m_objs->GetSelectedCount() : 0;
}

bool CDiagramEditor::IsAnyObjectSelected() const
{
    if (!m_objs)
        return false;
    for (int i = 0; i < m_objs->GetCount(); ++i)
        if (m_objs->GetAt(i)->IsSelected())
            return true;
    return false;
}

bool CDiagramEditor::IsDrawing() const
{
    return m_drawObj && m_drawing;
}

void CDiagramEditor::NotifySelection()
{
    if (!m_propertiesPane || !m_objs)
        return;
    bool first = true;
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* element = m_objs->GetAt(i);
        if (!element->IsSelected())
            continue;
        if (first)
            m_propertiesPane->SetSelection(element);
        else
            m_propertiesPane->AddSelection(element);
        first = false;
    }
    if (first) {
        m_propertiesPane->SetEditor(this);
        m_propertiesPane->ShowFormProperties();
    } else {
        m_propertiesPane->ShowControlProperties();
    }
}

// --- restraint -------------------------------------------------------------------

IntRect CDiagramEditor::RestraintArea() const
{
    const IntSize paper = GetVirtualSize();
    if (m_restraint == RestraintMargins)
        return {m_leftMargin, m_topMargin, paper.cx - m_rightMargin, paper.cy - m_bottomMargin};
    return {0, 0, paper.cx, paper.cy};
}

void CDiagramEditor::RestrainRect(double& left, double& top, double& right, double& bottom) const
{
    if (m_restraint == RestraintNone)
        return;
    const IntRect area = RestraintArea();
    auto keepInside = [](double& low, double& high, int areaLow, int areaHigh) {
        if (low < areaLow) {
            high += areaLow - low;
            low = areaLow;
        }
        if (high > areaHigh) {
            low -= high - areaHigh;
            high = areaHigh;
        }
    };
    keepInside(left, right, area.left, area.right);
    keepInside(top, bottom, area.top, area.bottom);
}

void CDiagramEditor::RestrainPoint(double& x, double& y) const
{
    if (m_restraint == RestraintNone)
        return;
    const IntRect area = RestraintArea();
    x = std::clamp<double>(x, area.left, std::max(area.left, area.right));
    y = std::clamp<double>(y, area.top, std::max(area.top, area.bottom));
}

void CDiagramEditor::RestrainDelta(double& dx, double& dy) const
{
    if (m_restraint == RestraintNone || !m_objs)
        return;
    bool any = false;
    double left = 0, top = 0, right = 0, bottom = 0;
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        const CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        const double l = std::min(e->GetLeft(), e->GetRight());
        const double r = std::max(e->GetLeft(), e->GetRight());
        const double t = std::min(e->GetTop(), e->GetBottom());
        const double b = std::max(e->GetTop(), e->GetBottom());
        left = any ? std::min(left, l) : l;
        right = any ? std::max(right, r) : r;
        top = any ? std::min(top, t) : t;
        bottom = any ? std::max(bottom, b) : b;
        any = true;
    }
    if (!any)
        return;
    const IntRect area = RestraintArea();
    if (left + dx < area.left)
        dx = area.left - left;
    if (right + dx > area.right)
        dx = area.right - right;
    if (top + dy < area.top)
        dy = area.top - top;
    if (bottom + dy > area.bottom)
        dy = area.bottom - bottom;
}

bool CDiagramEditor::IsOutsideRestraint(IntPoint point) const
{
    if (m_restraint == RestraintNone)
        return false;
    const IntRect area = RestraintArea();
    return point.x < area.left || point.y < area.top || point.x > area.right || point.y > area.bottom;
}

IntSize CDiagramEditor::GetObjectsExtent() const
{
    double right = 0;
    double bottom = 0;
    if (m_objs) {
        for (int i = 0; i < m_objs->GetCount(); ++i) {
            const CDiagramEntity* e = m_objs->GetAt(i);
            right = std::max(right, std::max(e->GetLeft(), e->GetRight()));
            bottom = std::max(bottom, std::max(e->GetTop(), e->GetBottom()));
        }
    }
    return {Round(right), Round(bottom)};
}

// --- scrolling and zoom ----------------------------------------------------------

void CDiagramEditor::SetupScrollbars()
{
    if (!m_host)
        return;
    const IntRect paper = GetZoomedPaperRect();
    auto setup = [this](Orientation which, ScrollBarState& bar, int client, int extent) {
        if (client < extent) {
            bar.shown = true;
            bar.range = extent;
            bar.page = client;
            bar.pos = std::clamp(bar.pos, 0, std::max(0, extent - client));
        } else {
            bar = {};
        }
        m_host->SetScrollBar(which, bar);
    };
    setup(Orientation::Horizontal, m_hScroll, m_clientSize.cx, paper.Width());
    setup(Orientation::Vertical, m_vScroll, m_clientSize.cy, paper.Height());
}

void CDiagramEditor::SetScroll(Orientation which, int pos)
{
    ScrollBarState& bar = which == Orientation::Horizontal ? m_hScroll : m_vScroll;
    if (!bar.shown)
        return;
    const int clamped = std::clamp(pos, 0, std::max(0, bar.range - bar.page));
    if (clamped == bar.pos)
        return;
    bar.pos = clamped;
    if (m_host)
        m_host->SetScrollBar(which, bar);
}

void CDiagramEditor::OnScroll(Orientation which, ScrollRequest request, int thumbPos)
{
    const ScrollBarState& bar = which == Orientation::Horizontal ? m_hScroll : m_vScroll;
    int pos = bar.pos;
    switch (request) {
    case ScrollRequest::LineUp:
        pos -= 1;
        break;
    case ScrollRequest::LineDown:
        pos += 1;
        break;
    case ScrollRequest::PageUp:
        pos -= bar.page;
        break;
    case ScrollRequest::PageDown:
        pos += bar.page;
        break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        pos = thumbPos;
        break;
    case ScrollRequest::Top:
        pos = 0;
        break;
    case ScrollRequest::Bottom:
        pos = bar.range;
        break;
    }
    SetScroll(which, pos);
    Repaint();
}

void CDiagramEditor::OnHScroll(ScrollRequest request, int thumbPos)
{
    OnScroll(Orientation::Horizontal, request, thumbPos);
}

void CDiagramEditor::OnVScroll(ScrollRequest request, int thumbPos)
{
    OnScroll(Orientation::Vertical, request, thumbPos);
}

void CDiagramEditor::SetHScroll(int pos)
{
    SetScroll(Orientation::Horizontal, std::max(pos, 0));
    Repaint();
}

void CDiagramEditor::SetVScroll(int pos)
{
    SetScroll(Orientation::Vertical, std::max(pos, 0));
    Repaint();
}

IntPoint CDiagramEditor::AutoScroll(IntPoint point)
{
    const int oldH = m_hScroll.pos;
    const int oldV = m_vScroll.pos;
    if (point.x >= m_clientSize.cx)
        SetScroll(Orientation::Horizontal, m_hScroll.pos + 10);
    else if (point.x < 0)
        SetScroll(Orientation::Horizontal, m_hScroll.pos - 10);
    if (point.y >= m_clientSize.cy)
        SetScroll(Orientation::Vertical, m_vScroll.pos + 10);
    else if (point.y < 0)
        SetScroll(Orientation::Vertical, m_vScroll.pos - 10);
    const IntPoint scrolled{m_hScroll.pos - oldH, m_vScroll.pos - oldV};
    if (scrolled.x != 0 || scrolled.y != 0)
        Repaint();
    return scrolled;
}

void CDiagramEditor::SetZoom(double zoom)
{
    double z = zoom < m_zoomMin ? m_zoomMin : std::min(zoom, m_zoomMax);
    if (!(z >= SmallestZoom))
        z = SmallestZoom;
    m_zoom = z;
    SetupScrollbars();
    Repaint();
}

void CDiagramEditor::OnSize(IntSize client)
{
    m_clientSize = client;
    SetupScrollbars();
    Repaint();
}

// --- elements and tools ----------------------------------------------------------

void CDiagramEditor::AddObject(std::unique_ptr<CDiagramEntity> element)
{
    if (!m_objs || !element)
        return;
    CDiagramEntity* added = m_objs->AddWithDependent(std::move(element));
    m_reference = added && added->IsSelected() ? added : nullptr;
}

void CDiagramEditor::SetObjectRect(CDiagramEntity* element, const IntRect& rect)
{
    if (element)
        element->SetRect(rect);
}

void CDiagramEditor::StartDrawingObject(std::unique_ptr<CDiagramEntity> prototype)
{
    m_drawObj = std::move(prototype);
    m_drawing = m_drawObj != nullptr;
    m_interactMode = m_drawObj ? ModeDrawing : ModeNone;
    if (m_host)
        m_host->SetCursor(m_drawObj ? CursorKind::Cross : CursorKind::Arrow);
}

void CDiagramEditor::StartDrawingPair(std::unique_ptr<CDiagramEntity> prototype)
{
    m_drawObj = std::move(prototype);
    m_drawing = m_drawObj != nullptr;
    m_interactMode = m_drawObj ? ModeDrawingPair : ModeNone;
    if (m_host)
        m_host->SetCursor(m_drawObj ? CursorKind::Cross : CursorKind::Arrow);
}

void CDiagramEditor::New()
{
    if (m_host)
        m_host->SetRedraw(false);
    Clear();
    if (m_objs)
        m_objs->Clear();
    m_reference = nullptr;
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
}

void CDiagramEditor::SaveToStrings(std::vector<std::string>& lines)
{
    if (!m_objs)
        return;
    lines.push_back(m_objs->GetString());
    AddObjectStrings(lines);
    m_objs->SetModified(false);
}

void CDiagramEditor::LoadFromString(const std::string& line)
{
    if (m_objs)
        m_objs->FromString(line);
}

void CDiagramEditor::AddObjectStrings(std::vector<std::string>& lines) const
{
    if (!m_objs)
        return;
    for (int i = 0; i < m_objs->GetCount(); ++i)
        lines.push_back(m_objs->GetAt(i)->GetString());
}

// --- hit testing and cursors -------------------------------------------------------

CDiagramEntity* CDiagramEditor::FindElementAt(IntPoint point, int& hitCode) const
{
    // Controls win over shapes, whatever their places in the z-order.
    for (bool shapes : {false, true}) {
        for (int i = m_objs->GetCount() - 1; i >= 0; --i) {
            CDiagramEntity* e = m_objs->GetAt(i);
            if (IsShapeType(e->GetType()) != shapes)
                continue;
            const int code = e->GetHitCode(point, ScreenRectOf(*e));
            if (code != HitCode::None) {
                hitCode = code;
                return e;
            }
        }
    }
    hitCode = HitCode::None;
    return nullptr;
}

int CDiagramEditor::PaperHitTest(IntPoint point) const
{
    const IntSize paper = GetVirtualSize();
    int code = IntRect{0, 0, paper.cx, paper.cy}.Contains(point) ? HitCode::Body : HitCode::None;
    const IntPoint zoomed{VirtualToZoomedPaper(point.x), VirtualToZoomedPaper(point.y)};
    for (int marker = HitCode::TopLeft; marker <= HitCode::Right; ++marker)
        if (GetPaperMarkerRect(marker).Contains(zoomed))
            code = marker;
    return code;
}

IntRect CDiagramEditor::GetPaperMarkerRect(int code) const
{
    const IntSize paper = GetVirtualSize();
    const IntRect r{0, 0, Round(paper.cx * m_zoom), Round(paper.cy * m_zoom)};
    IntPoint centre;
    switch (code) {
    case HitCode::TopLeft:
        centre = {r.left, r.top};
        break;
    case HitCode::Top:
        centre = {r.left + r.Width() / 2, r.top};
        break;
    case HitCode::TopRight:
        centre = {r.right, r.top};
        break;
    case HitCode::BottomLeft:
        centre = {r.left, r.bottom};
        break;
    case HitCode::Bottom:
        centre = {r.left + r.Width() / 2, r.bottom};
        break;
    case HitCode::BottomRight:
        centre = {r.right, r.bottom};
        break;
    case HitCode::Left:
        centre = {r.left, r.top + r.Height() / 2};
        break;
    case HitCode::Right:
        centre = {r.right, r.top + r.Height() / 2};
        break;
    default:
        return {};
    }
    const int halfX = m_markerSize.cx / 2;
    const int halfY = m_markerSize.cy / 2;
    return {centre.x - halfX, centre.y - halfY, centre.x + halfX, centre.y + halfY};
}

CursorKind CDiagramEditor::GetPaperMarkerCursor(int code) const
{
    switch (code) {
    case HitCode::TopRight:
    case HitCode::BottomLeft:
        return CursorKind::SizeNESW;
    case HitCode::Bottom:
        return CursorKind::SizeNS;
    case HitCode::BottomRight:
        return CursorKind::SizeNWSE;
    case HitCode::Right:
        return CursorKind::SizeWE;
    default:
        return CursorKind::Arrow;
    }
}

CursorKind CDiagramEditor::GetCursorForPosition(IntPoint point) const
{
    if (m_panning) {
        const IntPoint mouse = m_host ? m_host->GetMousePosition() : point;
        const int dx = mouse.x - m_panOrigin.x;
        const int dy = mouse.y - m_panOrigin.y;
        if (dx > 16 || dx < -16) {
            const bool east = dx > 16;
            if (dy < -16)
                return east ? CursorKind::SizeNESW : CursorKind::SizeNWSE;
            if (dy > 16)
                return east ? CursorKind::SizeNWSE : CursorKind::SizeNESW;
            return CursorKind::SizeWE;
        }
        return CursorKind::SizeNS;
    }
    if (m_interactMode == ModeDrawing)
        return CursorKind::Cross;
    if (!m_objs)
        return CursorKind::Arrow;
    CursorKind found = CursorKind::None;
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        const CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        const int code = e->GetHitCode(point, ScreenRectOf(*e));
        if (IsHandle(code))
            found = e->GetCursor(code);
    }
    if (found != CursorKind::None)
        return found;
    if (m_paperMarkersShown) {
        const int code = PaperHitTest(ScreenToVirtual(point));
        if (IsHandle(code))
            return GetPaperMarkerCursor(code);
    }
    return CursorKind::Arrow;
}

void CDiagramEditor::OnSetCursor(IntPoint point)
{
    if (m_host)
        m_host->SetCursor(GetCursorForPosition(point));
}

// --- mouse -------------------------------------------------------------------------

void CDiagramEditor::OnLButtonDown(IntPoint point, unsigned modifiers)
{
    if (!m_objs)
        return;
    StopPanning();
    if (m_host) {
        m_host->SetFocus();
        m_host->CaptureMouse();
    }
    if (m_interactMode != ModeDrawing && m_interactMode != ModeDrawingPair) {
        m_interactMode = ModeNone;
        m_subMode = 0;
    }
    m_paperMarkersShown = 0;
    m_moveAnchor = nullptr;

    const bool ctrl = (modifiers & Modifier::Ctrl) != 0;
    IntPoint v = ScreenToVirtual(point);

    // A handle of a selected element, topmost first.
    CDiagramEntity* handleElement = nullptr;
    int handleCode = HitCode::None;
    for (int i = m_objs->GetCount() - 1; i >= 0 && !handleElement; --i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        const int code = e->GetHitCode(point, ScreenRectOf(*e));
        if (IsHandle(code)) {
            handleElement = e;
            handleCode = code;
        }
    }

    // Several selected: a press on one of their bodies moves them together.
    if (GetSelectCount() > 1 && !ctrl && !handleElement) {
        for (int i = 0; i < m_objs->GetCount(); ++i) {
            CDiagramEntity* e = m_objs->GetAt(i);
            if (e->IsSelected() && e->GetHitCode(v) == HitCode::Body) {
                m_interactMode = ModeMoving;
                m_moveAnchor = e;
                const IntRect screen = ScreenRectOf(*e);
                m_deltaPoint = {point.x - screen.left, point.y - screen.top};
            }
        }
        if (m_interactMode == ModeMoving) {
            if (m_host)
                m_host->SetCursor(m_moveAnchor->GetCursor(HitCode::Body));
            Snapshot();
        }
    }

    if (m_interactMode == ModeDrawing) {
        if (IsOutsideRestraint(v)) {
            m_interactMode = ModeNone;
            return;
        }
        Snapshot();
        UnselectAll();
        std::unique_ptr<CDiagramEntity> element = m_drawObj->Clone();
        if (m_snap)
            v = {SnapX(v.x), SnapY(v.y)};
        element->SetRect(v.x, v.y, v.x, v.y);
        element->Select(true);
        AddObject(std::move(element));
        m_interactMode = ModeResizing;
        m_subMode = HitCode::BottomRight;
    } else if (m_interactMode == ModeDrawingPair) {
        if (IsOutsideRestraint(v)) {
            m_interactMode = ModeNone;
            return;
        }
        Snapshot();
        UnselectAll();
        if (m_drawObj->GetDependent()) {
            std::unique_ptr<CDiagramEntity> field = m_drawObj->Clone();
            if (m_snap)
                v = {SnapX(v.x), SnapY(v.y)};
            if (CDiagramEntity* label = field->GetDependent()) {
                const double width = label->GetRight() - label->GetLeft();
                const double height = label->GetBottom() - label->GetTop();
                label->SetRect(v.x, v.y, v.x + width, v.y + height);
                label->Select(true);
            }
            const double width = field->GetRight() - field->GetLeft();
            const double height = field->GetBottom() - field->GetTop();
            field->SetRect(v.x + 150.0, v.y, v.x + 150.0 + width, v.y + height);
            field->Select(true);
            AddObject(std::move(field));
        }
        m_subMode = HitCode::BottomRight;
    } else if (m_interactMode == ModeNone) {
        if (!ctrl)
            UnselectAll();
        if (handleElement && !ctrl) {
            m_interactMode = ModeResizing;
            m_subMode = handleCode;
            handleElement->Select(true);
            m_reference = handleElement;
        } else {
            int code = HitCode::None;
            if (CDiagramEntity* hit = FindElementAt(point, code)) {
                if (!ctrl) {
                    UnselectAll();
                    hit->Select(true);
                    m_reference = hit;
                } else {
                    hit->Select(!hit->IsSelected());
                    m_reference = hit->IsSelected() ? hit : nullptr;
                }
                if (ctrl) {
                    m_interactMode = ModeNone;
                } else if (code == HitCode::Body) {
                    m_interactMode = ModeMoving;
                    if (m_host)
                        m_host->SetCursor(hit->GetCursor(HitCode::Body));
                    const IntRect screen = ScreenRectOf(*hit);
                    m_deltaPoint = {point.x - screen.left, point.y - screen.top};
                } else {
                    m_interactMode = ModeResizing;
                    m_subMode = code;
                }
            }
        }
        if (m_interactMode != ModeNone)
            Snapshot();
    }

    // Nothing selected: the paper's band, or a rubber band.
    if (!IsAnyObjectSelected()) {
        const IntSize paper = GetVirtualSize();
        const bool inBand =
            (v.x >= paper.cx - m_paperBand && v.x <= paper.cx) || (v.y >= paper.cy - m_paperBand && v.y <= paper.cy);
        if (m_paperResize && inBand) {
            m_paperMarkersShown = 1;
            const int code = PaperHitTest(v);
            if (IsHandle(code)) {
                m_interactMode = ModeResizingPaper;
                m_subMode = code;
                Snapshot();
            }
            Repaint();
        }
        if (m_interactMode == ModeNone) {
            m_rubberBand = {point.x, point.y, point.x, point.y};
            m_interactMode = ModeRubberBand;
        }
    }

    NotifySelection();
    if (m_interactMode != ModeNone)
        Repaint();
}

void CDiagramEditor::OnMouseMove(IntPoint point, unsigned /*modifiers*/)
{
    if (m_panning || m_interactMode == ModeNone || m_interactMode == ModeDrawing || m_interactMode == ModeDrawingPair) {
        OnSetCursor(point);
        return;
    }
    if (!m_objs)
        return;
    const IntPoint v = ScreenToVirtual(point);
    switch (m_interactMode) {
    case ModeResizingPaper:
        ResizePaper(v);
        AutoScroll(point);
        Repaint();
        break;
    case ModeResizing:
        ResizeElement(v);
        AutoScroll(point);
        if (m_propertiesPane)
            m_propertiesPane->ShowControlProperties();
        Repaint();
        break;
    case ModeRubberBand: {
        // The band's start stays on the same spot of the paper while scrolling.
        const IntPoint scrolled = AutoScroll(point);
        m_rubberBand.left -= scrolled.x;
        m_rubberBand.top -= scrolled.y;
        m_rubberBand.right = point.x;
        m_rubberBand.bottom = point.y;
        Repaint();
        break;
    }
    case ModeMoving:
        MoveSelection(v);
        AutoScroll(point);
        if (m_propertiesPane)
            m_propertiesPane->ShowControlProperties();
        Repaint();
        break;
    default:
        break;
    }
}

void CDiagramEditor::ResizePaper(IntPoint v)
{
    if (m_snap)
        v = {SnapX(v.x), SnapY(v.y)};
    v = {std::max(v.x, 1), std::max(v.y, 1)};
    IntSize size = GetVirtualSize();
    switch (m_subMode) {
    case HitCode::TopRight:
    case HitCode::Right:
        size.cx = v.x;
        break;
    case HitCode::BottomRight:
        size = {v.x, v.y};
        break;
    case HitCode::Bottom:
    case HitCode::BottomLeft:
        size.cy = v.y;
        break;
    default:
        break;
    }
    if (m_restraint == RestraintPaper) {
        const IntSize extent = GetObjectsExtent();
        size = {std::max(size.cx, extent.cx), std::max(size.cy, extent.cy)};
    } else if (m_restraint == RestraintMargins) {
        const IntSize extent = GetObjectsExtent();
        size.cx = std::max({size.cx, extent.cx + m_rightMargin, m_leftMargin + m_rightMargin});
        size.cy = std::max({size.cy, extent.cy + m_bottomMargin, m_topMargin + m_bottomMargin});
    }
    m_objs->SetPaper(size);
    m_objs->SetModified(true);
    SetupScrollbars();
}

void CDiagramEditor::ResizeElement(IntPoint v)
{
    CDiagramEntity* e = m_reference;
    if (!e || m_objs->FindIndex(e) < 0)
        return;
    if (m_snap)
        v = {SnapX(v.x), SnapY(v.y)};
    double x = v.x;
    double y = v.y;
    double left = e->GetLeft();
    double top = e->GetTop();
    double right = e->GetRight();
    double bottom = e->GetBottom();

    if (!IsShapeType(e->GetType())) {
        const IntSize minimum = e->GetMinimumSize();
        const IntSize maximum = e->GetMaximumSize();
        if (OwnsLeft(m_subMode))
            x = LimitEdge(x, right, false, minimum.cx, maximum.cx);
        if (OwnsRight(m_subMode))
            x = LimitEdge(x, left, true, minimum.cx, maximum.cx);
        if (OwnsTop(m_subMode))
            y = LimitEdge(y, bottom, false, minimum.cy, maximum.cy);
        if (OwnsBottom(m_subMode))
            y = LimitEdge(y, top, true, minimum.cy, maximum.cy);
        RestrainPoint(x, y);
        if (OwnsLeft(m_subMode))
            left = x;
        if (OwnsRight(m_subMode))
            right = x;
        if (OwnsTop(m_subMode))
            top = y;
        if (OwnsBottom(m_subMode))
            bottom = y;
        e->SetRect(left, top, right, bottom);
        return;
    }

    // Shapes flip when an edge crosses the opposite one, one axis per event,
    // the vertical first; the rectangle stays normalised.
    RestrainPoint(x, y);
    const int handle = m_subMode;
    bool flipped = false;
    if (OwnsTop(handle) && y > bottom) {
        top = bottom;
        bottom = y;
        m_subMode = MirrorVertically(handle);
        flipped = true;
    } else if (OwnsBottom(handle) && y < top) {
        bottom = top;
        top = y;
        m_subMode = MirrorVertically(handle);
        flipped = true;
    } else if (OwnsTop(handle)) {
        top = y;
    } else if (OwnsBottom(handle)) {
        bottom = y;
    }
    if (OwnsLeft(handle)) {
        if (flipped)  // this axis flips at the next event; the right edge stays put till then
            left = std::min(x, right - std::max(e->GetMinimumSize().cx, 0));
        else if (x > right) {
            left = right;
            right = x;
            m_subMode = MirrorHorizontally(handle);
            flipped = true;
        } else {
            left = x;
        }
    } else if (OwnsRight(handle)) {
        if (flipped)
            right = std::max(x, left + std::max(e->GetMinimumSize().cx, 0));
        else if (x < left) {
            right = left;
            left = x;
            m_subMode = MirrorHorizontally(handle);
            flipped = true;
        } else {
            right = x;
        }
    }
    if (flipped)
        e->SetQuadrant(DirectionAfterFlip(handle, m_subMode, e->GetQuadrant()));
    e->SetRect(left, top, right, bottom);
}

void CDiagramEditor::MoveSelection(IntPoint v)
{
    const IntPoint delta{Round(m_deltaPoint.x / m_zoom), Round(m_deltaPoint.y / m_zoom)};
    auto newTopLeft = [&]() {
        IntPoint p{v.x - delta.x, v.y - delta.y};
        if (m_snap)
            p = {SnapX(p.x), SnapY(p.y)};
        return p;
    };

    if (!m_moveAnchor || m_objs->FindIndex(m_moveAnchor) < 0) {
        CDiagramEntity* e = m_reference;
        if (!e || m_objs->FindIndex(e) < 0)
            return;
        const IntPoint p = newTopLeft();
        double left = p.x;
        double top = p.y;
        double right = left + (e->GetRight() - e->GetLeft());
        double bottom = top + (e->GetBottom() - e->GetTop());
        RestrainRect(left, top, right, bottom);
        e->SetRect(left, top, right, bottom);
        return;
    }

    const IntPoint p = newTopLeft();
    double dx = p.x - m_moveAnchor->GetLeft();
    double dy = p.y - m_moveAnchor->GetTop();
    RestrainDelta(dx, dy);
    if (dx == 0 && dy == 0)
        return;
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (e->IsSelected())
            e->SetRect(e->GetLeft() + dx, e->GetTop() + dy, e->GetRight() + dx, e->GetBottom() + dy);
    }
}

void CDiagramEditor::OnLButtonUp(IntPoint /*point*/, unsigned /*modifiers*/)
{
    if (m_host)
        m_host->ReleaseMouse();
    if (m_objs) {
        switch (m_interactMode) {
        case ModeMoving:
            FinishMove();
            break;
        case ModeResizing:
            FinishResize();
            break;
        case ModeDrawingPair:
            if (m_snap) {
                for (int i = 0; i < m_objs->GetCount(); ++i) {
                    CDiagramEntity* e = m_objs->GetAt(i);
                    if (e->IsSelected() && e->GetDependent())
                        e->GetDependent()->SetRect(e->GetDependent()->GetRect());
                }
            }
            SetModified();
            break;
        case ModeRubberBand:
            SelectInRubberBand();
            break;
        default:
            break;
        }
    }
    Repaint();
    if (m_multidraw && m_drawing && m_drawObj) {
        m_interactMode = ModeDrawing;
    } else {
        m_drawing = 0;
        m_interactMode = ModeNone;
    }
    m_subMode = 0;
}

void CDiagramEditor::FinishMove()
{
    // Moved elements always end on whole units.
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        IntRect r = e->GetRect();
        if (m_snap) {
            const int width = r.right - r.left;
            const int height = r.bottom - r.top;
            r.left = SnapX(r.left);
            r.top = SnapY(r.top);
            r.right = r.left + width;
            r.bottom = r.top + height;
        }
        SetObjectRect(e, r);
    }
    SetModified();
}

void CDiagramEditor::FinishResize()
{
    if (m_snap) {
        for (int i = 0; i < m_objs->GetCount(); ++i) {
            CDiagramEntity* e = m_objs->GetAt(i);
            if (!e->IsSelected())
                continue;
            IntRect r = e->GetRect();
            if (OwnsLeft(m_subMode))
                r.left = SnapX(r.left);
            if (OwnsRight(m_subMode))
                r.right = SnapX(r.right);
            if (OwnsTop(m_subMode))
                r.top = SnapY(r.top);
            if (OwnsBottom(m_subMode))
                r.bottom = SnapY(r.bottom);
            SetObjectRect(e, r);
        }
    }
    SetModified();
}

void CDiagramEditor::SelectInRubberBand()
{
    UnselectAll();
    IntRect band = ScreenToVirtual(m_rubberBand).Normalized();
    if (band.left == band.right && band.top == band.bottom)
        band = band.Inflated(1, 1);
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        const IntRect grown = e->GetRect().Normalized().Inflated(1, 1);
        if (!grown.Intersection(band).IsEmpty()) {
            e->Select(true);
            m_reference = e;
        }
    }
    m_rubberBand = {};
    NotifySelection();
}

void CDiagramEditor::OnRButtonDown(IntPoint point, unsigned /*modifiers*/)
{
    StopPanning();
    if (m_objs) {
        const IntPoint v = ScreenToVirtual(point);
        for (int i = 0; i < m_objs->GetCount(); ++i) {
            CDiagramEntity* e = m_objs->GetAt(i);
            if (e->GetHitCode(v) == HitCode::Body && !e->IsSelected()) {
                UnselectAll();
                e->Select(true);
                m_reference = e;
            }
        }
    }
    Repaint();
    m_interactMode = ModeNone;
    m_drawing = 0;
}

void CDiagramEditor::OnRButtonUp(IntPoint point, unsigned /*modifiers*/)
{
    const IntPoint screen = m_host ? m_host->ClientToScreen(point) : point;
    const IntPoint v = ScreenToVirtual(point);
    CDiagramEntity* reference = m_objs && m_objs->FindIndex(m_reference) >= 0 ? m_reference : nullptr;
    if (GetSelectCount() == 1 && reference && reference->GetHitCode(v) == HitCode::Body)
        reference->ShowPopup(screen, this);
    else
        ShowPopup(screen);
}

void CDiagramEditor::ShowPopup(IntPoint screenPoint)
{
    if (!m_host)
        return;
    if (!m_popupMenu)
        m_popupMenu = std::make_unique<CDiagramMenu>();
    const int command = m_host->ChooseFromMenu(m_popupMenu->GetPopupMenu(*this), screenPoint);
    if (command != 0)
        OnCommand(command);
}

void CDiagramEditor::TrackPopupMenu(const PopupMenu& menu, IntPoint screenPoint)
{
    if (!m_host)
        return;
    const int command = m_host->ChooseFromMenu(menu, screenPoint);
    if (command != 0)
        OnCommand(command);
}

void CDiagramEditor::OnLButtonDblClk(IntPoint /*point*/, unsigned /*modifiers*/)
{
    NotifySelection();
}

void CDiagramEditor::OnObjectCommand(int command)
{
    if (!m_objs)
        return;
    Snapshot();
    m_objs->SendCommandToElements(command, true, nullptr, this);
    Repaint();
}

bool CDiagramEditor::OnCommand(int command)
{
    if (command >= 100 && command <= 200) {
        OnObjectCommand(command);
        return true;
    }
    switch (command) {
    case 57635:
        Cut();
        return true;
    case 57634:
        Copy();
        return true;
    case 57637:
        Paste();
        return true;
    case 57645:
        Group();
        return true;
    case 57646:
        Ungroup();
        return true;
    default:
        return false;
    }
}

// --- panning and wheel -----------------------------------------------------------

void CDiagramEditor::OnMButtonDown(IntPoint point)
{
    if (m_panning) {
        StopPanning();
        return;
    }
    if (!m_hScroll.shown && !m_vScroll.shown)
        return;
    m_panning = 1;
    m_panOrigin = point;
    if (m_host) {
        m_host->StartTimer(m_panTimer, PanTimerPeriod);
        m_host->SetCursor(GetCursorForPosition(point));
    }
    Repaint();
}

void CDiagramEditor::StopPanning()
{
    if (!m_panning)
        return;
    m_panning = 0;
    if (m_host) {
        m_host->StopTimer(m_panTimer);
        m_host->SetCursor(CursorKind::Arrow);
    }
    Repaint();
}

void CDiagramEditor::OnTimer(unsigned id)
{
    if (id != m_panTimer || !m_panning || !m_host)
        return;
    const IntPoint mouse = m_host->GetMousePosition();
    const int dx = (mouse.x - m_panOrigin.x) / 16;
    const int dy = (mouse.y - m_panOrigin.y) / 16;
    SetScroll(Orientation::Horizontal, m_hScroll.pos + dx);
    SetScroll(Orientation::Vertical, m_vScroll.pos + dy);
    m_host->SetCursor(GetCursorForPosition(mouse));
    Repaint();
}

void CDiagramEditor::OnKillFocus()
{
    StopPanning();
}

void CDiagramEditor::OnMouseWheel(int delta)
{
    if (m_wheelMode == 1) {
        SetZoom(delta < 0 ? m_zoom + m_zoomStep : m_zoom - m_zoomStep);
        return;
    }
    g_wheelAccumulator += delta;
    const int lines = g_wheelAccumulator / 120;
    if (m_vScroll.range != 0) {
        SetScroll(Orientation::Vertical, m_vScroll.pos - lines);
        g_wheelAccumulator -= lines * 120;
        Repaint();
    }
}

// --- keyboard ---------------------------------------------------------------------

bool CDiagramEditor::OnKeyDown(EditorKey key, unsigned modifiers)
{
    StopPanning();
    bool used = HandleKey(key, modifiers);
    if ((m_keyFlags & KeyFlag::KeyEscape) && key == EditorKey::Escape) {
        m_interactMode = ModeNone;
        m_drawing = 0;
        if (m_host)
            m_host->SetCursor(CursorKind::Arrow);
        used = true;
    }
    if ((m_keyFlags & KeyFlag::KeyZoom) && (key == EditorKey::Add || key == EditorKey::Subtract)) {
        SetZoom(key == EditorKey::Add ? m_zoom + m_zoomStep : m_zoom - m_zoomStep);
        used = true;
    }
    return used;
}

bool CDiagramEditor::HandleKey(EditorKey key, unsigned modifiers)
{
    const bool ctrl = (modifiers & Modifier::Ctrl) != 0;
    const bool shift = (modifiers & Modifier::Shift) != 0;
    const unsigned flags = m_keyFlags;

    if ((flags & KeyFlag::KeyArrows) &&
        (key == EditorKey::Down || key == EditorKey::Up || key == EditorKey::Left || key == EditorKey::Right)) {
        double stepX = (m_snap ? m_gridSize.cx : 1.0) / m_zoom;
        double stepY = (m_snap ? m_gridSize.cy : 1.0) / m_zoom;
        stepX = std::max(stepX, 1.0);
        stepY = std::max(stepY, 1.0);
        double dx = 0;
        double dy = 0;
        switch (key) {
        case EditorKey::Down:
            dy = stepY;
            break;
        case EditorKey::Up:
            dy = -stepY;
            break;
        case EditorKey::Left:
            dx = -stepX;
            break;
        default:
            dx = stepX;
            break;
        }
        if (shift)
            ResizeByKeys(dx, dy);
        else
            MoveByKeys(dx, dy);
        return true;
    }
    if ((flags & KeyFlag::KeyDelete) && key == EditorKey::Delete) {
        if (shift)
            Cut();
        else
            DeleteAllSelected();
        return true;
    }
    if ((flags & KeyFlag::KeyInsert) && key == EditorKey::Insert) {
        if (shift)
            Paste();
        else
            Duplicate();
        return true;
    }
    if ((flags & KeyFlag::KeyShortcuts) && ctrl) {
        switch (key) {
        case EditorKey::Enter:
            NotifySelection();
            return true;
        case EditorKey::A:
            SelectAll();
            return true;
        case EditorKey::X:
            Cut();
            return true;
        case EditorKey::V:
            Paste();
            return true;
        case EditorKey::C:
            Copy();
            return true;
        case EditorKey::Z:
            Undo();
            return true;
        default:
            break;
        }
    }
    if ((flags & KeyFlag::KeyZOrder) && (key == EditorKey::PageDown || key == EditorKey::PageUp)) {
        if (ctrl && key == EditorKey::PageDown)
            SendToBack();
        else if (ctrl)
            BringToFront();
        else if (key == EditorKey::PageDown)
            MoveBackward();
        else
            MoveForward();
        return true;
    }
    return false;
}

void CDiagramEditor::MoveByKeys(double dx, double dy)
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    RestrainDelta(dx, dy);
    Snapshot();
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        double left = e->GetLeft() + dx;
        double top = e->GetTop() + dy;
        if (m_snap) {
            left = SnapX(Round(left));
            top = SnapY(Round(top));
        }
        double right = left + (e->GetRight() - e->GetLeft());
        double bottom = top + (e->GetBottom() - e->GetTop());
        RestrainRect(left, top, right, bottom);
        SetObjectRect(e, {Round(left), Round(top), Round(right), Round(bottom)});
    }
    SetModified();
    if (m_propertiesPane)
        m_propertiesPane->ShowControlProperties();
    Repaint();
}

void CDiagramEditor::ResizeByKeys(double dx, double dy)
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    Snapshot();
    RestrainDelta(dx, dy);
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        double right = e->GetRight() + dx;
        double bottom = e->GetBottom() + dy;
        if (m_snap) {
            right = SnapX(Round(right));
            bottom = SnapY(Round(bottom));
        }
        SetObjectRect(e, {Round(e->GetLeft()), Round(e->GetTop()), Round(right), Round(bottom)});
    }
    SetModified();
    if (m_propertiesPane)
        m_propertiesPane->ShowControlProperties();
    Repaint();
}

// --- editing operations ------------------------------------------------------------

void CDiagramEditor::SelectAll()
{
    if (!m_objs)
        return;
    m_objs->SelectAll();
    if (m_objs->FindIndex(m_reference) < 0)
        m_reference = m_objs->GetCount() > 0 ? m_objs->GetAt(m_objs->GetCount() - 1) : nullptr;
    Repaint();
}

void CDiagramEditor::UnselectAll()
{
    if (m_objs)
        m_objs->UnselectAll();
    m_reference = nullptr;
}

void CDiagramEditor::DeleteAllSelected()
{
    if (!m_objs)
        return;
    Snapshot();
    m_objs->DeleteAllSelected();
    m_reference = nullptr;
    m_moveAnchor = nullptr;
    Repaint();
    NotifySelection();
}

namespace {

// The one selected element, or none when zero or several are selected.
CDiagramEntity* SingleSelected(const CDiagramEntityContainer* form)
{
    if (!form)
        return nullptr;
    CDiagramEntity* found = nullptr;
    for (int i = 0; i < form->GetCount(); ++i) {
        CDiagramEntity* e = form->GetAt(i);
        if (!e->IsSelected())
            continue;
        if (found)
            return nullptr;
        found = e;
    }
    return found;
}

}  // namespace

void CDiagramEditor::Duplicate()
{
    CDiagramEntity* source = SingleSelected(m_objs);
    if (!source)
        return;
    Snapshot();
    CDiagramEntity* copy = m_objs->Duplicate(source);
    source->Select(false);
    if (copy) {
        copy->Select(true);
        m_reference = copy;
    }
    Repaint();
}

void CDiagramEditor::MoveForward()
{
    if (CDiagramEntity* e = SingleSelected(m_objs)) {
        m_objs->MoveLater(e);
        Repaint();
    }
}

void CDiagramEditor::MoveBackward()
{
    if (CDiagramEntity* e = SingleSelected(m_objs)) {
        m_objs->MoveEarlier(e);
        Repaint();
    }
}

void CDiagramEditor::BringToFront()
{
    if (CDiagramEntity* e = SingleSelected(m_objs)) {
        m_objs->MoveToEnd(e);
        Repaint();
    }
}

void CDiagramEditor::SendToBack()
{
    if (CDiagramEntity* e = SingleSelected(m_objs)) {
        m_objs->MoveToStart(e);
        Repaint();
    }
}

namespace {
enum AlignEdge { AlignEdgeLeft, AlignEdgeRight, AlignEdgeTop, AlignEdgeBottom, AlignSize };
}

void CDiagramEditor::Align(int edge)
{
    if (!m_objs || GetSelectCount() < 2 || m_objs->FindIndex(m_reference) < 0)
        return;
    Snapshot();
    const CDiagramEntity& ref = *m_reference;
    const double refLeft = ref.GetLeft(), refTop = ref.GetTop(), refRight = ref.GetRight(), refBottom = ref.GetBottom();
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        const double width = e->GetRight() - e->GetLeft();
        const double height = e->GetBottom() - e->GetTop();
        double left = e->GetLeft(), top = e->GetTop(), right = e->GetRight(), bottom = e->GetBottom();
        switch (edge) {
        case AlignEdgeLeft:
            left = refLeft;
            right = left + width;
            break;
        case AlignEdgeRight:
            right = refRight;
            left = right - width;
            break;
        case AlignEdgeTop:
            top = refTop;
            bottom = top + height;
            break;
        case AlignEdgeBottom:
            bottom = refBottom;
            top = bottom - height;
            break;
        default:
            right = left + (refRight - refLeft);
            bottom = top + (refBottom - refTop);
            break;
        }
        e->SetRect(left, top, right, bottom);
    }
    SetModified();
    Repaint();
}

void CDiagramEditor::AlignLeft()
{
    Align(AlignEdgeLeft);
}

void CDiagramEditor::AlignRight()
{
    Align(AlignEdgeRight);
}

void CDiagramEditor::AlignTop()
{
    Align(AlignEdgeTop);
}

void CDiagramEditor::AlignBottom()
{
    Align(AlignEdgeBottom);
}

void CDiagramEditor::MakeSameSize()
{
    Align(AlignSize);
}

void CDiagramEditor::Group()
{
    if (!m_objs)
        return;
    if (m_host)
        m_host->SetRedraw(false);
    Snapshot();
    m_objs->Group();
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
}

void CDiagramEditor::Ungroup()
{
    if (!m_objs)
        return;
    if (m_host)
        m_host->SetRedraw(false);
    Snapshot();
    m_objs->Ungroup();
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
}

void CDiagramEditor::Undo()
{
    if (!m_objs)
        return;
    m_objs->Undo();
    m_reference = nullptr;
    m_moveAnchor = nullptr;
    Repaint();
    NotifySelection();
}

void CDiagramEditor::Copy()
{
    if (!m_objs)
        return;
    Snapshot();
    m_objs->CopyAllSelected();
}

void CDiagramEditor::Cut()
{
    if (!m_objs)
        return;
    Snapshot();
    m_objs->CopyAllSelected();
    DeleteAllSelected();
}

void CDiagramEditor::Paste()
{
    if (!m_objs)
        return;
    if (m_host)
        m_host->SetRedraw(false);
    Snapshot();
    UnselectAll();
    const int before = m_objs->GetCount();
    m_objs->Paste();
    const int after = m_objs->GetCount();
    const IntSize paper = GetVirtualSize();
    for (int i = before; i < after; ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        e->Select(true);
        m_reference = e;
        if (equalsNoCase(e->GetType(), "editbox"))
            e->SetTabIndex(m_objs->GetNextTabIndex(true));
        // Something that sticks out of a smaller form comes back in at 10.
        if (e->GetRight() > paper.cx) {
            const double width = e->GetRight() - e->GetLeft();
            e->SetRect(10.0, e->GetTop(), 10.0 + width, e->GetBottom());
        }
        if (e->GetBottom() > paper.cy) {
            const double height = e->GetBottom() - e->GetTop();
            e->SetRect(e->GetLeft(), 10.0, e->GetRight(), 10.0 + height);
        }
    }
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
    NotifySelection();
}

// --- painting -------------------------------------------------------------------------

void CDiagramEditor::Paint(DrawContext& dc)
{
    const int h = GetHScrollPos();
    const int v = GetVScrollPos();
    EraseBackground(dc, {0, 0, m_clientSize.cx, m_clientSize.cy});
    const IntPoint oldOrigin = dc.SetOrigin({-h, -v});
    m_paintArea = IntRect{h, v, h + m_clientSize.cx, v + m_clientSize.cy};
    Draw(dc, GetZoomedPaperRect());
    m_paintArea.reset();
    dc.SetOrigin(oldOrigin);
    if (m_interactMode == ModeRubberBand && m_rubberBand.left != m_rubberBand.right &&
        m_rubberBand.top != m_rubberBand.bottom)
        dc.DrawFocusRect(m_rubberBand.Normalized());
}

void CDiagramEditor::Draw(DrawContext& dc, const IntRect& paper)
{
    DrawBackground(dc, paper, m_zoom);
    if (m_gridVisible)
        DrawGrid(dc, paper, m_zoom);
    if (m_marginsVisible)
        DrawMargins(dc, paper, m_zoom);
    DrawObjects(dc, m_zoom);
    if (m_paperResize && m_paperMarkersShown)
        DrawPaperMarkers(dc);
    if (m_panning)
        DrawPanAnchor(dc);
    if (m_showButtonBar)
        DrawButtonBar(dc);
}

void CDiagramEditor::Print(DrawContext& dc, const IntRect& rect, double scale)
{
    UnselectAll();
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
    for (int i = 0; i <= paper.cx / m_gridSize.cx; ++i) {
        const int x = Round(i * m_gridSize.cx * zoom);
        dc.MoveTo({x, 0});
        dc.LineTo({x, rect.Height()});
    }
    for (int j = 0; j <= paper.cy / m_gridSize.cy; ++j) {
        const int y = Round(j * m_gridSize.cy * zoom);
        dc.MoveTo({0, y});
        dc.LineTo({rect.Width(), y});
    }
    dc.SelectPen(oldPen);
}

void CDiagramEditor::DrawMargins(DrawContext& dc, const IntRect& rect, double zoom)
{
    const int left = Round(m_leftMargin * zoom);
    const int top = Round(m_topMargin * zoom);
    const int right = Round(m_rightMargin * zoom);
    const int bottom = Round(m_bottomMargin * zoom);
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

bool CDiagramEditor::IsPainted(const IntRect& zoomed) const
{
    return !m_paintArea || !zoomed.Intersection(*m_paintArea).IsEmpty();
}

void CDiagramEditor::DrawObjects(DrawContext& dc, double zoom)
{
    if (m_objs)
        DrawFormElements(dc, *m_objs, zoom, m_paintArea ? &*m_paintArea : nullptr);
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

void CDiagramEditor::DrawRaisedButton(DrawContext& dc, const IntRect& rect, const std::string& label)
{
    dc.FillSolidRect(rect, dc.GetSysColor(SysColor::BtnFace));
    const Pen oldPen = DrawFramePath(dc, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}, SysColor::BtnHighlight,
                                     SysColor::DkShadow3D);
    DrawFramePath(dc, {rect.left + 1, rect.top + 1, rect.right - 2, rect.bottom - 2}, SysColor::Light3D,
                  SysColor::BtnShadow);
    dc.SelectPen(oldPen);

    FontDesc font = dc.GetDefaultGuiFont();
    font.face = "Arial";
    const FontDesc oldFont = dc.SelectFont(font);
    const BkMode oldMode = dc.SetBkMode(BkMode::Transparent);
    const Color oldText = dc.SetTextColor(dc.GetSysColor(SysColor::BtnText));
    dc.DrawText(label, Inset(rect, 5, 5), TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);
    dc.SetTextColor(oldText);
    dc.SetBkMode(oldMode);
    dc.SelectFont(oldFont);
}

void CDiagramEditor::DrawButtonBar(DrawContext& dc)
{
    // A preview of a running form's bottom bar, in unzoomed pixels.
    const IntSize paper = GetVirtualSize();
    const int W = paper.cx;
    const int H = paper.cy;
    const int L = m_leftMargin;
    const int T = m_topMargin;
    const int B = m_bottomMargin;
    constexpr int ButtonWidth = 75;   // 50 dialog units
    constexpr int ButtonHeight = 23;  // 14 dialog units
    constexpr int Gap = 5;            // 3 dialog units
    constexpr int Spacing = 8;        // 5 dialog units

    IntRect strip{L, H - 2 * T - ButtonHeight, W - 8, H - B - T};
    const Pen oldPen = DrawFramePath(dc, {strip.left, strip.top, strip.right - 1, strip.bottom - 1},
                                     SysColor::BtnShadow, SysColor::BtnHighlight);
    dc.SelectPen(oldPen);
    const int y0 = strip.top - Spacing;

    const IntRect cancel{W - 8 - ButtonWidth, y0 - ButtonHeight, W - 8, y0};
    DrawRaisedButton(dc, cancel, langStr("MFC_CANCEL"));
    const int shift = ButtonWidth + Gap;
    DrawRaisedButton(dc, {cancel.left - shift, cancel.top, cancel.right - shift, cancel.bottom}, langStr("MFC_OK"));

    const int lefts[] = {L, L + 28, L + 66, L + 94};
    const std::string labels[] = {langStr("H.."), langStr("E.."), langStr("< --"), "-- >"};
    for (int i = 0; i < 4; ++i)
        DrawRaisedButton(dc, {lefts[i], y0 - 26, lefts[i] + 25, y0}, labels[i]);

    const Pen before =
        DrawFramePath(dc, {L + 119, y0 - 26, L + 174 - 1, y0 - 1}, SysColor::BtnShadow, SysColor::BtnHighlight);
    dc.SelectPen(before);
}

}  // namespace fw
