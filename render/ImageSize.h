#pragma once
// The pixel size of an encoded image (bmp, ico, jpg, png, gif, tif), for
// callers that draw a bitmap in its own size rather than stretched.

#include "services/Geometry.h"

#include <cstdint>
#include <vector>

namespace fw {

// Read from the header, without decoding a pixel; 0 x 0 when the bytes are
// no image this program can read.
IntSize ImageDataSize(const std::vector<std::uint8_t>& data);

}  // namespace fw
