#include "services/Xml.h"

#include "services/FileReplace.h"
#include "services/XmlText.h"

namespace fw {

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

void XmlWriter::writeAttributeString(std::string_view name, std::string_view value)
{
    if (m_closed || !m_startTagOpen)
        return;
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    appendEscapedXml(m_out, value, XmlEscaping::Attribute);
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
