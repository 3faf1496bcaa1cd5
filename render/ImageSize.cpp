#include "render/ImageSize.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace fw {

IntSize ImageDataSize(const std::vector<std::uint8_t>& data)
{
    if (data.empty())
        return {0, 0};
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GError* error = nullptr;
    const bool written = gdk_pixbuf_loader_write(loader, data.data(), data.size(), &error);
    g_clear_error(&error);
    // Closing is needed even after a failed write.
    const bool closed = gdk_pixbuf_loader_close(loader, &error);
    g_clear_error(&error);
    IntSize size{0, 0};
    if (written && closed) {
        if (const GdkPixbuf* pixbuf = gdk_pixbuf_loader_get_pixbuf(loader))
            size = {gdk_pixbuf_get_width(pixbuf), gdk_pixbuf_get_height(pixbuf)};
    }
    g_object_unref(loader);
    return size;
}

}  // namespace fw
