#include "services/XmlText.h"
#include "services/Strings.h"
#include "services/Xml.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
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

TEST(XmlText, NumbersAreWrittenAsPrintfWritesThemAndOnlyIntoAnOpenStartTag)
{
    XmlWriter numbers;
    XmlWriter formatted;
    numbers.writeStartElement("E");
    formatted.writeStartElement("E");
    for (int value : {INT_MIN, -1, 0, 7, INT_MAX}) {
        numbers.writeAttributeInt("n", value);
        numbers.writeAttributePair("p", value, INT_MIN);
        numbers.writeAttributePair("q", INT_MAX, value);
        formatted.writeAttributeString("n", format("%i", value));
        formatted.writeAttributeString("p", format("%i,%i", value, INT_MIN));
        formatted.writeAttributeString("q", format("%i,%i", INT_MAX, value));
    }
    for (double value : {0.0, -0.0, 1.0, -3.0, 2.5, 0.25, 0.05, 123456789.0, 1e15, -1e300, HUGE_VAL, double(NAN)}) {
        numbers.writeAttributeReal("r", value);
        formatted.writeAttributeString("r", format("%.1f", value));
    }
    numbers.writeString("t");
    formatted.writeString("t");
    numbers.writeAttributeInt("late", 1);
    numbers.writeAttributePair("late", 1, 2);
    EXPECT_EQ(numbers.text(), formatted.text());
}

TEST(XmlText, AttributeNamesOfAnyLengthAreWrittenWhole)
{
    const std::string longest(64, 'm');
    const std::string longer(65, 'n');
    XmlWriter w;
    w.writeStartElement("E");
    w.writeAttributeString(longest, "v");
    w.writeAttributeInt(longer, 1);
    EXPECT_EQ(w.text(), "<E " + longest + "=\"v\" " + longer + "=\"1\"");
}

}  // namespace
