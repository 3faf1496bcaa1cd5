#include "model/DiagramEntity.h"

#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

namespace fw {

namespace {

// Reads "x,y" when it has exactly two fields.
bool ReadPair(const XmlElement* element, const char* attribute, int& x, int& y)
{
    if (!element)
        return false;
    const std::optional<std::string_view> value = element->getAttributeValue(attribute);
    return value && readIntPair(*value, x, y);
}

// The attribute's value for a message; it is there, as the reader checked.
std::string ValueOf(const XmlElement* element, const char* attribute)
{
    return std::string(element->getAttributeValue(attribute).value_or(std::string_view()));
}

bool WithinExtentLimit(int value)
{
    return value >= -FormExtentLimit && value <= FormExtentLimit;
}

bool IsPercentage(int value)
{
    return value >= 0 && value <= 100;
}

}  // namespace

void CDiagramEntity::SetXmlWriter(XmlWriter* writer)
{
    m_xmlWriter = writer;
}

void CDiagramEntity::WritePropertyStart(XmlWriter& w) const
{
    w.writeStartElement("Property");
    w.writeAttributeString("name", m_name);
    w.writeAttributePair("pos", TruncEdge(m_left), TruncEdge(m_top));
    w.writeAttributePair("size", TruncEdge(m_right - m_left), TruncEdge(m_bottom - m_top));
}

void CDiagramEntity::WriteXml()
{
    if (!m_genericXml || !m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    WritePropertyStart(w);
    if (IsMandatory())
        w.writeAttributeString("mandatory", "");
    if (m_style)
        w.writeAttributeString("style", "");
    w.writeEndElement();
}

void CDiagramEntity::SetXmlElement(const XmlElement* element)
{
    m_xmlElement = element;
}

bool CDiagramEntity::LoadXml()
{
    return true;
}

bool CDiagramEntity::LoadGeometry()
{
    return LoadPos() && LoadSize();
}

bool CDiagramEntity::LoadPos()
{
    int x = 0;
    int y = 0;
    if (!ReadPair(m_xmlElement, "pos", x, y)) {
        NoteLoadProblem(DescribeBadPair("pos"));
        return false;
    }
    if (x <= 0 || y <= 0) {
        NoteLoadProblem(format("\"pos\" %s has a zero or negative coordinate", ValueOf(m_xmlElement, "pos").c_str()));
        return false;
    }
    if (x > FormExtentLimit || y > FormExtentLimit) {
        NoteLoadProblem(format("\"pos\" %s lies beyond %d", ValueOf(m_xmlElement, "pos").c_str(), FormExtentLimit));
        return false;
    }
    SetLeft(x);
    SetTop(y);
    return true;
}

bool CDiagramEntity::LoadSize()
{
    int w = 0;
    int h = 0;
    if (!ReadPair(m_xmlElement, "size", w, h)) {
        NoteLoadProblem(DescribeBadPair("size"));
        return false;
    }
    if (w <= 0 && h <= 0) {
        NoteLoadProblem(format("\"size\" %s is empty", ValueOf(m_xmlElement, "size").c_str()));
        return false;
    }
    if (!WithinExtentLimit(w) || !WithinExtentLimit(h)) {
        NoteLoadProblem(
            format("\"size\" %s is larger than %d", ValueOf(m_xmlElement, "size").c_str(), FormExtentLimit));
        return false;
    }
    SetRight(m_left + w);
    SetBottom(m_top + h);
    return true;
}

bool CDiagramEntity::ReadPercentagePair(const char* attribute, int& x, int& y) const
{
    // Most elements have neither share: one look for the attribute.
    const XmlAttribute* share = m_xmlElement ? m_xmlElement->getAttribute(attribute) : nullptr;
    if (!share)
        return false;
    if (readIntPair(share->getAttribValue(), x, y) && IsPercentage(x) && IsPercentage(y))
        return true;
    // A share that cannot be used is left out, and said so.
    share->markUnread();
    return false;
}

std::string CDiagramEntity::DescribeBadPair(const char* attribute) const
{
    const auto value = m_xmlElement ? m_xmlElement->getAttributeValue(attribute) : std::nullopt;
    if (!value)
        return format("\"%s\" is missing", attribute);
    return format("\"%s\" %s is not two comma-separated numbers", attribute, std::string(*value).c_str());
}

bool CDiagramEntity::LoadDynamicLayout()
{
    int x = 0;
    int y = 0;
    if (ReadPercentagePair("sizing", x, y))
        SetSizing(x, y);
    if (ReadPercentagePair("moving", x, y))
        SetMoving(x, y);
    return true;
}

bool CDiagramEntity::WriteDynamicLayout()
{
    if (!m_xmlWriter)
        return true;
    if (m_sizing.x != 0 || m_sizing.y != 0)
        m_xmlWriter->writeAttributePair("sizing", m_sizing.x, m_sizing.y);
    if (m_moving.x != 0 || m_moving.y != 0)
        m_xmlWriter->writeAttributePair("moving", m_moving.x, m_moving.y);
    return true;
}

}  // namespace fw
