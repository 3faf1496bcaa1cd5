#include "render/ImageSize.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

namespace fw {

namespace {

// Notes the dimensions and stops the decoder before it holds any pixels.
void onSizePrepared(GdkPixbufLoader* loader, int width, int height, gpointer data)
{
    *static_cast<IntSize*>(data) = {width, height};
    gdk_pixbuf_loader_set_size(loader, 0, 0);
}

}  // namespace

IntSize ImageDataSize(const std::vector<std::uint8_t>& data)
{
    if (data.empty())
        return {0, 0};
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    IntSize size{0, 0};
    g_signal_connect(loader, "size-prepared", G_CALLBACK(onSizePrepared), &size);
    GError* error = nullptr;
    // Stopped on purpose, the decoder reports an error: the size is what counts.
    gdk_pixbuf_loader_write(loader, data.data(), data.size(), &error);
    g_clear_error(&error);
    // Closing is needed even after a failed write.
    gdk_pixbuf_loader_close(loader, &error);
    g_clear_error(&error);
    g_object_unref(loader);
    if (size.cx <= 0 || size.cy <= 0)
        return {0, 0};
    return size;
}

}  // namespace fw
