#include "render/CairoDrawContext.h"
#include "render/DrawCaches.h"
#include "services/FileReplace.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace fw {

namespace {

// Collects what cairo writes, so that the file is replaced only once whole.
cairo_status_t AppendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

// Cairo refuses image surfaces larger than this in either direction.
constexpr int kMaxSurfaceSide = 32767;
// A PDF page is measured in points; forms are measured in 96-dpi pixels.
constexpr double kPointsPerPixel = 72.0 / 96.0;

// Text past this many bytes is not laid out: no form shows more of one
// element's text, and laying out megabytes takes seconds and gigabytes.
constexpr std::size_t kMaxLaidOutBytes = 64 * 1024;

// On/off lengths in pixels of the styled pens, as the platform draws them.
constexpr int kDashOn = 18;
constexpr int kDashOff = 6;
constexpr int kDotOn = 3;
constexpr int kDotOff = 3;

class SavedState {
public:
    explicit SavedState(cairo_t* cr) : m_cr(cr) { cairo_save(m_cr); }
    ~SavedState() { cairo_restore(m_cr); }
    SavedState(const SavedState&) = delete;
    SavedState& operator=(const SavedState&) = delete;

private:
    cairo_t* m_cr;
};

void setColor(cairo_t* cr, Color color)
{
    cairo_set_source_rgb(cr, color.r / 255.0, color.g / 255.0, color.b / 255.0);
}

void addRect(cairo_t* cr, const IntRect& rect)
{
    cairo_rectangle(cr, rect.left, rect.top, rect.Width(), rect.Height());
}

// Products of two line extents, each up to 2^32, need more than 64 bits.
__extension__ typedef __int128 Wide;

// A run of pixels of a one-pixel line, filled as one rectangle.
struct PixelRun {
    int x;
    int y;
    int w;
    int h;
};

// One-pixel lines are rasterised here rather than stroked, so they come out
// aliased and exactly where the platform puts them, diagonals included. Only
// the pixels inside `clip` are walked, so a line costs what it shows, however
// long it is.
class PixelLines {
public:
    PixelLines(PenStyle style, const IntRect& clip) : m_style(style), m_clip(clip) {}

    // From `from` up to but not including `to`.
    void Line(IntPoint from, IntPoint to)
    {
        const LineWalk walk(from, to);
        const auto [first, last] = VisibleSteps(walk);
        // The pen's pattern runs on over the pixels left out.
        m_position += first;
        if (first < last) {
            Walk(walk, first, last);
        }
        m_position += walk.steps - std::max(first, last);
    }

    void Point(int x, int y)
    {
        if (penDown() && m_clip.Contains({x, y})) {
            plot(x, y, true);
        }
    }

    void Fill(cairo_t* cr, Color color) const
    {
        if (m_runs.empty()) {
            return;
        }
        for (const PixelRun& run : m_runs) {
            cairo_rectangle(cr, run.x, run.y, run.w, run.h);
        }
        setColor(cr, color);
        cairo_fill(cr);
    }

private:
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

    // The steps [first, last) whose pixels lie in the clip. Along each axis a
    // pixel moves one way only, so it is first before the clip, then in it,
    // then past it; each boundary is found by bisection.
    std::pair<std::int64_t, std::int64_t> VisibleSteps(const LineWalk& walk) const
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

    void Walk(const LineWalk& walk, std::int64_t first, std::int64_t last)
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

    bool penDown()
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

    void plot(int x, int y, bool horizontal)
    {
        if (!m_runs.empty()) {
            PixelRun& last = m_runs.back();
            if (horizontal && last.h == 1 && last.y == y) {
                if (x == last.x + last.w) {
                    ++last.w;
                    return;
                }
                if (x == last.x - 1) {
                    --last.x;
                    ++last.w;
                    return;
                }
            } else if (!horizontal && last.w == 1 && last.x == x) {
                if (y == last.y + last.h) {
                    ++last.h;
                    return;
                }
                if (y == last.y - 1) {
                    --last.y;
                    ++last.h;
                    return;
                }
            }
        }
        m_runs.push_back({x, y, 1, 1});
    }

    PenStyle m_style;
    IntRect m_clip;
    std::int64_t m_position = 0;  // the style pattern runs on across a figure's segments
    std::vector<PixelRun> m_runs;
};

// Stroke settings of a pen wider than one pixel.
void setWidePen(cairo_t* cr, const Pen& pen, int width)
{
    setColor(cr, pen.color);
    cairo_set_line_width(cr, width);
    if (pen.style == PenStyle::Dash || pen.style == PenStyle::Dot) {
        const bool dash = pen.style == PenStyle::Dash;
        const double pattern[2] = {static_cast<double>((dash ? kDashOn : kDotOn) * width),
                                   static_cast<double>((dash ? kDashOff : kDotOff) * width)};
        cairo_set_dash(cr, pattern, 2, 0);
    }
}

// A box with elliptic corners of radii rx, ry; a plain box when either is 0.
void addRoundedBox(cairo_t* cr, double x0, double y0, double x1, double y1, double rx, double ry)
{
    rx = std::min(rx, (x1 - x0) / 2);
    ry = std::min(ry, (y1 - y0) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        return;
    }
    constexpr double kQuarter = G_PI / 2;
    const struct {
        double cx, cy, from;
    } corners[] = {
        {x1 - rx, y0 + ry, -kQuarter},
        {x1 - rx, y1 - ry, 0},
        {x0 + rx, y1 - ry, kQuarter},
        {x0 + rx, y0 + ry, 2 * kQuarter},
    };
    cairo_new_sub_path(cr);
    for (const auto& corner : corners) {
        cairo_save(cr);
        cairo_translate(cr, corner.cx, corner.cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, corner.from, corner.from + kQuarter);
        cairo_restore(cr);
    }
    cairo_close_path(cr);
}

// The part of `text` that is laid out, ending between two characters.
std::string_view laidOutPart(std::string_view text)
{
    if (text.size() <= kMaxLaidOutBytes) {
        return text;
    }
    std::size_t end = kMaxLaidOutBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

Color unpremultiplied(std::uint32_t pixel)
{
    const unsigned alpha = pixel >> 24;
    if (alpha == 0) {
        return {};
    }
    auto channel = [alpha](unsigned value) {
        return static_cast<std::uint8_t>(std::min(255u, (value * 255 + alpha / 2) / alpha));
    };
    return {channel((pixel >> 16) & 0xFF), channel((pixel >> 8) & 0xFF), channel(pixel & 0xFF)};
}

}  // namespace

CairoDrawContext::CairoDrawContext(cairo_t* cr, std::shared_ptr<DrawCaches> caches)
    : m_cr(cr ? cairo_reference(cr) : nullptr), m_caches(caches ? std::move(caches) : DrawCaches::Shared())
{
    m_defaultGuiFont.face = "Sans";
    m_defaultGuiFont.pointSize = 8;
    m_variableFont.face = "Sans";
    m_variableFont.pointSize = 10;
    m_font = m_defaultGuiFont;
    for (int i = 0; i < kSysColorCount; ++i) {
        m_sysColors[i] = ClassicSysColor(static_cast<SysColor>(i));
    }
}

CairoDrawContext::CairoDrawContext(cairo_surface_t* surface, Target target, int width, int height,
                                   std::shared_ptr<DrawCaches> caches)
    : CairoDrawContext(nullptr, std::move(caches))
{
    m_surface = surface;
    m_cr = cairo_create(surface);
    m_target = target;
    m_width = width;
    m_height = height;
}

CairoDrawContext::~CairoDrawContext()
{
    if (m_surface) {
        cairo_surface_finish(m_surface);
        WriteDocument(cairo_surface_status(m_surface) == CAIRO_STATUS_SUCCESS);
    }
    if (m_cr) {
        cairo_destroy(m_cr);
    }
    if (m_surface) {
        cairo_surface_destroy(m_surface);
    }
}

std::unique_ptr<CairoDrawContext> CairoDrawContext::ForImage(int width, int height, std::shared_ptr<DrawCaches> caches)
{
    if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    std::unique_ptr<CairoDrawContext> dc(
        new CairoDrawContext(surface, Target::Image, width, height, std::move(caches)));
    // Paper white, like a fresh form, rather than transparent black.
    cairo_set_source_rgb(dc->m_cr, 1, 1, 1);
    cairo_paint(dc->m_cr);
    return dc;
}

std::unique_ptr<CairoDrawContext> CairoDrawContext::ForSvg(const std::string& path, int width, int height,
                                                           std::shared_ptr<DrawCaches> caches)
{
    if (path.empty() || width <= 0 || height <= 0) {
        return nullptr;
    }
    if (!FolderRefusalOf(path).empty()) {
        return nullptr;
    }
    auto bytes = std::make_unique<std::string>();
    cairo_surface_t* surface = cairo_svg_surface_create_for_stream(AppendBytes, bytes.get(), width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PX);
    std::unique_ptr<CairoDrawContext> dc(new CairoDrawContext(surface, Target::Svg, width, height, std::move(caches)));
    dc->m_document = std::move(bytes);
    dc->m_documentPath = path;
    return dc;
}

std::unique_ptr<CairoDrawContext> CairoDrawContext::ForPdf(const std::string& path, int width, int height,
                                                           std::shared_ptr<DrawCaches> caches)
{
    if (path.empty() || width <= 0 || height <= 0) {
        return nullptr;
    }
    if (!FolderRefusalOf(path).empty()) {
        return nullptr;
    }
    auto bytes = std::make_unique<std::string>();
    cairo_surface_t* surface = cairo_pdf_surface_create_for_stream(AppendBytes, bytes.get(), width * kPointsPerPixel,
                                                                   height * kPointsPerPixel);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    std::unique_ptr<CairoDrawContext> dc(new CairoDrawContext(surface, Target::Pdf, width, height, std::move(caches)));
    dc->m_document = std::move(bytes);
    dc->m_documentPath = path;
    // Every call saves and restores, so this scale stays underneath all of them.
    cairo_scale(dc->m_cr, kPointsPerPixel, kPointsPerPixel);
    return dc;
}

bool CairoDrawContext::Finish()
{
    if (!m_cr) {
        return false;
    }
    const bool drawn = cairo_status(m_cr) == CAIRO_STATUS_SUCCESS;
    cairo_surface_t* target = m_surface ? m_surface : cairo_get_target(m_cr);
    if (m_surface) {
        cairo_surface_finish(m_surface);
    } else {
        cairo_surface_flush(target);
    }
    const bool complete = drawn && cairo_surface_status(target) == CAIRO_STATUS_SUCCESS;
    return WriteDocument(complete) && complete;
}

bool CairoDrawContext::WriteDocument(bool complete)
{
    if (!m_document || m_documentPath.empty()) {
        return m_writeError.empty();
    }
    // Once only: a document is complete after its first finish.
    const std::string path = std::exchange(m_documentPath, std::string());
    if (complete) {
        m_writeError = ReplaceFile(path, *m_document).error;
    }
    return m_writeError.empty();
}

bool CairoDrawContext::WritePng(const std::string& path)
{
    if (m_target != Target::Image || path.empty()) {
        return false;
    }
    std::string bytes;
    if (cairo_surface_write_to_png_stream(m_surface, AppendBytes, &bytes) != CAIRO_STATUS_SUCCESS) {
        return false;
    }
    m_writeError = ReplaceFile(path, bytes).error;
    return m_writeError.empty();
}

std::uint32_t CairoDrawContext::RawPixelAt(int x, int y) const
{
    if (m_target != Target::Image || x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return 0;
    }
    cairo_surface_flush(m_surface);
    const unsigned char* data = cairo_image_surface_get_data(m_surface);
    if (!data) {
        return 0;
    }
    const int stride = cairo_image_surface_get_stride(m_surface);
    return reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride)[x];
}

Color CairoDrawContext::PixelAt(int x, int y) const
{
    return unpremultiplied(RawPixelAt(x, y));
}

void CairoDrawContext::SetSysColor(SysColor which, Color color)
{
    const int index = static_cast<int>(which);
    if (index >= 0 && index < kSysColorCount) {
        m_sysColors[index] = color;
    }
}

void CairoDrawContext::SetDefaultGuiFont(const FontDesc& font)
{
    m_defaultGuiFont = font;
    // Until something else is selected, the selected font is the stock one.
    if (!m_fontSelected) {
        m_font = font;
    }
}

void CairoDrawContext::SetVariableFont(const FontDesc& font)
{
    m_variableFont = font;
}

std::size_t CairoDrawContext::LayoutCacheMisses() const
{
    return m_caches->text.Misses();
}

std::size_t CairoDrawContext::ImageDecodes() const
{
    return m_caches->images.Decodes();
}

Pen CairoDrawContext::SelectPen(const Pen& pen)
{
    return std::exchange(m_pen, pen);
}

Brush CairoDrawContext::SelectBrush(const Brush& brush)
{
    return std::exchange(m_brush, brush);
}

FontDesc CairoDrawContext::SelectFont(const FontDesc& font)
{
    m_fontSelected = true;
    return std::exchange(m_font, font);
}

Color CairoDrawContext::SetTextColor(Color color)
{
    return std::exchange(m_textColor, color);
}

Color CairoDrawContext::SetBkColor(Color color)
{
    return std::exchange(m_bkColor, color);
}

BkMode CairoDrawContext::SetBkMode(BkMode mode)
{
    return std::exchange(m_bkMode, mode);
}

Color CairoDrawContext::GetSysColor(SysColor which) const
{
    const int index = static_cast<int>(which);
    return index >= 0 && index < kSysColorCount ? m_sysColors[index] : Color{};
}

FontDesc CairoDrawContext::GetDefaultGuiFont() const
{
    return m_defaultGuiFont;
}

FontDesc CairoDrawContext::GetVariableFont() const
{
    return m_variableFont;
}

int CairoDrawContext::penWidth() const
{
    return std::max(1, m_pen.width);
}

IntRect CairoDrawContext::visibleArea() const
{
    if (!m_cr) {
        return {};
    }
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    // Room to widen by one without leaving the int range.
    auto edge = [](double value) { return static_cast<int>(std::clamp(value, INT_MIN / 2.0, INT_MAX / 2.0)); };
    return {edge(std::floor(x1)) - 1, edge(std::floor(y1)) - 1, edge(std::ceil(x2)) + 1, edge(std::ceil(y2)) + 1};
}

void CairoDrawContext::Rectangle(const IntRect& rect)
{
    const IntRect area = rect.Normalized();
    if (!m_cr || area.IsEmpty()) {
        return;
    }
    SavedState saved(m_cr);
    const bool outlined = m_pen.style != PenStyle::Null;
    if (m_brush.style == BrushStyle::Solid) {
        const IntRect inside = (outlined ? area.Inflated(-1, -1) : area).Intersection(visibleArea());
        if (!inside.IsEmpty()) {
            addRect(m_cr, inside);
            setColor(m_cr, m_brush.color);
            cairo_fill(m_cr);
        }
    }
    if (outlined) {
        outlineRectangle(area);
    }
}

void CairoDrawContext::outlineRectangle(const IntRect& area)
{
    const int width = penWidth();
    if (width == 1) {
        PixelLines lines(m_pen.style, visibleArea());
        const int right = area.right - 1;
        const int bottom = area.bottom - 1;
        if (area.Width() == 1 || area.Height() == 1) {
            // A one-pixel-thin rectangle is a single line, end point included.
            lines.Line({area.left, area.top},
                       {area.Width() == 1 ? area.left : area.right, area.Width() == 1 ? area.bottom : area.top});
        } else {
            // Clockwise, each pixel once, so a dash pattern runs on around the corners.
            lines.Line({area.left, area.top}, {right, area.top});
            lines.Line({right, area.top}, {right, bottom});
            lines.Line({right, bottom}, {area.left, bottom});
            lines.Line({area.left, bottom}, {area.left, area.top});
        }
        lines.Fill(m_cr, m_pen.color);
        return;
    }
    // A wide pen is centred on the one-pixel outline: odd widths on pixel
    // centres, even widths on the pixel edges outside them, so both stay crisp.
    const double inset = width % 2 == 1 ? 0.5 : 0.0;
    cairo_rectangle(m_cr, area.left + inset, area.top + inset, area.Width() - 2 * inset, area.Height() - 2 * inset);
    setWidePen(m_cr, m_pen, width);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(m_cr);
}

void CairoDrawContext::roundShape(const IntRect& rect, int ellipseWidth, int ellipseHeight)
{
    const IntRect area = rect.Normalized();
    if (!m_cr || area.IsEmpty()) {
        return;
    }
    SavedState saved(m_cr);
    const bool outlined = m_pen.style != PenStyle::Null;
    const int width = penWidth();
    // The outline's path, or the whole area's when there is no outline.
    const double inset = outlined && width % 2 == 1 ? 0.5 : 0.0;
    const double rx = std::max(0.0, std::min(ellipseWidth, area.Width()) / 2.0 - inset);
    const double ry = std::max(0.0, std::min(ellipseHeight, area.Height()) / 2.0 - inset);
    addRoundedBox(m_cr, area.left + inset, area.top + inset, area.right - inset, area.bottom - inset, rx, ry);
    if (m_brush.style == BrushStyle::Solid) {
        setColor(m_cr, m_brush.color);
        cairo_fill_preserve(m_cr);
    }
    if (outlined) {
        setWidePen(m_cr, m_pen, width);
        cairo_stroke(m_cr);
    }
    cairo_new_path(m_cr);
}

void CairoDrawContext::RoundRect(const IntRect& rect, int ellipseWidth, int ellipseHeight)
{
    if (ellipseWidth <= 1 || ellipseHeight <= 1) {
        Rectangle(rect);
        return;
    }
    roundShape(rect, ellipseWidth, ellipseHeight);
}

void CairoDrawContext::Ellipse(const IntRect& rect)
{
    const IntRect area = rect.Normalized();
    roundShape(area, area.Width(), area.Height());
}

void CairoDrawContext::MoveTo(IntPoint point)
{
    m_position = point;
}

void CairoDrawContext::LineTo(IntPoint point)
{
    Polyline({m_position, point});
    m_position = point;
}

void CairoDrawContext::Polyline(const std::vector<IntPoint>& points)
{
    if (!m_cr || points.size() < 2 || m_pen.style == PenStyle::Null) {
        return;
    }
    SavedState saved(m_cr);
    const int width = penWidth();
    if (width == 1) {
        PixelLines lines(m_pen.style, visibleArea());
        for (std::size_t i = 1; i < points.size(); ++i) {
            lines.Line(points[i - 1], points[i]);
        }
        lines.Fill(m_cr, m_pen.color);
        return;
    }
    for (const IntPoint& point : points) {
        cairo_line_to(m_cr, point.x + 0.5, point.y + 0.5);
    }
    setWidePen(m_cr, m_pen, width);
    // Wide pens end and join round, as the platform's geometric pens do.
    cairo_set_line_cap(m_cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(m_cr);
}

void CairoDrawContext::FillRect(const IntRect& rect, const Brush& brush)
{
    if (brush.style == BrushStyle::Solid) {
        FillSolidRect(rect, brush.color);
    }
}

void CairoDrawContext::FillSolidRect(const IntRect& rect, Color color)
{
    const IntRect shown = rect.Intersection(visibleArea());
    if (!m_cr || shown.IsEmpty()) {
        return;
    }
    SavedState saved(m_cr);
    addRect(m_cr, shown);
    setColor(m_cr, color);
    cairo_fill(m_cr);
}

IntPoint CairoDrawContext::SetOrigin(IntPoint origin)
{
    const IntPoint previous = m_origin;
    if (m_cr)
        cairo_translate(m_cr, origin.x - previous.x, origin.y - previous.y);
    m_origin = origin;
    return previous;
}

void CairoDrawContext::DrawFocusRect(const IntRect& rect)
{
    if (!m_cr || rect.IsEmpty()) {
        return;
    }
    SavedState saved(m_cr);
    // Every other pixel of the border, chosen by position so that the same
    // rectangle drawn again hits the same pixels and inverts them back.
    auto dot = [this](int x, int y) {
        if (((x ^ y) & 1) == 0) {  // the parity of x + y, which could overflow
            cairo_rectangle(m_cr, x, y, 1, 1);
        }
    };
    const int right = rect.right - 1;
    const int bottom = rect.bottom - 1;
    // Only the dots that can show.
    const IntRect visible = visibleArea();
    for (int x = std::max(rect.left, visible.left); x <= std::min(right, visible.right); ++x) {
        dot(x, rect.top);
        if (bottom != rect.top) {
            dot(x, bottom);
        }
    }
    for (int y = std::max(rect.top + 1, visible.top); y < std::min(bottom, visible.bottom); ++y) {
        dot(rect.left, y);
        if (right != rect.left) {
            dot(right, y);
        }
    }
    cairo_set_operator(m_cr, CAIRO_OPERATOR_DIFFERENCE);
    cairo_set_source_rgb(m_cr, 1, 1, 1);
    cairo_fill(m_cr);
}

FontDesc CairoDrawContext::resolvedFont() const
{
    FontDesc font = m_font;
    if (font.height == 0 && font.pointSize <= 0) {
        // "Default size", as a zero-height font means on the platform.
        font.height = m_defaultGuiFont.height;
        font.pointSize =
            m_defaultGuiFont.height == 0 && m_defaultGuiFont.pointSize <= 0 ? 8 : m_defaultGuiFont.pointSize;
    }
    return font;
}

void CairoDrawContext::DrawText(std::string_view whole, const IntRect& rect, unsigned format)
{
    const std::string_view text = laidOutPart(whole);
    if (!m_cr || text.empty()) {
        return;
    }
    if (format & TextFormat::SingleLine) {
        format &= ~TextFormat::WordBreak;
    }
    const bool bounded = format & (TextFormat::WordBreak | TextFormat::EndEllipsis);
    const int width = bounded ? std::max(0, rect.Width()) : -1;
    const bool limitHeight = (format & TextFormat::WordBreak) && (format & TextFormat::EndEllipsis);
    const int height = limitHeight ? std::max(0, rect.Height()) : -1;
    PangoLayout* layout = m_caches->text.Get(text, resolvedFont(), width, height, format);
    if (!layout) {
        return;
    }
    g_object_ref(layout);

    PangoRectangle extent;
    pango_layout_get_pixel_extents(layout, nullptr, &extent);
    // A bounded layout aligns its lines itself within the width; an unbounded
    // one is as wide as its longest line and is placed here.
    int x = rect.left;
    if (!bounded) {
        x -= extent.x;
        if (format & TextFormat::Center) {
            x += (rect.Width() - extent.width) / 2;
        } else if (format & TextFormat::Right) {
            x += rect.Width() - extent.width;
        }
    }
    int y = rect.top - extent.y;
    if (format & TextFormat::SingleLine) {
        if (format & TextFormat::VCenter) {
            y += (rect.Height() - extent.height) / 2;
        } else if (format & TextFormat::Bottom) {
            y += rect.Height() - extent.height;
        }
    }

    SavedState saved(m_cr);
    if (m_bkMode == BkMode::Opaque) {
        cairo_rectangle(m_cr, x + extent.x, y + extent.y, extent.width, extent.height);
        setColor(m_cr, m_bkColor);
        cairo_fill(m_cr);
    }
    setColor(m_cr, m_textColor);
    cairo_move_to(m_cr, x, y);
    pango_cairo_show_layout(m_cr, layout);
    g_object_unref(layout);
}

IntSize CairoDrawContext::GetTextExtent(std::string_view text)
{
    PangoLayout* layout = m_caches->text.Get(laidOutPart(text), resolvedFont(), -1, -1, TextFormat::SingleLine);
    if (!layout) {
        return {};
    }
    PangoRectangle extent;
    pango_layout_get_pixel_extents(layout, nullptr, &extent);
    return {extent.width, extent.height};
}

bool CairoDrawContext::drawSurface(cairo_surface_t* image, const IntRect& dest)
{
    if (!image) {
        return false;
    }
    const IntRect area = dest.Normalized();
    if (!m_cr || area.IsEmpty()) {
        return true;
    }
    const int imageWidth = cairo_image_surface_get_width(image);
    const int imageHeight = cairo_image_surface_get_height(image);
    SavedState saved(m_cr);
    addRect(m_cr, area);
    cairo_clip(m_cr);
    cairo_translate(m_cr, area.left, area.top);
    cairo_scale(m_cr, static_cast<double>(area.Width()) / imageWidth, static_cast<double>(area.Height()) / imageHeight);
    cairo_set_source_surface(m_cr, image, 0, 0);
    cairo_pattern_t* pattern = cairo_get_source(m_cr);
    // Enlarged bitmaps keep hard pixel edges as on the platform; shrunk ones
    // are filtered so that thin lines do not vanish.
    const bool enlarged = area.Width() >= imageWidth && area.Height() >= imageHeight;
    cairo_pattern_set_filter(pattern, enlarged ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_paint(m_cr);
    return true;
}

namespace {

IntSize sizeOf(const IntRect& rect)
{
    const IntRect area = rect.Normalized();
    return {area.Width(), area.Height()};
}

}  // namespace

bool CairoDrawContext::DrawImageFile(const std::string& path, const IntRect& dest)
{
    return drawSurface(m_caches->images.FromFile(path, sizeOf(dest)), dest);
}

bool CairoDrawContext::DrawImageData(const std::vector<std::uint8_t>& data, const IntRect& dest)
{
    return drawSurface(m_caches->images.FromData(data, sizeOf(dest)), dest);
}

bool CairoDrawContext::DrawTransparentImageData(const std::vector<std::uint8_t>& data, const IntRect& dest,
                                                Color transparent)
{
    return drawSurface(m_caches->images.FromData(data, sizeOf(dest), &transparent), dest);
}

}  // namespace fw
