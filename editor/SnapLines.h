#pragma once

#include "services/Geometry.h"

#include <optional>
#include <vector>

namespace fw {

// Lines a moved or resized selection lines up with: the edges and centres of
// the elements around it and the margins. Gathered once when a drag starts,
// so each mouse step is a binary search, not a walk over the form.
struct SnapGuide {
    bool vertical = false;  // a vertical line at x = at, else a horizontal one at y = at
    int at = 0;
    int from = 0;  // extent along the line, virtual units
    int to = 0;
};

struct SnapResult {
    int dx = 0;
    int dy = 0;
    std::optional<SnapGuide> vertical;
    std::optional<SnapGuide> horizontal;
};

class SnapLines {
public:
    // Which of the moving box's lines take part on one axis.
    enum Lines : unsigned { Near = 1, Centre = 2, Far = 4, AllLines = 7 };

    void Clear();
    void AddElement(const IntRect& rect);
    // The paper's margins: vertical lines at left and right, horizontal at top and bottom.
    void AddMargins(const IntRect& inner);
    void Finish();

    // The shift that brings the nearest of the box's chosen lines onto a
    // target no further than tolerance away, per axis, and the guides to draw.
    SnapResult Snap(const IntRect& box, unsigned xLines, unsigned yLines, double tolerance) const;

private:
    struct Target {
        int at;
        int from;
        int to;
        bool operator<(const Target& other) const { return at < other.at; }
    };
    static bool Nearest(const std::vector<Target>& targets, int value, double tolerance, int& best, int& shift);
    static SnapGuide GuideAt(const std::vector<Target>& targets, int at, int from, int to, bool vertical);

    std::vector<Target> m_xs;
    std::vector<Target> m_ys;
};

}  // namespace fw
