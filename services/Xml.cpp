#include "services/Xml.h"

#include "services/FileReplace.h"
#include "services/Strings.h"
#include "services/XmlText.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace fw {

namespace {

// Form files are a handful of levels deep; the limit keeps a hostile file from
// exhausting the stack in the recursive copy and in the destructors.
constexpr int MaxDepth = 256;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the pseudo-attributes of a processing instruction: name="value" or
// name='value', separated by white space. Stops at the first malformed part.
void parsePseudoAttributes(std::string_view text, XmlElement& into)
{
    std::size_t i = 0;
    auto skipSpace = [&] {
        while (i < text.size() && isSpace(text[i]))
            ++i;
    };
    for (;;) {
        skipSpace();
        std::size_t nameStart = i;
        while (i < text.size() && !isSpace(text[i]) && text[i] != '=')
            ++i;
        if (i == nameStart)
            return;
        std::string name(text.substr(nameStart, i - nameStart));
        skipSpace();
        if (i >= text.size() || text[i] != '=')
            return;
        ++i;
        skipSpace();
        if (i >= text.size() || (text[i] != '"' && text[i] != '\''))
            return;
        char quote = text[i++];
        std::size_t valueEnd = text.find(quote, i);
        if (valueEnd == std::string_view::npos)
            return;
        into.addAttribute(std::move(name), std::string(text.substr(i, valueEnd - i)));
        i = valueEnd + 1;
    }
}

// Line numbers of byte offsets, found by binary search over the line starts.
class LineIndex {
public:
    explicit LineIndex(std::string_view text)
    {
        m_starts.push_back(0);
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == '\n')
                m_starts.push_back(i + 1);
    }
    int lineOf(std::ptrdiff_t offset) const
    {
        auto at = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset));
        return static_cast<int>(std::upper_bound(m_starts.begin(), m_starts.end(), at) - m_starts.begin());
    }

private:
    std::vector<std::size_t> m_starts;
};

// Text as read, reduced to what the writer can write back (defined below).
// `changed` is set when that took anything away.
std::string readableText(const char* text, bool& changed);

// Copies the parsed tree into `to`, noting what the copy leaves out.
class TreeCopy {
public:
    TreeCopy(std::string_view text, std::vector<XmlReadNote>& notes) : m_lines(text), m_notes(notes) {}

    bool copy(const pugi::xml_node& from, XmlElement& to, int depth)
    {
        if (depth > MaxDepth)
            return false;
        const int line = m_lines.lineOf(from.offset_debug());
        to.setLine(line);
        for (const pugi::xml_attribute& a : from.attributes())
            to.addAttribute(a.name(), readable(a.value(), line, format("\"%s\" of %s", a.name(), from.name())));
        for (const pugi::xml_node& child : from.children()) {
            switch (child.type()) {
            case pugi::node_element:
                if (!copy(child, to.addChild(child.name()), depth + 1))
                    return false;
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata:
                to.appendValue(readable(child.value(), line, format("the text of %s", from.name())));
                break;
            default:
                noteLeftOut(child);
                break;
            }
        }
        return true;
    }

    // Comments, document types and instructions inside the tree are not kept.
    void noteLeftOut(const pugi::xml_node& node)
    {
        const int line = m_lines.lineOf(node.offset_debug());
        switch (node.type()) {
        case pugi::node_comment:
            m_notes.push_back({line, "a comment is not kept"});
            break;
        case pugi::node_doctype:
            m_notes.push_back({line, "the document type is not kept"});
            break;
        case pugi::node_pi:
            m_notes.push_back({line, format("the instruction \"%s\" is not kept", node.name())});
            break;
        default:
            break;
        }
    }

private:
    std::string readable(const char* text, int line, const std::string& where)
    {
        bool changed = false;
        std::string out = readableText(text, changed);
        if (changed)
            m_notes.push_back(
                {line, where + " holds bytes that are not UTF-8 or control characters; they are replaced"});
        return out;
    }

    LineIndex m_lines;
    std::vector<XmlReadNote>& m_notes;
};

// Line and column (both from 1) of a byte offset, for error messages.
std::pair<int, int> lineAndColumn(std::string_view text, std::ptrdiff_t offset)
{
    int line = 1, column = 1;
    auto end = static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset));
    for (std::size_t i = 0; i < end && i < text.size(); ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else {
            ++column;
        }
    }
    return {line, column};
}

// Text as read, reduced to what the writer can write back. Otherwise two
// values that differ only in such bytes (two filters, two style names) would
// be told apart in memory and become one in the next saved file.
std::string readableText(const char* text, bool& changed)
{
    std::string_view view(text);
    for (char c : view) {
        auto u = static_cast<unsigned char>(c);
        if (u >= 0x80 || (u < 0x20 && c != '\t' && c != '\n' && c != '\r')) {
            std::string clean = writableXmlText(view);
            changed = clean != view;
            return clean;
        }
    }
    return std::string(view);
}

}  // namespace

// ---------------------------------------------------------------------------

XmlElement* XmlElement::getChild(std::string_view name) const
{
    for (const auto& child : m_children)
        if (child->m_name == name) {
            child->m_read = true;
            return child.get();
        }
    return nullptr;
}

void XmlElement::markRead() const
{
    m_read = true;
    m_valueRead = true;
    for (const XmlAttribute& a : m_attributes)
        a.markRead();
    for (const auto& child : m_children)
        child->markRead();
}

XmlElement* XmlElement::getChildAt(int index) const
{
    if (index < 0 || index >= getChildCount())
        return nullptr;
    return m_children[static_cast<std::size_t>(index)].get();
}

const XmlAttribute* XmlElement::getAttribute(std::string_view name) const
{
    for (const XmlAttribute& a : m_attributes)
        if (a.getName() == name) {
            a.markRead();
            m_read = true;
            return &a;
        }
    return nullptr;
}

const std::string* XmlElement::getAttributeValue(std::string_view name) const
{
    const XmlAttribute* a = getAttribute(name);
    return a ? &a->getAttribValue() : nullptr;
}

const XmlAttribute* XmlElement::getAttributeAt(int index) const
{
    if (index < 0 || index >= getAttributeCount())
        return nullptr;
    return &m_attributes[static_cast<std::size_t>(index)];
}

XmlElement& XmlElement::addChild(std::string name)
{
    m_children.push_back(std::make_unique<XmlElement>(std::move(name)));
    return *m_children.back();
}

void XmlElement::addAttribute(std::string name, std::string value)
{
    m_attributes.emplace_back(std::move(name), std::move(value));
}

// ---------------------------------------------------------------------------

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

void XmlDocument::reset()
{
    m_root.reset();
    m_headers.clear();
    m_notes.clear();
    m_error.clear();
    m_failure = XmlReadFailure::None;
}

bool XmlDocument::read(const std::string& path, std::size_t limit)
{
    reset();
    std::string text;
    switch (readInputFile(path, limit, text, m_error)) {
    case InputFileStatus::Ok:
        break;
    case InputFileStatus::Unreadable:
        m_failure = XmlReadFailure::Unreadable;
        return false;
    case InputFileStatus::Refused:
        m_failure = XmlReadFailure::Refused;
        return false;
    }
    if (!parse(text)) {
        m_error = path + ": " + m_error;
        return false;
    }
    return true;
}

bool XmlDocument::parse(std::string_view text)
{
    reset();
    pugi::xml_document doc;
    // Comments and the document type are parsed only to say that they are not kept.
    const unsigned options =
        pugi::parse_default | pugi::parse_pi | pugi::parse_declaration | pugi::parse_comments | pugi::parse_doctype;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size(), options, pugi::encoding_auto);
    if (!result) {
        auto [line, column] = lineAndColumn(text, result.offset);
        m_error = format("%s at offset %lld (line %d, column %d)", result.description(),
                         static_cast<long long>(result.offset), line, column);
        m_failure = XmlReadFailure::Malformed;
        return false;
    }

    TreeCopy copy(text, m_notes);
    for (const pugi::xml_node& node : doc.children()) {
        if (node.type() == pugi::node_pi) {
            auto header = std::make_unique<XmlElement>(node.name());
            parsePseudoAttributes(node.value(), *header);
            m_headers.push_back(std::move(header));
        } else if (node.type() == pugi::node_declaration) {
            // The declaration answers to getHeader("xml"); pugixml already split it.
            auto header = std::make_unique<XmlElement>(node.name());
            for (const pugi::xml_attribute& a : node.attributes())
                header->addAttribute(a.name(), a.value());
            m_headers.push_back(std::move(header));
        } else if (node.type() != pugi::node_element) {
            copy.noteLeftOut(node);
        }
    }

    pugi::xml_node rootNode = doc.document_element();
    auto root = std::make_unique<XmlElement>(rootNode.name());
    if (!copy.copy(rootNode, *root, 1)) {
        m_headers.clear();
        m_notes.clear();
        m_error = format("elements nested deeper than %d levels", MaxDepth);
        m_failure = XmlReadFailure::Malformed;
        return false;
    }
    m_root = std::move(root);
    return true;
}

XmlElement* XmlDocument::getHeader(std::string_view target) const
{
    for (const auto& header : m_headers)
        if (header->getElementName() == target)
            return header.get();
    return nullptr;
}

XmlElement* XmlDocument::getChild(std::string_view name) const
{
    return m_root && m_root->getElementName() == name ? m_root.get() : nullptr;
}

}  // namespace fw
