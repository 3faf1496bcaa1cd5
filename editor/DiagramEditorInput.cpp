#include "editor/DiagramEditor.h"

#include "editor/DiagramMenu.h"
#include "editor/FormPainter.h"
#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"

#include <algorithm>

// Mouse presses, drags and releases: selecting, moving, resizing, the
// rubber band and the context menu.

namespace fw {

namespace {

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

// Whether the element already has these edges, so setting them is no change.
bool HasEdges(const CDiagramEntity& e, double left, double top, double right, double bottom)
{
    return e.GetLeft() == left && e.GetTop() == top && e.GetRight() == right && e.GetBottom() == bottom;
}

IntRect Around(const IntRect& a, const IntRect& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
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

// --- mouse -------------------------------------------------------------------------

void CDiagramEditor::OnLButtonDown(IntPoint point, unsigned modifiers)
{
    if (!m_objs)
        return;
    if (m_tabOrderClicks.IsOn()) {
        ClickTabOrder(point);
        return;
    }
    // Placing adds elements and hidden paper markers leave the paper: all
    // of it is repainted then; otherwise only where the selection changed.
    const bool repaintAll = m_interactMode == ModeDrawing || m_interactMode == ModeDrawingPair || m_paperMarkersShown;
    const std::vector<CDiagramEntity*> selectedBefore = SelectedElements();
    BeginPress();
    const bool ctrl = (modifiers & Modifier::Ctrl) != 0;
    const IntPoint v = ScreenToVirtual(point);
    if (m_interactMode == ModeDrawing) {
        PlaceElement(v);
        m_placePress = point;
    } else if (m_interactMode == ModeDrawingPair) {
        PlacePair(v);
    } else if (ctrl || !BeginGroupMove(point, v)) {
        BeginOnElement(point, ctrl);
    }
    if (!IsAnyObjectSelected())
        BeginPaperResizeOrBand(point, v);
    NotifySelection();
    if (repaintAll)
        Repaint();
    else
        RepaintSelectionChange(selectedBefore);
}

void CDiagramEditor::BeginPress()
{
    StopPanning();
    if (m_propertiesPane)
        m_propertiesPane->CommitPendingEdit();
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
    m_placed = nullptr;
    m_nudge = Nudge{};
    m_gestureChanged = false;
    m_snapTargetsReady = false;
    m_modifiedBeforeGesture = m_objs->IsModified();
}

CDiagramEntity* CDiagramEditor::FindSelectedHandle(IntPoint point, int& handle) const
{
    for (int i = m_objs->GetCount() - 1; i >= 0; --i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        if (!e->IsSelected())
            continue;
        const int code = e->GetHitCode(point, ScreenRectOf(*e));
        if (HitCode::IsHandle(code)) {
            handle = code;
            return e;
        }
    }
    handle = HitCode::None;
    return nullptr;
}

// Several selected: a press on one of their bodies moves them together.
bool CDiagramEditor::BeginGroupMove(IntPoint point, IntPoint v)
{
    int handle = HitCode::None;
    if (GetSelectCount() < 2 || FindSelectedHandle(point, handle))
        return false;
    CDiagramEntity* anchor = nullptr;
    ForEachSelected([&](CDiagramEntity* e) {
        if (e->GetHitCode(v) == HitCode::Body)
            anchor = e;
    });
    if (anchor)
        BeginMove(anchor, point);
    return anchor != nullptr;
}

void CDiagramEditor::BeginOnElement(IntPoint point, bool ctrl)
{
    int code = HitCode::None;
    // A handle of any selected element resizes the whole selection.
    if (CDiagramEntity* handleElement = ctrl ? nullptr : FindSelectedHandle(point, code)) {
        // Among several, alignment keeps following the one picked last.
        if (GetSelectCount() == 1 || !GetSelectedObject())
            m_reference = handleElement;
        m_moveAnchor = handleElement;
        BeginResize(code);
        return;
    }
    if (!ctrl)
        UnselectAll();
    CDiagramEntity* hit = FindElementAt(point, code);
    if (!hit)
        return;
    if (ctrl) {
        hit->Select(!hit->IsSelected());
        m_reference = hit->IsSelected() ? hit : nullptr;
        return;
    }
    // Selecting a grouped element selects its group, which then moves as one.
    hit->Select(true);
    m_reference = hit;
    if (code == HitCode::Body)
        BeginMove(hit, point);
    else
        BeginResize(code);
}

void CDiagramEditor::BeginMove(CDiagramEntity* anchor, IntPoint point)
{
    m_interactMode = ModeMoving;
    m_moveAnchor = anchor;
    if (m_host)
        m_host->SetCursor(anchor->GetCursor(HitCode::Body));
    const IntRect screen = ScreenRectOf(*anchor);
    m_deltaPoint = {point.x - screen.left, point.y - screen.top};
    BeginGesture(langStr("STEP_MOVE"));
    m_gestureMayReturn = true;
}

void CDiagramEditor::BeginResize(int handle)
{
    m_interactMode = ModeResizing;
    m_subMode = handle;
    BeginGesture(langStr("STEP_RESIZE"));
    m_gestureMayReturn = true;
}

// Nothing selected: the paper's band, or a rubber band.
void CDiagramEditor::BeginPaperResizeOrBand(IntPoint point, IntPoint v)
{
    const IntSize paper = GetVirtualSize();
    const bool inBand =
        (v.x >= paper.cx - m_paperBand && v.x <= paper.cx) || (v.y >= paper.cy - m_paperBand && v.y <= paper.cy);
    if (m_paperResize && inBand) {
        m_paperMarkersShown = 1;
        const int code = PaperHitTest(v);
        if (HitCode::IsHandle(code)) {
            m_interactMode = ModeResizingPaper;
            m_subMode = code;
            BeginGesture(langStr("STEP_PAPER_SIZE"));
        }
        Repaint();
    }
    if (m_interactMode == ModeNone) {
        m_rubberBand = {point.x, point.y, point.x, point.y};
        m_interactMode = ModeRubberBand;
    }
}

void CDiagramEditor::BeginGesture(const std::string& stepName)
{
    m_gestureStep = stepName;
    m_gestureChanged = false;
    m_gestureMayReturn = false;
    m_gestureStart.clear();
}

void CDiagramEditor::TakeGestureStep()
{
    if (m_gestureChanged)
        return;
    Snapshot(m_gestureStep);
    m_gestureChanged = true;
    if (m_gestureMayReturn)
        ForEachSelected([this](CDiagramEntity* e) { m_gestureStart.emplace_back(e, e->GetRect()); });
}

bool CDiagramEditor::GestureEndedWhereItBegan() const
{
    return !m_gestureStart.empty() &&
           std::all_of(m_gestureStart.begin(), m_gestureStart.end(), [this](const auto& start) {
               return m_objs->FindIndex(start.first) >= 0 && start.first->GetRect() == start.second;
           });
}

void CDiagramEditor::CancelGesture()
{
    RepaintSnapGuides();
    ClearSnapGuides();
    if (!m_gestureChanged || !m_objs)
        return;
    m_gestureChanged = false;
    Undo();
    // What the gesture did is nothing anyone asked to redo.
    m_objs->ClearRedo();
    m_objs->SetModified(m_modifiedBeforeGesture);
    SetupScrollbars();
}

void CDiagramEditor::OnMouseMove(IntPoint point, unsigned modifiers)
{
    m_snapSuspended = (modifiers & Modifier::Alt) != 0;
    if (m_panning || m_interactMode == ModeNone || m_interactMode == ModeDrawing || m_interactMode == ModeDrawingPair) {
        OnSetCursor(point);
        return;
    }
    if (!m_objs)
        return;
    const IntPoint v = ScreenToVirtual(point);
    RepaintSnapGuides();
    switch (m_interactMode) {
    case ModeResizingPaper:
        ResizePaper(v);
        AutoScroll(point);
        Repaint();
        break;
    case ModeResizing: {
        const std::vector<CDiagramEntity*> resized = SelectedElements();
        const std::vector<IntRect> before = SelectionExtents();
        std::vector<std::uint64_t> stamps;
        for (const CDiagramEntity* e : resized)
            stamps.push_back(e->GetChangeStamp());
        ResizeElement(v);
        RepaintSnapGuides();
        const bool scrolled = AutoScroll(point) != IntPoint{};
        if (m_propertiesPane)
            m_propertiesPane->RefreshValues();
        if (scrolled) {
            Repaint();
        } else {
            for (size_t i = 0; i < resized.size(); ++i) {
                if (resized[i]->GetChangeStamp() != stamps[i]) {
                    RepaintArea(before[i]);
                    RepaintArea(ScreenExtentOf(*resized[i]));
                }
            }
        }
        break;
    }
    case ModeRubberBand: {
        // The band's start stays on the same spot of the paper while scrolling.
        const IntRect before = m_rubberBand;
        const IntPoint scrolled = AutoScroll(point);
        m_rubberBand.left -= scrolled.x;
        m_rubberBand.top -= scrolled.y;
        m_rubberBand.right = point.x;
        m_rubberBand.bottom = point.y;
        if (scrolled != IntPoint{}) {
            Repaint();
        } else {
            RepaintBandEdges(before);
            RepaintBandEdges(m_rubberBand);
        }
        break;
    }
    case ModeMoving: {
        // Each element's own old and new places: a box around them all
        // would take in much that did not change.
        std::vector<IntRect> moved;
        MoveSelection(v, moved);
        RepaintSnapGuides();
        const bool scrolled = AutoScroll(point) != IntPoint{};
        if (m_propertiesPane)
            m_propertiesPane->RefreshValues();
        if (scrolled) {
            Repaint();
        } else {
            for (const IntRect& extent : moved)
                RepaintArea(extent);
        }
        break;
    }
    default:
        break;
    }
}

void CDiagramEditor::ResizePaper(IntPoint v)
{
    if (m_snap)
        v = {SnapX(v.x), SnapY(v.y)};
    v = {std::clamp(v.x, 1, FormExtentLimit), std::clamp(v.y, 1, FormExtentLimit)};
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
    size = {std::min(size.cx, FormExtentLimit), std::min(size.cy, FormExtentLimit)};
    if (size == m_objs->GetPaper())
        return;
    TakeGestureStep();
    m_objs->SetPaper(size);
    m_objs->SetModified(true);
    SetupScrollbars();
}

void CDiagramEditor::ResizeElement(IntPoint v)
{
    CDiagramEntity* e = m_moveAnchor && m_objs->FindIndex(m_moveAnchor) >= 0 ? m_moveAnchor : GetSelectedObject();
    if (!e)
        return;
    // An element being drawn follows the mouse: it is sized, not lined up.
    if (SnapLinesActive() && !m_placed) {
        // Only the dragged edges line up; the others stay where they are.
        IntRect box = e->GetRect().Normalized();
        unsigned xLines = 0, yLines = 0;
        if (OwnsLeft(m_subMode) || OwnsRight(m_subMode)) {
            xLines = OwnsLeft(m_subMode) ? SnapLines::Near : SnapLines::Far;
            (OwnsLeft(m_subMode) ? box.left : box.right) = v.x;
        }
        if (OwnsTop(m_subMode) || OwnsBottom(m_subMode)) {
            yLines = OwnsTop(m_subMode) ? SnapLines::Near : SnapLines::Far;
            (OwnsTop(m_subMode) ? box.top : box.bottom) = v.y;
        }
        GatherSnapTargets();
        const SnapResult snapped = m_snapTargets.Snap(box, xLines, yLines, double(SnapReach) / m_zoom);
        v = {v.x + snapped.dx, v.y + snapped.dy};
        SetSnapGuides(snapped);
    } else {
        ClearSnapGuides();
    }
    if (GetSelectCount() > 1) {
        ResizeSeveral(*e, v, {OwnsLeft(m_subMode), OwnsTop(m_subMode), OwnsRight(m_subMode), OwnsBottom(m_subMode)});
        return;
    }
    if (m_snap)
        v = {SnapX(v.x), SnapY(v.y)};
    double x = v.x;
    double y = v.y;
    double left = e->GetLeft();
    double top = e->GetTop();
    double right = e->GetRight();
    double bottom = e->GetBottom();

    if (!e->IsShape()) {
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
        if (!HasEdges(*e, left, top, right, bottom)) {
            TakeGestureStep();
            e->SetRect(left, top, right, bottom);
        }
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
        if (flipped) {
            // This axis may flip at the next event; till then its edges stay apart.
            if (x < right)
                left = x;
        } else if (x > right) {
            left = right;
            right = x;
            m_subMode = MirrorHorizontally(handle);
            flipped = true;
        } else {
            left = x;
        }
    } else if (OwnsRight(handle)) {
        if (flipped) {
            if (x > left)
                right = x;
        } else if (x < left) {
            right = left;
            left = x;
            m_subMode = MirrorHorizontally(handle);
            flipped = true;
        } else {
            right = x;
        }
    }
    if (!flipped && HasEdges(*e, left, top, right, bottom))
        return;
    TakeGestureStep();
    if (flipped)
        e->SetQuadrant(DirectionAfterFlip(handle, m_subMode, e->GetQuadrant()));
    e->SetRect(left, top, right, bottom);
}

void CDiagramEditor::MoveSelection(IntPoint v, std::vector<IntRect>& moved)
{
    auto move = [&](CDiagramEntity* e, double left, double top, double right, double bottom) {
        moved.push_back(ScreenExtentOf(*e));
        e->SetRect(left, top, right, bottom);
        moved.push_back(ScreenExtentOf(*e));
    };
    const IntPoint delta{RoundEdge(m_deltaPoint.x / m_zoom), RoundEdge(m_deltaPoint.y / m_zoom)};
    auto newTopLeft = [&]() {
        IntPoint p{v.x - delta.x, v.y - delta.y};
        if (m_snap)
            p = {SnapX(p.x), SnapY(p.y)};
        if (!SnapLinesActive()) {
            ClearSnapGuides();
            return p;
        }
        // The selection's box as it would stand at p lines up as a whole.
        CDiagramEntity* anchor =
            m_moveAnchor && m_objs->FindIndex(m_moveAnchor) >= 0 ? m_moveAnchor : GetSelectedObject();
        const IntRect at = anchor->GetRect().Normalized();
        IntRect box = at;
        ForEachSelected([&box](CDiagramEntity* e) { box = Around(box, e->GetRect().Normalized()); });
        box = box.Offset(p.x - at.left, p.y - at.top);
        GatherSnapTargets();
        const SnapResult snapped =
            m_snapTargets.Snap(box, SnapLines::AllLines, SnapLines::AllLines, double(SnapReach) / m_zoom);
        SetSnapGuides(snapped);
        return IntPoint{p.x + snapped.dx, p.y + snapped.dy};
    };

    if (!m_moveAnchor || m_objs->FindIndex(m_moveAnchor) < 0) {
        CDiagramEntity* e = GetSelectedObject();
        if (!e)
            return;
        const IntPoint p = newTopLeft();
        double left = p.x;
        double top = p.y;
        double right = left + (e->GetRight() - e->GetLeft());
        double bottom = top + (e->GetBottom() - e->GetTop());
        RestrainRect(left, top, right, bottom);
        if (!HasEdges(*e, left, top, right, bottom)) {
            TakeGestureStep();
            move(e, left, top, right, bottom);
        }
        return;
    }

    const IntPoint p = newTopLeft();
    double dx = p.x - m_moveAnchor->GetLeft();
    double dy = p.y - m_moveAnchor->GetTop();
    RestrainDelta(dx, dy);
    if (dx == 0 && dy == 0)
        return;
    TakeGestureStep();
    ForEachSelected([&](CDiagramEntity* e) {
        move(e, e->GetLeft() + dx, e->GetTop() + dy, e->GetRight() + dx, e->GetBottom() + dy);
    });
}

void CDiagramEditor::OnLButtonUp(IntPoint point, unsigned /*modifiers*/)
{
    if (m_host)
        m_host->ReleaseMouse();
    // A move or resize repaints what its end changed, a band the selection
    // it made and its own edges, a click nothing more; anything else all of
    // the client area.
    const int mode = m_interactMode;
    const bool local =
        m_objs && (mode == ModeNone || mode == ModeMoving || mode == ModeResizing || mode == ModeRubberBand);
    const std::vector<CDiagramEntity*> selectedBefore = local ? SelectedElements() : std::vector<CDiagramEntity*>{};
    const std::vector<IntRect> extentsBefore = local && m_gestureChanged ? SelectionExtents() : std::vector<IntRect>{};
    const IntRect band = m_rubberBand;
    const bool changed = m_gestureChanged;
    RepaintSnapGuides();
    ClearSnapGuides();
    // Only a gesture that changed something snaps what it moved and counts as an edit.
    if (m_objs && m_gestureChanged) {
        switch (m_interactMode) {
        case ModeResizing:
            if (m_placed && point == m_placePress && m_objs->FindIndex(m_placed) >= 0) {
                GiveDefaultSize(*m_placed);
                SetModified();
                break;
            }
            [[fallthrough]];
        case ModeMoving:
            if (m_interactMode == ModeMoving)
                FinishMove();
            else
                FinishResize();
            // Dragged away and back: nothing changed, so there is no step either.
            if (GestureEndedWhereItBegan()) {
                m_objs->DropNewestUndo();
                m_objs->SetModified(m_modifiedBeforeGesture);
            }
            break;
        case ModeDrawingPair:
            if (m_snap) {
                ForEachSelected([](CDiagramEntity* e) {
                    if (CDiagramEntity* caption = e->GetDependent())
                        caption->SetRect(caption->GetRect());
                });
            }
            SetModified();
            break;
        default:
            break;
        }
    }
    if (m_objs && m_interactMode == ModeRubberBand)
        SelectInRubberBand();
    m_gestureChanged = false;
    if (!local) {
        Repaint();
    } else if (mode == ModeRubberBand) {
        RepaintBandEdges(band);
        RepaintSelectionChange(selectedBefore);
    } else if (changed) {
        for (const IntRect& extent : extentsBefore)
            RepaintArea(extent);
        for (const IntRect& extent : SelectionExtents())
            RepaintArea(extent);
    }
    if (m_multidraw && m_drawing && m_drawObj) {
        m_interactMode = ModeDrawing;
    } else {
        m_drawing = 0;
        m_interactMode = ModeNone;
    }
    m_subMode = 0;
    m_placed = nullptr;
}

void CDiagramEditor::FinishMove()
{
    // Moved elements always end on whole units.
    ForEachSelected([this](CDiagramEntity* e) {
        IntRect r = e->GetRect();
        if (m_snap) {
            const int width = r.right - r.left;
            const int height = r.bottom - r.top;
            // The grid line at 0 is out of bounds: the reader drops what stands there.
            r.left = std::max(SnapX(r.left), LowestEdge);
            r.top = std::max(SnapY(r.top), LowestEdge);
            r.right = r.left + width;
            r.bottom = r.top + height;
        }
        SetObjectRect(e, r);
    });
    SetModified();
}

void CDiagramEditor::FinishResize()
{
    if (m_snap) {
        ForEachSelected([this](CDiagramEntity* e) {
            IntRect r = e->GetRect();
            // A snapped edge stays in the area, as the dragged one did.
            double nearX = SnapX(r.left), nearY = SnapY(r.top);
            double farX = SnapX(r.right), farY = SnapY(r.bottom);
            RestrainPoint(nearX, nearY);
            RestrainPoint(farX, farY);
            if (OwnsLeft(m_subMode))
                r.left = RoundEdge(nearX);
            if (OwnsTop(m_subMode))
                r.top = RoundEdge(nearY);
            if (OwnsRight(m_subMode))
                r.right = RoundEdge(farX);
            if (OwnsBottom(m_subMode))
                r.bottom = RoundEdge(farY);
            SetObjectRect(e, r);
        });
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
            e->MarkSelected(true);
            m_reference = e;
        }
    }
    m_objs->SelectGroupsOfSelected();
    m_rubberBand = {};
    NotifySelection();
}

void CDiagramEditor::OnRButtonDown(IntPoint point, unsigned /*modifiers*/)
{
    StopPanning();
    if (m_tabOrderClicks.IsOn())
        return;
    if (m_objs) {
        const IntPoint v = ScreenToVirtual(point);
        bool selected = false;
        for (int i = 0; i < m_objs->GetCount(); ++i) {
            CDiagramEntity* e = m_objs->GetAt(i);
            if (e->GetHitCode(v) == HitCode::Body && !e->IsSelected()) {
                UnselectAll();
                e->Select(true);
                m_reference = e;
                selected = true;
            }
        }
        if (selected)
            NotifySelection();
    }
    Repaint();
    m_interactMode = ModeNone;
    m_drawing = 0;
}

void CDiagramEditor::OnRButtonUp(IntPoint point, unsigned /*modifiers*/)
{
    if (m_tabOrderClicks.IsOn())
        return;
    const IntPoint screen = m_host ? m_host->ClientToScreen(point) : point;
    const IntPoint v = ScreenToVirtual(point);
    CDiagramEntity* reference = GetSelectedObject();
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

namespace {

// The undo step an element command takes; empty for one that changes nothing.
std::string ObjectCommandStep(int command)
{
    switch (command) {
    case ElementCommand::Cut:
        return langStr("STEP_CUT");
    case ElementCommand::Duplicate:
        return langStr("STEP_DUPLICATE");
    case ElementCommand::Copy:
    case ElementCommand::Properties:
    case ElementCommand::SelectGroup:
        return {};
    default:
        return langStr("STEP_EDIT");
    }
}

}  // namespace

void CDiagramEditor::OnObjectCommand(int command)
{
    if (!m_objs)
        return;
    // The z-order commands know when they would change nothing.
    using ZOrder = void (CDiagramEditor::*)();
    static const std::pair<int, ZOrder> zOrder[] = {
        {ElementCommand::MoveLater, &CDiagramEditor::MoveForward},
        {ElementCommand::MoveEarlier, &CDiagramEditor::MoveBackward},
        {ElementCommand::MoveToEnd, &CDiagramEditor::BringToFront},
        {ElementCommand::MoveToStart, &CDiagramEditor::SendToBack},
    };
    for (const auto& [id, run] : zOrder)
        if (id == command) {
            (this->*run)();
            return;
        }
    if (const std::string step = ObjectCommandStep(command); !step.empty())
        Snapshot(step);
    const bool selectedOnly = true;
    m_objs->SendCommandToElements(command, selectedOnly, nullptr, this);
    // Cut and duplicate change the selection.
    NotifySelection();
    Repaint();
    // Cut and duplicate change the selection; the pane must not keep a cut element.
    NotifySelection();
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

}  // namespace fw
