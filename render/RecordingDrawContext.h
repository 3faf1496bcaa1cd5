#pragma once
// A DrawContext that draws nothing and writes down every call, for tests.
//
// Each call becomes one line. Values are written as:
//   point   x,y               rect   l,t,r,b            color  r,g,b
//   pen     solid/W/r,g,b  dash/W/r,g,b  dot/W/r,g,b  null   (W = width as given)
//   brush   solid/r,g,b  hollow
//   font    Face/H/Weight  or  Face/Npt/Weight when the height is 0,
//           followed by /italic and /underline when set
//   bk      opaque/r,g,b  or  transparent
//   text    in double quotes, with \" \\ \n \r \t escaped
// Lines:
//   SelectPen <pen>            SelectBrush <brush>        SelectFont <font>
//   SetTextColor <color>       SetBkColor <color>         SetBkMode opaque|transparent
//   Rectangle <rect> pen=<pen> brush=<brush>
//   RoundRect <rect> WxH pen=<pen> brush=<brush>
//   Ellipse <rect> pen=<pen> brush=<brush>
//   MoveTo <point>
//   LineTo <point> pen=<pen>
//   Polyline <point> <point> ... pen=<pen>
//   FillRect <rect> brush=<brush>
//   FillSolidRect <rect> color=<color>
//   FocusRect <rect>
//   DrawText <text> <rect> fmt=0x<hex> font=<font> color=<text color> bk=<bk>
//   Image <path> <rect>
//   ImageData <n> bytes <rect>
//   TransparentImageData <n> bytes <rect> key=<color>
// An image call that answers false gets " failed" appended.
// Queries (GetSysColor, GetTextExtent, the stock fonts) are not recorded.

#include "render/DrawContext.h"

#include <string>
#include <string_view>
#include <vector>

namespace fw {

class RecordingDrawContext : public DrawContext {
public:
    RecordingDrawContext();

    Pen SelectPen(const Pen& pen) override;
    Brush SelectBrush(const Brush& brush) override;
    FontDesc SelectFont(const FontDesc& font) override;
    Color SetTextColor(Color color) override;
    Color SetBkColor(Color color) override;
    BkMode SetBkMode(BkMode mode) override;

    // The classic palette unless a test overrides an entry.
    Color GetSysColor(SysColor which) const override;
    // {"Sans", 0, 8 pt, 400} and {"Sans", 0, 10 pt, 400}.
    FontDesc GetDefaultGuiFont() const override;
    FontDesc GetVariableFont() const override;

    void Rectangle(const IntRect& rect) override;
    void RoundRect(const IntRect& rect, int ellipseWidth, int ellipseHeight) override;
    void Ellipse(const IntRect& rect) override;
    void MoveTo(IntPoint point) override;
    void LineTo(IntPoint point) override;
    void Polyline(const std::vector<IntPoint>& points) override;
    void FillRect(const IntRect& rect, const Brush& brush) override;
    void FillSolidRect(const IntRect& rect, Color color) override;
    void DrawFocusRect(const IntRect& rect) override;
    IntPoint SetOrigin(IntPoint origin) override;

    void DrawText(std::string_view text, const IntRect& rect, unsigned format) override;
    // 7 pixels per code point wide; the font's pixel height (or 13 when it is
    // given in points) high.
    IntSize GetTextExtent(std::string_view text) override;

    // True for a non-empty path or non-empty data.
    bool DrawImageFile(const std::string& path, const IntRect& dest) override;
    bool DrawImageData(const std::vector<std::uint8_t>& data, const IntRect& dest) override;
    bool DrawTransparentImageData(const std::vector<std::uint8_t>& data, const IntRect& dest,
                                  Color transparent) override;

    // Lets a test tell a theme colour apart from a hard-coded one.
    void OverrideSysColor(SysColor which, Color color);

    const Pen& CurrentPen() const { return m_pen; }
    const Brush& CurrentBrush() const { return m_brush; }
    const FontDesc& CurrentFont() const { return m_font; }
    Color CurrentTextColor() const { return m_textColor; }
    Color CurrentBkColor() const { return m_bkColor; }
    BkMode CurrentBkMode() const { return m_bkMode; }

    const std::vector<std::string>& Calls() const { return m_calls; }
    std::vector<std::string> CallsStartingWith(std::string_view prefix) const;
    // Forgets the recorded lines; the selected objects stay as they are.
    void Clear() { m_calls.clear(); }
    std::string Dump() const;

    // The notations used in the lines, so tests can build expected lines.
    static std::string Describe(Color color);
    static std::string Describe(const Pen& pen);
    static std::string Describe(const Brush& brush);
    static std::string Describe(const FontDesc& font);
    static std::string Describe(const IntRect& rect);

private:
    void record(std::string line);
    bool recordImage(std::string line, bool drawn);
    std::string penAndBrush() const;

    Pen m_pen;
    Brush m_brush;
    FontDesc m_font;
    Color m_textColor;
    Color m_bkColor;
    BkMode m_bkMode = BkMode::Opaque;
    IntPoint m_origin;
    std::vector<Color> m_sysColors;
    std::vector<std::string> m_calls;
};

}  // namespace fw
