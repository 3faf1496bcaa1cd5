#include "editor/DiagramEditor.h"

#include "editor/PropertiesPane.h"
#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <algorithm>
#include <array>
#include <cmath>

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
    if (!m_objs || !IsAnyObjectSelected())
        return;
    Snapshot(langStr("STEP_DELETE"));
    RemoveSelected();
}

void CDiagramEditor::RemoveSelected()
{
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
    Snapshot(langStr("STEP_DUPLICATE"));
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
    ChangeZOrder(ZOrderMove::Forward);
}

void CDiagramEditor::MoveBackward()
{
    ChangeZOrder(ZOrderMove::Backward);
}

void CDiagramEditor::BringToFront()
{
    ChangeZOrder(ZOrderMove::ToFront);
}

void CDiagramEditor::SendToBack()
{
    ChangeZOrder(ZOrderMove::ToBack);
}

// One selected element changes its place in the z-order; at the end it is
// already at, nothing changes and no step is taken.
void CDiagramEditor::ChangeZOrder(ZOrderMove move)
{
    CDiagramEntity* e = SingleSelected(m_objs);
    if (!e)
        return;
    const int index = m_objs->FindIndex(e);
    const bool towardFront = move == ZOrderMove::Forward || move == ZOrderMove::ToFront;
    if (towardFront ? index + 1 >= m_objs->GetCount() : index <= 0)
        return;
    switch (move) {
    case ZOrderMove::Forward:
        Snapshot(langStr("STEP_MOVE_FORWARD"));
        m_objs->MoveLater(e);
        break;
    case ZOrderMove::Backward:
        Snapshot(langStr("STEP_MOVE_BACKWARD"));
        m_objs->MoveEarlier(e);
        break;
    case ZOrderMove::ToFront:
        Snapshot(langStr("STEP_BRING_TO_FRONT"));
        m_objs->MoveToEnd(e);
        break;
    case ZOrderMove::ToBack:
        Snapshot(langStr("STEP_SEND_TO_BACK"));
        m_objs->MoveToStart(e);
        break;
    }
    SetModified();
    Repaint();
}

namespace {

std::string AlignStepName(CDiagramEditor::AlignEdge edge)
{
    using Edge = CDiagramEditor::AlignEdge;
    switch (edge) {
    case Edge::Left:
        return langStr("STEP_ALIGN_LEFT");
    case Edge::Right:
        return langStr("STEP_ALIGN_RIGHT");
    case Edge::Top:
        return langStr("STEP_ALIGN_TOP");
    case Edge::Bottom:
        return langStr("STEP_ALIGN_BOTTOM");
    case Edge::CentreX:
        return langStr("STEP_CENTRE_HORIZONTALLY");
    case Edge::CentreY:
        return langStr("STEP_CENTRE_VERTICALLY");
    case Edge::Width:
        return langStr("STEP_SAME_WIDTH");
    case Edge::Height:
        return langStr("STEP_SAME_HEIGHT");
    case Edge::Size:
        break;
    }
    return langStr("STEP_SAME_SIZE");
}

// The near edge that puts an extent of `size` around `centre`, in whole units.
double CentredEdge(double centre, double size)
{
    return std::round(centre - size / 2);
}

}  // namespace

void CDiagramEditor::Align(AlignEdge edge)
{
    if (!m_objs || GetSelectCount() < 2 || !GetSelectedObject())
        return;
    const CDiagramEntity& ref = *m_reference;
    const double refLeft = ref.GetLeft(), refTop = ref.GetTop(), refRight = ref.GetRight(), refBottom = ref.GetBottom();
    NewEdges edges;
    ForEachSelected([&](CDiagramEntity* e) {
        const double width = e->GetRight() - e->GetLeft();
        const double height = e->GetBottom() - e->GetTop();
        double left = e->GetLeft(), top = e->GetTop(), right = e->GetRight(), bottom = e->GetBottom();
        switch (edge) {
        case AlignEdge::Left:
            left = refLeft;
            right = left + width;
            break;
        case AlignEdge::Right:
            right = refRight;
            left = right - width;
            break;
        case AlignEdge::Top:
            top = refTop;
            bottom = top + height;
            break;
        case AlignEdge::Bottom:
            bottom = refBottom;
            top = bottom - height;
            break;
        case AlignEdge::CentreX:
            left = CentredEdge((refLeft + refRight) / 2, width);
            right = left + width;
            break;
        case AlignEdge::CentreY:
            top = CentredEdge((refTop + refBottom) / 2, height);
            bottom = top + height;
            break;
        case AlignEdge::Size:
            right = left + (refRight - refLeft);
            bottom = top + (refBottom - refTop);
            break;
        case AlignEdge::Width:
            right = left + (refRight - refLeft);
            break;
        case AlignEdge::Height:
            bottom = top + (refBottom - refTop);
            break;
        }
        RestrainRect(left, top, right, bottom);
        edges.push_back({e, {left, top, right, bottom}});
    });
    ApplyEdges(AlignStepName(edge), edges);
}

void CDiagramEditor::ApplyEdges(const std::string& stepName, const NewEdges& edges)
{
    // Elements already in place take no step.
    const auto moves = [](const auto& entry) {
        const CDiagramEntity& e = *entry.first;
        return entry.second != std::array<double, 4>{e.GetLeft(), e.GetTop(), e.GetRight(), e.GetBottom()};
    };
    if (std::none_of(edges.begin(), edges.end(), moves))
        return;
    Snapshot(stepName);
    for (const auto& [e, r] : edges)
        e->SetRect(r[0], r[1], r[2], r[3]);
    SetModified();
    Repaint();
}

void CDiagramEditor::AlignLeft()
{
    Align(AlignEdge::Left);
}

void CDiagramEditor::AlignRight()
{
    Align(AlignEdge::Right);
}

void CDiagramEditor::AlignTop()
{
    Align(AlignEdge::Top);
}

void CDiagramEditor::AlignBottom()
{
    Align(AlignEdge::Bottom);
}

void CDiagramEditor::MakeSameSize()
{
    Align(AlignEdge::Size);
}

void CDiagramEditor::CentreHorizontally()
{
    Align(AlignEdge::CentreX);
}

void CDiagramEditor::CentreVertically()
{
    Align(AlignEdge::CentreY);
}

void CDiagramEditor::MakeSameWidth()
{
    Align(AlignEdge::Width);
}

void CDiagramEditor::MakeSameHeight()
{
    Align(AlignEdge::Height);
}

void CDiagramEditor::DistributeHorizontally()
{
    Distribute(true);
}

void CDiagramEditor::DistributeVertically()
{
    Distribute(false);
}

void CDiagramEditor::Distribute(bool horizontally)
{
    // With two there is no gap between the outermost to share.
    if (!m_objs || GetSelectCount() < 3)
        return;
    // Along the axis: near edge (left or top) at 0, far edge at 2.
    const int nearEdge = horizontally ? 0 : 1;
    const int farEdge = nearEdge + 2;
    NewEdges edges;
    ForEachSelected([&](CDiagramEntity* e) {
        edges.push_back({e, {e->GetLeft(), e->GetTop(), e->GetRight(), e->GetBottom()}});
    });
    // In order of their near edges; the first and the last stay where they are.
    std::stable_sort(edges.begin(), edges.end(),
                     [&](const auto& a, const auto& b) { return a.second[nearEdge] < b.second[nearEdge]; });
    const auto extent = [&](const std::array<double, 4>& r) { return r[farEdge] - r[nearEdge]; };
    double inner = 0;
    for (std::size_t i = 1; i + 1 < edges.size(); ++i)
        inner += extent(edges[i].second);
    const double gap = (edges.back().second[nearEdge] - edges.front().second[farEdge] - inner) / (edges.size() - 1);
    // Whole units: the gaps differ by one unit at most, and rounding never
    // adds up along the row.
    double position = edges.front().second[farEdge] + gap;
    for (std::size_t i = 1; i + 1 < edges.size(); ++i) {
        std::array<double, 4>& r = edges[i].second;
        const double size = extent(r);
        r[nearEdge] = std::round(position);
        r[farEdge] = r[nearEdge] + size;
        RestrainRect(r[0], r[1], r[2], r[3]);
        position += size + gap;
    }
    ApplyEdges(langStr(horizontally ? "STEP_DISTRIBUTE_HORIZONTALLY" : "STEP_DISTRIBUTE_VERTICALLY"), edges);
}

void CDiagramEditor::CentreInForm()
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    NewEdges edges;
    ForEachSelected([&](CDiagramEntity* e) {
        edges.push_back({e, {e->GetLeft(), e->GetTop(), e->GetRight(), e->GetBottom()}});
    });
    std::array<double, 4> box = edges.front().second;
    for (const auto& [e, r] : edges)
        box = {std::min(box[0], r[0]), std::min(box[1], r[1]), std::max(box[2], r[2]), std::max(box[3], r[3])};
    // The selection moves as a whole, so its own layout and its groups stay.
    const IntSize paper = GetVirtualSize();
    double dx = CentredEdge(paper.cx / 2.0, box[2] - box[0]) - box[0];
    double dy = CentredEdge(paper.cy / 2.0, box[3] - box[1]) - box[1];
    OffsetIntoArea(box[0], box[1], box[2], box[3], dx, dy);
    for (auto& entry : edges) {
        std::array<double, 4>& r = entry.second;
        r = {r[0] + dx, r[1] + dy, r[2] + dx, r[3] + dy};
    }
    ApplyEdges(langStr("STEP_CENTRE_IN_FORM"), edges);
}

void CDiagramEditor::Group()
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    if (m_host)
        m_host->SetRedraw(false);
    Snapshot(langStr("STEP_GROUP"));
    m_objs->Group();
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
}

void CDiagramEditor::Ungroup()
{
    bool grouped = false;
    ForEachSelected([&](CDiagramEntity* e) { grouped = grouped || e->GetGroup() != 0; });
    if (!grouped)
        return;
    if (m_host)
        m_host->SetRedraw(false);
    Snapshot(langStr("STEP_UNGROUP"));
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

// Copying changes the clipboard, not the form: no step. Copying nothing
// keeps what the clipboard holds, here and on the system clipboard.
void CDiagramEditor::Copy()
{
    if (m_objs && IsAnyObjectSelected())
        m_objs->CopyAllSelected();
}

void CDiagramEditor::Cut()
{
    if (!m_objs || !IsAnyObjectSelected())
        return;
    Snapshot(langStr("STEP_CUT"));
    m_objs->CopyAllSelected();
    RemoveSelected();
}

void CDiagramEditor::Paste()
{
    // What another editor put on the system clipboard replaces the copies
    // held; unreadable elements place nothing and take no step.
    if (!m_objs || !m_objs->TakeClipboardOffer())
        return;
    if (m_host)
        m_host->SetRedraw(false);
    Snapshot(langStr("STEP_PASTE"));
    UnselectAll();
    const int before = m_objs->GetCount();
    m_objs->Paste();
    const int after = m_objs->GetCount();
    const IntSize paper = GetVirtualSize();
    for (int i = before; i < after; ++i) {
        CDiagramEntity* e = m_objs->GetAt(i);
        e->MarkSelected(true);
        m_reference = e;
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
    m_objs->SelectGroupsOfSelected();
    ShiftSelectionInside();
    if (m_host)
        m_host->SetRedraw(true);
    Repaint();
    NotifySelection();
}

// --- default sizes ------------------------------------------------------------------

std::optional<IntSize> CDiagramEditor::DefaultPlacedSize(const std::string& type)
{
    // A flat line is what a click most often wants: a rule under a heading.
    // A captioned button has no size of its own (a picture button has), so it
    // takes that of the samples' buttons.
    static const std::pair<const char*, IntSize> sizes[] = {
        {"static", {120, 20}},  {"Image", {64, 64}}, {"Table", {300, 120}}, {"rectangle", {100, 60}},
        {"ellipse", {100, 60}}, {"line", {100, 0}},  {"button", {110, 24}},
    };
    for (const auto& [name, size] : sizes)
        if (type == name)
            return size;
    return std::nullopt;
}

void CDiagramEditor::GiveDefaultSize(CDiagramEntity& element)
{
    const std::optional<IntSize> size = DefaultPlacedSize(element.GetType());
    if (!size)
        return;
    // Without a restraint the element still lands on the paper: a click
    // near its edge should not make something half of which is off it.
    IntRect area = KeepArea();
    if (m_restraint == RestraintNone) {
        const IntSize paper = GetVirtualSize();
        area.right = std::min(area.right, paper.cx);
        area.bottom = std::min(area.bottom, paper.cy);
    }
    const double width = std::clamp(size->cx, 0, std::max(area.right - area.left, 0));
    const double height = std::clamp(size->cy, 0, std::max(area.bottom - area.top, 0));
    const double left =
        std::clamp(element.GetLeft(), double(area.left), std::max<double>(area.left, area.right - width));
    const double top = std::clamp(element.GetTop(), double(area.top), std::max<double>(area.top, area.bottom - height));
    element.SetRect(left, top, left + width, top + height);
}

// --- resizing several ---------------------------------------------------------------

void CDiagramEditor::ResizeSeveral(const CDiagramEntity& held, IntPoint v, std::array<bool, 4> edges)
{
    if (m_snap)
        v = {SnapX(v.x), SnapY(v.y)};
    // Plain names rather than a structured binding: the lambdas below take them.
    const bool ownsLeft = edges[0], ownsTop = edges[1], ownsRight = edges[2], ownsBottom = edges[3];
    double dx = ownsLeft ? v.x - held.GetLeft() : ownsRight ? v.x - held.GetRight() : 0.0;
    double dy = ownsTop ? v.y - held.GetTop() : ownsBottom ? v.y - held.GetBottom() : 0.0;

    // The range of an offset that keeps every element within its size limits
    // and the area. Shapes do not flip here: their sizes differ, so they
    // would flip at different places.
    const IntRect area = KeepArea();
    constexpr double Far = 1e9;
    double lowX = -Far, highX = Far, lowY = -Far, highY = Far;
    auto limit = [](double size, int minimum, int maximum, bool nearEdge, double& low, double& high) {
        const double smallest = std::max(minimum, 0);
        const double largest = maximum == -1 ? Far : maximum;
        // The near edge grows the element as it goes toward lower values.
        low = std::max(low, nearEdge ? size - largest : smallest - size);
        high = std::min(high, nearEdge ? size - smallest : largest - size);
    };
    ForEachSelected([&](const CDiagramEntity* e) {
        const IntSize minimum = e->GetMinimumSize();
        const IntSize maximum = e->GetMaximumSize();
        const double width = e->GetRight() - e->GetLeft();
        const double height = e->GetBottom() - e->GetTop();
        if (ownsLeft || ownsRight)
            limit(width, minimum.cx, maximum.cx, ownsLeft, lowX, highX);
        if (ownsTop || ownsBottom)
            limit(height, minimum.cy, maximum.cy, ownsTop, lowY, highY);
        if (ownsLeft)
            lowX = std::max(lowX, area.left - e->GetLeft());
        if (ownsRight)
            highX = std::min(highX, area.right - e->GetRight());
        if (ownsTop)
            lowY = std::max(lowY, area.top - e->GetTop());
        if (ownsBottom)
            highY = std::min(highY, area.bottom - e->GetBottom());
    });
    // An element already beyond its limits leaves that axis as it is.
    dx = lowX <= highX ? std::clamp(dx, lowX, highX) : 0.0;
    dy = lowY <= highY ? std::clamp(dy, lowY, highY) : 0.0;
    if (dx == 0 && dy == 0)
        return;
    TakeGestureStep();
    ForEachSelected([&](CDiagramEntity* e) {
        e->SetRect(e->GetLeft() + (ownsLeft ? dx : 0), e->GetTop() + (ownsTop ? dy : 0),
                   e->GetRight() + (ownsRight ? dx : 0), e->GetBottom() + (ownsBottom ? dy : 0));
    });
}

}  // namespace fw
