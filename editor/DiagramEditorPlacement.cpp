#include "editor/DiagramEditor.h"

#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"

#include <algorithm>
#include <cmath>
#include <optional>

// Where things land: the placing tools, the grid, snap lines and the
// restraint that keeps every element inside its area.

namespace fw {

namespace {

// A placed property field stands this far right of its caption's left edge.
constexpr double CaptionToField = 150.0;

}  // namespace

// --- placing -------------------------------------------------------------------------

void CDiagramEditor::PlaceElement(IntPoint v)
{
    if (IsOutsideRestraint(v)) {
        m_interactMode = ModeNone;
        return;
    }
    BeginGesture(langStr("STEP_INSERT"));
    TakeGestureStep();
    UnselectAll();
    std::unique_ptr<CDiagramEntity> element = m_drawObj->Clone();
    if (m_snap)
        v = {SnapX(v.x), SnapY(v.y)};
    // The element's minimum size may carry it past the area's far edge.
    element->SetRect(v.x, v.y, v.x, v.y);
    ShiftInside({element.get()});
    element->Select(true);
    m_placed = element.get();
    AddObject(std::move(element));
    m_interactMode = ModeResizing;
    m_subMode = HitCode::BottomRight;
}

void CDiagramEditor::PlacePair(IntPoint v)
{
    // The template carries one property and one tab index: it places once,
    // even with multidraw on.
    m_drawing = 0;
    if (IsOutsideRestraint(v)) {
        m_interactMode = ModeNone;
        return;
    }
    const bool pair = m_drawObj->GetDependent() != nullptr;
    if (pair) {
        BeginGesture(m_pairStep.empty() ? langStr("STEP_INSERT_FIELD") : m_pairStep);
        TakeGestureStep();
    }
    UnselectAll();
    if (pair) {
        std::unique_ptr<CDiagramEntity> field = m_drawObj->Clone();
        CDiagramEntity* label = field->GetDependent();
        if (m_snap)
            v = {SnapX(v.x), SnapY(v.y)};
        label->SetRect(v.x, v.y, v.x + (label->GetRight() - label->GetLeft()),
                       v.y + (label->GetBottom() - label->GetTop()));
        label->Select(true);
        const double fieldLeft = v.x + CaptionToField;
        field->SetRect(fieldLeft, v.y, fieldLeft + (field->GetRight() - field->GetLeft()),
                       v.y + (field->GetBottom() - field->GetTop()));
        field->Select(true);
        // Near the far edge the pair moves back as a whole, keeping its layout.
        ShiftInside({field.get(), label});
        AddObject(std::move(field));
    }
    m_subMode = HitCode::BottomRight;
}

// --- grid and snap lines -------------------------------------------------------------

int CDiagramEditor::SnapX(int x) const
{
    return static_cast<int>(std::trunc(static_cast<double>(x) / m_gridSize.cx + 0.5)) * m_gridSize.cx;
}

int CDiagramEditor::SnapY(int y) const
{
    return static_cast<int>(std::trunc(static_cast<double>(y) / m_gridSize.cy + 0.5)) * m_gridSize.cy;
}

void CDiagramEditor::GatherSnapTargets()
{
    if (m_snapTargetsReady)
        return;
    m_snapTargetsReady = true;
    m_snapTargets.Clear();
    // What the window shows, and a little around it: the lines a designer can see.
    const IntRect shown =
        ScreenToVirtual(IntRect{0, 0, m_clientSize.cx, m_clientSize.cy}).Inflated(SnapReach * 4, SnapReach * 4);
    for (int i = 0; i < m_objs->GetCount(); ++i) {
        const CDiagramEntity* e = m_objs->GetAt(i);
        const IntRect r = e->GetRect().Normalized();
        if (!e->IsSelected() && !r.Inflated(1, 1).Intersection(shown).IsEmpty())
            m_snapTargets.AddElement(r);
    }
    const IntSize paper = GetVirtualSize();
    m_snapTargets.AddMargins({m_leftMargin, m_topMargin, paper.cx - m_rightMargin, paper.cy - m_bottomMargin});
    m_snapTargets.Finish();
}

void CDiagramEditor::SetSnapGuides(const SnapResult& result)
{
    m_snapGuides.clear();
    if (result.vertical)
        m_snapGuides.push_back(*result.vertical);
    if (result.horizontal)
        m_snapGuides.push_back(*result.horizontal);
}

void CDiagramEditor::ClearSnapGuides()
{
    m_snapGuides.clear();
}

void CDiagramEditor::RepaintSnapGuides()
{
    for (const SnapGuide& guide : m_snapGuides)
        RepaintArea(GuideScreenRect(guide));
}

IntRect CDiagramEditor::GuideScreenRect(const SnapGuide& guide) const
{
    const IntRect r = guide.vertical ? VirtualToScreen(IntRect{guide.at, guide.from, guide.at, guide.to})
                                     : VirtualToScreen(IntRect{guide.from, guide.at, guide.to, guide.at});
    return guide.vertical ? IntRect{r.left, r.top, r.left + 1, r.bottom + 1}
                          : IntRect{r.left, r.top, r.right + 1, r.top + 1};
}

// --- restraint -------------------------------------------------------------------

namespace {

// A bounding box that no element reaches: the area of RestraintNone.
constexpr int Unbounded = 1 << 29;

struct Bounds {
    double left = 0, top = 0, right = 0, bottom = 0;
};

Bounds BoundsOf(const CDiagramEntity& e)
{
    return {std::min(e.GetLeft(), e.GetRight()), std::min(e.GetTop(), e.GetBottom()),
            std::max(e.GetLeft(), e.GetRight()), std::max(e.GetTop(), e.GetBottom())};
}

Bounds Union(const Bounds& a, const Bounds& b)
{
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

}  // namespace

IntRect CDiagramEditor::RestraintArea() const
{
    const IntSize paper = GetVirtualSize();
    if (m_restraint == RestraintMargins)
        return {m_leftMargin, m_topMargin, paper.cx - m_rightMargin, paper.cy - m_bottomMargin};
    if (m_restraint == RestraintPaper)
        return {0, 0, paper.cx, paper.cy};
    return {-Unbounded, -Unbounded, Unbounded, Unbounded};
}

// The reader drops an element whose left or top is 0 or less, or that is
// placed or sized beyond FormExtentLimit, so no edit may put one there,
// whether or not the designer restrains the elements.
IntRect CDiagramEditor::KeepArea() const
{
    IntRect area = RestraintArea();
    area.left = std::max(area.left, LowestEdge);
    area.top = std::max(area.top, LowestEdge);
    area.right = std::min(area.right, FormExtentLimit);
    area.bottom = std::min(area.bottom, FormExtentLimit);
    return area;
}

void CDiagramEditor::RestrainRect(double& left, double& top, double& right, double& bottom) const
{
    double dx = 0;
    double dy = 0;
    OffsetIntoArea(left, top, right, bottom, dx, dy);
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

void CDiagramEditor::RestrainPoint(double& x, double& y) const
{
    const IntRect area = KeepArea();
    x = std::clamp<double>(x, area.left, std::max(area.left, area.right));
    y = std::clamp<double>(y, area.top, std::max(area.top, area.bottom));
}

void CDiagramEditor::OffsetIntoArea(double left, double top, double right, double bottom, double& dx, double& dy) const
{
    const IntRect area = KeepArea();
    // The far edges first, so that a box too big for the area keeps its
    // left and top inside.
    if (right + dx > area.right)
        dx = area.right - right;
    if (left + dx < area.left)
        dx = area.left - left;
    if (bottom + dy > area.bottom)
        dy = area.bottom - bottom;
    if (top + dy < area.top)
        dy = area.top - top;
}

void CDiagramEditor::RestrainDelta(double& dx, double& dy) const
{
    std::optional<Bounds> box;
    ForEachSelected([&](const CDiagramEntity* e) { box = box ? Union(*box, BoundsOf(*e)) : BoundsOf(*e); });
    if (box)
        OffsetIntoArea(box->left, box->top, box->right, box->bottom, dx, dy);
}

void CDiagramEditor::ShiftInside(const std::vector<CDiagramEntity*>& elements)
{
    if (elements.empty())
        return;
    Bounds box = BoundsOf(*elements.front());
    for (const CDiagramEntity* e : elements)
        box = Union(box, BoundsOf(*e));
    double dx = 0;
    double dy = 0;
    OffsetIntoArea(box.left, box.top, box.right, box.bottom, dx, dy);
    if (dx != 0 || dy != 0)
        for (CDiagramEntity* e : elements)
            e->MoveRect(dx, dy);
}

void CDiagramEditor::ShiftSelectionInside()
{
    std::vector<CDiagramEntity*> selected;
    ForEachSelected([&](CDiagramEntity* e) { selected.push_back(e); });
    ShiftInside(selected);
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
    return {RoundEdge(right), RoundEdge(bottom)};
}

}  // namespace fw
