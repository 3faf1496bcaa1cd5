#pragma once
// Text reduced to what an XML file can carry, shared by the reader and the writer.

#include <string>
#include <string_view>

namespace fw {

// Invalid UTF-8 becomes U+FFFD; control characters XML 1.0 cannot carry are dropped.
std::string writableXmlText(std::string_view text);

// Where escaped text goes: an attribute value also escapes quotes and the
// white space a reader would turn into spaces.
enum class XmlEscaping { Attribute, Text };

// Appends writableXmlText(text) to `out` with markup characters escaped.
void appendEscapedXml(std::string& out, std::string_view text, XmlEscaping where);

}  // namespace fw
