#include "dialogs/PreviewLayout.h"

#include "model/EntityStyle.h"

#include <algorithm>

namespace fw {

namespace {

// The screen keeps this much room around a preview that does not fit.
constexpr int kScreenMargin = 30;

int Percent(int growth, int percentage)
{
    return static_cast<int>(growth * percentage / 100.0);
}

}  // namespace

PreviewKind PreviewKindOf(const std::string& type)
{
    if (type == "static")
        return PreviewKind::Static;
    if (type == "editbox")
        return PreviewKind::Edit;
    if (type == "ImageButton")
        return PreviewKind::ImageButton;
    if (type == "Table")
        return PreviewKind::Table;
    if (type == "button")
        return PreviewKind::Button;
    if (type == "Image")
        return PreviewKind::Picture;
    if (type == "line" || type == "rectangle" || type == "ellipse")
        return PreviewKind::Shape;
    return PreviewKind::None;
}

std::optional<PreviewSize> ComputePreviewSize(IntSize paper, IntSize screen, IntSize scrollBars)
{
    if (paper.cx <= 0 || paper.cy <= 0)
        return std::nullopt;
    PreviewSize size;
    const int maxWidth = screen.cx - kScreenMargin;
    const int maxHeight = screen.cy - kScreenMargin;
    size.horizontalScroll = paper.cx > maxWidth;
    size.verticalScroll = paper.cy > maxHeight;
    const int barWidth = size.verticalScroll ? scrollBars.cx : 0;
    const int barHeight = size.horizontalScroll ? scrollBars.cy : 0;
    size.clientWidth = std::min(paper.cx, maxWidth) + barWidth;
    size.clientHeight = std::min(paper.cy, maxHeight) + barHeight;
    // The bars lie over the client area; the extra room keeps the paper's
    // last pixels clear of them once scrolled to the end.
    size.contentWidth = paper.cx + barWidth;
    size.contentHeight = paper.cy + barHeight;
    return size;
}

IntSize PreviewWindowSize(IntSize windowForClient, const PreviewSize& size)
{
    IntSize window = windowForClient;
    if (size.verticalScroll)
        window.cy = kScrollingWindowLength;
    if (size.horizontalScroll)
        window.cx = kScrollingWindowLength;
    return window;
}

std::vector<BarControl> RuntimeButtonBar(int width, int height)
{
    const int y = height - 70;
    auto tool = [y](const char* key, int x, int side) {
        BarControl c;
        c.kind = BarControlKind::ToolButton;
        c.bitmapKey = key;
        c.buttonType = 2;
        c.rect = {x, y, x + side, y + side};
        c.moveY = 1.0;
        return c;
    };
    std::vector<BarControl> bar;
    bar.push_back(tool("HELP", 10, 26));
    bar.push_back(tool("OPEN_OBJECTEDITOR", 40, 26));
    bar.push_back(tool("SHOW_PREVIEW_OBJECT", 70, 20));
    bar.push_back(tool("SHOW_NEXT_OBJECT", 92, 20));

    BarControl edit;
    edit.kind = BarControlKind::ReadOnlyEdit;
    edit.rect = {114, y, 114 + 55, y + 20};
    edit.moveY = 1.0;
    bar.push_back(edit);

    bar.push_back(tool("SPREAD_SHEET", 170, 20));

    BarControl status;
    status.kind = BarControlKind::StatusField;
    status.rect = {10, height - 35, width - 10, height - 10};
    status.moveY = 1.0;
    status.sizeX = 1.0;
    bar.push_back(status);

    for (BarControlKind kind : {BarControlKind::Ok, BarControlKind::Cancel}) {
        BarControl button;
        button.kind = kind;
        const int x = width - (kind == BarControlKind::Ok ? 195 : 95);
        button.rect = {x, y, x + 80, y + 24};
        button.moveX = 1.0;
        button.moveY = 1.0;
        bar.push_back(button);
    }
    return bar;
}

AnchorShares AnchorSharesOf(IntPoint moving, IntPoint sizing)
{
    return {moving.x / 100.0, moving.y / 100.0, sizing.x / 100.0, sizing.y / 100.0};
}

AnchorShares WithoutScrolledAxes(AnchorShares shares, const PreviewSize& size)
{
    if (size.horizontalScroll)
        shares.moveX = shares.sizeX = 0.0;
    if (size.verticalScroll)
        shares.moveY = shares.sizeY = 0.0;
    return shares;
}

int PreviewGrowth(int clientSize, int contentSize)
{
    return std::max(clientSize - contentSize, 0);
}

IntRect DynamicRect(const IntRect& rect, IntPoint moving, IntPoint sizing, int dx, int dy)
{
    IntRect r = rect.Offset(Percent(dx, moving.x), Percent(dy, moving.y));
    r.right += Percent(dx, sizing.x);
    r.bottom += Percent(dy, sizing.y);
    return r;
}

IntRect FitPicture(const IntRect& rect, IntSize bitmap)
{
    if (bitmap.cx <= 0 || bitmap.cy <= 0)
        return {};
    const double scale =
        std::min(static_cast<double>(rect.Width()) / bitmap.cx, static_cast<double>(rect.Height()) / bitmap.cy);
    const int width = static_cast<int>(bitmap.cx * scale);
    const int height = static_cast<int>(bitmap.cy * scale);
    return {rect.left, rect.top, rect.left + width, rect.top + height};
}

std::optional<Color> StyleTextColor(const std::string& text)
{
    Color color;
    if (!parseColorText(text, color))
        return std::nullopt;
    return color;
}

PreviewFont PreviewFontOf(const CEntityStyle& style)
{
    return {style.GetFont(), style.GetSize() * 10, style.IsBold() ? 700 : 400, style.IsItalic()};
}

PreviewFont DefaultPreviewFont(const std::string& face, int pointSize)
{
    return {face, pointSize * 10, 400, false};
}

std::string PreviewTitleKey(const std::string& title, const std::string& objectClass)
{
    return title.empty() ? "EDIT_" + objectClass : title;
}

std::optional<std::string> PictureResourceName(const std::string& key)
{
    const std::size_t slash = key.find_last_of("\\/");
    const std::string last = slash == std::string::npos ? key : key.substr(slash + 1);
    if (last.compare(0, 2, "R:") != 0)
        return std::nullopt;
    return last.substr(2);
}

}  // namespace fw
