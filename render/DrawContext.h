#pragma once
// The surface every element draws on. It behaves like a classic GDI device
// context: a pen, a brush and a font are selected, shapes take integer device
// coordinates, Rectangle(l, t, r, b) covers pixels l..r-1 and t..b-1 outline
// included, and a pen of width 0 draws one pixel wide.

#include "services/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

struct Color {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(Color a, Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
    friend bool operator!=(Color a, Color b) { return !(a == b); }
};

// Parses "r,g,b" (decimal parts, low byte of each). False unless there are
// exactly three parts; `fillable` tells whether every part is 0 or more
// (a negative part means "no fill").
bool parseColorText(std::string_view text, Color& color, bool* fillable = nullptr);
// Whether `text` is a colour text as files keep it: exactly three parts. The
// reader drops a shape whose colour is not, so nothing may store one.
bool isColorText(std::string_view text);

enum class SysColor {
    Window,
    WindowText,
    BtnFace,
    BtnText,
    BtnShadow,
    BtnHighlight,
    DkShadow3D,
    Light3D,
    Highlight,
    HighlightText,
    GrayText,
    AppWorkspace,
};

enum class PenStyle { Solid, Dash, Dot, Null };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 0;  // 0 and 1 both mean one pixel
    Color color{};

    static Pen Solid(Color c, int width = 0) { return {PenStyle::Solid, width, c}; }
    static Pen StockBlack() { return Solid({0, 0, 0}); }
    static Pen StockWhite() { return Solid({255, 255, 255}); }
    static Pen StockNull() { return {PenStyle::Null, 0, {}}; }

    friend bool operator==(const Pen& a, const Pen& b)
    {
        return a.style == b.style && a.width == b.width && a.color == b.color;
    }
};

enum class BrushStyle { Solid, Hollow };

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    Color color{255, 255, 255};

    static Brush Solid(Color c) { return {BrushStyle::Solid, c}; }
    static Brush StockWhite() { return Solid({255, 255, 255}); }
    static Brush StockBlack() { return Solid({0, 0, 0}); }
    static Brush Hollow() { return {BrushStyle::Hollow, {}}; }

    friend bool operator==(const Brush& a, const Brush& b)
    {
        return a.style == b.style && (a.style == BrushStyle::Hollow || a.color == b.color);
    }
};

// A font description. `height` > 0 is the cell height in pixels, < 0 the
// character height in pixels; 0 means "use pointSize" (points at 96 dpi).
struct FontDesc {
    std::string face;
    int height = 0;
    int pointSize = 0;
    int weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;

    friend bool operator==(const FontDesc& a, const FontDesc& b)
    {
        return a.face == b.face && a.height == b.height && a.pointSize == b.pointSize && a.weight == b.weight &&
               a.italic == b.italic && a.underline == b.underline;
    }
};

enum class BkMode { Opaque, Transparent };

// Text alignment flags for DrawText; combine with |.
namespace TextFormat {
constexpr unsigned Left = 0x0;
constexpr unsigned Center = 0x1;
constexpr unsigned Right = 0x2;
constexpr unsigned Top = 0x0;
constexpr unsigned VCenter = 0x4;
constexpr unsigned Bottom = 0x8;
constexpr unsigned WordBreak = 0x10;
constexpr unsigned SingleLine = 0x20;
constexpr unsigned EndEllipsis = 0x8000;
}  // namespace TextFormat

class DrawContext {
public:
    virtual ~DrawContext() = default;

    // Selection answers what was selected before, so it can be restored.
    virtual Pen SelectPen(const Pen& pen) = 0;
    virtual Brush SelectBrush(const Brush& brush) = 0;
    virtual FontDesc SelectFont(const FontDesc& font) = 0;
    virtual Color SetTextColor(Color color) = 0;
    virtual Color SetBkColor(Color color) = 0;
    virtual BkMode SetBkMode(BkMode mode) = 0;

    // Colours of the desktop theme (a fixed classic palette when headless).
    virtual Color GetSysColor(SysColor which) const = 0;
    // The stock default GUI font and the stock variable-pitch font.
    virtual FontDesc GetDefaultGuiFont() const = 0;
    virtual FontDesc GetVariableFont() const = 0;

    // Shapes outlined with the pen and filled with the brush.
    virtual void Rectangle(const IntRect& rect) = 0;
    // Several rectangles, as Rectangle draws them one after the other.
    virtual void Rectangles(const IntRect* rects, std::size_t count)
    {
        for (std::size_t i = 0; i < count; ++i)
            Rectangle(rects[i]);
    }
    virtual void RoundRect(const IntRect& rect, int ellipseWidth, int ellipseHeight) = 0;
    virtual void Ellipse(const IntRect& rect) = 0;
    // Lines with the pen; the end point itself is not drawn.
    virtual void MoveTo(IntPoint point) = 0;
    virtual void LineTo(IntPoint point) = 0;
    virtual void Polyline(const std::vector<IntPoint>& points) = 0;
    // Fills without outline; the background colour stays as it was.
    virtual void FillRect(const IntRect& rect, const Brush& brush) = 0;
    virtual void FillSolidRect(const IntRect& rect, Color color) = 0;
    // One pixel at every crossing of a column and a row, as FillSolidRect
    // fills them one after the other, column by column.
    virtual void FillPixelGrid(const std::vector<int>& columns, const std::vector<int>& rows, Color color)
    {
        for (int x : columns)
            for (int y : rows)
                FillSolidRect({x, y, x + 1, y + 1}, color);
    }
    // The dotted XOR rectangle of rubber bands and focus.
    virtual void DrawFocusRect(const IntRect& rect) = 0;
    // Where logical (0, 0) lies on the device (a scrolled view shifts it);
    // answers the previous origin.
    virtual IntPoint SetOrigin(IntPoint origin) = 0;

    virtual void DrawText(std::string_view text, const IntRect& rect, unsigned format) = 0;
    virtual IntSize GetTextExtent(std::string_view text) = 0;
    // The pixels DrawText(text, rect, format) may colour, glyphs and
    // background; a caption on one line may leave its rectangle. A context
    // that draws no glyphs answers the rectangle.
    virtual IntRect GetTextReach(std::string_view /*text*/, const IntRect& rect, unsigned /*format*/) { return rect; }

    // Images decoded from a file or from memory (bmp, ico, jpg, png, gif, tif),
    // drawn stretched into the rectangle. False when they cannot be decoded.
    virtual bool DrawImageFile(const std::string& path, const IntRect& dest) = 0;
    virtual bool DrawImageData(const std::vector<std::uint8_t>& data, const IntRect& dest) = 0;
    // A bitmap with every pixel of `transparent` left out.
    virtual bool DrawTransparentImageData(const std::vector<std::uint8_t>& data, const IntRect& dest,
                                          Color transparent) = 0;
};

}  // namespace fw
