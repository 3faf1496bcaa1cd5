#include "render/CairoDrawContext.h"
#include "render/DrawCaches.h"
#include "render/ImageCache.h"
#include "render/ImageSize.h"
#include "render/SystemColors.h"
#include "support/Scratch.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>

#include <unistd.h>

namespace fw {

[[maybe_unused]] static void PrintTo(const Color& color, std::ostream* os)
{
    *os << "{" << int(color.r) << "," << int(color.g) << "," << int(color.b) << "}";
}

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{255, 255, 255};
constexpr Color kGray{128, 128, 128};
constexpr Color kRed{255, 0, 0};
constexpr Color kGreen{0, 255, 0};
constexpr Color kBlue{0, 0, 255};
constexpr Color kYellow{255, 255, 0};
constexpr Color kMagenta{255, 0, 255};

// The canvas as text, a row a line: '.' the gray background, '#' black, 'o'
// white, 'r' 'g' 'b' 'y' 'm' red, green, blue, yellow, magenta, '?' any other.
std::string Picture(const CairoDrawContext& dc)
{
    const std::pair<Color, char> names[] = {{kGray, '.'},  {kBlack, '#'}, {kWhite, 'o'},  {kRed, 'r'},
                                            {kGreen, 'g'}, {kBlue, 'b'},  {kYellow, 'y'}, {kMagenta, 'm'}};
    std::string text;
    for (int y = 0; y < dc.Height(); ++y) {
        for (int x = 0; x < dc.Width(); ++x) {
            char name = '?';
            for (const auto& [color, letter] : names)
                name = dc.PixelAt(x, y) == color ? letter : name;
            text += name;
        }
        text += '\n';
    }
    return text;
}

// The pixels that differ from `background`, and their bounding box.
struct Ink {
    int count = 0;
    IntRect box{1 << 20, 1 << 20, -(1 << 20), -(1 << 20)};
};

Ink InkOf(const CairoDrawContext& dc, Color background = kGray)
{
    Ink ink;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            if (dc.PixelAt(x, y) != background) {
                ++ink.count;
                ink.box = {std::min(ink.box.left, x), std::min(ink.box.top, y), std::max(ink.box.right, x + 1),
                           std::max(ink.box.bottom, y + 1)};
            }
    return ink;
}

std::vector<std::uint32_t> Snapshot(const CairoDrawContext& dc)
{
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < dc.Height(); ++y)
        for (int x = 0; x < dc.Width(); ++x)
            pixels.push_back(dc.RawPixelAt(x, y));
    return pixels;
}

// A PNG of the given rows of pixels.
Bytes Png(const std::vector<std::vector<Color>>& rows)
{
    auto image = CairoDrawContext::ForImage(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            image->FillSolidRect({int(x), int(y), int(x) + 1, int(y) + 1}, rows[y][x]);
    test::ScratchDir dir;
    EXPECT_TRUE(image->WritePng(dir.Path() + "/image.png"));
    const std::string bytes = test::ReadFile(dir.Path() + "/image.png");
    return {bytes.begin(), bytes.end()};
}

template <size_t N> Bytes BytesOf(const char (&text)[N])
{
    return {text, text + N - 1};
}

// Red, green on top; blue, yellow below.
Bytes QuadrantPng(Color topLeft = kRed)
{
    return Png({{topLeft, kGreen}, {kBlue, kYellow}});
}

// A gray canvas with its own caches, so counters start at zero.
class CairoDrawContextTest : public ::testing::Test {
protected:
    void SetUp() override { Canvas(40, 30); }

    void Canvas(int width, int height)
    {
        caches = std::make_shared<DrawCaches>();
        dc = CairoDrawContext::ForImage(width, height, caches);
        ASSERT_NE(dc, nullptr);
        dc->FillSolidRect({0, 0, width, height}, kGray);
    }

    std::shared_ptr<DrawCaches> caches;
    std::unique_ptr<CairoDrawContext> dc;
};

// --- pixel rules of shapes and lines ---

TEST_F(CairoDrawContextTest, RectanglesAndFillsCoverExactlyTheirArea)
{
    Canvas(22, 9);
    dc->Rectangle({1, 1, 5, 4});  // the outline inside, the brush within
    dc->Rectangle({9, 4, 6, 1});  // reversed corners
    dc->RoundRect({11, 1, 15, 4}, 0, 0);
    dc->SelectBrush(Brush::Hollow());
    dc->Rectangle({16, 1, 20, 4});
    dc->SelectPen(Pen::StockNull());
    dc->SelectBrush(Brush::Solid(kRed));
    dc->Rectangle({1, 5, 5, 8});  // covered whole by the brush
    dc->SelectBrush(Brush::StockWhite());
    dc->SelectPen(Pen::Solid(kRed, 0));
    dc->Rectangle({6, 5, 10, 8});
    dc->SelectPen(Pen::Solid(kRed, 1));
    dc->Rectangle({11, 5, 15, 8});
    dc->FillRect({16, 5, 18, 7}, Brush::Solid(kGreen));
    dc->FillRect({16, 5, 18, 7}, Brush::Hollow());
    dc->FillSolidRect({19, 5, 19, 8}, kBlue);
    dc->FillSolidRect({19, 5, 21, 6}, kBlue);
    EXPECT_EQ(Picture(*dc), "......................\n"
                            ".####.###..####.####..\n"
                            ".#oo#.#o#..#oo#.#..#..\n"
                            ".####.###..####.####..\n"
                            "......................\n"
                            ".rrrr.rrrr.rrrr.gg.bb.\n"
                            ".rrrr.roor.roor.gg....\n"
                            ".rrrr.rrrr.rrrr.......\n"
                            "......................\n");
}

TEST_F(CairoDrawContextTest, WidePenIsCentredOnTheOutlineWithSquareCorners)
{
    Canvas(9, 9);
    dc->SelectPen(Pen::Solid(kBlue, 3));
    dc->Rectangle({2, 2, 7, 7});
    EXPECT_EQ(Picture(*dc), ".........\n"
                            ".bbbbbbb.\n"
                            ".bbbbbbb.\n"
                            ".bbbbbbb.\n"
                            ".bbbobbb.\n"
                            ".bbbbbbb.\n"
                            ".bbbbbbb.\n"
                            ".bbbbbbb.\n"
                            ".........\n");
}

TEST_F(CairoDrawContextTest, LinesAreOnePixelAStepAndLeaveOutTheirEndPoint)
{
    Canvas(16, 11);
    dc->MoveTo({0, 0});
    dc->LineTo({6, 0});
    dc->MoveTo({15, 8});  // drawn upwards, so the top is left out
    dc->LineTo({15, 2});
    dc->MoveTo({1, 2});  // LineTo goes on from the last point
    dc->LineTo({4, 2});
    dc->LineTo({4, 5});
    dc->Polyline({{6, 2}, {9, 2}, {9, 5}});
    dc->MoveTo({0, 5});
    dc->LineTo({3, 8});
    dc->MoveTo({4, 6});
    dc->LineTo({13, 9});
    dc->SelectPen({PenStyle::Dot, 0, kBlue});
    dc->MoveTo({0, 10});
    dc->LineTo({16, 10});
    dc->SelectPen(Pen::StockNull());
    dc->MoveTo({0, 1});
    dc->LineTo({16, 1});
    dc->Polyline({{0, 7}, {16, 7}});
    EXPECT_EQ(Picture(*dc), "######..........\n"
                            "................\n"
                            ".####.####......\n"
                            "....#....#.....#\n"
                            "....#....#.....#\n"
                            "#..............#\n"
                            ".#..##.........#\n"
                            "..#...###......#\n"
                            ".........###...#\n"
                            "............#...\n"
                            "bbb...bbb...bbb.\n");
}

TEST_F(CairoDrawContextTest, DashedOutlineLeavesGapsAndWideLinesAreCentredOnThePixels)
{
    dc->SelectPen({PenStyle::Dash, 0, kBlack});
    dc->SelectBrush(Brush::Hollow());
    dc->Rectangle({0, 0, 40, 30});
    for (int x = 0; x < 40; ++x)
        EXPECT_EQ(dc->PixelAt(x, 0), x % 24 < 18 ? kBlack : kGray) << x;  // 18 on, 6 off

    dc->SelectPen(Pen::Solid(kRed, 3));
    dc->MoveTo({5, 10});
    dc->LineTo({30, 10});
    for (int y = 8; y <= 12; ++y)
        EXPECT_EQ(dc->PixelAt(15, y), y == 8 || y == 12 ? kGray : kRed) << y;
}

// A line is walked only where it shows: the pixels and the dash pattern are
// those of the whole line, and a line across the int range costs no more
// than a short one.
TEST_F(CairoDrawContextTest, LinesAreCutToTheCanvasWithoutMovingAPixel)
{
    const std::vector<std::pair<IntPoint, IntPoint>> lines = {
        {{-37, -5}, {70, 41}}, {{55, -20}, {-13, 44}}, {{20, 60}, {31, -45}}, {{-90, 12}, {130, 17}}};
    auto draw = [&](CairoDrawContext& target, IntPoint shift) {
        target.SelectPen({PenStyle::Dash, 0, kBlack});
        for (const auto& [from, to] : lines) {
            target.MoveTo({from.x + shift.x, from.y + shift.y});
            target.LineTo({to.x + shift.x, to.y + shift.y});
        }
    };
    draw(*dc, {0, 0});
    auto whole = CairoDrawContext::ForImage(400, 300);
    whole->FillSolidRect({0, 0, 400, 300}, kGray);
    draw(*whole, {150, 100});
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(dc->PixelAt(x, y), whole->PixelAt(x + 150, y + 100)) << x << "," << y;

    Canvas(40, 30);
    dc->SelectPen(Pen::Solid(kBlack));
    dc->SelectBrush(Brush::Solid(kWhite));
    dc->Rectangle({-5, 10, 1 << 29, 1 << 29});
    dc->MoveTo({INT_MIN, INT_MIN});
    dc->LineTo({INT_MAX, INT_MAX});
    dc->DrawFocusRect({20, -3, INT_MAX, INT_MAX});
    EXPECT_EQ(dc->PixelAt(3, 10), kBlack);
    EXPECT_EQ(dc->PixelAt(3, 11), kWhite);
    EXPECT_EQ(dc->PixelAt(5, 5), kBlack);
}

// A picture is decoded no larger than it is drawn, and kept once per size.
TEST(ImageCacheTest, APictureIsDecodedAtTheSizeDrawnAndKeptPerSize)
{
    std::vector<std::vector<Color>> rows(30, std::vector<Color>(40, kRed));
    const Bytes png = Png(rows);
    ImageCache cache;
    auto sizeOf = [](cairo_surface_t* surface) {
        return surface ? IntSize{cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)}
                       : IntSize{};
    };
    EXPECT_EQ(sizeOf(cache.FromData(png, {8, 6})), (IntSize{8, 6}));
    EXPECT_EQ(sizeOf(cache.FromData(png, {8, 6})), (IntSize{8, 6}));
    EXPECT_EQ(cache.Decodes(), 1u);
    EXPECT_EQ(sizeOf(cache.FromData(png, {400, 20})), (IntSize{40, 20})) << "never larger than the picture";
    EXPECT_EQ(cache.Decodes(), 2u);
    const Color key = kRed;
    EXPECT_EQ(sizeOf(cache.FromData(png, {8, 6}, &key)), (IntSize{40, 30})) << "a keyed picture keeps its size";
    EXPECT_EQ(ImageDataSize(png), (IntSize{40, 30}));
}

TEST_F(CairoDrawContextTest, RoundRectCutsItsCornersAndEllipseStaysInside)
{
    dc->SelectBrush(Brush::Solid(kRed));
    dc->RoundRect({2, 2, 32, 22}, 12, 12);
    EXPECT_EQ(InkOf(*dc).box, (IntRect{2, 2, 32, 22}));
    for (const IntPoint corner : {IntPoint{2, 2}, IntPoint{31, 2}, IntPoint{2, 21}, IntPoint{31, 21}})
        EXPECT_EQ(dc->PixelAt(corner.x, corner.y), kGray) << corner.x << "," << corner.y;
    for (const IntPoint side : {IntPoint{17, 2}, IntPoint{2, 12}, IntPoint{31, 12}})
        EXPECT_EQ(dc->PixelAt(side.x, side.y), kBlack) << side.x << "," << side.y;
    EXPECT_EQ(dc->PixelAt(17, 12), kRed);

    Canvas(40, 30);
    dc->SelectBrush(Brush::Solid(kYellow));
    dc->Ellipse({3, 4, 33, 24});
    EXPECT_EQ(InkOf(*dc).box, (IntRect{3, 4, 33, 24}));
    EXPECT_EQ(dc->PixelAt(3, 4), kGray);
    EXPECT_EQ(dc->PixelAt(32, 23), kGray);
    EXPECT_EQ(dc->PixelAt(18, 14), kYellow);
    // Dark where the outline crosses the middle of each side.
    EXPECT_LT(dc->PixelAt(18, 4).r, 100);
    EXPECT_LT(dc->PixelAt(3, 14).r, 100);

    Canvas(40, 30);
    dc->SelectPen(Pen::StockNull());
    dc->SelectBrush(Brush::Hollow());
    dc->Ellipse({3, 4, 33, 24});
    dc->RoundRect({3, 4, 33, 24}, 8, 8);
    EXPECT_EQ(InkOf(*dc).count, 0);
}

TEST_F(CairoDrawContextTest, FocusRectInvertsDotsAndDrawingItTwiceRestores)
{
    dc->FillSolidRect({0, 0, 20, 30}, Color{10, 200, 60});
    dc->FillSolidRect({20, 0, 40, 30}, kWhite);
    const auto before = Snapshot(*dc);
    dc->DrawFocusRect({2, 2, 30, 12});
    EXPECT_EQ(dc->PixelAt(2, 2), (Color{245, 55, 195}));
    EXPECT_EQ(dc->PixelAt(3, 2), (Color{10, 200, 60}));
    EXPECT_EQ(dc->PixelAt(24, 11), kWhite);
    EXPECT_EQ(dc->PixelAt(25, 11), kBlack);
    EXPECT_EQ(dc->PixelAt(10, 6), (Color{10, 200, 60})) << "the inside is left alone";
    dc->DrawFocusRect({2, 2, 30, 12});
    EXPECT_EQ(Snapshot(*dc), before);
}

// --- text ---

class CairoTextTest : public CairoDrawContextTest {
protected:
    void SetUp() override { Canvas(240, 80); }

    void Canvas(int width, int height)
    {
        CairoDrawContextTest::Canvas(width, height);
        dc->SelectFont(FontDesc{"Sans", 16});
        dc->SetBkMode(BkMode::Transparent);
    }
    IntRect InkBox(const std::string& text, const IntRect& rect, unsigned format)
    {
        Canvas(240, 80);
        dc->DrawText(text, rect, format);
        return InkOf(*dc).box;
    }
};

// Only the start of a huge text is laid out: megabytes of it draw as fast
// as a page, and the same as their start does.
TEST_F(CairoTextTest, AHugeTextDrawsQuicklyAsItsStart)
{
    std::string huge;
    while (huge.size() < (8u << 20))
        huge += "lorem ipsum dolor sit \xC3\xA4met ";
    const auto started = std::chrono::steady_clock::now();
    const IntRect box = InkBox(huge, {0, 0, 240, 80}, TextFormat::WordBreak);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_LT(seconds, 3.0);
    EXPECT_EQ(box, InkBox(huge.substr(0, 4096), {0, 0, 240, 80}, TextFormat::WordBreak));
}

TEST_F(CairoTextTest, AlignmentWrappingAndEllipsis)
{
    namespace F = TextFormat;
    const std::string words = "one two three four five six";
    const std::string longText = "A caption far too long for its box";
    const struct {
        std::string text;
        IntRect rect;
        unsigned format;
        IntRect least, most;  // edge by edge, the ink box lies between these
    } cases[] = {
        {"Hello World", {20, 10, 200, 40}, F::Left | F::Top | F::SingleLine, {20, 10, 30, 20}, {23, 16, 200, 27}},
        {"Far", {0, 0, 200, 60}, F::Right | F::Bottom | F::SingleLine, {150, 30, 196, 50}, {200, 60, 200, 60}},
        // Vertical placement needs SingleLine; other text starts at the top.
        {"Top", {0, 0, 200, 80}, F::VCenter, {0, 0, 0, 0}, {200, 80, 200, 17}},
        {"Top", {0, 0, 200, 80}, F::Bottom, {0, 0, 0, 0}, {200, 80, 200, 17}},
        {words, {0, 0, 70, 80}, F::WordBreak, {0, 0, 0, 41}, {70, 80, 70, 80}},
        {words, {0, 0, 70, 80}, F::WordBreak | F::SingleLine, {0, 0, 151, 0}, {240, 80, 240, 17}},
        {longText, {0, 0, 80, 30}, F::SingleLine | F::EndEllipsis, {0, 0, 0, 0}, {80, 30, 80, 30}},
        {longText, {0, 0, 80, 30}, F::SingleLine, {0, 0, 151, 0}, {240, 30, 240, 30}},  // no clipping without a reason
    };
    for (const auto& c : cases) {
        const IntRect box = InkBox(c.text, c.rect, c.format);
        EXPECT_TRUE(box.left >= c.least.left && box.left <= c.most.left && box.top >= c.least.top &&
                    box.top <= c.most.top && box.right >= c.least.right && box.right <= c.most.right &&
                    box.bottom >= c.least.bottom && box.bottom <= c.most.bottom)
            << c.text << " format " << c.format << ": ink " << box.left << "," << box.top << "," << box.right << ","
            << box.bottom;
    }
    const IntRect centred = InkBox("Centre", {0, 0, 240, 80}, F::Center | F::VCenter | F::SingleLine);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 120, 3);
    EXPECT_NEAR((centred.top + centred.bottom) / 2.0, 40, 4);
}

TEST_F(CairoTextTest, ColourAndBackgroundModes)
{
    // Glyph edges are smoothed, so count the mostly covered pixels by hue.
    auto count = [this](bool blue) {
        int found = 0;
        for (int y = 0; y < dc->Height(); ++y)
            for (int x = 0; x < dc->Width(); ++x) {
                const Color c = dc->PixelAt(x, y);
                found += c.r < 64 && c.g < 64 && (blue ? c.b > 191 : c.b < 64) ? 1 : 0;
            }
        return found;
    };
    dc->SetTextColor(kBlue);
    dc->DrawText("IIII", {0, 0, 200, 40}, TextFormat::SingleLine);
    EXPECT_GT(count(true), 20);
    EXPECT_EQ(count(false), 0);

    Canvas(240, 80);
    dc->SetBkColor(kYellow);
    dc->DrawText("Label", {10, 10, 200, 40}, TextFormat::SingleLine);
    EXPECT_EQ(Picture(*dc).find('y'), std::string::npos);
    dc->SetBkMode(BkMode::Opaque);
    dc->DrawText("Label", {10, 50, 200, 80}, TextFormat::SingleLine);
    const std::string picture = Picture(*dc);
    const auto yellow = std::count(picture.begin(), picture.end(), 'y');
    EXPECT_GT(yellow, 200);
    EXPECT_LT(yellow, 190 * 30) << "only behind the text, not the whole rectangle";
    EXPECT_EQ(dc->PixelAt(10, 50), kYellow);
    EXPECT_EQ(dc->PixelAt(199, 79), kGray);

    Canvas(240, 80);
    dc->DrawText(std::string("ab\xff\xfe", 4), {0, 0, 200, 40}, TextFormat::SingleLine);
    EXPECT_GT(InkOf(*dc).count, 0) << "invalid UTF-8 is drawn, not rejected";
}

TEST_F(CairoTextTest, ExtentFollowsTheFontHeightAndPointSizesAreAt96Dpi)
{
    auto extent = [this](const FontDesc& font, const char* text = "Mx") {
        dc->SelectFont(font);
        return dc->GetTextExtent(text);
    };
    const IntSize cell = extent(FontDesc{"Sans", 16});
    EXPECT_NEAR(cell.cy, 16, 1) << "a positive height is the cell height";
    EXPECT_GT(extent(FontDesc{"Sans", -16}).cy, cell.cy) << "a negative height leaves out the leading";
    EXPECT_NEAR(extent(FontDesc{"Sans", 32}).cy, 32, 1);
    EXPECT_NEAR(extent(FontDesc{"Sans", 32}).cx, 2 * cell.cx, 3);
    EXPECT_GT(extent(FontDesc{"Sans", 16, 0, 700}).cx, cell.cx) << "bold is wider";
    EXPECT_GT(extent(FontDesc{"Sans", 16}, "Mx Mx").cx, cell.cx * 2);
    EXPECT_EQ(extent(FontDesc{"Sans", 16}, "").cx, 0);
    FontDesc points{"Sans", 0, 12};
    const int twelve = extent(points).cy;
    EXPECT_TRUE(twelve >= 16 && twelve <= 21) << twelve << ": 12 pt is 16 px of em; the cell is a little taller";
    points.pointSize = 24;
    EXPECT_NEAR(extent(points).cy, 2 * twelve, 2);
}

TEST_F(CairoTextTest, LayoutIsCachedAcrossDrawsMeasuresAndRepaints)
{
    dc->DrawText("Cached", {0, 0, 200, 40}, TextFormat::SingleLine);
    dc->DrawText("Cached", {0, 40, 200, 80}, TextFormat::SingleLine);
    dc->GetTextExtent("Cached");
    EXPECT_EQ(dc->LayoutCacheMisses(), 1u);
    dc->DrawText("Cached", {0, 0, 200, 40}, TextFormat::SingleLine | TextFormat::Center);
    EXPECT_EQ(dc->LayoutCacheMisses(), 2u);
    dc->SelectFont(FontDesc{"Sans", 20});
    dc->DrawText("Cached", {0, 0, 200, 40}, TextFormat::SingleLine);
    EXPECT_EQ(dc->LayoutCacheMisses(), 3u);

    // A new context on the same caches, as for the next repaint.
    auto repaint = CairoDrawContext::ForImage(240, 80, caches);
    repaint->SelectFont(FontDesc{"Sans", 16});
    repaint->DrawText("Cached", {0, 0, 200, 40}, TextFormat::SingleLine);
    EXPECT_EQ(repaint->LayoutCacheMisses(), 3u);

    // Beyond its capacity the cache drops the least recently used.
    TextLayoutCache cache(2);
    for (const char* text : {"a", "b", "a", "c", "a"})
        ASSERT_NE(cache.Get(text, FontDesc{"Sans", 12}, -1, -1, 0), nullptr);
    EXPECT_EQ(cache.Size(), 2u);
    EXPECT_EQ(cache.Misses(), 3u);
    cache.Get("b", FontDesc{"Sans", 12}, -1, -1, 0);
    EXPECT_EQ(cache.Misses(), 4u);
}

// --- images ---

TEST_F(CairoDrawContextTest, ImagesAreDecodedStretchedAndKeyed)
{
    Canvas(14, 7);
    const Bytes keyed = Png({{kMagenta, kBlue}});
    ASSERT_TRUE(dc->DrawImageData(QuadrantPng(), {1, 1, 5, 5}));
    ASSERT_TRUE(dc->DrawImageData(Png({std::vector<Color>(64, kBlue)}), {7, 1, 13, 3}));  // shrunk, stays inside
    ASSERT_TRUE(dc->DrawTransparentImageData(keyed, {7, 3, 11, 5}, kMagenta));
    ASSERT_TRUE(dc->DrawImageData(keyed, {11, 3, 13, 5}));  // the same bytes without a key are opaque
    EXPECT_EQ(Picture(*dc), "..............\n"
                            ".rrgg..bbbbbb.\n"
                            ".rrgg..bbbbbb.\n"
                            ".bbyy....bbmb.\n"
                            ".bbyy....bbmb.\n"
                            "..............\n"
                            "..............\n");
}

TEST_F(CairoDrawContextTest, FormsBitmapFormatsDecode)
{
    // One row each: a 24-bit BMP red, blue; a 32-bit icon blue, green; a GIF of one red pixel.
    const Bytes bmp =
        BytesOf("BM\x3e\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x01\0\0\0\x01\0\x18\0\0\0\0\0\x08\0\0\0"
                "\x13\x0b\0\0\x13\x0b\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\0\0\0\0");
    const Bytes icon =
        BytesOf("\0\0\x01\0\x01\0\x02\x01\0\0\x01\0\x20\0\x34\0\0\0\x16\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x20\0"
                "\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\0\0\xff\0\xff\0\xff\0\0\0\0");
    const Bytes gif = BytesOf("GIF89a\x01\0\x01\0\x80\0\0\xff\0\0\0\0\0,\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0;");
    Canvas(4, 3);
    ASSERT_TRUE(dc->DrawImageData(bmp, {0, 0, 4, 1}));
    ASSERT_TRUE(dc->DrawImageData(icon, {0, 1, 4, 2}));
    ASSERT_TRUE(dc->DrawImageData(gif, {0, 2, 4, 3}));
    EXPECT_EQ(Picture(*dc), "rrbb\nbbgg\nrrrr\n");
}

TEST_F(CairoDrawContextTest, UndecodableBytesAnswerFalseAndDrawNothing)
{
    const Bytes junk = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    EXPECT_FALSE(dc->DrawImageData(junk, {0, 0, 20, 20}));
    EXPECT_FALSE(dc->DrawImageData(junk, {0, 0, 20, 20}));
    EXPECT_EQ(dc->ImageDecodes(), 1u) << "a failure is remembered";
    EXPECT_FALSE(dc->DrawImageData({}, {0, 0, 20, 20}));
    Bytes truncated = QuadrantPng();
    truncated.resize(truncated.size() / 2);
    EXPECT_FALSE(dc->DrawTransparentImageData(truncated, {0, 0, 20, 20}, kRed));
    EXPECT_FALSE(dc->DrawImageFile("/nonexistent/missing.png", {0, 0, 20, 20}));
    EXPECT_FALSE(dc->DrawImageFile("", {0, 0, 20, 20}));
    EXPECT_EQ(InkOf(*dc).count, 0);
}

TEST_F(CairoDrawContextTest, DecodedImagesAreReusedUntilTheFileChanges)
{
    const Bytes png = QuadrantPng();
    dc->DrawImageData(png, {0, 0, 10, 10});
    dc->DrawImageData(png, {10, 0, 30, 10});
    EXPECT_EQ(dc->ImageDecodes(), 1u);
    dc->DrawImageData(QuadrantPng(kWhite), {0, 0, 10, 10});
    EXPECT_EQ(dc->ImageDecodes(), 2u);
    EXPECT_EQ(dc->PixelAt(2, 2), kWhite);

    test::ScratchDir dir;
    const std::string path = dir.Put("quadrants.png", std::string(png.begin(), png.end()));
    ASSERT_TRUE(dc->DrawImageFile(path, {0, 0, 20, 20}));
    ASSERT_TRUE(dc->DrawImageFile(path, {20, 0, 40, 20}));
    EXPECT_EQ(dc->ImageDecodes(), 3u);
    EXPECT_EQ(dc->PixelAt(25, 5), kRed);
    // Another picture of another size in the same place.
    const Bytes green = Png({{kGreen, kGreen, kGreen}});
    dir.Put("quadrants.png", std::string(green.begin(), green.end()));
    ASSERT_TRUE(dc->DrawImageFile(path, {0, 0, 20, 20}));
    EXPECT_EQ(dc->ImageDecodes(), 4u);
    EXPECT_EQ(dc->PixelAt(5, 5), kGreen);
}

// --- targets and state ---

TEST(CairoTargets, SvgAndPdfAreWrittenWithTheirMagicByFinishOrAtDestruction)
{
    test::ScratchDir dir;
    const std::string svg = dir.Path() + "/form.svg";
    const std::string pdf = dir.Path() + "/form.pdf";
    for (const std::string& path : {svg, pdf}) {
        auto dc = path == svg ? CairoDrawContext::ForSvg(path, 200, 100) : CairoDrawContext::ForPdf(path, 200, 100);
        ASSERT_NE(dc, nullptr) << path;
        EXPECT_FALSE(dc->WritePng(dir.Path() + "/never.png"));
        dc->Rectangle({10, 10, 100, 50});
        dc->DrawText("Form", {10, 10, 100, 50}, TextFormat::SingleLine);
        dc->DrawImageData(QuadrantPng(), {120, 10, 160, 50});
        EXPECT_TRUE(dc->Finish());
    }
    EXPECT_EQ(test::ReadFile(svg).rfind("<?xml", 0), 0u);
    EXPECT_NE(test::ReadFile(svg).find("<svg"), std::string::npos);
    EXPECT_NE(test::ReadFile(svg).find("width=\"200"), std::string::npos);
    EXPECT_EQ(test::ReadFile(pdf).rfind("%PDF", 0), 0u);
    EXPECT_NE(test::ReadFile(pdf).find("%%EOF"), std::string::npos);

    // Written through links, as forms are: the links stay, the files they lead to are drawn.
    const std::string realSvg = dir.Put("out/real.svg", "old");
    const std::string realPng = dir.Put("out/real.png", "old");
    ASSERT_EQ(::symlink(realSvg.c_str(), (dir.Path() + "/link.svg").c_str()), 0);
    ASSERT_EQ(::symlink(realPng.c_str(), (dir.Path() + "/link.png").c_str()), 0);
    EXPECT_TRUE(CairoDrawContext::ForSvg(dir.Path() + "/link.svg", 20, 10)->Finish());
    EXPECT_TRUE(CairoDrawContext::ForImage(20, 10)->WritePng(dir.Path() + "/link.png"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() + "/link.svg") &&
                std::filesystem::is_symlink(dir.Path() + "/link.png"));
    EXPECT_EQ(test::ReadFile(realSvg).rfind("<?xml", 0), 0u);
    EXPECT_EQ(test::ReadFile(realPng).rfind("\x89PNG", 0), 0u);

    CairoDrawContext::ForPdf(dir.Path() + "/dropped.pdf", 50, 50)->Ellipse({5, 5, 45, 45});
    EXPECT_EQ(test::ReadFile(dir.Path() + "/dropped.pdf").rfind("%PDF", 0), 0u);
    EXPECT_EQ(CairoDrawContext::ForSvg("/nonexistent-dir/form.svg", 10, 10), nullptr);
    EXPECT_EQ(CairoDrawContext::ForPdf("/nonexistent-dir/form.pdf", 10, 10), nullptr);
    EXPECT_EQ(CairoDrawContext::ForImage(0, 10), nullptr);
    EXPECT_EQ(CairoDrawContext::ForImage(10, -1), nullptr);
}

TEST(CairoTargets, ForeignContextIsDrawnOnAndLeftAsItWas)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 20, 20);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0, 1, 0);
    cairo_paint(cr);
    cairo_set_line_width(cr, 7);
    cairo_translate(cr, 5, 5);  // the window scrolled: its origin is moved
    {
        CairoDrawContext dc(cr);
        dc.SelectBrush(Brush::Solid(kRed));
        dc.Rectangle({0, 0, 4, 4});
        dc.DrawText("x", {10, 10, 20, 20}, TextFormat::SingleLine);
        EXPECT_EQ(dc.PixelAt(0, 0), kBlack) << "no pixel access on a foreign context";
    }
    EXPECT_EQ(cairo_status(cr), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_get_line_width(cr), 7);
    double r = 0, g = 0, b = 0, a = 0;
    cairo_pattern_get_rgba(cairo_get_source(cr), &r, &g, &b, &a);
    EXPECT_EQ(g, 1.0);
    double x = 0, y = 0;
    cairo_user_to_device(cr, &x, &y);
    EXPECT_EQ(x, 5.0);
    cairo_surface_flush(surface);
    const std::uint32_t diagonal[] = {0x00FF00, 0x000000, 0xFF0000, 0xFF0000, 0x000000, 0x00FF00};  // from 4,4
    for (int i = 4; i < 10; ++i) {
        const unsigned char* row = cairo_image_surface_get_data(surface) + i * cairo_image_surface_get_stride(surface);
        EXPECT_EQ(reinterpret_cast<const std::uint32_t*>(row)[i] & 0xFFFFFFu, diagonal[i - 4]) << i;
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);

    CairoDrawContext none(nullptr);  // harmless
    none.Rectangle({0, 0, 10, 10});
    none.DrawText("x", {0, 0, 10, 10}, 0);
    EXPECT_FALSE(none.Finish());
}

TEST(CairoState, StockObjectsClassicPaletteAndTheDesktopsThemeAndFonts)
{
    auto dc = CairoDrawContext::ForImage(10, 10);
    EXPECT_EQ(dc->RawPixelAt(0, 0), 0xFFFFFFFFu) << "opaque white";
    EXPECT_EQ(dc->PixelAt(10, 0), kBlack) << "outside";
    EXPECT_EQ(dc->SetTextColor(kRed), kBlack);
    EXPECT_EQ(dc->SetBkColor(kRed), kWhite);
    EXPECT_EQ(dc->SetBkMode(BkMode::Transparent), BkMode::Opaque);
    for (int i = 0; i < kSysColorCount; ++i)
        EXPECT_EQ(dc->GetSysColor(static_cast<SysColor>(i)), ClassicSysColor(static_cast<SysColor>(i))) << i;
    FontDesc font;
    font.face = "Sans";
    font.pointSize = 8;
    EXPECT_EQ(dc->GetDefaultGuiFont(), font);
    font.pointSize = 10;
    EXPECT_EQ(dc->GetVariableFont(), font);

    const IntSize stock = dc->GetTextExtent("Theme");
    font.pointSize = 14;
    dc->SetDefaultGuiFont(font);
    dc->SetSysColor(SysColor::BtnFace, Color{1, 2, 3});
    EXPECT_EQ(dc->GetSysColor(SysColor::BtnFace), (Color{1, 2, 3}));
    EXPECT_GT(dc->GetTextExtent("Theme").cx, stock.cx) << "nothing selected yet, so the stock font follows";
    EXPECT_EQ(dc->SelectFont(FontDesc{"Sans", 10}), font);
    const IntSize selected = dc->GetTextExtent("Theme");
    dc->SetDefaultGuiFont(FontDesc{"Sans", 30});
    EXPECT_EQ(dc->GetTextExtent("Theme"), selected) << "a selected font stays";
}

}  // namespace
}  // namespace fw
