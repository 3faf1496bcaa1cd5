#pragma once
// What a resizable dialog decides by rule: where anchored controls go when it
// grows, how far it scrolls, and how its placement is written, read and kept
// on the desktop. No toolkit here; BaseItfDialog applies the answers.

#include "editor/EditorHost.h"

#include <optional>
#include <string>
#include <vector>

namespace fw {

struct DialogRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const DialogRect& o) const
    {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
    bool operator!=(const DialogRect& o) const { return !(*this == o); }
};

// One registered child control: its rectangle when registered (client
// coordinates) and the share of the dialog's growth each edge follows.
struct AnchorRecord {
    DialogRect rect;
    double moveX = 0.0;
    double moveY = 0.0;
    double sizeX = 0.0;
    double sizeY = 0.0;

    // Records with four zero factors are left where they are.
    bool IsAnchored() const { return moveX != 0.0 || moveY != 0.0 || sizeX != 0.0 || sizeY != 0.0; }
};

// The control's rectangle for a client area grown by dx, dy over its initial
// size and scrolled to scrollX, scrollY. Shares are truncated toward zero.
DialogRect PlaceAnchored(const AnchorRecord& record, int dx, int dy, int scrollX, int scrollY);

// Scrolling along one axis.
constexpr int kDialogScrollLine = 60;

// The largest scroll position: 0 when the content fits the page.
int MaxScrollPosition(int contentSize, int pageSize);
int ClampScrollPosition(int position, int contentSize, int pageSize);
// The new position for a scroll-bar request; `thumb` is used by the thumb requests only.
int ScrollPositionFor(ScrollRequest request, int current, int thumb, int contentSize, int pageSize);

// A dialog's stored placement: the normal (not maximized) rectangle.
struct DialogPlacement {
    DialogRect rect;
    bool maximized = false;
};

// "left;top;width;height"; a maximized window writes its width and height
// negative. Empty when width or height is 0: such a placement is not stored.
std::string FormatPlacement(const DialogPlacement& placement);
// Reads the text written above; nothing when width or height is 0.
std::optional<DialogPlacement> ParsePlacement(const std::string& text);

struct MonitorSize {
    int width = 0;
    int height = 0;
};

// The area a stored rectangle is kept in: the monitors' widths side by side,
// as high as the tallest one.
MonitorSize DesktopExtent(const std::vector<MonitorSize>& monitors);
// Moves a left or top outside the extent to 0, then cuts what still reaches
// past the extent. Rectangles inside are answered unchanged.
DialogRect ClipToDesktop(const DialogRect& rect, const MonitorSize& extent);

}  // namespace fw
