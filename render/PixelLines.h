#pragma once

#include "render/DrawContext.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace fw {

// On/off lengths in pixels of the styled pens, as the platform draws them.
constexpr int kDashOn = 18;
constexpr int kDashOff = 6;
constexpr int kDotOn = 3;
constexpr int kDotOff = 3;

// One-pixel lines are rasterised here rather than stroked, so they come out
// aliased and exactly where the platform puts them, diagonals included. Only
// the pixels inside `clip` are walked, so a line costs what it shows, however
// long it is. The pixels are collected in `runs` as rectangles, one a run.
class PixelLines {
public:
    PixelLines(PenStyle style, const IntRect& clip, std::vector<IntRect>& runs)
        : m_style(style), m_clip(clip), m_runs(runs)
    {}

    // From `from` up to but not including `to`.
    void Line(IntPoint from, IntPoint to);

private:
    // Products of two line extents, each up to 2^32, need more than 64 bits.
    __extension__ typedef __int128 Wide;

    // The steps of the line-drawing walk from `from` to `to`: the major axis
    // advances on every step, the minor one when the error term says so.
    struct LineWalk {
        LineWalk(IntPoint from, IntPoint to)
            : from(from), dx(std::llabs(std::int64_t{to.x} - from.x)), dy(std::llabs(std::int64_t{to.y} - from.y)),
              sx(to.x > from.x ? 1 : -1), sy(to.y > from.y ? 1 : -1), horizontal(dx >= dy), steps(std::max(dx, dy))
        {}
        // How often the minor axis has advanced before step k: the count the
        // walk below reaches, in closed form.
        std::int64_t MinorSteps(std::int64_t k) const
        {
            const Wide major = horizontal ? dx : dy;
            const Wide minor = horizontal ? dy : dx;
            if (k == 0 || major == 0) {
                return 0;
            }
            const Wide numerator = 2 * k * minor - major;
            const Wide denominator = 2 * major;
            if (numerator <= 0) {
                return 0;
            }
            return static_cast<std::int64_t>((numerator + denominator - 1) / denominator);
        }
        std::int64_t X(std::int64_t k) const { return from.x + sx * (horizontal ? k : MinorSteps(k)); }
        std::int64_t Y(std::int64_t k) const { return from.y + sy * (horizontal ? MinorSteps(k) : k); }

        IntPoint from;
        std::int64_t dx;
        std::int64_t dy;
        int sx;
        int sy;
        bool horizontal;
        std::int64_t steps;
    };

    void StraightLine(IntPoint from, IntPoint to);
    std::pair<std::int64_t, std::int64_t> VisibleSteps(const LineWalk& walk) const;
    void Walk(const LineWalk& walk, std::int64_t first, std::int64_t last);
    bool penDown();
    void plot(int x, int y, bool horizontal);

    PenStyle m_style;
    IntRect m_clip;
    std::int64_t m_position = 0;  // the style pattern runs on across a figure's segments
    std::vector<IntRect>& m_runs;
};

}  // namespace fw
