#include "services/Xml.h"

#include "services/Strings.h"
#include "services/XmlText.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <utility>

namespace fw {

namespace {

// Form files are a handful of levels deep; the limit keeps a hostile file from
// exhausting the stack in the recursive build and in the readers' walks.
constexpr int MaxDepth = 256;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Reads the pseudo-attributes of a processing instruction: name="value" or
// name='value', separated by white space. Stops at the first malformed part.
void parsePseudoAttributes(std::string_view text, std::vector<XmlAttribute>& into)
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
        std::string_view name = text.substr(nameStart, i - nameStart);
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
        into.emplace_back(name, text.substr(i, valueEnd - i));
        i = valueEnd + 1;
    }
}

// Lines and columns of byte offsets, taken from the bytes before the parser
// rewrites them in place. The tree is visited in file order, so a lookup
// starts where the last one ended. The same pass counts the bytes that bound
// how many elements ('<') and attributes ('=') the tree can hold.
class LineIndex {
public:
    explicit LineIndex(std::string_view text) : m_size(text.size())
    {
        m_starts.push_back(0);
        // A word at a time: lines are short, and most words hold none of the three.
        const std::size_t size = text.size();
        std::size_t i = 0;
        for (; i + 8 <= size; i += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, text.data() + i, 8);
            m_opens += countOf(bytesEqual(word, '<'));
            m_equals += countOf(bytesEqual(word, '='));
            for (std::uint64_t newlines = bytesEqual(word, '\n'); newlines; newlines &= newlines - 1)
                m_starts.push_back(i + static_cast<std::size_t>(__builtin_ctzll(newlines)) / 8 + 1);
        }
        for (; i < size; ++i) {
            m_opens += text[i] == '<';
            m_equals += text[i] == '=';
            if (text[i] == '\n')
                m_starts.push_back(i + 1);
        }
    }
    // At least as many as the file has elements and attributes.
    std::size_t elementBound() const { return m_opens; }
    std::size_t attributeBound() const { return m_equals; }

    int lineOf(std::ptrdiff_t offset)
    {
        const std::size_t at = clamped(offset);
        if (at < m_starts[m_last])
            m_last = static_cast<std::size_t>(lineStart(offset) - m_starts.begin()) - 1;
        while (m_last + 1 < m_starts.size() && m_starts[m_last + 1] <= at)
            ++m_last;
        return static_cast<int>(m_last) + 1;
    }
    // Counted in bytes, from 1.
    int columnOf(std::ptrdiff_t offset) const
    {
        return static_cast<int>(clamped(offset) - *(lineStart(offset) - 1)) + 1;
    }

private:
    std::size_t clamped(std::ptrdiff_t offset) const
    {
        return std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset)), m_size);
    }
    std::vector<std::size_t>::const_iterator lineStart(std::ptrdiff_t offset) const
    {
        return std::upper_bound(m_starts.begin(), m_starts.end(), clamped(offset));
    }

    // The top bit of every byte of `word` that equals `c`, and no other bit.
    static std::uint64_t bytesEqual(std::uint64_t word, char c)
    {
        constexpr std::uint64_t lows = 0x7f7f7f7f7f7f7f7fu;
        const std::uint64_t diff = word ^ (0x0101010101010101u * static_cast<unsigned char>(c));
        return ~(((diff & lows) + lows) | diff | lows);
    }

    // How many bytes such a result marks.
    static std::size_t countOf(std::uint64_t marks)
    {
        return static_cast<std::size_t>(((marks >> 7) * 0x0101010101010101u) >> 56);
    }

    std::size_t m_size;
    std::vector<std::size_t> m_starts;
    std::size_t m_opens = 0;
    std::size_t m_equals = 0;
    std::size_t m_last = 0;  // the line of the last lookup, from 0
};

// Whether a byte may need the writer's cleaning: anything outside ASCII, and
// control characters but tab and line ends.
bool isSuspect(unsigned char u)
{
    return u >= 0x80 || (u < 0x20 && u != '\t' && u != '\n' && u != '\r');
}

bool hasSuspectByte(std::string_view text)
{
    std::size_t i = 0;
    // Eight bytes at a time: a byte below 0x20 or from 0x80 up sets its top
    // bit in the test; the bytes of such a word are then looked at one by one.
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t tops = 0x8080808080808080u;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + i, 8);
        if (((word - ones * 0x20) | word) & tops)
            break;
    }
    for (; i < text.size(); ++i)
        if (isSuspect(static_cast<unsigned char>(text[i])))
            return true;
    return false;
}

// The text's length, found in the same pass that looks for bytes the writer
// would clean (a zero byte is one of them); `plain` says none was met. Only
// whole words inside [text, end) are read at once, and `end` is a zero byte.
std::size_t scanText(const char* text, const char* end, bool& plain)
{
    constexpr std::uint64_t ones = 0x0101010101010101u;
    constexpr std::uint64_t tops = 0x8080808080808080u;
    const char* at = text;
    for (; end - at >= 8; at += 8) {
        std::uint64_t word = 0;
        std::memcpy(&word, at, 8);
        if (((word - ones * 0x20) | word) & tops)
            break;
    }
    for (; *at; ++at)
        if (isSuspect(static_cast<unsigned char>(*at))) {
            plain = false;
            return std::char_traits<char>::length(text);
        }
    plain = true;
    return static_cast<std::size_t>(at - text);
}

// Names are looked up many times per element, mostly among names of the same
// length: the first bytes settle most of them.
bool sameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Names are short: a loop is cheaper than a call to memcmp.
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

}  // namespace

struct XmlDocument::Parsed {
    pugi::xml_document doc;
};

// Lays the parsed tree out in the document's arrays, noting what it leaves out.
class XmlTreeBuilder {
public:
    XmlTreeBuilder(XmlDocument& doc, LineIndex& lines)
        : m_doc(doc), m_lines(lines), m_begin(doc.m_text.data()), m_end(m_begin + doc.m_text.size())
    {}

    void addHeader(const pugi::xml_node& node)
    {
        XmlElement header(node.name());
        header.m_firstAttribute = static_cast<std::uint32_t>(m_doc.m_attributes.size());
        if (node.type() == pugi::node_pi) {
            parsePseudoAttributes(node.value(), m_doc.m_attributes);
        } else {
            // The declaration answers to getHeader("xml"); pugixml already split it.
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
                m_doc.m_attributes.emplace_back(a.name(), a.value());
        }
        header.m_attributeCount = static_cast<std::uint32_t>(m_doc.m_attributes.size()) - header.m_firstAttribute;
        for (std::uint32_t i = 0; i < header.m_attributeCount; ++i)
            header.m_nameBits |= XmlElement::nameBit(m_doc.m_attributes[header.m_firstAttribute + i].getName());
        m_doc.m_headers.push_back(header);
    }

    bool addRoot(const pugi::xml_node& root)
    {
        m_doc.m_elements.push_back(XmlElement(root.name()));
        return build(root, 0, 1);
    }

    // Comments, document types and instructions inside the tree are not kept.
    void noteLeftOut(const pugi::xml_node& node)
    {
        const int line = m_lines.lineOf(node.offset_debug());
        switch (node.type()) {
        case pugi::node_comment:
            m_doc.m_notes.push_back({line, "a comment is not kept"});
            break;
        case pugi::node_doctype:
            m_doc.m_notes.push_back({line, "the document type is not kept"});
            break;
        case pugi::node_pi:
            m_doc.m_notes.push_back({line, format("the instruction \"%s\" is not kept", node.name())});
            break;
        default:
            break;
        }
    }

    // Runs become pointers once the arrays no longer move.
    void finish()
    {
        for (std::vector<XmlElement>* elements : {&m_doc.m_elements, &m_doc.m_headers})
            for (XmlElement& e : *elements) {
                e.m_children = m_doc.m_elements.data() + e.m_firstChild;
                e.m_attributes = m_doc.m_attributes.data() + e.m_firstAttribute;
            }
    }

private:
    // Fills in the element at `index`: its attributes, a run of its children
    // (then each child in turn) and its text.
    bool build(const pugi::xml_node& from, std::uint32_t index, int depth)
    {
        std::vector<XmlElement>& elements = m_doc.m_elements;
        std::vector<XmlAttribute>& attributes = m_doc.m_attributes;
        const int line = m_lines.lineOf(from.offset_debug());
        const auto firstAttribute = static_cast<std::uint32_t>(attributes.size());
        std::uint16_t nameBits = 0;
        for (pugi::xml_attribute a = from.first_attribute(); a; a = a.next_attribute()) {
            const std::string_view name = view(a.name());
            nameBits |= XmlElement::nameBit(name);
            attributes.emplace_back(name, readable(a.value(), line, from, a.name()));
        }
        // Each child is asked for its kind once: every call goes into the
        // library. Deeper levels put theirs after this level's run.
        const std::size_t firstKind = m_children.size();
        const auto firstChild = static_cast<std::uint32_t>(elements.size());
        for (pugi::xml_node child = from.first_child(); child; child = child.next_sibling()) {
            const pugi::xml_node_type kind = child.type();
            m_children.push_back({child, kind});
            if (kind == pugi::node_element)
                elements.push_back(XmlElement(view(child.name())));
        }
        const std::size_t endKind = m_children.size();
        {
            XmlElement& to = elements[index];
            to.m_line = line;
            to.m_firstAttribute = firstAttribute;
            to.m_attributeCount = static_cast<std::uint32_t>(attributes.size()) - firstAttribute;
            to.m_nameBits = nameBits;
            to.m_firstChild = firstChild;
            to.m_childCount = static_cast<std::uint32_t>(elements.size()) - firstChild;
        }

        std::uint32_t next = firstChild;
        std::string_view text;
        std::string* joined = nullptr;
        for (std::size_t k = firstKind; k < endKind; ++k) {
            const ChildKind at = m_children[k];
            switch (at.kind) {
            case pugi::node_element:
                if (depth + 1 > MaxDepth || !build(at.node, next++, depth + 1))
                    return false;
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata: {
                const std::string_view piece = readable(at.node.value(), line, from, nullptr);
                if (!joined && text.empty()) {
                    text = piece;
                } else if (!piece.empty()) {
                    if (!joined)
                        joined = &m_doc.m_ownText.emplace_back(text);
                    joined->append(piece);
                }
                break;
            }
            default:
                noteLeftOut(at.node);
                break;
            }
        }
        m_children.resize(firstKind);
        elements[index].m_value = joined ? std::string_view(*joined) : text;
        return true;
    }

    // Text as read, reduced to what the writer can write back. Otherwise two
    // values that differ only in such bytes (two filters, two style names)
    // would be told apart in memory and become one in the next saved file.
    // `attribute` names the attribute the text is the value of, if any.
    std::string_view readable(const char* value, int line, const pugi::xml_node& element, const char* attribute)
    {
        bool plain = false;
        const std::string_view text = view(value, plain);
        if (plain)
            return text;
        std::string clean = writableXmlText(text);
        if (clean == text)
            return text;
        const std::string where =
            attribute ? format("\"%s\" of %s", attribute, element.name()) : format("the text of %s", element.name());
        m_doc.m_notes.push_back(
            {line, where + " holds bytes that are not UTF-8 or control characters; they are replaced"});
        return m_doc.m_ownText.emplace_back(std::move(clean));
    }

    // Strings the parser left in the file's bytes are measured in one pass
    // with the check for bytes to clean; others (a transcoded file, an empty
    // value) the plain way.
    std::string_view view(const char* text, bool& plain) const
    {
        const auto at = reinterpret_cast<std::uintptr_t>(text);
        if (at >= reinterpret_cast<std::uintptr_t>(m_begin) && at < reinterpret_cast<std::uintptr_t>(m_end))
            return std::string_view(text, scanText(text, m_end, plain));
        const std::string_view whole(text);
        plain = !hasSuspectByte(whole);
        return whole;
    }
    std::string_view view(const char* text) const
    {
        bool plain = false;
        return view(text, plain);
    }

    struct ChildKind {
        pugi::xml_node node;
        pugi::xml_node_type kind;
    };

    XmlDocument& m_doc;
    LineIndex& m_lines;
    const char* m_begin;
    const char* m_end;
    // The children of the elements being built, each level's after its parent's.
    std::vector<ChildKind> m_children;
};

// ---------------------------------------------------------------------------

const XmlElement* XmlElement::getChild(std::string_view name) const
{
    for (const XmlElement* child = m_children; child != m_children + m_childCount; ++child)
        if (sameName(child->m_name, name)) {
            child->m_read = true;
            return child;
        }
    return nullptr;
}

void XmlElement::markRead() const
{
    m_read = true;
    m_valueRead = true;
    for (std::uint32_t i = 0; i < m_attributeCount; ++i)
        m_attributes[i].markRead();
    for (std::uint32_t i = 0; i < m_childCount; ++i)
        m_children[i].markRead();
}

const XmlElement* XmlElement::getChildAt(int index) const
{
    if (index < 0 || index >= getChildCount())
        return nullptr;
    return m_children + index;
}

const XmlAttribute* XmlElement::getAttribute(std::string_view name) const
{
    if (!(m_nameBits & nameBit(name)))
        return nullptr;
    for (const XmlAttribute* a = m_attributes; a != m_attributes + m_attributeCount; ++a)
        if (sameName(a->getName(), name)) {
            a->markRead();
            m_read = true;
            return a;
        }
    return nullptr;
}

std::optional<std::string_view> XmlElement::getAttributeValue(std::string_view name) const
{
    if (const XmlAttribute* a = getAttribute(name))
        return a->getAttribValue();
    return std::nullopt;
}

const XmlAttribute* XmlElement::getAttributeAt(int index) const
{
    if (index < 0 || index >= getAttributeCount())
        return nullptr;
    return m_attributes + index;
}

// ---------------------------------------------------------------------------

XmlDocument::XmlDocument() = default;
XmlDocument::~XmlDocument() = default;

void XmlDocument::reset()
{
    m_elements.clear();
    m_attributes.clear();
    m_headers.clear();
    m_ownText.clear();
    m_parsed.reset();
    m_text.clear();
    m_notes.clear();
    m_error.clear();
    m_failure = XmlReadFailure::None;
}

bool XmlDocument::read(const std::string& path, std::size_t limit)
{
    reset();
    switch (readInputFile(path, limit, m_text, m_error)) {
    case InputFileStatus::Ok:
        break;
    case InputFileStatus::Unreadable:
        m_failure = XmlReadFailure::Unreadable;
        return false;
    case InputFileStatus::Refused:
        m_failure = XmlReadFailure::Refused;
        return false;
    }
    if (!parseText()) {
        m_error = path + ": " + m_error;
        return false;
    }
    return true;
}

bool XmlDocument::parse(std::string_view text)
{
    std::string copy(text);
    reset();
    m_text = std::move(copy);
    return parseText();
}

bool XmlDocument::parseText()
{
    LineIndex lines(m_text);
    m_parsed = std::make_unique<Parsed>();
    pugi::xml_document& doc = m_parsed->doc;
    // Comments and the document type are parsed only to say that they are not kept.
    const unsigned options =
        pugi::parse_default | pugi::parse_pi | pugi::parse_declaration | pugi::parse_comments | pugi::parse_doctype;
    pugi::xml_parse_result result = doc.load_buffer_inplace(m_text.data(), m_text.size(), options, pugi::encoding_auto);
    if (!result) {
        m_error =
            format("%s at offset %lld (line %d, column %d)", result.description(),
                   static_cast<long long>(result.offset), lines.lineOf(result.offset), lines.columnOf(result.offset));
        m_failure = XmlReadFailure::Malformed;
        m_parsed.reset();
        return false;
    }

    // Room for every element and attribute the file can hold, so that the
    // arrays do not move while they fill. A file denser than any form (text
    // full of '=', say) grows them as it goes rather than reserving its worst case.
    m_elements.reserve(std::min(lines.elementBound(), m_text.size() / 32));
    m_attributes.reserve(std::min(lines.attributeBound(), m_text.size() / 12));
    XmlTreeBuilder builder(*this, lines);
    for (pugi::xml_node node = doc.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_pi || node.type() == pugi::node_declaration)
            builder.addHeader(node);
        else if (node.type() != pugi::node_element)
            builder.noteLeftOut(node);
    }
    if (!builder.addRoot(doc.document_element())) {
        const std::string error = format("elements nested deeper than %d levels", MaxDepth);
        reset();
        m_error = error;
        m_failure = XmlReadFailure::Malformed;
        return false;
    }
    builder.finish();
    return true;
}

const XmlElement* XmlDocument::getHeader(std::string_view target) const
{
    for (const XmlElement& header : m_headers)
        if (header.getElementName() == target)
            return &header;
    return nullptr;
}

const XmlElement* XmlDocument::getChild(std::string_view name) const
{
    const XmlElement* top = root();
    return top && top->getElementName() == name ? top : nullptr;
}

}  // namespace fw
