#include "editor/DiagramEditor.h"

#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "services/Strings.h"

// The editing operations that mouse, keys, menus and the form view share.

namespace fw {

// --- editing operations ------------------------------------------------------------

void CDiagramEditor::SelectAll()
{
    if (!m_objs)
        return;
    m_objs->SelectAll();
    if (!GetSelectedObject())
        m_reference = m_objs->GetCount() > 0 ? m_objs->GetAt(m_objs->GetCount() - 1) : nullptr;
    NotifySelection();
    Repaint();
}

void CDiagramEditor::UnselectAll()
{
    if (m_objs)
        m_objs->UnselectAll();
    m_reference = nullptr;
}

void CDiagramEditor::SelectOnly(CDiagramEntity* element)
{
    if (!m_objs || !element)
        return;
    UnselectAll();
    element->Select(true);
    m_reference = element;
    NotifySelection();
    Repaint();
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
    // A caption is saved only with its field; a copy of it alone would be lost.
    if (!source || source->IsDependentPart())
        return;
    Snapshot();
    CDiagramEntity* copy = m_objs->Duplicate(source);
    source->Select(false);
    if (copy) {
        copy->Select(true);
        m_reference = copy;
        std::vector<CDiagramEntity*> placed{copy};
        if (CDiagramEntity* caption = copy->GetDependent())
            placed.push_back(caption);
        ShiftInside(placed);
    }
    NotifySelection();
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
    if (!m_objs || GetSelectCount() < 2 || !GetSelectedObject())
        return;
    Snapshot();
    const CDiagramEntity& ref = *m_reference;
    const double refLeft = ref.GetLeft(), refTop = ref.GetTop(), refRight = ref.GetRight(), refBottom = ref.GetBottom();
    ForEachSelected([&](CDiagramEntity* e) {
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
        RestrainRect(left, top, right, bottom);
        e->SetRect(left, top, right, bottom);
    });
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
    AfterHistoryStep(m_objs->Undo(GetSelectedObject()));
}

void CDiagramEditor::Redo()
{
    if (!m_objs)
        return;
    AfterHistoryStep(m_objs->Redo(GetSelectedObject()));
}

// The elements were replaced by copies, selected as they were around the
// step: nothing may point at the old ones, and alignment takes the step's
// reference element again. A step recorded without one (a pane edit) leaves
// the last selected element as the reference, so alignment still acts.
void CDiagramEditor::AfterHistoryStep(CDiagramEntity* reference)
{
    if (!reference)
        ForEachSelected([&](CDiagramEntity* e) { reference = e; });
    m_reference = reference;
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
    ShiftSelectionInside();
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
    NotifySelection();
}

}  // namespace fw
