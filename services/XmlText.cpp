#include "services/XmlText.h"

#include <glib.h>

namespace fw {

// The writer's output must be well-formed UTF-8.
std::string writableXmlText(std::string_view text)
{
    std::string valid;
    if (g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr)) {
        valid.assign(text);
    } else {
        gchar* fixed = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
        valid = fixed;
        g_free(fixed);
    }
    std::string out;
    out.reserve(valid.size());
    for (char c : valid) {
        auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && c != '\t' && c != '\n' && c != '\r')
            continue;
        out.push_back(c);
    }
    return out;
}

}  // namespace fw
