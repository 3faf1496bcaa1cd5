#pragma once
// Laid-out text kept between repaints: laying out is the expensive part of
// drawing text, and a form repaints the same captions over and over.

#include "render/DrawContext.h"

#include <cstddef>
#include <list>
#include <map>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>

typedef struct _PangoContext PangoContext;
typedef struct _PangoLayout PangoLayout;

namespace fw {

class TextLayoutCache {
public:
    explicit TextLayoutCache(std::size_t capacity = 4096);
    ~TextLayoutCache();
    TextLayoutCache(const TextLayoutCache&) = delete;
    TextLayoutCache& operator=(const TextLayoutCache&) = delete;

    // The text laid out in `font` (face and size already resolved). `width`
    // wraps or ellipsizes at that many pixels, -1 for none; `height` limits
    // wrapped, ellipsized text to that many pixels, -1 for none. `format` takes
    // the TextFormat flags that change the layout itself. The cache owns the
    // answer; take a reference to keep it past the next call. Null only when
    // pango cannot be set up.
    PangoLayout* Get(std::string_view text, const FontDesc& font, int width, int height, unsigned format);

    std::size_t Misses() const { return m_misses; }
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        std::string key;
        PangoLayout* layout;
    };

    PangoContext* context();
    // Em size per pixel of cell height (ascent + descent) for a face.
    double emPerCellPixel(const FontDesc& font);

    std::size_t m_capacity;
    std::size_t m_misses = 0;
    PangoContext* m_context = nullptr;
    std::list<Entry> m_entries;  // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
    std::map<std::tuple<std::string, int, bool>, double> m_emRatios;
    std::string m_key;  // of the last lookup
};

}  // namespace fw
