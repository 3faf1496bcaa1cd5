#include "services/XmlText.h"

#include <glib.h>

#include <array>

namespace fw {

namespace {

// What the escaper does with a byte.
enum class ByteRule : unsigned char {
    Copy,
    Replace,  // a reference, or nothing for a control character
    Check,    // NUL or past ASCII: the text must be checked as UTF-8 first
};

constexpr std::array<ByteRule, 256> RulesFor(XmlEscaping where)
{
    std::array<ByteRule, 256> rules{};
    for (int c = 0; c < 0x20; ++c)
        rules[c] = ByteRule::Replace;
    for (int c = 0x80; c < 0x100; ++c)
        rules[c] = ByteRule::Check;
    // A NUL makes the text invalid UTF-8 to the checker, so it is repaired, not dropped.
    rules[0] = ByteRule::Check;
    rules['&'] = rules['<'] = rules['>'] = ByteRule::Replace;
    const bool attribute = where == XmlEscaping::Attribute;
    rules['"'] = attribute ? ByteRule::Replace : ByteRule::Copy;
    rules['\t'] = attribute ? ByteRule::Replace : ByteRule::Copy;
    rules['\n'] = attribute ? ByteRule::Replace : ByteRule::Copy;
    return rules;
}

constexpr std::array<ByteRule, 256> AttributeRules = RulesFor(XmlEscaping::Attribute);
constexpr std::array<ByteRule, 256> TextRules = RulesFor(XmlEscaping::Text);

// Only for bytes whose rule is Replace.
std::string_view Replacement(char c)
{
    switch (c) {
    case '&':
        return "&amp;";
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '"':
        return "&quot;";
    // A reader normalises literal white space in attribute values to
    // spaces and CR LF in text to LF; references survive both.
    case '\t':
        return "&#9;";
    case '\n':
        return "&#10;";
    case '\r':
        return "&#13;";
    default:
        return {};  // a control character XML 1.0 cannot carry
    }
}

}  // namespace

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

// One pass straight into `out`; only text that is not valid UTF-8 takes
// the copy through writableXmlText.
void appendEscapedXml(std::string& out, std::string_view text, XmlEscaping where)
{
    const std::array<ByteRule, 256>& rules = where == XmlEscaping::Attribute ? AttributeRules : TextRules;
    const std::size_t start = out.size();
    const char* end = text.data() + text.size();
    const char* run = text.data();
    bool checked = false;
    for (const char* p = run; p != end; ++p) {
        const ByteRule rule = rules[static_cast<unsigned char>(*p)];
        if (rule == ByteRule::Copy)
            continue;
        if (rule == ByteRule::Check) {
            if (checked)
                continue;
            // Everything before p is ASCII without NUL, so the rest decides.
            if (!g_utf8_validate(p, end - p, nullptr)) {
                out.resize(start);
                appendEscapedXml(out, writableXmlText(text), where);
                return;
            }
            checked = true;
            continue;
        }
        out.append(run, static_cast<std::size_t>(p - run));
        out += Replacement(*p);
        run = p + 1;
    }
    out.append(run, static_cast<std::size_t>(end - run));
}

}  // namespace fw
