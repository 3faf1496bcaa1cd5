#include "render/ImageCache.h"
#include "render/ImageSize.h"

#include <cairo.h>
#include <gdk-pixbuf/gdk-pixbuf.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

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

// The size an image of `source` pixels is decoded to when drawn at `drawn`:
// never larger than either, nor than MaxDecodedPixels.
IntSize decodeSize(IntSize source, IntSize drawn, bool keepsOwnSize)
{
    IntSize size = source;
    if (!keepsOwnSize) {
        size = {std::clamp(drawn.cx, 1, source.cx), std::clamp(drawn.cy, 1, source.cy)};
    }
    const double pixels = static_cast<double>(size.cx) * size.cy;
    if (pixels > ImageCache::MaxDecodedPixels) {
        const double shrink = std::sqrt(ImageCache::MaxDecodedPixels / pixels);
        size = {std::max(1, static_cast<int>(size.cx * shrink)), std::max(1, static_cast<int>(size.cy * shrink))};
    }
    return size;
}

// The pixels the decoder holds while decoding `source` to `size`. Only the
// JPEG decoder shrinks while it decodes, by a power of two up to 8, keeping
// at least the asked size; the others decode the whole image first.
std::int64_t pixelsWhileDecoding(GdkPixbufLoader* loader, IntSize source, IntSize size)
{
    GdkPixbufFormat* format = gdk_pixbuf_loader_get_format(loader);
    gchar* name = format ? gdk_pixbuf_format_get_name(format) : nullptr;
    const bool jpeg = name && std::strcmp(name, "jpeg") == 0;
    g_free(name);
    auto scaled = [](int side, int denominator) {
        return (static_cast<std::int64_t>(side) + denominator - 1) / denominator;
    };
    int denominator = 1;
    while (jpeg && denominator < 8 && scaled(source.cx, denominator * 2) >= size.cx &&
           scaled(source.cy, denominator * 2) >= size.cy) {
        denominator *= 2;
    }
    return scaled(source.cx, denominator) * scaled(source.cy, denominator);
}

struct DecodeRequest {
    IntSize drawn;
    bool keepsOwnSize = false;
    bool refused = false;
};

// Called once the decoder knows the image's dimensions, before it holds any
// of its pixels: chooses the size to decode to, or stops the decoding.
void onSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer data)
{
    auto* request = static_cast<DecodeRequest*>(data);
    const IntSize source{width, height};
    if (width <= 0 || height <= 0) {
        request->refused = true;
        return;
    }
    const IntSize size = decodeSize(source, request->drawn, request->keepsOwnSize);
    if (pixelsWhileDecoding(loader, source, size) > ImageCache::MaxDecodedPixels) {
        request->refused = true;
        // A zero size tells the decoder to stop before it holds any pixels.
        gdk_pixbuf_loader_set_size(loader, 0, 0);
    } else if (size != source) {
        gdk_pixbuf_loader_set_size(loader, size.cx, size.cy);
    }
}

cairo_surface_t* decodeBytes(const std::uint8_t* data, std::size_t length, IntSize drawn, const Color* key)
{
    if (length == 0) {
        return nullptr;
    }
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    DecodeRequest request{drawn, key != nullptr};
    g_signal_connect(loader, "size-prepared", G_CALLBACK(onSizePrepared), &request);
    GError* error = nullptr;
    cairo_surface_t* surface = nullptr;
    const bool written = gdk_pixbuf_loader_write(loader, data, length, &error);
    g_clear_error(&error);
    // Closing is needed even after a failed write; it reports the first error again.
    const bool closed = gdk_pixbuf_loader_close(loader, &error);
    g_clear_error(&error);
    if (written && closed && !request.refused) {
        if (const GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader)) {
            surface = surfaceFromPixbuf(pixbuf, key);
        }
    }
    g_object_unref(loader);
    return surface;
}

std::string sizeKey(IntSize size)
{
    return ":" + std::to_string(size.cx) + "x" + std::to_string(size.cy);
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

IntSize ImageCache::sourceSize(const std::string& content, const std::function<IntSize()>& readHeader)
{
    const auto known = m_sourceSizes.find(content);
    if (known != m_sourceSizes.end()) {
        return known->second;
    }
    // A few bytes an image; forgotten wholesale once they add up.
    if (m_sourceSizes.size() >= 4096) {
        m_sourceSizes.clear();
    }
    const IntSize size = readHeader();
    m_sourceSizes.emplace(content, size);
    return size;
}

cairo_surface_t* ImageCache::decoded(const std::string& content, IntSize source, IntSize drawn, const Color* key,
                                     const std::function<cairo_surface_t*(IntSize)>& decode)
{
    // Drawn at any size it reaches in full, an image is one entry.
    const bool readable = source.cx > 0 && source.cy > 0;
    const IntSize size = readable ? decodeSize(source, drawn, key != nullptr) : IntSize{};
    std::string cacheKey = content + sizeKey(size);
    if (m_index.count(cacheKey)) {
        return lookup(cacheKey);
    }
    ++m_decodes;
    return remember(std::move(cacheKey), readable ? decode(size) : nullptr);
}

cairo_surface_t* ImageCache::FromFile(const std::string& path, IntSize drawn)
{
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return nullptr;
    }
    const std::string content = "file:" + std::to_string(info.st_mtim.tv_sec) + "." +
                                std::to_string(info.st_mtim.tv_nsec) + ":" + std::to_string(info.st_size) + ":" + path;
    const IntSize source = sourceSize(content, [&path] {
        IntSize size;
        return gdk_pixbuf_get_file_info(path.c_str(), &size.cx, &size.cy) ? size : IntSize{};
    });
    return decoded(content, source, drawn, nullptr, [&](IntSize size) -> cairo_surface_t* {
        gchar* contents = nullptr;
        gsize length = 0;
        if (!g_file_get_contents(path.c_str(), &contents, &length, nullptr)) {
            return nullptr;
        }
        cairo_surface_t* surface = decodeBytes(reinterpret_cast<const std::uint8_t*>(contents), length, size, nullptr);
        g_free(contents);
        return surface;
    });
}

cairo_surface_t* ImageCache::FromData(const std::vector<std::uint8_t>& data, IntSize drawn, const Color* key)
{
    if (data.empty()) {
        return nullptr;
    }
    std::string content = "data:" + std::to_string(data.size()) + ":" + std::to_string(contentHash(data));
    if (key) {
        content += ":key=" + std::to_string(key->r) + "," + std::to_string(key->g) + "," + std::to_string(key->b);
    }
    const IntSize source = sourceSize(content, [&data] { return ImageDataSize(data); });
    return decoded(content, source, drawn, key,
                   [&](IntSize size) { return decodeBytes(data.data(), data.size(), size, key); });
}

}  // namespace fw
