// Lines, rectangles, batched rectangles and the dot grid are drawn in runs,
// batches and patterns, and what cannot show is left out; they must set
// exactly the pixels of the plain way: every line walked pixel by pixel,
// every pixel, rectangle and dot filled on its own, every text drawn whole.
// The plain way is written out here and both are compared pixel by pixel on
// canvases that are scrolled and clipped like a window's.

#include "render/CairoDrawContext.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

namespace fw {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 48;

void Fill(cairo_t* cr, double x, double y, double w, double h, Color c)
{
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    cairo_fill(cr);
    cairo_restore(cr);
}

// The plain way, one pixel or one figure a fill.
struct PlainWay {
    cairo_t* cr;
    std::int64_t position = 0;  // of the pen's pattern, running on along a figure

    bool PenDown(PenStyle style)
    {
        const std::int64_t at = position++;
        return style == PenStyle::Solid || (style == PenStyle::Dash && at % 24 < 18) ||
               (style == PenStyle::Dot && at % 6 < 3);
    }
    void Line(IntPoint from, IntPoint to, const Pen& pen)
    {
        const std::int64_t dx = std::llabs(std::int64_t{to.x} - from.x);
        const std::int64_t dy = std::llabs(std::int64_t{to.y} - from.y);
        const int sx = to.x > from.x ? 1 : -1;
        const int sy = to.y > from.y ? 1 : -1;
        std::int64_t error = dx - dy;
        std::int64_t x = from.x;
        std::int64_t y = from.y;
        for (std::int64_t step = 0; step < std::max(dx, dy); ++step) {
            // Outside the canvas only the pattern moves on.
            if (PenDown(pen.style) && x > -20 && x < kWidth + 20 && y > -20 && y < kHeight + 20)
                Fill(cr, double(x), double(y), 1, 1, pen.color);
            const std::int64_t doubled = 2 * error;
            if (doubled > -dy) {
                error -= dy;
                x += sx;
            }
            if (doubled < dx) {
                error += dx;
                y += sy;
            }
        }
    }
    // A wide pen: lines through the pixel centres with round ends, a box
    // centred on its one-pixel outline with square corners.
    void Stroke(const std::vector<IntPoint>& points, const IntRect* box, const Pen& pen)
    {
        cairo_save(cr);
        for (const IntPoint& p : points)
            cairo_line_to(cr, p.x + 0.5, p.y + 0.5);
        if (box) {
            const double inset = pen.width % 2 == 1 ? 0.5 : 0.0;
            cairo_rectangle(cr, box->left + inset, box->top + inset, box->Width() - 2 * inset,
                            box->Height() - 2 * inset);
        }
        cairo_set_source_rgb(cr, pen.color.r / 255.0, pen.color.g / 255.0, pen.color.b / 255.0);
        cairo_set_line_width(cr, pen.width);
        if (pen.style != PenStyle::Solid) {
            const double pattern[] = {(pen.style == PenStyle::Dash ? 18.0 : 3.0) * pen.width,
                                      (pen.style == PenStyle::Dash ? 6.0 : 3.0) * pen.width};
            cairo_set_dash(cr, pattern, 2, 0);
        }
        if (!box) {
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        }
        cairo_stroke(cr);
        cairo_restore(cr);
    }
    void Polyline(const std::vector<IntPoint>& points, const Pen& pen)
    {
        position = 0;
        if (pen.style == PenStyle::Null)
            return;
        if (pen.width > 1) {
            Stroke(points, nullptr, pen);
            return;
        }
        for (std::size_t i = 1; i < points.size(); ++i)
            Line(points[i - 1], points[i], pen);
    }
    void Rectangle(const IntRect& rect, const Pen& pen, const Brush& brush)
    {
        const IntRect a = rect.Normalized();
        if (a.IsEmpty())
            return;
        const IntRect inside = pen.style == PenStyle::Null ? a : a.Inflated(-1, -1);
        if (brush.style == BrushStyle::Solid && !inside.IsEmpty())
            Fill(cr, inside.left, inside.top, inside.Width(), inside.Height(), brush.color);
        if (pen.style == PenStyle::Null)
            return;
        if (pen.width > 1) {
            Stroke({}, &a, pen);
            return;
        }
        position = 0;
        const int r = a.right - 1;
        const int b = a.bottom - 1;
        if (a.Width() == 1 || a.Height() == 1) {
            Line({a.left, a.top}, {a.Width() == 1 ? a.left : a.right, a.Width() == 1 ? a.bottom : a.top}, pen);
            return;
        }
        Line({a.left, a.top}, {r, a.top}, pen);
        Line({r, a.top}, {r, b}, pen);
        Line({r, b}, {a.left, b}, pen);
        Line({a.left, b}, {a.left, a.top}, pen);
    }
};

// A gray canvas, scrolled by `origin` and clipped to `clip` as a window's
// update area is, drawn on by `draw`; answers its colours (0xRRGGBB).
std::vector<std::uint32_t> Canvas(cairo_format_t format, IntPoint origin, const IntRect& clip,
                                  const std::function<void(cairo_t*)>& draw)
{
    cairo_surface_t* surface = cairo_image_surface_create(format, kWidth, kHeight);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    cairo_rectangle(cr, clip.left, clip.top, clip.Width(), clip.Height());
    cairo_clip(cr);
    cairo_translate(cr, origin.x, origin.y);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    std::vector<std::uint32_t> pixels;
    const unsigned char* data = cairo_image_surface_get_data(surface);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(
                reinterpret_cast<const std::uint32_t*>(data + y * cairo_image_surface_get_stride(surface))[x] &
                0xFFFFFFu);
    cairo_surface_destroy(surface);
    return pixels;
}

struct Scene {
    std::function<void(DrawContext&)> drawn;
    std::function<void(PlainWay&)> plain;
    // Cairo smooths the edges of a wide stroke a little differently when it
    // is cut; such scenes are drawn the plain way through the same cut.
    bool plainCut = false;
};

// How many pixels differ between the two ways, over several scroll
// positions and update areas, on images with and without alpha (the
// window's): inside the area the pixels of the plain way, outside it the
// untouched canvas.
int Differences(const Scene& scene)
{
    const IntRect whole{0, 0, kWidth, kHeight};
    const IntPoint origins[] = {{0, 0}, {-7, 5}, {11, -13}};
    const IntRect clips[] = {{0, 0, kWidth, kHeight}, {9, 6, 41, 31}, {30, 0, 31, kHeight}};
    int differing = 0;
    for (cairo_format_t format : {CAIRO_FORMAT_ARGB32, CAIRO_FORMAT_RGB24})
        for (IntPoint origin : origins)
            for (const IntRect& clip : clips) {
                const auto drawn = Canvas(format, origin, clip, [&](cairo_t* cr) {
                    CairoDrawContext dc(cr);
                    scene.drawn(dc);
                });
                const auto plain = Canvas(format, origin, scene.plainCut ? clip : whole, [&](cairo_t* cr) {
                    PlainWay way{cr};
                    scene.plain(way);
                });
                for (int y = 0; y < kHeight; ++y)
                    for (int x = 0; x < kWidth; ++x)
                        differing +=
                            drawn[y * kWidth + x] != (clip.Contains({x, y}) ? plain[y * kWidth + x] : 0x808080u);
            }
    return differing;
}

// Where the grid puts the dot of cell i.
int ZoomedDot(int i, int cell, double zoom)
{
    return static_cast<int>(i * cell * zoom + 0.5);
}

Color Shade(int i)
{
    return {std::uint8_t(40 * i % 256), std::uint8_t(255 - 30 * i % 256), std::uint8_t(90 + 70 * i % 166)};
}

TEST(SamePixels, LinesOfEveryDirectionStyleAndWidth)
{
    // From the middle in every direction, steep and flat, out past the
    // canvas; none at all; long ones whose ends lie far outside.
    std::vector<std::pair<IntPoint, IntPoint>> lines;
    const IntPoint centre{30, 22};
    for (int dx = -45; dx <= 45; dx += 15)
        for (int dy = -40; dy <= 40; dy += 8)
            lines.push_back({centre, {centre.x + dx, centre.y + dy}});
    lines.push_back({{5, 5}, {5, 5}});
    lines.push_back({{-3000, 17}, {3000, 17}});
    lines.push_back({{40, 3000}, {40, -3000}});
    lines.push_back({{2, 40}, {61, 40}});
    lines.push_back({{61, 41}, {2, 41}});
    const std::vector<IntPoint> zigzag{{3, 3}, {50, 3}, {50, 30}, {3, 44}, {3, 3}};

    for (PenStyle style : {PenStyle::Solid, PenStyle::Dash, PenStyle::Dot})
        for (int width : {0, 1, 2, 3}) {
            Scene scene;
            scene.drawn = [&](DrawContext& dc) {
                for (std::size_t i = 0; i < lines.size(); ++i) {
                    dc.SelectPen(Pen{style, width, Shade(int(i))});
                    dc.MoveTo(lines[i].first);
                    dc.LineTo(lines[i].second);
                }
                dc.SelectPen(Pen{style, width, {0, 0, 0}});
                dc.Polyline(zigzag);
            };
            scene.plain = [&](PlainWay& way) {
                for (std::size_t i = 0; i < lines.size(); ++i)
                    way.Polyline({lines[i].first, lines[i].second}, Pen{style, width, Shade(int(i))});
                way.Polyline(zigzag, Pen{style, width, {0, 0, 0}});
            };
            scene.plainCut = width > 1;
            EXPECT_EQ(Differences(scene), 0) << "style " << int(style) << " width " << width;
        }
}

TEST(SamePixels, RectanglesAndHandlesOneByOneOrInABatch)
{
    // The eight handles around an element at several zooms, as a selection
    // shows them, some across the canvas edge; thin, empty and upside-down boxes.
    std::vector<IntRect> rects;
    for (double zoom : {0.5, 1.0, 2.0, 3.0}) {
        const IntRect e{int(6 * zoom), int(5 * zoom), int(20 * zoom), int(14 * zoom)};
        const int midX = e.left + e.Width() / 2;
        const int midY = e.top + e.Height() / 2;
        for (IntPoint c : {IntPoint{e.left, e.top},
                           {midX, e.top},
                           {e.right, e.top},
                           {e.left, e.bottom},
                           {midX, e.bottom},
                           {e.right, e.bottom},
                           {e.left, midY},
                           {e.right, midY}})
            rects.push_back({c.x - 4, c.y - 4, c.x + 4, c.y + 4});
    }
    for (const IntRect& r : std::vector<IntRect>{{40, 3, 41, 20}, {42, 30, 60, 31}, {50, 10, 50, 20}, {62, 40, 45, 33}})
        rects.push_back(r);

    const Pen pens[] = {Pen::StockBlack(),
                        Pen::StockNull(),
                        Pen::Solid({200, 0, 0}),
                        Pen{PenStyle::Dash, 1, {}},
                        Pen{PenStyle::Dot, 0, {0, 0, 255}},
                        Pen::Solid({0, 0, 0}, 2),
                        Pen::Solid({0, 90, 0}, 3)};
    const Brush brushes[] = {Brush::StockBlack(), Brush::Solid({255, 255, 0}), Brush::Hollow()};
    for (const Pen& pen : pens)
        for (const Brush& brush : brushes)
            for (bool batch : {false, true}) {
                Scene scene;
                scene.drawn = [&](DrawContext& dc) {
                    dc.SelectPen(pen);
                    dc.SelectBrush(brush);
                    if (batch)
                        dc.Rectangles(rects.data(), rects.size());
                    else
                        for (const IntRect& r : rects)
                            dc.Rectangle(r);
                };
                scene.plain = [&](PlainWay& way) {
                    for (const IntRect& r : rects)
                        way.Rectangle(r, pen, brush);
                };
                EXPECT_EQ(Differences(scene), 0) << "pen " << int(pen.style) << "/" << pen.width << " brush "
                                                 << int(brush.style) << (batch ? " batched" : "");
            }
}

TEST(SamePixels, DotGridAtEverySpacing)
{
    for (int cell : {1, 3, 8, 13})
        for (double zoom : {0.5, 1.0, 2.0, 3.0}) {
            std::vector<int> columns;
            std::vector<int> rows;
            for (int i = 0; i * cell * zoom < 90; ++i) {
                columns.push_back(ZoomedDot(i, cell, zoom));
                rows.push_back(ZoomedDot(i, cell, zoom));
            }
            Scene scene;
            scene.drawn = [&](DrawContext& dc) {
                dc.FillSolidRect({2, 2, 30, 30}, {255, 255, 255});
                dc.FillPixelGrid(columns, rows, {192, 192, 192});
                dc.FillSolidRect({20, 20, 25, 25}, {0, 0, 0});
            };
            scene.plain = [&](PlainWay& way) {
                Fill(way.cr, 2, 2, 28, 28, {255, 255, 255});
                for (int x : columns)
                    for (int y : rows)
                        Fill(way.cr, x, y, 1, 1, {192, 192, 192});
                Fill(way.cr, 20, 20, 5, 5, {0, 0, 0});
            };
            EXPECT_EQ(Differences(scene), 0) << "cell " << cell << " zoom " << zoom;
        }
}

TEST(SamePixels, TextHangingOutOfItsBoxIntoTheUpdateArea)
{
    // Boxes beside, above and below the canvas whose text reaches into it;
    // the plain way draws them on a canvas that is not cut.
    struct Text {
        const char* text;
        IntRect rect;
        unsigned format;
    };
    const Text texts[] = {
        {"Far too long for its box", {-60, 8, -50, 20}, TextFormat::SingleLine},
        {"Centred and wider", {70, 30, 72, 34}, TextFormat::Center | TextFormat::SingleLine | TextFormat::VCenter},
        {"Right", {-3, 40, -2, 44}, TextFormat::Right | TextFormat::SingleLine | TextFormat::Bottom},
        {"Wrapped words run on below the box", {20, -30, 50, -26}, TextFormat::WordBreak},
        {"gjpq", {30, 44, 40, 47}, TextFormat::SingleLine},
    };
    FontDesc italic{"Sans", 13, 0, 700, true, true};
    auto draw = [&](DrawContext& dc) {
        for (bool slanted : {false, true}) {
            if (slanted)
                dc.SelectFont(italic);
            dc.SetBkMode(slanted ? BkMode::Transparent : BkMode::Opaque);
            for (const Text& t : texts)
                dc.DrawText(t.text, slanted ? t.rect.Offset(3, 2) : t.rect, t.format);
        }
    };
    Scene scene;
    scene.drawn = draw;
    scene.plain = [&](PlainWay& way) {
        CairoDrawContext dc(way.cr);
        draw(dc);
    };
    EXPECT_EQ(Differences(scene), 0);
}

}  // namespace
}  // namespace fw
