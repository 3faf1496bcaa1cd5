#include "render/CairoDrawContext.h"
#include "render/DrawCaches.h"
#include "render/PixelLines.h"
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
    // Once for all calls rather than around each: most of them only set a
    // colour, and saving the whole state costs more than drawing a line.
    if (m_cr) {
        cairo_save(m_cr);
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
        if (m_target == Target::External) {
            cairo_restore(m_cr);
        }
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
    if (m_visible) {
        return *m_visible;
    }
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    cairo_clip_extents(m_cr, &x1, &y1, &x2, &y2);
    if (m_shownPart) {
        // The device area, where the origin puts it in logical units.
        x1 = std::max(x1, static_cast<double>(m_shownPart->left) - m_origin.x);
        y1 = std::max(y1, static_cast<double>(m_shownPart->top) - m_origin.y);
        x2 = std::max(x1, std::min(x2, static_cast<double>(m_shownPart->right) - m_origin.x));
        y2 = std::max(y1, std::min(y2, static_cast<double>(m_shownPart->bottom) - m_origin.y));
    }
    // Room to widen by one without leaving the int range.
    auto edge = [](double value) { return static_cast<int>(std::clamp(value, INT_MIN / 2.0, INT_MAX / 2.0)); };
    m_visible =
        IntRect{edge(std::floor(x1)) - 1, edge(std::floor(y1)) - 1, edge(std::ceil(x2)) + 1, edge(std::ceil(y2)) + 1};
    return *m_visible;
}

bool CairoDrawContext::mayShow(const IntRect& area, int reach) const
{
    const IntRect visible = visibleArea();
    const std::int64_t r = std::max(reach, 0);
    return area.left - r < visible.right && area.right + r > visible.left && area.top - r < visible.bottom &&
           area.bottom + r > visible.top;
}

void CairoDrawContext::useColor(Color color)
{
    if (m_source != color) {
        setColor(m_cr, color);
        m_source = color;
    }
}

void CairoDrawContext::fillRuns(Color color)
{
    if (m_runs.empty()) {
        return;
    }
    for (const IntRect& run : m_runs) {
        addRect(m_cr, run);
    }
    m_runs.clear();
    useColor(color);
    cairo_fill(m_cr);
}

void CairoDrawContext::Rectangle(const IntRect& rect)
{
    const IntRect area = rect.Normalized();
    const bool outlined = m_pen.style != PenStyle::Null;
    if (!m_cr || area.IsEmpty() || !mayShow(area, outlined ? penWidth() : 0)) {
        return;
    }
    if (m_brush.style == BrushStyle::Solid) {
        const IntRect inside = (outlined ? area.Inflated(-1, -1) : area).Intersection(visibleArea());
        if (!inside.IsEmpty()) {
            addRect(m_cr, inside);
            useColor(m_brush.color);
            cairo_fill(m_cr);
        }
    }
    if (outlined) {
        outlineRectangle(area);
    }
}

void CairoDrawContext::Rectangles(const IntRect* rects, std::size_t count)
{
    // A thin outline in the brush's colour looks like no outline: each
    // rectangle is one area of that colour, and all of them one fill.
    const bool plain = m_pen.style == PenStyle::Null ||
                       (m_pen.style == PenStyle::Solid && penWidth() == 1 && m_pen.color == m_brush.color);
    if (!m_cr || m_brush.style != BrushStyle::Solid || !plain) {
        DrawContext::Rectangles(rects, count);
        return;
    }
    const IntRect visible = visibleArea();
    for (std::size_t i = 0; i < count; ++i) {
        const IntRect shown = rects[i].Normalized().Intersection(visible);
        if (!shown.IsEmpty()) {
            m_runs.push_back(shown);
        }
    }
    fillRuns(m_brush.color);
}

void CairoDrawContext::outlineRectangle(const IntRect& area)
{
    const int width = penWidth();
    if (width == 1) {
        PixelLines lines(m_pen.style, visibleArea(), m_runs);
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
        fillRuns(m_pen.color);
        return;
    }
    // A wide pen is centred on the one-pixel outline: odd widths on pixel
    // centres, even widths on the pixel edges outside them, so both stay crisp.
    SavedState saved(m_cr);
    const double inset = width % 2 == 1 ? 0.5 : 0.0;
    cairo_rectangle(m_cr, area.left + inset, area.top + inset, area.Width() - 2 * inset, area.Height() - 2 * inset);
    setWidePen(m_cr, m_pen, width);
    cairo_set_line_join(m_cr, CAIRO_LINE_JOIN_MITER);
    cairo_stroke(m_cr);
}

void CairoDrawContext::roundShape(const IntRect& rect, int ellipseWidth, int ellipseHeight)
{
    const IntRect area = rect.Normalized();
    const bool outlined = m_pen.style != PenStyle::Null;
    const int width = penWidth();
    if (!m_cr || area.IsEmpty() || !mayShow(area, outlined ? width : 0)) {
        return;
    }
    SavedState saved(m_cr);
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
    const IntPoint ends[] = {m_position, point};
    drawLines(ends, 2);
    m_position = point;
}

void CairoDrawContext::Polyline(const std::vector<IntPoint>& points)
{
    drawLines(points.data(), points.size());
}

void CairoDrawContext::drawLines(const IntPoint* points, std::size_t count)
{
    if (!m_cr || count < 2 || m_pen.style == PenStyle::Null) {
        return;
    }
    const int width = penWidth();
    if (width == 1) {
        PixelLines lines(m_pen.style, visibleArea(), m_runs);
        for (std::size_t i = 1; i < count; ++i) {
            lines.Line(points[i - 1], points[i]);
        }
        fillRuns(m_pen.color);
        return;
    }
    IntRect bounds{points[0].x, points[0].y, points[0].x, points[0].y};
    for (std::size_t i = 1; i < count; ++i) {
        bounds = {std::min(bounds.left, points[i].x), std::min(bounds.top, points[i].y),
                  std::max(bounds.right, points[i].x), std::max(bounds.bottom, points[i].y)};
    }
    if (!mayShow(bounds, width)) {
        return;
    }
    SavedState saved(m_cr);
    for (std::size_t i = 0; i < count; ++i) {
        cairo_line_to(m_cr, points[i].x + 0.5, points[i].y + 0.5);
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
    addRect(m_cr, shown);
    useColor(color);
    cairo_fill(m_cr);
}

void CairoDrawContext::FillPixelGrid(const std::vector<int>& columns, const std::vector<int>& rows, Color color)
{
    if (!m_cr) {
        return;
    }
    const IntRect visible = visibleArea();
    std::vector<int> shownColumns;
    std::vector<int> shownRows;
    for (int x : columns) {
        if (x >= visible.left && x < visible.right) {
            shownColumns.push_back(x);
        }
    }
    for (int y : rows) {
        if (y >= visible.top && y < visible.bottom) {
            shownRows.push_back(y);
        }
    }
    if (shownColumns.empty() || shownRows.empty() || fillGridRows(shownColumns, shownRows, color)) {
        return;
    }
    for (int x : shownColumns) {
        for (int y : shownRows) {
            m_runs.push_back({x, y, x + 1, y + 1});
        }
    }
    fillRuns(color);
}

bool CairoDrawContext::fillGridRows(const std::vector<int>& columns, const std::vector<int>& rows, Color color)
{
    // A pattern is sampled through the transformation: only whole-pixel
    // moves keep its pixels where they are, and only an image gets pixels.
    cairo_matrix_t matrix;
    cairo_get_matrix(m_cr, &matrix);
    cairo_surface_t* target = cairo_get_group_target(m_cr);
    double scaleX = 0;
    double scaleY = 0;
    cairo_surface_get_device_scale(target, &scaleX, &scaleY);
    const bool shifted = matrix.xx == 1 && matrix.yy == 1 && matrix.xy == 0 && matrix.yx == 0 &&
                         matrix.x0 == std::floor(matrix.x0) && matrix.y0 == std::floor(matrix.y0) && scaleX == 1 &&
                         scaleY == 1;
    const cairo_operator_t op = cairo_get_operator(m_cr);
    if (!shifted || (op != CAIRO_OPERATOR_OVER && op != CAIRO_OPERATOR_SOURCE) ||
        cairo_surface_get_type(target) != CAIRO_SURFACE_TYPE_IMAGE) {
        return false;
    }
    const auto [first, last] = std::minmax_element(columns.begin(), columns.end());
    const int width = *last - *first + 1;
    // One row of the grid, see-through between the dots, repeated down every row.
    cairo_surface_t* row = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, 1);
    if (cairo_surface_status(row) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(row);
        return false;
    }
    cairo_surface_flush(row);
    auto* pixels = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(row));
    std::fill(pixels, pixels + width, 0u);
    const std::uint32_t dot = 0xFF000000u | (std::uint32_t{color.r} << 16) | (std::uint32_t{color.g} << 8) | color.b;
    for (int x : columns) {
        pixels[x - *first] = dot;
    }
    cairo_surface_mark_dirty(row);

    SavedState saved(m_cr);
    cairo_set_operator(m_cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(m_cr, row, *first, 0);
    cairo_pattern_t* pattern = cairo_get_source(m_cr);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    for (int y : rows) {
        cairo_rectangle(m_cr, *first, y, width, 1);
    }
    cairo_fill(m_cr);
    cairo_surface_destroy(row);
    return true;
}

void CairoDrawContext::ShowOnly(const IntRect& deviceArea)
{
    m_shownPart = deviceArea;
    m_visible.reset();
}

IntPoint CairoDrawContext::SetOrigin(IntPoint origin)
{
    const IntPoint previous = m_origin;
    if (m_cr)
        cairo_translate(m_cr, origin.x - previous.x, origin.y - previous.y);
    m_origin = origin;
    m_visible.reset();
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

CairoDrawContext::PlacedText CairoDrawContext::placeText(std::string_view whole, const IntRect& rect, unsigned format)
{
    PlacedText placed;
    const std::string_view text = laidOutPart(whole);
    if (text.empty()) {
        return placed;
    }
    if (format & TextFormat::SingleLine) {
        format &= ~TextFormat::WordBreak;
    }
    const bool bounded = format & (TextFormat::WordBreak | TextFormat::EndEllipsis);
    const int width = bounded ? std::max(0, rect.Width()) : -1;
    const bool limitHeight = (format & TextFormat::WordBreak) && (format & TextFormat::EndEllipsis);
    const int height = limitHeight ? std::max(0, rect.Height()) : -1;
    placed.layout = m_caches->text.Get(text, resolvedFont(), width, height, format);
    if (!placed.layout) {
        return placed;
    }
    PangoRectangle ink;
    PangoRectangle extent;
    pango_layout_get_pixel_extents(placed.layout, &ink, &extent);
    placed.extent = {extent.x, extent.y, extent.x + extent.width, extent.y + extent.height};
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
    placed.x = x;
    placed.y = y;
    // The glyphs and the background, with a pixel to spare for smoothing.
    placed.reach = {x + std::min(ink.x, extent.x), y + std::min(ink.y, extent.y),
                    x + std::max(ink.x + ink.width, extent.x + extent.width),
                    y + std::max(ink.y + ink.height, extent.y + extent.height)};
    return placed;
}

void CairoDrawContext::DrawText(std::string_view whole, const IntRect& rect, unsigned format)
{
    if (!m_cr) {
        return;
    }
    const PlacedText placed = placeText(whole, rect, format);
    if (!placed.layout || !mayShow(placed.reach, TextSmoothing)) {
        return;
    }
    const IntRect& extent = placed.extent;
    g_object_ref(placed.layout);
    SavedState saved(m_cr);
    if (m_bkMode == BkMode::Opaque) {
        cairo_rectangle(m_cr, placed.x + extent.left, placed.y + extent.top, extent.Width(), extent.Height());
        setColor(m_cr, m_bkColor);
        cairo_fill(m_cr);
    }
    setColor(m_cr, m_textColor);
    cairo_move_to(m_cr, placed.x, placed.y);
    pango_cairo_show_layout(m_cr, placed.layout);
    g_object_unref(placed.layout);
}

IntRect CairoDrawContext::GetTextReach(std::string_view text, const IntRect& rect, unsigned format)
{
    const PlacedText placed = placeText(text, rect, format);
    if (!placed.layout) {
        return {rect.left, rect.top, rect.left, rect.top};
    }
    return placed.reach.Inflated(TextSmoothing, TextSmoothing);
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
    if (!mayShow(area, 0)) {
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
