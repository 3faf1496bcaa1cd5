#pragma once
// Where the elements of a form draw at a zoom, bucketed on a uniform grid,
// so that a repaint visits only the elements that can reach what it paints
// instead of the whole list. The form keeps one: a change of its list makes
// it rebuild at the next question, and an element that changes (a move, a
// new line width) moves its own entry, so a drag costs what it moves.

#include "services/Geometry.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace fw {

class CDiagramEntity;
class DrawContext;

// What an element's drawing may cover at a zoom, in zoomed pixels: its
// rectangle, normalised, widened by what reaches outside it (markers, thick
// outlines, tab numbers). In 64 bits, so that an edge at the end of the int
// range does not wrap around.
struct DrawnExtent {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};
DrawnExtent DrawnExtentOf(const CDiagramEntity& element, double zoom);
// Whether the extent reaches into the area; an empty area meets nothing.
bool Meets(const DrawnExtent& extent, const IntRect& area);

class ElementIndex {
public:
    // The list changed: the next question rebuilds.
    void Invalidate();
    // The list positions of the elements whose extent at `zoom` meets
    // `area`, ascending (list order is drawing order). Texts not measured yet
    // are measured on `dc` first.
    void Find(const std::vector<std::unique_ptr<CDiagramEntity>>& list, double zoom, const IntRect& area,
              DrawContext& dc, std::vector<int>& positions);
    // The element at `slot` changed what it holds; its entry follows.
    void Update(const CDiagramEntity& element, int slot);

private:
    struct CellRange {
        int x0 = 0, y0 = 0, x1 = -1, y1 = -1;
        bool operator==(const CellRange& o) const { return x0 == o.x0 && y0 == o.y0 && x1 == o.x1 && y1 == o.y1; }
        long long Count() const
        {
            return (static_cast<long long>(x1) - x0 + 1) * (static_cast<long long>(y1) - y0 + 1);
        }
    };
    void Build(const std::vector<std::unique_ptr<CDiagramEntity>>& list, double zoom, DrawContext& dc);
    void MeasureChanged(DrawContext& dc);
    CellRange CellsOf(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom) const;
    // An element over this many cells is asked at every question instead.
    bool IsLarge(const CellRange& cells) const { return cells.Count() > LargeCells; }
    void Enter(int slot, const CellRange& cells);
    void Leave(int slot, const CellRange& cells);

    static constexpr long long LargeCells = 64;

    bool m_valid = false;
    double m_zoom = 0;
    // By list position, as of the last build.
    std::vector<CDiagramEntity*> m_elements;
    std::vector<DrawnExtent> m_extents;
    std::vector<CellRange> m_cellsOf;
    std::int64_t m_originX = 0;
    std::int64_t m_originY = 0;
    std::int64_t m_cellSide = 1;
    int m_columns = 0;
    int m_rows = 0;
    std::vector<std::vector<int>> m_cells;  // row-major, slots in no order
    std::vector<int> m_large;               // slots, in no order
    std::vector<int> m_unmeasured;          // slots whose text changed since
    // Marks the slots a question has met already (an element spans cells).
    std::vector<std::uint32_t> m_seen;
    std::uint32_t m_question = 0;
};

}  // namespace fw
