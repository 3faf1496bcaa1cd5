#pragma once
// Decoded images kept between repaints, as surfaces ready to draw. Files are
// known by path, modification time and size, so an edited file is decoded
// again; bytes by a hash of their content.

#include "render/DrawContext.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace fw {

class ImageCache {
public:
    explicit ImageCache(std::size_t byteBudget = 64u << 20);
    ~ImageCache();
    ImageCache(const ImageCache&) = delete;
    ImageCache& operator=(const ImageCache&) = delete;

    // An ARGB32 surface owned by the cache (reference it to keep it past the
    // next call), or null when the image cannot be read or decoded. Failures
    // are remembered too, so a broken image is not decoded on every repaint.
    cairo_surface_t* FromFile(const std::string& path);
    // With `key`, pixels of exactly that colour come out fully transparent.
    cairo_surface_t* FromData(const std::vector<std::uint8_t>& data, const Color* key = nullptr);

    // Decoding attempts so far, successful or not.
    std::size_t Decodes() const { return m_decodes; }
    std::size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        std::string key;
        cairo_surface_t* surface;  // null for an undecodable image
        std::size_t bytes;
    };

    cairo_surface_t* lookup(const std::string& key);
    cairo_surface_t* remember(std::string key, cairo_surface_t* surface);

    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::size_t m_decodes = 0;
    std::list<Entry> m_entries;  // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
};

}  // namespace fw
