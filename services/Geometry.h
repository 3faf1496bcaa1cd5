#pragma once
// Integer geometry in device or form pixels, with the platform's rectangle rules:
// left and top inclusive, right and bottom exclusive.

#include <algorithm>

namespace fw {

struct IntPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(IntPoint a, IntPoint b) { return a.x == b.x && a.y == b.y; }
    friend bool operator!=(IntPoint a, IntPoint b) { return !(a == b); }
};

struct IntSize {
    int cx = 0;
    int cy = 0;
    friend bool operator==(IntSize a, IntSize b) { return a.cx == b.cx && a.cy == b.cy; }
    friend bool operator!=(IntSize a, IntSize b) { return !(a == b); }
};

struct IntRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    IntPoint TopLeft() const { return {left, top}; }
    IntPoint BottomRight() const { return {right, bottom}; }
    bool IsEmpty() const { return right <= left || bottom <= top; }

    bool Contains(IntPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }

    IntRect Normalized() const
    {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    IntRect Inflated(int dx, int dy) const { return {left - dx, top - dy, right + dx, bottom + dy}; }
    IntRect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }

    // Empty (all zero) when the two do not overlap.
    IntRect Intersection(const IntRect& other) const
    {
        IntRect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                  std::min(bottom, other.bottom)};
        return r.IsEmpty() ? IntRect{} : r;
    }

    friend bool operator==(const IntRect& a, const IntRect& b)
    {
        return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
    }
    friend bool operator!=(const IntRect& a, const IntRect& b) { return !(a == b); }
};

}  // namespace fw
