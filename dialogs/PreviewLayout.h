#pragma once
// What the form preview decides by rule: how big its window opens, where the
// run-time button bar goes, how elements follow a resized window, how pictures
// are fitted, and what each element becomes. No toolkit here; the preview
// dialog turns the answers into windows.

#include "render/DrawContext.h"
#include "services/Geometry.h"

#include <optional>
#include <string>
#include <vector>

namespace fw {

class CEntityStyle;

// What an element of a form becomes in the preview.
enum class PreviewKind {
    None,         // left out
    Static,       // static text
    Edit,         // edit field (property fields and plain edit boxes)
    ImageButton,  // themed button showing the element's image key
    Table,        // list control
    Button,       // themed button with the title as text
    Picture,      // drawn when painting
    Shape,        // drawn when painting
};

// By the element's type string, compared exactly.
PreviewKind PreviewKindOf(const std::string& type);

// The first size of the preview's window.
struct PreviewSize {
    int clientWidth = 0;  // paper cut to the screen, plus room for the scroll bars
    int clientHeight = 0;
    int contentWidth = 0;  // what scrolls: the paper plus the same room
    int contentHeight = 0;
    bool horizontalScroll = false;
    bool verticalScroll = false;
};

// A paper larger than the screen less 30 pixels is cut to that and scrolls.
// `scrollBars` is the width of a vertical and the height of a horizontal bar.
// Nothing when the paper has no positive width and height.
std::optional<PreviewSize> ComputePreviewSize(IntSize paper, IntSize screen, IntSize scrollBars);

// A window that scrolls opens 600 pixels long in the scrolling direction.
constexpr int kScrollingWindowLength = 600;
IntSize PreviewWindowSize(IntSize windowForClient, const PreviewSize& size);

// One control of the run-time button bar.
enum class BarControlKind { ToolButton, ReadOnlyEdit, StatusField, Ok, Cancel };

struct BarControl {
    BarControlKind kind = BarControlKind::ToolButton;
    std::string bitmapKey;  // tool buttons only
    int buttonType = 0;     // tool buttons only
    IntRect rect;
    double moveX = 0.0;
    double moveY = 0.0;
    double sizeX = 0.0;
    double sizeY = 0.0;
};

// The nine controls of the bar along the bottom of a paper of width x height,
// in creation order.
std::vector<BarControl> RuntimeButtonBar(int width, int height);

// Anchor shares from an element's percentages.
struct AnchorShares {
    double moveX = 0.0;
    double moveY = 0.0;
    double sizeX = 0.0;
    double sizeY = 0.0;

    friend bool operator==(const AnchorShares& a, const AnchorShares& b)
    {
        return a.moveX == b.moveX && a.moveY == b.moveY && a.sizeX == b.sizeX && a.sizeY == b.sizeY;
    }
};
AnchorShares AnchorSharesOf(IntPoint moving, IntPoint sizing);
// Along an axis that scrolls the window never reaches the paper's size, so
// nothing follows the window there: the paper scrolls instead.
AnchorShares WithoutScrolledAxes(AnchorShares shares, const PreviewSize& size);

// How far the window has grown along one axis over the content it scrolls;
// 0 while the window is smaller than the content.
int PreviewGrowth(int clientSize, int contentSize);

// An element's rectangle in a window grown by dx, dy: it moves by the moving
// percentages of the growth and grows by the sizing percentages.
IntRect DynamicRect(const IntRect& rect, IntPoint moving, IntPoint sizing, int dx, int dy);

// A bitmap fitted into the rectangle with its aspect ratio kept, at the
// rectangle's top-left corner. Empty for a bitmap without pixels.
IntRect FitPicture(const IntRect& rect, IntSize bitmap);

// The text colour of a style's "r,g,b"; nothing unless there are exactly three parts.
std::optional<Color> StyleTextColor(const std::string& text);

// A font for the preview's controls; the height is in tenths of a point.
struct PreviewFont {
    std::string face;
    int tenthsOfPoint = 0;
    int weight = 400;
    bool italic = false;

    friend bool operator==(const PreviewFont& a, const PreviewFont& b)
    {
        return a.face == b.face && a.tenthsOfPoint == b.tenthsOfPoint && a.weight == b.weight && a.italic == b.italic;
    }
};
PreviewFont PreviewFontOf(const CEntityStyle& style);
PreviewFont DefaultPreviewFont(const std::string& face, int pointSize);

// The language key of the window title: the form's title, else "EDIT_" and
// the object class.
std::string PreviewTitleKey(const std::string& title, const std::string& objectClass);

// The resource name of a picture key whose last path part starts with "R:";
// nothing for other keys.
std::optional<std::string> PictureResourceName(const std::string& key);

}  // namespace fw
