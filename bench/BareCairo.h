#pragma once
// The floors the drawing benchmarks compare with: every element's rectangle
// filled and outlined straight on cairo, and the texts a painting draws shown
// from layouts made beforehand, without any of our drawing layers.

#include "model/DiagramEntityContainer.h"
#include "render/CairoDrawContext.h"

#include <cairo/cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace fw::bench {

inline void DrawBareRectangles(cairo_t* cr, const CDiagramEntityContainer& form)
{
    for (int i = 0; i < form.GetCount(); ++i) {
        IntRect r = form.GetAt(i)->GetRect();
        cairo_rectangle(cr, r.left + 0.5, r.top + 0.5, r.Width() - 1, r.Height() - 1);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_stroke(cr);
    }
}

// One text a painting drew: where, in which font and how it was laid out.
struct DrawnText {
    std::string text;
    IntRect rect;
    FontDesc font;
    unsigned format = 0;
};

// A context that draws shapes as usual but keeps the texts instead of drawing them.
class TextCollector : public CairoDrawContext {
public:
    explicit TextCollector(cairo_t* cr) : CairoDrawContext(cr) {}
    FontDesc SelectFont(const FontDesc& font) override
    {
        m_font = font;
        return CairoDrawContext::SelectFont(font);
    }
    void DrawText(std::string_view text, const IntRect& rect, unsigned format) override
    {
        FontDesc font = m_font;
        if (font.height == 0 && font.pointSize <= 0)
            font.pointSize = 8;
        texts.push_back({std::string(text), rect, font, format});
    }
    std::vector<DrawnText> texts;

private:
    FontDesc m_font = GetDefaultGuiFont();
};

// A text laid out once, shown at its rectangle's corner.
struct BareText {
    PangoLayout* layout;
    double x;
    double y;
};

// Layouts of `texts` in their faces and sizes, wrapped or cut at their
// rectangle's width where they were; the caller unrefs them.
inline std::vector<BareText> LayOutTexts(cairo_t* cr, const std::vector<DrawnText>& texts)
{
    std::vector<BareText> laidOut;
    for (const DrawnText& t : texts) {
        PangoLayout* layout = pango_cairo_create_layout(cr);
        PangoFontDescription* desc = pango_font_description_new();
        pango_font_description_set_family(desc, t.font.face.empty() ? "Sans" : t.font.face.c_str());
        pango_font_description_set_weight(desc, t.font.weight >= 700 ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_font_description_set_style(desc, t.font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
        if (t.font.height != 0)
            pango_font_description_set_absolute_size(desc, std::abs(t.font.height) * 0.87 * PANGO_SCALE);
        else
            pango_font_description_set_size(desc, t.font.pointSize * PANGO_SCALE);
        pango_layout_set_font_description(layout, desc);
        pango_font_description_free(desc);
        pango_layout_set_text(layout, t.text.c_str(), static_cast<int>(t.text.size()));
        if (t.format & (TextFormat::WordBreak | TextFormat::EndEllipsis))
            pango_layout_set_width(layout, std::max(0, t.rect.Width()) * PANGO_SCALE);
        if (t.format & TextFormat::WordBreak)
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
        if (t.format & TextFormat::EndEllipsis)
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        laidOut.push_back({layout, double(t.rect.left), double(t.rect.top)});
    }
    return laidOut;
}

// Clears the surface, then draws every element's rectangle and every text.
inline void DrawBareForm(cairo_t* cr, const CDiagramEntityContainer& form, const std::vector<BareText>& texts)
{
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    DrawBareRectangles(cr, form);
    cairo_set_source_rgb(cr, 0, 0, 0);
    for (const BareText& t : texts) {
        cairo_move_to(cr, t.x, t.y);
        pango_cairo_show_layout(cr, t.layout);
    }
}

}  // namespace fw::bench
