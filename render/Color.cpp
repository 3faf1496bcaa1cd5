#include "render/DrawContext.h"
#include "services/Strings.h"

#include <cstddef>

namespace fw {

bool parseColorText(std::string_view text, Color& color, bool* fillable)
{
    // Split at every comma, keeping empty parts: ",," is three parts, "1,2" is not.
    int values[3] = {0, 0, 0};
    int count = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string_view part =
            text.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (count == 3) {
            return false;
        }
        values[count++] = toInt(part);
        if (comma == std::string_view::npos) {
            break;
        }
        start = comma + 1;
    }
    if (count != 3) {
        return false;
    }

    // Only the low byte of each part counts, so 256 reads as 0 and -1 as 255.
    color.r = static_cast<std::uint8_t>(values[0] & 0xFF);
    color.g = static_cast<std::uint8_t>(values[1] & 0xFF);
    color.b = static_cast<std::uint8_t>(values[2] & 0xFF);
    if (fillable) {
        // A negative part means the colour is not meant for filling.
        *fillable = values[0] >= 0 && values[1] >= 0 && values[2] >= 0;
    }
    return true;
}

bool isColorText(std::string_view text)
{
    Color unused;
    return parseColorText(text, unused);
}

}  // namespace fw
