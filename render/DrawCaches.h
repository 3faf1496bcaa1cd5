#pragma once
// What the cairo backend keeps from one repaint to the next. The window makes
// a new draw context for every paint, so the caches live apart from it and are
// shared; all users must be on one thread (the GUI thread, or the tool's).

#include "render/ImageCache.h"
#include "render/TextLayoutCache.h"

#include <memory>

namespace fw {

struct DrawCaches {
    TextLayoutCache text;
    ImageCache images;

    // The caches of this process, used by draw contexts not given their own.
    static std::shared_ptr<DrawCaches> Shared();
};

}  // namespace fw
