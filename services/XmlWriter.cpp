#include "services/Xml.h"

#include "services/FileReplace.h"
#include "services/Strings.h"
#include "services/XmlText.h"

#include <charconv>
#include <cmath>
#include <utility>

namespace fw {

namespace {

// Short text gathered on the stack and added to the document in one append:
// large documents are mostly short pieces, and each append costs a call.
class ShortText {
public:
    // The longest name it takes; the rest of its room is for a few
    // characters and at most two numbers.
    static constexpr std::size_t NameRoom = 64;

    void add(char c) { m_text[m_size++] = c; }
    void add(std::string_view name)
    {
        name.copy(m_text + m_size, name.size());
        m_size += name.size();
    }
    // As printf's "%i" and "%lld" write it.
    template <class Integer> void addNumber(Integer value)
    {
        // Never fails, given the room above.
        const std::to_chars_result written = std::to_chars(m_text + m_size, End(), value);
        if (written.ec == std::errc())
            m_size = static_cast<std::size_t>(written.ptr - m_text);
    }
    void appendTo(std::string& out) const { out.append(m_text, m_size); }

private:
    char* End() { return m_text + sizeof m_text; }

    char m_text[NameRoom + 32];
    std::size_t m_size = 0;
};

}  // namespace

XmlWriter::~XmlWriter()
{
    if (!m_closed)
        close();
}

bool XmlWriter::create(const std::string& path)
{
    m_path.clear();
    m_out.clear();
    m_open.clear();
    m_startTagOpen = false;
    m_closed = false;
    m_result = true;
    m_error.clear();
    m_written = FileStamp{};
    if (path.empty()) {
        m_error = "cannot write a file without a name";
        return false;
    }
    // Find out now whether the folder takes the file, rather than at the end.
    m_error = FolderRefusalOf(path);
    if (!m_error.empty())
        return false;
    m_path = path;
    return true;
}

void XmlWriter::startLine()
{
    if (!m_out.empty() && m_out.back() != '\n')
        m_out.push_back('\n');
    m_out.append(2 * m_open.size(), ' ');
}

void XmlWriter::closeStartTag()
{
    if (m_startTagOpen) {
        m_out.push_back('>');
        m_startTagOpen = false;
    }
}

void XmlWriter::writeHeader(std::string_view text)
{
    if (m_closed)
        return;
    closeStartTag();
    startLine();
    m_out += '<';
    m_out += text;
    m_out += ">\n";
}

void XmlWriter::writeStartElement(std::string_view name, bool indent)
{
    if (m_closed)
        return;
    closeStartTag();
    bool mixedContent = false;
    if (!m_open.empty()) {
        m_open.back().hasChildren = true;
        mixedContent = m_open.back().hasText;
    }
    // Line breaks inside an element that has text would change the text.
    if (indent && !mixedContent)
        startLine();
    m_out += '<';
    m_out += name;
    m_open.push_back({std::string(name), false, false});
    m_startTagOpen = true;
}

bool XmlWriter::openAttribute(std::string_view name)
{
    if (m_closed || !m_startTagOpen)
        return false;
    if (name.size() > ShortText::NameRoom) {
        m_out += ' ';
        m_out += name;
        m_out += "=\"";
        return true;
    }
    ShortText start;
    start.add(' ');
    start.add(name);
    start.add('=');
    start.add('"');
    start.appendTo(m_out);
    return true;
}

void XmlWriter::writeAttributeString(std::string_view name, std::string_view value)
{
    if (!openAttribute(name))
        return;
    appendEscapedXml(m_out, value, XmlEscaping::Attribute);
    m_out += '"';
}

void XmlWriter::writeAttributeInt(std::string_view name, int value)
{
    if (!openAttribute(name))
        return;
    ShortText number;
    number.addNumber(value);
    number.add('"');
    number.appendTo(m_out);
}

void XmlWriter::writeAttributePair(std::string_view name, int x, int y)
{
    if (!openAttribute(name))
        return;
    ShortText pair;
    pair.addNumber(x);
    pair.add(',');
    pair.addNumber(y);
    pair.add('"');
    pair.appendTo(m_out);
}

void XmlWriter::writeAttributeReal(std::string_view name, double value)
{
    if (!openAttribute(name))
        return;
    // Whole numbers, the usual line widths and radii, without the formatting
    // machinery; printf keeps the sign of a negative zero.
    const bool negativeZero = value == 0 && std::signbit(value);
    if (value == std::trunc(value) && std::fabs(value) < 1e15 && !negativeZero) {
        ShortText whole;
        whole.addNumber(static_cast<long long>(value));
        whole.add('.');
        whole.add('0');
        whole.add('"');
        whole.appendTo(m_out);
        return;
    }
    m_out += format("%.1f", value);
    m_out += '"';
}

void XmlWriter::writeString(std::string_view text)
{
    if (m_closed || m_open.empty() || text.empty())
        return;
    closeStartTag();
    m_open.back().hasText = true;
    appendEscapedXml(m_out, text, XmlEscaping::Text);
}

void XmlWriter::writeEndElement(bool indent, bool full)
{
    if (m_closed || m_open.empty())
        return;
    OpenElement element = std::move(m_open.back());
    m_open.pop_back();
    if (m_startTagOpen && !full) {
        m_out += "/>";
        m_startTagOpen = false;
    } else {
        closeStartTag();
        // Only after child elements: a line break after text would become part of it.
        if (indent && element.hasChildren && !element.hasText)
            startLine();
        m_out += "</";
        m_out += element.name;
        m_out += '>';
    }
    if (m_open.empty())
        m_out.push_back('\n');
}

std::string XmlWriter::takeText()
{
    std::string text = std::move(m_out);
    m_out.clear();
    return text;
}

bool XmlWriter::close()
{
    if (m_closed)
        return m_result;
    // An unbalanced caller still gets a well-formed file.
    while (!m_open.empty())
        writeEndElement();
    m_closed = true;
    if (m_path.empty())
        return m_result = true;

    const ReplaceResult written = ReplaceFile(m_path, m_out);
    m_error = written.error;
    m_written = written.stamp;
    return m_result = written.ok();
}

}  // namespace fw
