#include "editor/DiagramEditor.h"

#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"

#include <algorithm>

// Keys: nudging and resizing by arrow keys, the edit shortcuts, z-order and zoom.

namespace fw {

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
        SetObjectRect(e, {RoundEdge(left), RoundEdge(top), RoundEdge(right), RoundEdge(bottom)});
    });
    SetModified();
    if (m_propertiesPane)
        m_propertiesPane->ShowControlProperties();
    Repaint();
}

namespace {

// Where a key resize puts a far edge: it never crosses the near edge, which
// stays where it is.
double KeyResizedEdge(double nearEdge, double farEdge, int minimum)
{
    return std::max(farEdge, nearEdge + std::max(minimum, 0));
}

}  // namespace

void CDiagramEditor::ResizeByKeys(double dx, double dy)
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    Snapshot();
    // A shrinking edge stays inside the area anyway; held against the left
    // or top edge of the area, it could not shrink at all.
    if (dx > 0 || dy > 0)
        RestrainDelta(dx, dy);
    // Only the edge the key moves changes, and only it snaps.
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
        SetObjectRect(e, {RoundEdge(e->GetLeft()), RoundEdge(e->GetTop()), RoundEdge(right), RoundEdge(bottom)});
    });
    SetModified();
    if (m_propertiesPane)
        m_propertiesPane->ShowControlProperties();
    Repaint();
}

}  // namespace fw
