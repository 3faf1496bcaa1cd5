#include "render/RecordingDrawContext.h"
#include "render/SystemColors.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace fw {

namespace {

std::string describePoint(IntPoint point)
{
    return std::to_string(point.x) + "," + std::to_string(point.y);
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string hex(unsigned value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%x", value);
    return buffer;
}

int codePoints(std::string_view text)
{
    int count = 0;
    for (const char c : text) {
        // Continuation bytes (10xxxxxx) belong to the code point before them.
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++count;
        }
    }
    return count;
}

}  // namespace

RecordingDrawContext::RecordingDrawContext()
    : m_pen(Pen::StockBlack()), m_brush(Brush::StockWhite()),
      m_font(GetDefaultGuiFont()), m_textColor{0, 0, 0}, m_bkColor{255, 255, 255}
{
    m_sysColors.reserve(kSysColorCount);
    for (int i = 0; i < kSysColorCount; ++i) {
        m_sysColors.push_back(ClassicSysColor(static_cast<SysColor>(i)));
    }
}

std::string RecordingDrawContext::Describe(Color color)
{
    return std::to_string(color.r) + "," + std::to_string(color.g) + "," + std::to_string(color.b);
}

std::string RecordingDrawContext::Describe(const Pen& pen)
{
    const char* style = "solid";
    switch (pen.style) {
    case PenStyle::Solid:
        break;
    case PenStyle::Dash:
        style = "dash";
        break;
    case PenStyle::Dot:
        style = "dot";
        break;
    case PenStyle::Null:
        return "null";
    }
    return std::string(style) + "/" + std::to_string(pen.width) + "/" + Describe(pen.color);
}

std::string RecordingDrawContext::Describe(const Brush& brush)
{
    return brush.style == BrushStyle::Hollow ? "hollow" : "solid/" + Describe(brush.color);
}

std::string RecordingDrawContext::Describe(const FontDesc& font)
{
    std::string out = font.face + "/";
    out += font.height != 0 ? std::to_string(font.height) : std::to_string(font.pointSize) + "pt";
    out += "/" + std::to_string(font.weight);
    if (font.italic) {
        out += "/italic";
    }
    if (font.underline) {
        out += "/underline";
    }
    return out;
}

std::string RecordingDrawContext::Describe(const IntRect& rect)
{
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom);
}

void RecordingDrawContext::record(std::string line)
{
    m_calls.push_back(std::move(line));
}

bool RecordingDrawContext::recordImage(std::string line, bool drawn)
{
    if (!drawn) {
        line += " failed";
    }
    record(std::move(line));
    return drawn;
}

std::string RecordingDrawContext::penAndBrush() const
{
    return " pen=" + Describe(m_pen) + " brush=" + Describe(m_brush);
}

Pen RecordingDrawContext::SelectPen(const Pen& pen)
{
    record("SelectPen " + Describe(pen));
    Pen previous = m_pen;
    m_pen = pen;
    return previous;
}

Brush RecordingDrawContext::SelectBrush(const Brush& brush)
{
    record("SelectBrush " + Describe(brush));
    Brush previous = m_brush;
    m_brush = brush;
    return previous;
}

FontDesc RecordingDrawContext::SelectFont(const FontDesc& font)
{
    record("SelectFont " + Describe(font));
    FontDesc previous = m_font;
    m_font = font;
    return previous;
}

Color RecordingDrawContext::SetTextColor(Color color)
{
    record("SetTextColor " + Describe(color));
    const Color previous = m_textColor;
    m_textColor = color;
    return previous;
}

Color RecordingDrawContext::SetBkColor(Color color)
{
    record("SetBkColor " + Describe(color));
    const Color previous = m_bkColor;
    m_bkColor = color;
    return previous;
}

BkMode RecordingDrawContext::SetBkMode(BkMode mode)
{
    record(std::string("SetBkMode ") + (mode == BkMode::Transparent ? "transparent" : "opaque"));
    const BkMode previous = m_bkMode;
    m_bkMode = mode;
    return previous;
}

Color RecordingDrawContext::GetSysColor(SysColor which) const
{
    const int index = static_cast<int>(which);
    return index >= 0 && index < kSysColorCount ? m_sysColors[index] : Color{};
}

void RecordingDrawContext::OverrideSysColor(SysColor which, Color color)
{
    const int index = static_cast<int>(which);
    if (index >= 0 && index < kSysColorCount) {
        m_sysColors[index] = color;
    }
}

FontDesc RecordingDrawContext::GetDefaultGuiFont() const
{
    FontDesc font;
    font.face = "Sans";
    font.pointSize = 8;
    return font;
}

FontDesc RecordingDrawContext::GetVariableFont() const
{
    FontDesc font;
    font.face = "Sans";
    font.pointSize = 10;
    return font;
}

void RecordingDrawContext::Rectangle(const IntRect& rect)
{
    record("Rectangle " + Describe(rect) + penAndBrush());
}

void RecordingDrawContext::RoundRect(const IntRect& rect, int ellipseWidth, int ellipseHeight)
{
    record("RoundRect " + Describe(rect) + " " + std::to_string(ellipseWidth) + "x" + std::to_string(ellipseHeight) +
           penAndBrush());
}

void RecordingDrawContext::Ellipse(const IntRect& rect)
{
    record("Ellipse " + Describe(rect) + penAndBrush());
}

void RecordingDrawContext::MoveTo(IntPoint point)
{
    record("MoveTo " + describePoint(point));
}

void RecordingDrawContext::LineTo(IntPoint point)
{
    record("LineTo " + describePoint(point) + " pen=" + Describe(m_pen));
}

void RecordingDrawContext::Polyline(const std::vector<IntPoint>& points)
{
    std::string line = "Polyline";
    for (const IntPoint& point : points) {
        line += " " + describePoint(point);
    }
    record(line + " pen=" + Describe(m_pen));
}

void RecordingDrawContext::FillRect(const IntRect& rect, const Brush& brush)
{
    record("FillRect " + Describe(rect) + " brush=" + Describe(brush));
}

void RecordingDrawContext::FillSolidRect(const IntRect& rect, Color color)
{
    record("FillSolidRect " + Describe(rect) + " color=" + Describe(color));
}

IntPoint RecordingDrawContext::SetOrigin(IntPoint origin)
{
    record("SetOrigin " + std::to_string(origin.x) + "," + std::to_string(origin.y));
    const IntPoint previous = m_origin;
    m_origin = origin;
    return previous;
}

void RecordingDrawContext::DrawFocusRect(const IntRect& rect)
{
    record("FocusRect " + Describe(rect));
}

void RecordingDrawContext::DrawText(std::string_view text, const IntRect& rect, unsigned format)
{
    const std::string bk = m_bkMode == BkMode::Transparent ? "transparent" : "opaque/" + Describe(m_bkColor);
    record("DrawText " + quoted(text) + " " + Describe(rect) + " fmt=" + hex(format) + " font=" + Describe(m_font) +
           " color=" + Describe(m_textColor) + " bk=" + bk);
}

IntSize RecordingDrawContext::GetTextExtent(std::string_view text)
{
    const int height = m_font.height != 0 ? std::abs(m_font.height) : 13;
    return {7 * codePoints(text), height};
}

bool RecordingDrawContext::DrawImageFile(const std::string& path, const IntRect& dest)
{
    return recordImage("Image " + path + " " + Describe(dest), !path.empty());
}

bool RecordingDrawContext::DrawImageData(const std::vector<std::uint8_t>& data, const IntRect& dest)
{
    return recordImage("ImageData " + std::to_string(data.size()) + " bytes " + Describe(dest), !data.empty());
}

bool RecordingDrawContext::DrawTransparentImageData(const std::vector<std::uint8_t>& data, const IntRect& dest,
                                                    Color transparent)
{
    return recordImage("TransparentImageData " + std::to_string(data.size()) + " bytes " + Describe(dest) +
                           " key=" + Describe(transparent),
                       !data.empty());
}

std::vector<std::string> RecordingDrawContext::CallsStartingWith(std::string_view prefix) const
{
    std::vector<std::string> found;
    for (const std::string& line : m_calls) {
        if (std::string_view(line).substr(0, prefix.size()) == prefix) {
            found.push_back(line);
        }
    }
    return found;
}

std::string RecordingDrawContext::Dump() const
{
    std::string out;
    for (std::size_t i = 0; i < m_calls.size(); ++i) {
        if (i > 0) {
            out += '\n';
        }
        out += m_calls[i];
    }
    return out;
}

}  // namespace fw
