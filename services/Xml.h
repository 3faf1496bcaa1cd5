#pragma once
// XML reading (over pugixml) and writing for the form definition files.
// The reader parses the file's bytes in place and lays the elements out in
// arrays of its own, so they can be handed around by pointer, and their names
// and values viewed, for as long as their document lives.

#include "services/FileReplace.h"
#include "services/InputFile.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class XmlAttribute {
public:
    XmlAttribute(std::string_view name, std::string_view value) : m_name(name), m_value(value) {}
    std::string_view getName() const { return m_name; }
    std::string_view getAttribValue() const { return m_value; }
    // Whether a reader asked for the attribute by name; one nobody asked for
    // is left out of what is read.
    bool wasRead() const { return m_read; }
    void markRead() const { m_read = true; }
    // Asked for, but its value could not be used: it counts as left out.
    void markUnread() const { m_read = false; }

private:
    std::string_view m_name;
    std::string_view m_value;
    mutable bool m_read = false;
};

class XmlElement {
public:
    std::string_view getElementName() const { return m_name; }
    // The element's own text (its character data, concatenated).
    std::string_view getElementValue() const
    {
        m_read = true;
        m_valueRead = true;
        return m_value;
    }

    // What readers asked for: an element is read once found by name, once one
    // of its attributes or its text is asked for, or once markRead() says a
    // reader dealt with it (and everything in it) as a whole.
    bool wasRead() const { return m_read; }
    bool wasValueRead() const { return m_valueRead; }
    void markRead() const;
    // Known by name, while its parts still count only when asked for.
    void markFound() const { m_read = true; }
    // The element's text as stored, without counting as read.
    std::string_view peekValue() const { return m_value; }

    // First child element with exactly this name, or none.
    const XmlElement* getChild(std::string_view name) const;
    int getChildCount() const { return static_cast<int>(m_childCount); }
    const XmlElement* getChildAt(int index) const;

    const XmlAttribute* getAttribute(std::string_view name) const;
    // The attribute's value, or none when the element has no such attribute.
    std::optional<std::string_view> getAttributeValue(std::string_view name) const;
    int getAttributeCount() const { return static_cast<int>(m_attributeCount); }
    const XmlAttribute* getAttributeAt(int index) const;

    // The line of the file the element starts on (from 1).
    int getLine() const { return m_line; }

private:
    friend class XmlTreeBuilder;
    explicit XmlElement(std::string_view name) : m_name(name) {}

    std::string_view m_name;
    std::string_view m_value;
    // Children and attributes are runs of the document's arrays: positions
    // while the tree is built, pointers once it is complete.
    std::uint32_t m_firstChild = 0;
    std::uint32_t m_childCount = 0;
    std::uint32_t m_firstAttribute = 0;
    std::uint32_t m_attributeCount = 0;
    const XmlElement* m_children = nullptr;
    const XmlAttribute* m_attributes = nullptr;
    int m_line = 0;
    mutable bool m_read = false;
    mutable bool m_valueRead = false;
    // A bit for the length and first byte of each attribute name, so that
    // asking for a name the element lacks (most questions) mostly costs one test.
    std::uint16_t m_nameBits = 0;

    static std::uint16_t nameBit(std::string_view name)
    {
        const unsigned first = name.empty() ? 0u : static_cast<unsigned char>(name[0]);
        return static_cast<std::uint16_t>(1u << ((name.size() + first * 3u) & 15u));
    }
};

// Something the reader met in the file and left out of the tree: a comment,
// a document type, bytes that are not UTF-8.
struct XmlReadNote {
    int line;
    std::string text;
};

// Why read() failed.
enum class XmlReadFailure {
    None,
    Unreadable,  // the file cannot be opened or read
    Refused,     // not a regular file, or larger than the limit
    Malformed,   // not well-formed XML
};

class XmlDocument {
public:
    XmlDocument();
    ~XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // False when the file cannot be read or parsed; errorText() then says why
    // and failure() which kind of failure it was. `limit` caps the file's size.
    bool read(const std::string& path, std::size_t limit = FormFileLimit);
    bool parse(std::string_view text);
    const std::string& errorText() const { return m_error; }
    XmlReadFailure failure() const { return m_failure; }
    // What the last read or parse left out, in file order.
    const std::vector<XmlReadNote>& readNotes() const { return m_notes; }

    // The processing instruction with this target as an element whose attributes
    // are its pseudo-attributes ("progid", "version"), or none.
    const XmlElement* getHeader(std::string_view target) const;
    // The root element when it has this name, or none.
    const XmlElement* getChild(std::string_view name) const;
    const XmlElement* root() const { return m_elements.empty() ? nullptr : &m_elements.front(); }

private:
    friend class XmlTreeBuilder;
    struct Parsed;

    void reset();
    bool parseText();

    // The bytes as read; the parser writes its strings into them.
    std::string m_text;
    std::unique_ptr<Parsed> m_parsed;
    // The root first, then every element's children as one run.
    std::vector<XmlElement> m_elements;
    std::vector<XmlAttribute> m_attributes;
    std::vector<XmlElement> m_headers;
    // Text that is not a plain run of the file: joined pieces, replaced bytes.
    std::deque<std::string> m_ownText;
    std::vector<XmlReadNote> m_notes;
    std::string m_error;
    XmlReadFailure m_failure = XmlReadFailure::None;
};

// Streams a document into memory; create(path) makes close() (or the
// destructor) write it to that file as UTF-8 through ReplaceFile: the file is
// replaced only once the whole text is on disk, links to it stay links, and
// its mode, owner and group stay.
class XmlWriter {
public:
    XmlWriter() = default;
    ~XmlWriter();
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;

    bool create(const std::string& path);
    // Room for about this many bytes, so that a large document is not copied as it grows.
    void reserve(std::size_t bytes) { m_out.reserve(bytes); }

    // `text` is what goes between the angle brackets, question marks included:
    // "?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?".
    void writeHeader(std::string_view text);
    // `indent`: start the element on a new, indented line.
    void writeStartElement(std::string_view name, bool indent = true);
    // Attributes come out in call order; only valid right after a start element.
    void writeAttributeString(std::string_view name, std::string_view value);
    // Numbers in decimal ("-12"); a pair as "x,y".
    void writeAttributeInt(std::string_view name, int value);
    void writeAttributePair(std::string_view name, int x, int y);
    // One decimal, as printf's "%.1f" writes it.
    void writeAttributeReal(std::string_view name, double value);
    void writeString(std::string_view text);
    // `indent`: put a closing tag on its own line; `full`: never collapse an
    // empty element to <name/>.
    void writeEndElement(bool indent = true, bool full = false);

    // Writes the text to the file given to create(); false when that failed.
    bool close();
    const std::string& text() const { return m_out; }
    // Hands the text over without a copy, leaving the writer's text empty.
    std::string takeText();
    // Why create() or close() failed, with the system's reason: "cannot write
    // PATH: No space left on device"; empty when neither did.
    const std::string& errorText() const { return m_error; }
    // The file close() wrote.
    const FileStamp& writtenStamp() const { return m_written; }

private:
    struct OpenElement {
        std::string name;
        bool hasChildren;
        bool hasText;
    };

    void closeStartTag();
    void startLine();
    // Writes ` name="` and says whether an attribute may follow at all.
    bool openAttribute(std::string_view name);

    std::string m_path;
    std::string m_out;
    std::vector<OpenElement> m_open;
    bool m_startTagOpen = false;
    bool m_closed = false;
    bool m_result = true;
    std::string m_error;
    FileStamp m_written;
};

}  // namespace fw
