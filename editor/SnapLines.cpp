#include "editor/SnapLines.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>

namespace fw {

void SnapLines::Clear()
{
    m_xs.clear();
    m_ys.clear();
}

void SnapLines::AddElement(const IntRect& rect)
{
    const IntRect r = rect.Normalized();
    for (int x : {r.left, (r.left + r.right) / 2, r.right})
        m_xs.push_back({x, r.top, r.bottom});
    for (int y : {r.top, (r.top + r.bottom) / 2, r.bottom})
        m_ys.push_back({y, r.left, r.right});
}

void SnapLines::AddMargins(const IntRect& inner)
{
    // A margin's guide runs along the box it lines up with, not across the paper.
    constexpr int none = std::numeric_limits<int>::max();
    for (int x : {inner.left, inner.right})
        m_xs.push_back({x, none, -none});
    for (int y : {inner.top, inner.bottom})
        m_ys.push_back({y, none, -none});
}

void SnapLines::Finish()
{
    std::sort(m_xs.begin(), m_xs.end());
    std::sort(m_ys.begin(), m_ys.end());
}

bool SnapLines::Nearest(const std::vector<Target>& targets, int value, double tolerance, int& best, int& shift)
{
    auto it = std::lower_bound(targets.begin(), targets.end(), Target{value, 0, 0});
    bool found = false;
    auto consider = [&](int at) {
        const int d = at - value;
        if (std::abs(d) <= tolerance && (best < 0 || std::abs(d) < best)) {
            best = std::abs(d);
            shift = d;
            found = true;
        }
    };
    if (it != targets.end())
        consider(it->at);
    if (it != targets.begin())
        consider(std::prev(it)->at);
    return found;
}

SnapGuide SnapLines::GuideAt(const std::vector<Target>& targets, int at, int from, int to, bool vertical)
{
    SnapGuide guide{vertical, at, from, to};
    auto range = std::equal_range(targets.begin(), targets.end(), Target{at, 0, 0});
    for (auto it = range.first; it != range.second; ++it) {
        guide.from = std::min(guide.from, it->from);
        guide.to = std::max(guide.to, it->to);
    }
    return guide;
}

SnapResult SnapLines::Snap(const IntRect& box, unsigned xLines, unsigned yLines, double tolerance) const
{
    SnapResult result;
    auto lines = [](int nearEdge, int farEdge, unsigned which) {
        std::vector<int> values;
        if (which & Near)
            values.push_back(nearEdge);
        if (which & Centre)
            values.push_back((nearEdge + farEdge) / 2);
        if (which & Far)
            values.push_back(farEdge);
        return values;
    };
    int bestX = -1, bestY = -1;
    int snappedX = 0, snappedY = 0;
    for (int x : lines(box.left, box.right, xLines))
        if (Nearest(m_xs, x, tolerance, bestX, result.dx))
            snappedX = x;
    for (int y : lines(box.top, box.bottom, yLines))
        if (Nearest(m_ys, y, tolerance, bestY, result.dy))
            snappedY = y;
    const IntRect moved{box.left + result.dx, box.top + result.dy, box.right + result.dx, box.bottom + result.dy};
    if (bestX >= 0)
        result.vertical = GuideAt(m_xs, snappedX + result.dx, moved.top, moved.bottom, true);
    if (bestY >= 0)
        result.horizontal = GuideAt(m_ys, snappedY + result.dy, moved.left, moved.right, false);
    return result;
}

}  // namespace fw
