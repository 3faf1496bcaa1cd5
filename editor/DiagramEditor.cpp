#include "editor/DiagramEditor.h"

#include "editor/DiagramMenu.h"
#include "editor/FormPainter.h"
#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementIndex.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <iterator>

namespace fw {

namespace {

// A zoomed and scrolled edge, as far inside the int range as zoomed edges are.
int ScreenEdge(double value, double zoom, int scroll)
{
    return std::clamp(TruncEdge(value * zoom - scroll + 0.5), -ZoomedEdgeLimit, ZoomedEdgeLimit);
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
    return {ScreenEdge(r.left, m_zoom, h), ScreenEdge(r.top, m_zoom, v), ScreenEdge(r.right, m_zoom, h),
            ScreenEdge(r.bottom, m_zoom, v)};
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
    return {ScreenEdge(left, m_zoom, h), ScreenEdge(top, m_zoom, v), ScreenEdge(right, m_zoom, h),
            ScreenEdge(bottom, m_zoom, v)};
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
    size = {std::min(size.cx, FormExtentLimit), std::min(size.cy, FormExtentLimit)};
    // Setting the paper it already has is no edit the designer made.
    if (m_objs->GetPaper() != size) {
        m_objs->SetPaper(size);
        m_objs->SetModified(true);
    }
    SetupScrollbars();
    Repaint();
}

IntRect CDiagramEditor::GetZoomedPaperRect() const
{
    // Zoomed edges keep clear of the end of the int range, so a paper that
    // reaches it (set from a text form, say) does not wrap around.
    const IntSize paper = GetVirtualSize();
    return {0, 0, ZoomEdge(paper.cx, m_zoom) + 1, ZoomEdge(paper.cy, m_zoom) + 1};
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

void CDiagramEditor::RepaintArea(const IntRect& area)
{
    const IntRect shown = area.Intersection({0, 0, m_clientSize.cx, m_clientSize.cy});
    if (m_host && !shown.IsEmpty())
        m_host->Invalidate(shown);
}

IntRect CDiagramEditor::ScreenExtentOf(const CDiagramEntity& element) const
{
    // Painting draws the zoomed rectangles scrolled by the scroll positions.
    const DrawnExtent e = DrawnExtentOf(element, m_zoom);
    auto client = [](std::int64_t zoomed, int scroll) {
        return static_cast<int>(std::clamp<std::int64_t>(zoomed - scroll, INT_MIN / 2, INT_MAX / 2));
    };
    const int h = GetHScrollPos();
    const int v = GetVScrollPos();
    return {client(e.left, h), client(e.top, v), client(e.right, h), client(e.bottom, v)};
}

namespace {

// Past this many elements, one box around them is cheaper to repaint than each.
constexpr std::size_t MostSeparateRepaints = 32;

}  // namespace

std::vector<IntRect> CDiagramEditor::SelectionExtents() const
{
    std::vector<IntRect> extents;
    ForEachSelected([&](const CDiagramEntity* e) { extents.push_back(ScreenExtentOf(*e)); });
    return extents;
}

std::vector<CDiagramEntity*> CDiagramEditor::SelectedElements() const
{
    std::vector<CDiagramEntity*> selected;
    ForEachSelected([&](CDiagramEntity* e) { selected.push_back(e); });
    return selected;
}

void CDiagramEditor::RepaintSelectionChange(std::vector<CDiagramEntity*> before)
{
    std::vector<CDiagramEntity*> after = SelectedElements();
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    std::vector<CDiagramEntity*> changed;
    std::set_symmetric_difference(before.begin(), before.end(), after.begin(), after.end(),
                                  std::back_inserter(changed));
    if (changed.size() > MostSeparateRepaints) {
        IntRect box;
        for (const CDiagramEntity* e : changed)
            Enclose(box, ScreenExtentOf(*e));
        RepaintArea(box);
        return;
    }
    for (const CDiagramEntity* e : changed)
        RepaintArea(ScreenExtentOf(*e));
}

void CDiagramEditor::RepaintBandEdges(const IntRect& band)
{
    // Painting leaves out a band without width or height.
    if (band.left == band.right || band.top == band.bottom)
        return;
    const IntRect r = band.Normalized();
    RepaintArea({r.left, r.top, r.right, r.top + 1});
    RepaintArea({r.left, r.bottom - 1, r.right, r.bottom});
    RepaintArea({r.left, r.top, r.left + 1, r.bottom});
    RepaintArea({r.right - 1, r.top, r.right, r.bottom});
}

std::int64_t EditorHost::NowMilliseconds() const
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CDiagramEditor::Snapshot(const std::string& name)
{
    // Any other step ends a run of arrow-key nudges.
    m_nudge = Nudge{};
    if (m_objs)
        m_objs->Snapshot(name, GetSelectedObject());
}

void CDiagramEditor::SetModified()
{
    if (m_objs)
        m_objs->SetModified(true);
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

CDiagramEntity* CDiagramEditor::GetSelectedObject() const
{
    // Element menus, undo and the panes may remove it behind the editor's back.
    return m_objs && m_objs->FindIndex(m_reference) >= 0 ? m_reference : nullptr;
}

bool CDiagramEditor::IsDrawing() const
{
    return m_drawObj && m_drawing;
}

void CDiagramEditor::NotifySelection()
{
    if (!m_propertiesPane || !m_objs)
        return;
    // Also with a selection: the pane checks its elements against this editor's form.
    m_propertiesPane->SetEditor(this);
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
    if (first)
        m_propertiesPane->ShowFormProperties();
    else
        m_propertiesPane->ShowControlProperties();
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

void CDiagramEditor::StartDrawingPair(std::unique_ptr<CDiagramEntity> prototype, const std::string& stepName)
{
    m_pairStep = stepName;
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
            if (e->IsShape() != shapes)
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
    const IntRect r{0, 0, RoundEdge(paper.cx * m_zoom), RoundEdge(paper.cy * m_zoom)};
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
        if (HitCode::IsHandle(code))
            found = e->GetCursor(code);
    }
    if (found != CursorKind::None)
        return found;
    if (m_paperMarkersShown) {
        const int code = PaperHitTest(ScreenToVirtual(point));
        if (HitCode::IsHandle(code))
            return GetPaperMarkerCursor(code);
    }
    return CursorKind::Arrow;
}

void CDiagramEditor::OnSetCursor(IntPoint point)
{
    if (m_host)
        m_host->SetCursor(GetCursorForPosition(point));
}

}  // namespace fw
