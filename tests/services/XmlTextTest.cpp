#include "services/XmlText.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fw;

namespace {

// The escaping as it was before it learnt to skip the copies: the text made
// writable first, then escaped character by character.
std::string CopyingEscape(std::string_view text, XmlEscaping where)
{
    const bool attribute = where == XmlEscaping::Attribute;
    std::string out;
    for (char c : writableXmlText(text)) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"' && attribute)
            out += "&quot;";
        else if (c == '\t' && attribute)
            out += "&#9;";
        else if (c == '\n' && attribute)
            out += "&#10;";
        else if (c == '\r')
            out += "&#13;";
        else
            out.push_back(c);
    }
    return out;
}

TEST(XmlText, EscapesLikeTheCopyingWayOnEveryPairOfTrickyPieces)
{
    const std::vector<std::string> pieces = {
        "",
        "plain",
        "&<>\"'",
        "\t\n\r\r\n",
        "\x01\x1f\x7f",
        std::string("a\0b", 3),
        "Gr\xC3\xB6\xC3\x9F"
        "e \xE2\x82\xAC",
        "\xF0\x9F\x98\x80",  // above U+FFFF
        "\xEF\xBF\xBE",      // a noncharacter
        "\xFF",              // never UTF-8
        "\xC3",              // cut short
        "\xE2\x82",          // cut short
        "\xC0\xAF",          // overlong
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // past U+10FFFF
        "\x80 continuation",
    };
    for (XmlEscaping where : {XmlEscaping::Attribute, XmlEscaping::Text})
        for (const std::string& first : pieces)
            for (const std::string& second : pieces) {
                const std::string text = first + second;
                std::string out = "kept<";
                appendEscapedXml(out, text, where);
                EXPECT_EQ(out, "kept<" + CopyingEscape(text, where))
                    << "text \"" << text << "\" as " << (where == XmlEscaping::Attribute ? "attribute" : "text");
            }
}

}  // namespace
