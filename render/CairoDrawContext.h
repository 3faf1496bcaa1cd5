#pragma once
// The DrawContext that really draws, over cairo (shapes, images) and pango
// (text). The canvas hands in the window's cairo context; the command-line
// renderer and the tests draw on an image, SVG or PDF surface of their own.
// Both take the same code path, so a form looks the same everywhere.
//
// Pixels follow the platform's rules: integer device coordinates, one-pixel
// lines on pixel centres, Rectangle(l, t, r, b) covering l..r-1 x t..b-1 with
// the outline inside, lines without their end point. With the null pen a
// shape's brush covers its whole area. As on the platform, VCenter and Bottom
// place text only together with SingleLine; other text starts at the top.

#include "render/DrawContext.h"
#include "render/SystemColors.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

typedef struct _PangoLayout PangoLayout;

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace fw {

struct DrawCaches;

class CairoDrawContext : public DrawContext {
public:
    // Draws on a context someone else owns (the window's); its state is
    // saved here and restored when this context goes. The owner leaves its
    // clip and transformation alone meanwhile. `caches` defaults to the
    // process's shared ones.
    explicit CairoDrawContext(cairo_t* cr, std::shared_ptr<DrawCaches> caches = nullptr);
    ~CairoDrawContext() override;
    CairoDrawContext(const CairoDrawContext&) = delete;
    CairoDrawContext& operator=(const CairoDrawContext&) = delete;

    // An opaque white image of width x height pixels; null when it cannot be made.
    static std::unique_ptr<CairoDrawContext> ForImage(int width, int height,
                                                      std::shared_ptr<DrawCaches> caches = nullptr);
    // Vector documents of width x height pixels (a PDF page at 96 pixels per
    // inch), written to `path` by Finish() or at destruction. Null when the
    // file cannot be created.
    static std::unique_ptr<CairoDrawContext> ForSvg(const std::string& path, int width, int height,
                                                    std::shared_ptr<DrawCaches> caches = nullptr);
    static std::unique_ptr<CairoDrawContext> ForPdf(const std::string& path, int width, int height,
                                                    std::shared_ptr<DrawCaches> caches = nullptr);

    // Completes an owned surface (writes an SVG or PDF out); drawing after it
    // does nothing. False when cairo reports an error or the file cannot be written.
    bool Finish();
    // The image as a PNG file; false for other targets or on a write error.
    bool WritePng(const std::string& path);
    // Why the last file could not be written, with the system's reason; empty when it was.
    const std::string& WriteError() const { return m_writeError; }
    // Pixels of an image target; black (0) outside it or for other targets.
    Color PixelAt(int x, int y) const;
    // Premultiplied 0xAARRGGBB as cairo stores it.
    std::uint32_t RawPixelAt(int x, int y) const;
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // The desktop puts its theme in; headless contexts keep the classic palette
    // and the fixed fonts ({"Sans", 8 pt} and {"Sans", 10 pt}).
    void SetSysColor(SysColor which, Color color);
    void SetDefaultGuiFont(const FontDesc& font);
    void SetVariableFont(const FontDesc& font);

    // Cache counters of the caches in use, for tests and diagnostics.
    std::size_t LayoutCacheMisses() const;
    std::size_t ImageDecodes() const;

    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    FontDesc SelectFont(const FontDesc& font) override;
    Color SetTextColor(Color color) override;
    Color SetBkColor(Color color) override;
    BkMode SetBkMode(BkMode mode) override;

    Color GetSysColor(SysColor which) const override;
    FontDesc GetDefaultGuiFont() const override;
    FontDesc GetVariableFont() const override;

    void Rectangle(const IntRect& rect) override;
    void Rectangles(const IntRect* rects, std::size_t count) override;
    void RoundRect(const IntRect& rect, int ellipseWidth, int ellipseHeight) override;
    void Ellipse(const IntRect& rect) override;
    void MoveTo(IntPoint point) override;
    void LineTo(IntPoint point) override;
    void Polyline(const std::vector<IntPoint>& points) override;
    void FillRect(const IntRect& rect, const Brush& brush) override;
    void FillSolidRect(const IntRect& rect, Color color) override;
    void FillPixelGrid(const std::vector<int>& columns, const std::vector<int>& rows, Color color) override;
    void DrawFocusRect(const IntRect& rect) override;
    IntPoint SetOrigin(IntPoint origin) override;
    // Only `deviceArea` of this drawing will be shown: what lies wholly
    // outside it may be left out and fills stop at its edge, while paths
    // crossing it are drawn whole, so the pixels inside are those of an
    // unlimited drawing (a clip would smooth a cut edge differently).
    void ShowOnly(const IntRect& deviceArea);

    void DrawText(std::string_view text, const IntRect& rect, unsigned format) override;
    IntSize GetTextExtent(std::string_view text) override;
    IntRect GetTextReach(std::string_view text, const IntRect& rect, unsigned format) override;

    bool DrawImageFile(const std::string& path, const IntRect& dest) override;
    bool DrawImageData(const std::vector<std::uint8_t>& data, const IntRect& dest) override;
    bool DrawTransparentImageData(const std::vector<std::uint8_t>& data, const IntRect& dest,
                                  Color transparent) override;

private:
    enum class Target { External, Image, Svg, Pdf };

    CairoDrawContext(cairo_surface_t* surface, Target target, int width, int height,
                     std::shared_ptr<DrawCaches> caches);

    // Writes a finished SVG or PDF out, once; false when that failed.
    bool WriteDocument(bool complete);
    int penWidth() const;
    // What drawing can reach, in the current coordinates and one pixel wider
    // on every side: figures are cut to it before they are rasterised.
    IntRect visibleArea() const;
    // Whether anything drawn within `reach` pixels around `area` can show.
    bool mayShow(const IntRect& area, int reach) const;
    // The source colour for drawing outside a saved state; set only when it changes.
    void useColor(Color color);
    // Fills the pixel-aligned rectangles collected in m_runs and empties it.
    void fillRuns(Color color);
    void drawLines(const IntPoint* points, std::size_t count);
    void outlineRectangle(const IntRect& rect);
    // The grid through a pattern one row high; false when the target cannot take it.
    bool fillGridRows(const std::vector<int>& columns, const std::vector<int>& rows, Color color);
    void roundShape(const IntRect& rect, int ellipseWidth, int ellipseHeight);
    bool drawSurface(cairo_surface_t* image, const IntRect& dest);
    FontDesc resolvedFont() const;
    // Where DrawText puts a text's layout: its origin, its logical extent and
    // the pixels it covers; no layout for an empty text.
    struct PlacedText {
        PangoLayout* layout = nullptr;
        IntRect extent;  // logical, relative to (x, y)
        int x = 0;
        int y = 0;
        IntRect reach;
    };
    PlacedText placeText(std::string_view text, const IntRect& rect, unsigned format);
    // Smoothed glyph edges may colour this many pixels past their box.
    static constexpr int TextSmoothing = 2;

    cairo_t* m_cr = nullptr;
    IntPoint m_origin;
    cairo_surface_t* m_surface = nullptr;  // owned targets only
    // An SVG or PDF is collected here and replaces the file at its path when finished.
    std::unique_ptr<std::string> m_document;
    std::string m_documentPath;
    std::string m_writeError;
    Target m_target = Target::External;
    int m_width = 0;
    int m_height = 0;
    std::shared_ptr<DrawCaches> m_caches;

    Pen m_pen = Pen::StockBlack();
    Brush m_brush = Brush::StockWhite();
    FontDesc m_font;
    bool m_fontSelected = false;
    Color m_textColor{0, 0, 0};
    Color m_bkColor{255, 255, 255};
    BkMode m_bkMode = BkMode::Opaque;
    IntPoint m_position;
    mutable std::optional<IntRect> m_visible;  // until the origin moves
    std::optional<IntRect> m_shownPart;        // device pixels
    std::optional<Color> m_source;             // what the last useColor set
    std::vector<IntRect> m_runs;               // kept, so that drawing does not allocate

    std::array<Color, kSysColorCount> m_sysColors{};
    FontDesc m_defaultGuiFont;
    FontDesc m_variableFont;
};

}  // namespace fw
