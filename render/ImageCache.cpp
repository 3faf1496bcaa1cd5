#include "render/ImageCache.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

namespace fw {

namespace {

// Bookkeeping cost of a remembered failure, so failures cannot pile up forever.
constexpr std::size_t kFailureBytes = 64;

std::uint64_t contentHash(const std::vector<std::uint8_t>& data)
{
    // FNV-1a, 64 bit.
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : data) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

std::uint8_t premultiply(std::uint8_t channel, std::uint8_t alpha)
{
    return static_cast<std::uint8_t>((channel * alpha + 127) / 255);
}

// Cairo wants premultiplied native-endian ARGB; gdk-pixbuf gives RGB(A) bytes.
cairo_surface_t* surfaceFromPixbuf(const GdkPixbuf* pixbuf, const Color* key)
{
    if (gdk_pixbuf_get_colorspace(pixbuf) != GDK_COLORSPACE_RGB || gdk_pixbuf_get_bits_per_sample(pixbuf) != 8) {
        return nullptr;
    }
    const int width = gdk_pixbuf_get_width(pixbuf);
    const int height = gdk_pixbuf_get_height(pixbuf);
    const int channels = gdk_pixbuf_get_n_channels(pixbuf);
    const bool hasAlpha = gdk_pixbuf_get_has_alpha(pixbuf);
    if (width <= 0 || height <= 0 || channels < (hasAlpha ? 4 : 3)) {
        return nullptr;
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    const guint8* source = gdk_pixbuf_read_pixels(pixbuf);
    const int sourceStride = gdk_pixbuf_get_rowstride(pixbuf);
    unsigned char* target = cairo_image_surface_get_data(surface);
    const int targetStride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        const guint8* in = source + static_cast<std::ptrdiff_t>(y) * sourceStride;
        auto* out = reinterpret_cast<std::uint32_t*>(target + static_cast<std::ptrdiff_t>(y) * targetStride);
        for (int x = 0; x < width; ++x, in += channels) {
            std::uint8_t alpha = hasAlpha ? in[3] : 255;
            if (key && in[0] == key->r && in[1] == key->g && in[2] == key->b) {
                alpha = 0;
            }
            out[x] = static_cast<std::uint32_t>(alpha) << 24 |
                     static_cast<std::uint32_t>(premultiply(in[0], alpha)) << 16 |
                     static_cast<std::uint32_t>(premultiply(in[1], alpha)) << 8 | premultiply(in[2], alpha);
        }
    }
    cairo_surface_mark_dirty(surface);
    return surface;
}

cairo_surface_t* decodeBytes(const std::vector<std::uint8_t>& data, const Color* key)
{
    if (data.empty()) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GError* error = nullptr;
    cairo_surface_t* surface = nullptr;
    const bool written = gdk_pixbuf_loader_write(loader, data.data(), data.size(), &error);
    g_clear_error(&error);
    // Closing is needed even after a failed write; it reports the first error again.
    const bool closed = gdk_pixbuf_loader_close(loader, &error);
    g_clear_error(&error);
    if (written && closed) {
        if (const GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)) {
            surface = surfaceFromPixbuf(pixbuf, key);
        }
    }
    g_object_unref(loader);
    return surface;
}

}  // namespace

ImageCache::ImageCache(std::size_t byteBudget) : m_budget(byteBudget) {}

ImageCache::~ImageCache()
{
    for (Entry& entry : m_entries) {
        if (entry.surface) {
            cairo_surface_destroy(entry.surface);
        }
    }
}

cairo_surface_t* ImageCache::lookup(const std::string& key)
{
    const auto found = m_index.find(key);
    if (found == m_index.end()) {
        return nullptr;
    }
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    return found->second->surface;
}

cairo_surface_t* ImageCache::remember(std::string key, cairo_surface_t* surface)
{
    std::size_t bytes = kFailureBytes;
    if (surface) {
        bytes += static_cast<std::size_t>(cairo_image_surface_get_stride(surface)) *
                 static_cast<std::size_t>(cairo_image_surface_get_height(surface));
    }
    m_entries.push_front({key, surface, bytes});
    m_index.emplace(std::move(key), m_entries.begin());
    m_bytes += bytes;
    // The newest entry stays even when it alone is over budget: it is about to be drawn.
    while (m_bytes > m_budget && m_entries.size() > 1) {
        Entry& oldest = m_entries.back();
        m_bytes -= oldest.bytes;
        if (oldest.surface) {
            cairo_surface_destroy(oldest.surface);
        }
        m_index.erase(oldest.key);
        m_entries.pop_back();
    }
    return surface;
}

cairo_surface_t* ImageCache::FromFile(const std::string& path)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    std::string key = "file:" + std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec) + ":" +
                      std::to_string(info.st_size) + ":" + path;
    if (m_index.count(key)) {
        return lookup(key);
    }
    ++m_decodes;
    cairo_surface_t* surface = nullptr;
    GError* error = nullptr;
    if (GdkPixbuf* pixbuf = gdk_pixbuf_new_from_file(path.c_str(), &error)) {
        surface = surfaceFromPixbuf(pixbuf, nullptr);
        g_object_unref(pixbuf);
    }
    g_clear_error(&error);
    return remember(std::move(key), surface);
}

cairo_surface_t* ImageCache::FromData(const std::vector<std::uint8_t>& data, const Color* key)
{
    if (data.empty()) {
        return nullptr;
    }
    std::string cacheKey = "data:" + std::to_string(data.size()) + ":" + std::to_string(contentHash(data));
    if (key) {
        cacheKey += ":key=" + std::to_string(key->r) + "," + std::to_string(key->g) + "," + std::to_string(key->b);
    }
    if (m_index.count(cacheKey)) {
        return lookup(cacheKey);
    }
    ++m_decodes;
    return remember(std::move(cacheKey), decodeBytes(data, key));
}

}  // namespace fw
