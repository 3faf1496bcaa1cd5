#include "model/ElementIndex.h"

#include "model/DiagramEntity.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// Cells are squares at least this wide, at most this many to a side.
constexpr std::int64_t SmallestCell = 32;
constexpr std::int64_t MostCellsToASide = 1024;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

void RemoveOne(std::vector<int>& slots, int slot)
{
    auto it = std::find(slots.begin(), slots.end(), slot);
    if (it == slots.end())
        return;
    *it = slots.back();
    slots.pop_back();
}

}  // namespace

DrawnExtent DrawnExtentOf(const CDiagramEntity& element, double zoom)
{
    const IntRect zoomed = element.GetZoomedRect(zoom);
    const IntRect r = zoomed.Normalized();
    const std::int64_t reach = 16 + std::int64_t{ZoomEdge(element.GetLineWidth(), zoom)};
    DrawnExtent e{r.left - reach, r.top - reach, r.right + reach, r.bottom + reach};
    // A caption on one line may stick out further.
    const IntRect text = element.MeasuredTextReach(zoomed, zoom);
    if (!text.IsEmpty()) {
        e.left = std::min<std::int64_t>(e.left, text.left), e.top = std::min<std::int64_t>(e.top, text.top);
        e.right = std::max<std::int64_t>(e.right, text.right);
        e.bottom = std::max<std::int64_t>(e.bottom, text.bottom);
    }
    return e;
}

bool Meets(const DrawnExtent& extent, const IntRect& area)
{
    return !area.IsEmpty() && extent.left < area.right && extent.right > area.left && extent.top < area.bottom &&
           extent.bottom > area.top;
}

void ElementIndex::Invalidate()
{
    if (!m_valid)
        return;
    m_valid = false;
    // The list is about to change: no element may keep telling this index.
    for (CDiagramEntity* element : m_elements)
        element->SetIndexEntry(nullptr, -1);
    m_elements.clear();
}

void ElementIndex::Build(const std::vector<std::unique_ptr<CDiagramEntity>>& list, double zoom, DrawContext& dc)
{
    Invalidate();
    const std::size_t n = list.size();
    m_zoom = zoom;
    m_elements.resize(n);
    m_extents.resize(n);
    m_cellsOf.assign(n, CellRange{});
    m_seen.assign(n, 0);
    m_question = 0;
    m_large.clear();
    m_unmeasured.clear();
    std::int64_t left = 0, top = 0, right = 1, bottom = 1;
    for (std::size_t i = 0; i < n; ++i) {
        CDiagramEntity* element = list[i].get();
        m_elements[i] = element;
        element->SetIndexEntry(this, static_cast<int>(i));
        if (element->NeedsTextMeasure(zoom))
            element->MeasureText(dc, zoom);
        const DrawnExtent& e = m_extents[i] = DrawnExtentOf(*element, zoom);
        if (i == 0) {
            left = e.left, top = e.top, right = e.right, bottom = e.bottom;
        } else {
            left = std::min(left, e.left), top = std::min(top, e.top);
            right = std::max(right, e.right), bottom = std::max(bottom, e.bottom);
        }
    }
    // About a couple of elements to a cell where they are spread evenly.
    const double width = static_cast<double>(right - left) + 1;
    const double height = static_cast<double>(bottom - top) + 1;
    const double even = std::sqrt(width * height / static_cast<double>(std::max<std::size_t>(n, 1))) * 2;
    m_cellSide = std::max({SmallestCell, static_cast<std::int64_t>(std::ceil(even)),
                           static_cast<std::int64_t>(std::ceil(width / MostCellsToASide)),
                           static_cast<std::int64_t>(std::ceil(height / MostCellsToASide))});
    m_originX = left;
    m_originY = top;
    m_columns = static_cast<int>(std::clamp<std::int64_t>(FloorDiv(right - left, m_cellSide) + 1, 1, MostCellsToASide));
    m_rows = static_cast<int>(std::clamp<std::int64_t>(FloorDiv(bottom - top, m_cellSide) + 1, 1, MostCellsToASide));
    m_cells.assign(static_cast<std::size_t>(m_columns) * static_cast<std::size_t>(m_rows), {});
    for (std::size_t i = 0; i < n; ++i) {
        const DrawnExtent& e = m_extents[i];
        m_cellsOf[i] = CellsOf(e.left, e.top, e.right, e.bottom);
        Enter(static_cast<int>(i), m_cellsOf[i]);
    }
    m_valid = true;
}

ElementIndex::CellRange ElementIndex::CellsOf(std::int64_t left, std::int64_t top, std::int64_t right,
                                              std::int64_t bottom) const
{
    // Clamped to the grid: whatever lies beyond its edge shares the edge cells.
    auto column = [this](std::int64_t x) {
        return static_cast<int>(std::clamp<std::int64_t>(FloorDiv(x - m_originX, m_cellSide), 0, m_columns - 1));
    };
    auto row = [this](std::int64_t y) {
        return static_cast<int>(std::clamp<std::int64_t>(FloorDiv(y - m_originY, m_cellSide), 0, m_rows - 1));
    };
    return {column(left), row(top), column(right), row(bottom)};
}

void ElementIndex::Enter(int slot, const CellRange& cells)
{
    if (IsLarge(cells)) {
        m_large.push_back(slot);
        return;
    }
    for (int y = cells.y0; y <= cells.y1; ++y)
        for (int x = cells.x0; x <= cells.x1; ++x)
            m_cells[static_cast<std::size_t>(y) * m_columns + x].push_back(slot);
}

void ElementIndex::Leave(int slot, const CellRange& cells)
{
    if (IsLarge(cells)) {
        RemoveOne(m_large, slot);
        return;
    }
    for (int y = cells.y0; y <= cells.y1; ++y)
        for (int x = cells.x0; x <= cells.x1; ++x)
            RemoveOne(m_cells[static_cast<std::size_t>(y) * m_columns + x], slot);
}

void ElementIndex::Update(const CDiagramEntity& element, int slot)
{
    if (!m_valid || slot < 0 || static_cast<std::size_t>(slot) >= m_elements.size() ||
        m_elements[static_cast<std::size_t>(slot)] != &element)
        return;
    const std::size_t at = static_cast<std::size_t>(slot);
    // A new text is measured at the next question, which has a context.
    if (element.NeedsTextMeasure(m_zoom))
        m_unmeasured.push_back(slot);
    const DrawnExtent e = m_extents[at] = DrawnExtentOf(element, m_zoom);
    const CellRange cells = CellsOf(e.left, e.top, e.right, e.bottom);
    if (cells == m_cellsOf[at])
        return;
    Leave(slot, m_cellsOf[at]);
    Enter(slot, cells);
    m_cellsOf[at] = cells;
}

void ElementIndex::MeasureChanged(DrawContext& dc)
{
    std::vector<int> slots;
    slots.swap(m_unmeasured);
    for (int slot : slots) {
        CDiagramEntity* element = m_elements[static_cast<std::size_t>(slot)];
        // Measuring moves the entry, through Update.
        if (element->NeedsTextMeasure(m_zoom))
            element->MeasureText(dc, m_zoom);
    }
}

void ElementIndex::Find(const std::vector<std::unique_ptr<CDiagramEntity>>& list, double zoom, const IntRect& area,
                        DrawContext& dc, std::vector<int>& positions)
{
    positions.clear();
    if (!m_valid || zoom != m_zoom)
        Build(list, zoom, dc);
    else if (!m_unmeasured.empty())
        MeasureChanged(dc);
    if (area.IsEmpty())
        return;
    const int n = static_cast<int>(m_extents.size());
    const CellRange asked = CellsOf(area.left, area.top, area.right, area.bottom);
    // An area over most of the form is cheaper to answer by walking it.
    if (asked.Count() * 4 > n) {
        for (int i = 0; i < n; ++i)
            if (Meets(m_extents[static_cast<std::size_t>(i)], area))
                positions.push_back(i);
        return;
    }
    if (++m_question == 0) {
        std::fill(m_seen.begin(), m_seen.end(), 0);
        m_question = 1;
    }
    for (int y = asked.y0; y <= asked.y1; ++y)
        for (int x = asked.x0; x <= asked.x1; ++x)
            for (int slot : m_cells[static_cast<std::size_t>(y) * m_columns + x]) {
                const std::size_t at = static_cast<std::size_t>(slot);
                if (m_seen[at] == m_question)
                    continue;
                m_seen[at] = m_question;
                if (Meets(m_extents[at], area))
                    positions.push_back(slot);
            }
    for (int slot : m_large)
        if (Meets(m_extents[static_cast<std::size_t>(slot)], area))
            positions.push_back(slot);
    std::sort(positions.begin(), positions.end());
}

}  // namespace fw
