#include "editor/DiagramEditor.h"

#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"

#include <algorithm>

// Keys: nudging and resizing by arrow keys, the edit shortcuts, z-order,
// zoom and walking the tab order.

namespace fw {

namespace {

// Selects the field after (before) the reference in the tab order, round
// the end; the first (last) one when the reference is no such field.
void SelectByTab(CDiagramEditor& editor, bool backward)
{
    const CDiagramEntityContainer* form = editor.GetDiagramEntityContainer();
    const std::vector<CDiagramEntity*> sequence = form ? TabSequence(*form) : std::vector<CDiagramEntity*>{};
    if (sequence.empty())
        return;
    const auto at = std::find(sequence.begin(), sequence.end(), editor.GetSelectedObject());
    const std::size_t count = sequence.size();
    std::size_t next = backward ? count - 1 : 0;
    if (at != sequence.end())
        next = (static_cast<std::size_t>(at - sequence.begin()) + (backward ? count - 1 : 1)) % count;
    editor.SelectOnly(sequence[next]);
}

// The keys HandleKey gives to the selection or the elements. Undo and redo
// are not among them: within a round of numbering by clicks they take its
// numbers back and the round starts over.
bool ActsOnElements(EditorKey key, unsigned modifiers)
{
    const bool ctrl = (modifiers & Modifier::Ctrl) != 0;
    switch (key) {
    case EditorKey::Left:
    case EditorKey::Right:
    case EditorKey::Up:
    case EditorKey::Down:
    case EditorKey::Delete:
    case EditorKey::Insert:
    case EditorKey::PageUp:
    case EditorKey::PageDown:
        return true;
    case EditorKey::Tab:
        return !ctrl;
    case EditorKey::Enter:
    case EditorKey::A:
    case EditorKey::X:
    case EditorKey::V:
    case EditorKey::C:
        return ctrl;
    default:
        return false;
    }
}

}  // namespace

// --- keyboard ---------------------------------------------------------------------

bool CDiagramEditor::OnKeyDown(EditorKey key, unsigned modifiers)
{
    StopPanning();
    // Editing while numbering would select under the badges: the round ends
    // first, its numbers kept as its one step, and the key does its usual work.
    if (ActsOnElements(key, modifiers))
        EndTabOrderClicks();
    bool used = HandleKey(key, modifiers);
    if ((m_keyFlags & KeyFlag::KeyEscape) && key == EditorKey::Escape) {
        EndTabOrderClicks();
        if (m_interactMode == ModeMoving || m_interactMode == ModeResizing || m_interactMode == ModeResizingPaper ||
            m_interactMode == ModeDrawingPair)
            CancelGesture();
        m_interactMode = ModeNone;
        m_drawing = 0;
        if (m_host)
            m_host->SetCursor(CursorKind::Arrow);
        used = true;
    }
    if ((m_keyFlags & KeyFlag::KeyZoom) && (key == EditorKey::Add || key == EditorKey::Subtract)) {
        StepZoom(key == EditorKey::Add ? 1 : -1);
        used = true;
    }
    return used;
}

bool CDiagramEditor::HandleKey(EditorKey key, unsigned modifiers)
{
    const bool ctrl = (modifiers & Modifier::Ctrl) != 0;
    const bool shift = (modifiers & Modifier::Shift) != 0;
    const unsigned flags = m_keyFlags;
    const bool arrow =
        key == EditorKey::Down || key == EditorKey::Up || key == EditorKey::Left || key == EditorKey::Right;
    // Another key is another command: the next nudge starts a step of its
    // own. Shift pressed on its own before Shift+arrow is no command.
    if (!arrow && key != EditorKey::Other)
        m_nudge = Nudge{};

    if ((flags & KeyFlag::KeyArrows) && arrow) {
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
            // Ctrl+Shift+Z is the other common spelling of redo.
            if (shift)
                Redo();
            else
                Undo();
            return true;
        case EditorKey::Y:
            Redo();
            return true;
        default:
            break;
        }
    }
    // Tab stays on the canvas even on a form without fields: the focus
    // leaving for the next pane would surprise more than nothing happening.
    if ((flags & KeyFlag::KeyShortcuts) && key == EditorKey::Tab && !ctrl) {
        SelectByTab(*this, shift);
        return true;
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

namespace {

bool HasEdgesOf(const CDiagramEntity& e, const IntRect& r)
{
    return e.GetLeft() == r.left && e.GetTop() == r.top && e.GetRight() == r.right && e.GetBottom() == r.bottom;
}

// Where a key resize puts a far edge: it never crosses the near edge, which
// stays where it is.
double KeyResizedEdge(double nearEdge, double farEdge, int minimum)
{
    return std::max(farEdge, nearEdge + std::max(minimum, 0));
}

}  // namespace

void CDiagramEditor::NudgeStep(NudgeKind kind)
{
    std::vector<const CDiagramEntity*> selection;
    ForEachSelected([&](CDiagramEntity* e) { selection.push_back(e); });
    const std::int64_t now = m_host ? m_host->NowMilliseconds() : 0;
    // The undo count tells whether any other step came in between (a pane edit, say).
    const bool joins = m_nudge.kind == kind && m_nudge.selection == selection && now - m_nudge.time < NudgePause &&
                       m_nudge.undoCount == m_objs->GetUndoCount() && m_objs->GetRedoCount() == 0;
    if (!joins)
        Snapshot(langStr(kind == NudgeKind::Move ? "STEP_MOVE" : "STEP_RESIZE"));
    m_nudge = Nudge{kind, std::move(selection), now, m_objs->GetUndoCount()};
}

// Applies new rectangles to elements, as one nudge step; none when no
// rectangle differs.
void CDiagramEditor::ApplyNudge(NudgeKind kind, const std::vector<std::pair<CDiagramEntity*, IntRect>>& rects)
{
    const bool changes = std::any_of(rects.begin(), rects.end(),
                                     [](const auto& entry) { return !HasEdgesOf(*entry.first, entry.second); });
    if (!changes)
        return;
    NudgeStep(kind);
    IntRect before;
    IntRect after;
    for (const auto& [element, rect] : rects) {
        Enclose(before, ScreenExtentOf(*element));
        SetObjectRect(element, rect);
        Enclose(after, ScreenExtentOf(*element));
    }
    SetModified();
    // The selection stays; only its places and sizes are new.
    if (m_propertiesPane)
        m_propertiesPane->RefreshValues();
    RepaintArea(before);
    RepaintArea(after);
}

void CDiagramEditor::MoveByKeys(double dx, double dy)
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    RestrainDelta(dx, dy);
    std::vector<std::pair<CDiagramEntity*, IntRect>> rects;
    ForEachSelected([&](CDiagramEntity* e) {
        double left = e->GetLeft() + dx;
        double top = e->GetTop() + dy;
        if (m_snap) {
            left = SnapX(RoundEdge(left));
            top = SnapY(RoundEdge(top));
        }
        double right = left + (e->GetRight() - e->GetLeft());
        double bottom = top + (e->GetBottom() - e->GetTop());
        RestrainRect(left, top, right, bottom);
        rects.push_back({e, {RoundEdge(left), RoundEdge(top), RoundEdge(right), RoundEdge(bottom)}});
    });
    ApplyNudge(NudgeKind::Move, rects);
}

void CDiagramEditor::ResizeByKeys(double dx, double dy)
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    // A shrinking edge stays inside the area anyway; held against the left
    // or top edge of the area, it could not shrink at all.
    if (dx > 0 || dy > 0)
        RestrainDelta(dx, dy);
    // Only the edge the key moves changes, and only it snaps.
    std::vector<std::pair<CDiagramEntity*, IntRect>> rects;
    ForEachSelected([&](CDiagramEntity* e) {
        double right = e->GetRight();
        double bottom = e->GetBottom();
        if (dx != 0) {
            right = m_snap ? SnapX(RoundEdge(right + dx)) : right + dx;
            right = KeyResizedEdge(e->GetLeft(), right, e->GetMinimumSize().cx);
        }
        if (dy != 0) {
            bottom = m_snap ? SnapY(RoundEdge(bottom + dy)) : bottom + dy;
            bottom = KeyResizedEdge(e->GetTop(), bottom, e->GetMinimumSize().cy);
        }
        rects.push_back({e, {RoundEdge(e->GetLeft()), RoundEdge(e->GetTop()), RoundEdge(right), RoundEdge(bottom)}});
    });
    ApplyNudge(NudgeKind::Resize, rects);
}

}  // namespace fw
