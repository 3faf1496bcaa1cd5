#pragma once
// Decoded images kept between repaints, as surfaces ready to draw. Files are
// known by path, modification time and size, so an edited file is decoded
// again; bytes by a hash of their content. An image is decoded no larger than
// it is drawn and never past MaxDecodedPixels, so each size drawn is kept on
// its own; its dimensions are read before any pixel is.

#include "render/DrawContext.h"

#include <cstddef>
#include <cstdint>
#include <functional>
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

    // The most pixels an image is decoded to. A picture that could not be
    // decoded within it (a larger one that its decoder cannot shrink while
    // decoding) is not decoded at all.
    static constexpr std::int64_t MaxDecodedPixels = 16 << 20;

    // An ARGB32 surface owned by the cache (reference it to keep it past the
    // next call) of the image at most `drawn` large, or null when the image
    // cannot be read or decoded. Failures are remembered too, so a broken
    // image is not decoded on every repaint.
    cairo_surface_t* FromFile(const std::string& path, IntSize drawn);
    // With `key`, pixels of exactly that colour come out fully transparent;
    // such an image keeps its own size, since shrinking would blend the key.
    cairo_surface_t* FromData(const std::vector<std::uint8_t>& data, IntSize drawn, const Color* key = nullptr);

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
    // The image's own size, from its header the first time it is asked for.
    IntSize sourceSize(const std::string& content, const std::function<IntSize()>& readHeader);
    // The surface of the image `content` decoded for `drawn`, by `decode` at
    // the size it is given unless it is kept already.
    cairo_surface_t* decoded(const std::string& content, IntSize source, IntSize drawn, const Color* key,
                             const std::function<cairo_surface_t*(IntSize)>& decode);

    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::size_t m_decodes = 0;
    std::list<Entry> m_entries;  // most recently used first
    std::unordered_map<std::string, std::list<Entry>::iterator> m_index;
    std::unordered_map<std::string, IntSize> m_sourceSizes;
};

}  // namespace fw
