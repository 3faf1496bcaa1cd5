#include "render/DrawCaches.h"

namespace fw {

std::shared_ptr<DrawCaches> DrawCaches::Shared()
{
    static const std::shared_ptr<DrawCaches> caches = std::make_shared<DrawCaches>();
    return caches;
}

}  // namespace fw
