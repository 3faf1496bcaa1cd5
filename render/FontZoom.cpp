#include "render/FontZoom.h"

#include <algorithm>
#include <cmath>

namespace fw {

namespace {

// Far beyond any readable size, and safe to negate.
constexpr double LargestPixels = 1 << 20;

int ZoomedPixels(double pixels, double zoom)
{
    const double zoomed = std::floor(pixels * zoom + 0.5);
    // NaN and zero alike become the smallest size.
    return zoomed >= 1 ? static_cast<int>(std::min(zoomed, LargestPixels)) : 1;
}

}  // namespace

FontDesc ZoomFont(FontDesc font, double zoom)
{
    if (zoom == 1.0)
        return font;
    if (font.height > 0) {
        font.height = ZoomedPixels(font.height, zoom);
    } else if (font.height < 0) {
        font.height = -ZoomedPixels(-static_cast<double>(font.height), zoom);
    } else if (font.pointSize > 0) {
        font.height = -ZoomedPixels(font.pointSize * 96.0 / 72.0, zoom);
        font.pointSize = 0;
    }
    return font;
}

}  // namespace fw
