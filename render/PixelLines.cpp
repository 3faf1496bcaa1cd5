#include "render/PixelLines.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace fw {

void PixelLines::Line(IntPoint from, IntPoint to)
{
    if (m_style == PenStyle::Solid && (from.x == to.x || from.y == to.y)) {
        StraightLine(from, to);
        return;
    }
    const LineWalk walk(from, to);
    const auto [first, last] = VisibleSteps(walk);
    // The pen's pattern runs on over the pixels left out.
    m_position += first;
    if (first < last) {
        Walk(walk, first, last);
    }
    m_position += walk.steps - std::max(first, last);
}

// A solid line along an axis is one run: the pixels from `from` up to
// `to`, cut to the clip.
void PixelLines::StraightLine(IntPoint from, IntPoint to)
{
    using Span = std::pair<std::int64_t, std::int64_t>;
    // [a, b) forwards, (b, a] backwards; in 64 bits, as a + 1 may pass the int range.
    auto along = [](std::int64_t a, std::int64_t b) { return a <= b ? Span{a, b} : Span{b + 1, a + 1}; };
    auto across = [](std::int64_t a) { return Span{a, a + 1}; };
    const bool horizontal = from.y == to.y;
    const auto [left, right] = horizontal ? along(from.x, to.x) : across(from.x);
    const auto [top, bottom] = horizontal ? across(from.y) : along(from.y, to.y);
    const IntRect run{static_cast<int>(std::max<std::int64_t>(left, m_clip.left)),
                      static_cast<int>(std::max<std::int64_t>(top, m_clip.top)),
                      static_cast<int>(std::min<std::int64_t>(right, m_clip.right)),
                      static_cast<int>(std::min<std::int64_t>(bottom, m_clip.bottom))};
    if (!run.IsEmpty()) {
        m_runs.push_back(run);
    }
}

// The steps [first, last) whose pixels lie in the clip. Along each axis a
// pixel moves one way only, so it is first before the clip, then in it,
// then past it; each boundary is found by bisection.
std::pair<std::int64_t, std::int64_t> PixelLines::VisibleSteps(const LineWalk& walk) const
{
    auto firstWhere = [&walk](auto holds) {
        std::int64_t low = 0;
        std::int64_t high = walk.steps;
        while (low < high) {
            const std::int64_t middle = low + (high - low) / 2;
            if (holds(middle)) {
                high = middle;
            } else {
                low = middle + 1;
            }
        }
        return low;
    };
    const IntRect& c = m_clip;
    auto insideX = [&](std::int64_t k) { return walk.sx > 0 ? walk.X(k) >= c.left : walk.X(k) < c.right; };
    auto insideY = [&](std::int64_t k) { return walk.sy > 0 ? walk.Y(k) >= c.top : walk.Y(k) < c.bottom; };
    auto pastX = [&](std::int64_t k) { return walk.sx > 0 ? walk.X(k) >= c.right : walk.X(k) < c.left; };
    auto pastY = [&](std::int64_t k) { return walk.sy > 0 ? walk.Y(k) >= c.bottom : walk.Y(k) < c.top; };
    const std::int64_t first = std::max(firstWhere(insideX), firstWhere(insideY));
    const std::int64_t last = std::min(firstWhere([&](std::int64_t k) { return pastX(k); }),
                                       firstWhere([&](std::int64_t k) { return pastY(k); }));
    return {first, last};
}

void PixelLines::Walk(const LineWalk& walk, std::int64_t first, std::int64_t last)
{
    const std::int64_t minor = walk.MinorSteps(first);
    const std::int64_t dx = walk.dx;
    const std::int64_t dy = walk.dy;
    std::int64_t x = walk.X(first);
    std::int64_t y = walk.Y(first);
    std::int64_t error = walk.horizontal ? dx - dy - first * dy + minor * dx : dx - dy + first * dx - minor * dy;
    for (std::int64_t step = first; step < last; ++step) {
        if (penDown()) {
            plot(static_cast<int>(x), static_cast<int>(y), walk.horizontal);
        }
        const std::int64_t doubled = 2 * error;
        if (doubled > -dy) {
            error -= dy;
            x += walk.sx;
        }
        if (doubled < dx) {
            error += dx;
            y += walk.sy;
        }
    }
}

bool PixelLines::penDown()
{
    const std::int64_t position = m_position++;
    switch (m_style) {
    case PenStyle::Solid:
        return true;
    case PenStyle::Dash:
        return position % (kDashOn + kDashOff) < kDashOn;
    case PenStyle::Dot:
        return position % (kDotOn + kDotOff) < kDotOn;
    case PenStyle::Null:
        break;
    }
    return false;
}

void PixelLines::plot(int x, int y, bool horizontal)
{
    if (!m_runs.empty()) {
        IntRect& last = m_runs.back();
        if (horizontal && last.Height() == 1 && last.top == y) {
            if (x == last.right) {
                ++last.right;
                return;
            }
            if (x == last.left - 1) {
                --last.left;
                return;
            }
        } else if (!horizontal && last.Width() == 1 && last.left == x) {
            if (y == last.bottom) {
                ++last.bottom;
                return;
            }
            if (y == last.top - 1) {
                --last.top;
                return;
            }
        }
    }
    m_runs.push_back({x, y, x + 1, y + 1});
}

}  // namespace fw
