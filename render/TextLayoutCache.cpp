#include "render/TextLayoutCache.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <charconv>
#include <string>

namespace fw {

namespace {

// Only these flags change the layout; the vertical ones only move it.
constexpr unsigned kLayoutFlags =
    TextFormat::Center | TextFormat::Right | TextFormat::WordBreak | TextFormat::SingleLine | TextFormat::EndEllipsis;

// Size used to measure a face's proportions; large enough that hinted metrics
// rounded to whole pixels do not matter.
constexpr int kMeasureSize = 1000;

void appendNumber(std::string& out, long long value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// Into `key`, whose room is reused: a repaint looks up every caption.
void makeKey(std::string& key, std::string_view text, const FontDesc& font, int width, int height, unsigned format)
{
    // Fixed fields first and the text last, so no text can imitate another key.
    key.clear();
    appendNumber(key, static_cast<long long>(font.face.size()));
    key += ':';
    key += font.face;
    for (long long number : {font.height, font.pointSize, font.weight}) {
        key += '|';
        appendNumber(key, number);
    }
    key += font.italic ? "i" : "";
    key += font.underline ? "u" : "";
    for (long long number : {width, height, static_cast<int>(format & kLayoutFlags)}) {
        key += '|';
        appendNumber(key, number);
    }
    key += '|';
    key.append(text.data(), text.size());
}

PangoWeight pangoWeight(int weight)
{
    // 0 is "don't care" for the platform's fonts.
    if (weight <= 0) {
        return PANGO_WEIGHT_NORMAL;
    }
    return static_cast<PangoWeight>(std::clamp(weight, 100, 1000));
}

PangoFontDescription* describeFace(const FontDesc& font)
{
    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, font.face.empty() ? "Sans" : font.face.c_str());
    pango_font_description_set_weight(desc, pangoWeight(font.weight));
    pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    return desc;
}

std::string displayableText(std::string_view text, unsigned format)
{
    std::string out;
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        out.assign(text.data(), text.size());
    } else {
        // Pango refuses invalid UTF-8 with a warning; show replacement marks instead.
        gchar* valid = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
        out = valid;
        g_free(valid);
    }
    if (format & TextFormat::SingleLine) {
        // One line means line breaks are just characters; they must not start a paragraph.
        std::replace(out.begin(), out.end(), '\r', ' ');
        std::replace(out.begin(), out.end(), '\n', ' ');
    }
    return out;
}

}  // namespace

TextLayoutCache::TextLayoutCache(std::size_t capacity) : m_capacity(std::max<std::size_t>(capacity, 1)) {}

TextLayoutCache::~TextLayoutCache()
{
    for (Entry& entry : m_entries) {
        g_object_unref(entry.layout);
    }
    if (m_context) {
        g_object_unref(m_context);
    }
}

PangoContext* TextLayoutCache::context()
{
    if (m_context) {
        return m_context;
    }
    PangoFontMap* fontMap = pango_cairo_font_map_get_default();
    if (!fontMap) {
        return nullptr;
    }
    m_context = pango_font_map_create_context(fontMap);
    // Fixed resolution and rendering options rather than the target surface's,
    // so text measures and looks the same on a window, an image and a PDF.
    pango_cairo_context_set_resolution(m_context, 96.0);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    pango_cairo_context_set_font_options(m_context, options);
    cairo_font_options_destroy(options);
    return m_context;
}

double TextLayoutCache::emPerCellPixel(const FontDesc& font)
{
    const auto key = std::make_tuple(font.face, font.weight, font.italic);
    const auto found = m_emRatios.find(key);
    if (found != m_emRatios.end()) {
        return found->second;
    }
    // Typical sans proportions, used when the face cannot be measured.
    double ratio = 1.0 / 1.15;
    PangoFontDescription* desc = describeFace(font);
    pango_font_description_set_absolute_size(desc, kMeasureSize * PANGO_SCALE);
    if (PangoFont* loaded = pango_context_load_font(context(), desc)) {
        PangoFontMetrics* metrics = pango_font_get_metrics(loaded, nullptr);
        const int cell = pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics);
        if (cell > 0) {
            ratio = static_cast<double>(kMeasureSize) * PANGO_SCALE / cell;
        }
        pango_font_metrics_unref(metrics);
        g_object_unref(loaded);
    }
    pango_font_description_free(desc);
    m_emRatios.emplace(key, ratio);
    return ratio;
}

PangoLayout* TextLayoutCache::Get(std::string_view text, const FontDesc& font, int width, int height, unsigned format)
{
    makeKey(m_key, text, font, width, height, format);
    const auto found = m_index.find(m_key);
    if (found != m_index.end()) {
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        return found->second->layout;
    }
    if (!context()) {
        return nullptr;
    }
    ++m_misses;

    PangoFontDescription* desc = describeFace(font);
    if (font.height < 0) {
        pango_font_description_set_absolute_size(desc, -font.height * static_cast<double>(PANGO_SCALE));
    } else if (font.height > 0) {
        // A positive height is the whole cell, so the em is a little smaller.
        pango_font_description_set_absolute_size(desc, font.height * emPerCellPixel(font) * PANGO_SCALE);
    } else {
        pango_font_description_set_size(desc, std::max(font.pointSize, 1) * PANGO_SCALE);
    }

    PangoLayout* layout = pango_layout_new(m_context);
    pango_layout_set_font_description(layout, desc);
    pango_font_description_free(desc);
    if (font.underline) {
        PangoAttrList* attributes = pango_attr_list_new();
        pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    const std::string shown = displayableText(text, format);
    pango_layout_set_text(layout, shown.c_str(), static_cast<int>(shown.size()));

    if (format & TextFormat::Center) {
        pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
    } else if (format & TextFormat::Right) {
        pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
    }
    if (width >= 0) {
        pango_layout_set_width(layout, width * PANGO_SCALE);
        if (format & TextFormat::WordBreak) {
            pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
        }
        if (format & TextFormat::EndEllipsis) {
            pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
            if (height >= 0) {
                pango_layout_set_height(layout, height * PANGO_SCALE);
            }
        }
    }

    m_entries.push_front({m_key, layout});
    m_index.emplace(m_key, m_entries.begin());
    while (m_entries.size() > m_capacity) {
        Entry& oldest = m_entries.back();
        m_index.erase(oldest.key);
        g_object_unref(oldest.layout);
        m_entries.pop_back();
    }
    return layout;
}

}  // namespace fw
