#pragma once
// Text reduced to what an XML file can carry, shared by the reader and the writer.

#include <string>
#include <string_view>

namespace fw {

// Invalid UTF-8 becomes U+FFFD; control characters XML 1.0 cannot carry are dropped.
std::string writableXmlText(std::string_view text);

}  // namespace fw
