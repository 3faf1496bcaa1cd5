#include "dialogs/DialogLayout.h"

#include "services/Strings.h"
#include "services/Tokens.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace fw {

namespace {

// Conversion truncates toward zero, so a shrinking dialog moves controls by
// the same amount in either direction.
int Share(int growth, double factor)
{
    return static_cast<int>(growth * factor);
}

}  // namespace

DialogRect PlaceAnchored(const AnchorRecord& record, int dx, int dy, int scrollX, int scrollY)
{
    DialogRect placed;
    placed.left = record.rect.left + Share(dx, record.moveX) - scrollX;
    placed.top = record.rect.top + Share(dy, record.moveY) - scrollY;
    placed.width = record.rect.width + Share(dx, record.sizeX);
    placed.height = record.rect.height + Share(dy, record.sizeY);
    return placed;
}

int MaxScrollPosition(int contentSize, int pageSize)
{
    return std::max(contentSize - pageSize, 0);
}

int ClampScrollPosition(int position, int contentSize, int pageSize)
{
    return std::clamp(position, 0, MaxScrollPosition(contentSize, pageSize));
}

int ScrollPositionFor(ScrollRequest request, int current, int thumb, int contentSize, int pageSize)
{
    int position = current;
    switch (request) {
    case ScrollRequest::LineUp:
        position = current - kDialogScrollLine;
        break;
    case ScrollRequest::LineDown:
        position = current + kDialogScrollLine;
        break;
    case ScrollRequest::PageUp:
        position = current - pageSize;
        break;
    case ScrollRequest::PageDown:
        position = current + pageSize;
        break;
    case ScrollRequest::Top:
        position = 0;
        break;
    case ScrollRequest::Bottom:
        position = contentSize;
        break;
    case ScrollRequest::ThumbPosition:
    case ScrollRequest::ThumbTrack:
        position = thumb;
        break;
    }
    return ClampScrollPosition(position, contentSize, pageSize);
}

std::string FormatPlacement(const DialogPlacement& placement)
{
    const DialogRect& r = placement.rect;
    if (r.width == 0 || r.height == 0)
        return {};
    const int width = placement.maximized ? -std::abs(r.width) : r.width;
    const int height = placement.maximized ? -std::abs(r.height) : r.height;
    return format("%d;%d;%d;%d", r.left, r.top, width, height);
}

std::optional<DialogPlacement> ParsePlacement(const std::string& text)
{
    SplitText parts(text, ";");
    DialogPlacement placement;
    placement.rect.left = parts.intAt(0);
    placement.rect.top = parts.intAt(1);
    // Keeps the negation of the smallest int in range.
    const int width = std::max(parts.intAt(2), -INT_MAX);
    const int height = std::max(parts.intAt(3), -INT_MAX);
    if (width == 0 || height == 0)
        return std::nullopt;
    placement.maximized = width < 0 || height < 0;
    placement.rect.width = std::abs(width);
    placement.rect.height = std::abs(height);
    return placement;
}

MonitorSize DesktopExtent(const std::vector<MonitorSize>& monitors)
{
    MonitorSize extent;
    for (const MonitorSize& m : monitors) {
        extent.width += m.width;
        extent.height = std::max(extent.height, m.height);
    }
    return extent;
}

DialogRect ClipToDesktop(const DialogRect& rect, const MonitorSize& extent)
{
    DialogRect clipped = rect;
    if (clipped.left < 0 || clipped.left >= extent.width)
        clipped.left = 0;
    if (clipped.top < 0 || clipped.top >= extent.height)
        clipped.top = 0;
    // Compared as what is left of the extent: a stored size near the int
    // limit must not overflow the sum.
    if (clipped.width > extent.width - clipped.left)
        clipped.width = extent.width - clipped.left;
    if (clipped.height > extent.height - clipped.top)
        clipped.height = extent.height - clipped.top;
    return clipped;
}

}  // namespace fw
