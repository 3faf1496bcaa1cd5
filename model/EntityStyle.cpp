#include "model/EntityStyle.h"

#include "model/LoadObserver.h"
#include "services/Strings.h"
#include "services/Xml.h"

namespace fw {

namespace {
constexpr int SmallestSize = 5;
}

CEntityStyle::CEntityStyle(std::string name, std::string font, int size, bool bold, bool italic, std::string color)
    : m_name(std::move(name)), m_font(std::move(font)), m_size(size), m_bold(bold), m_italic(italic),
      m_color(std::move(color))
{}

bool CEntityStyle::LoadXml()
{
    if (!m_xmlElement)
        return false;
    const XmlElement& e = *m_xmlElement;
    if (const auto name = e.getAttributeValue("name"))
        m_name = toMemorySeparators(*name);
    if (const auto font = e.getAttributeValue("font"))
        m_font = *font;
    if (const auto size = e.getAttributeValue("size"))
        m_size = toInt(*size);
    if (const auto bold = e.getAttributeValue("bold"))
        m_bold = *bold == "true";
    if (const auto italic = e.getAttributeValue("italic"))
        m_italic = *italic == "true";
    if (m_name.empty() || m_font.empty() || m_size < SmallestSize)
        return false;
    if (const auto color = e.getAttributeValue("col"))
        m_color = *color;
    return true;
}

void CEntityStyle::WriteXml()
{
    if (!m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    w.writeStartElement("Style");
    w.writeAttributeString("name", toFileSeparators(m_name));
    w.writeAttributeString("font", m_font);
    w.writeAttributeInt("size", m_size);
    w.writeAttributeString("bold", m_bold ? "true" : "false");
    w.writeAttributeString("italic", m_italic ? "true" : "false");
    w.writeAttributeString("col", m_color);
    w.writeEndElement();
}

CEntityStyle* CEntityStyleContainer::Add(std::unique_ptr<CEntityStyle> style)
{
    if (!style)
        return nullptr;
    auto [it, inserted] = m_styles.try_emplace(style->GetName());
    if (inserted)
        it->second = std::move(style);
    return it->second.get();
}

void CEntityStyleContainer::RemoveAll()
{
    m_styles.clear();
}

void CEntityStyleContainer::Remove(const std::string& name)
{
    m_styles.erase(name);
}

void CEntityStyleContainer::GetNames(std::vector<std::string>& out) const
{
    for (const auto& [name, style] : m_styles)
        out.push_back(name);
}

CEntityStyle* CEntityStyleContainer::Find(std::string_view name) const
{
    auto it = m_styles.find(name);
    return it == m_styles.end() ? nullptr : it->second.get();
}

bool CEntityStyleContainer::Holds(const CEntityStyle* style) const
{
    return style && Find(style->GetName()) == style;
}

void CEntityStyleContainer::CreateDefaults()
{
    Add(std::make_unique<CEntityStyle>("s1", "Arial", 12, true, false, "255,0,0"));
    Add(std::make_unique<CEntityStyle>("s2", "Tahoma", 9, true, false, "0,0,255"));
    Add(std::make_unique<CEntityStyle>("s3", "Calibri", 9, true, false, "0,0,0"));
    Add(std::make_unique<CEntityStyle>("s4", "Calibri", 9, false, false, "0,0,0"));
}

namespace {

// Why a style the reader turned down is not kept.
std::string StyleRefusal(const CEntityStyle& style)
{
    if (style.GetName().empty())
        return "\"name\" is missing or empty";
    if (style.GetFont().empty())
        return "\"font\" is missing or empty";
    return format("size %d is below %d", style.GetSize(), SmallestSize);
}

}  // namespace

bool CEntityStyleContainer::LoadXml(LoadObserver* observer)
{
    if (!m_xmlElement)
        return true;
    auto leaveOut = [observer](const XmlElement& child, const std::string& why) {
        child.markRead();
        if (observer)
            observer->PartDropped("Style", child.getLine(), why);
    };
    for (int i = 0; i < m_xmlElement->getChildCount(); ++i) {
        const XmlElement* child = m_xmlElement->getChildAt(i);
        if (child->getElementName() != "Style")
            continue;
        auto style = std::make_unique<CEntityStyle>();
        style->SetXmlElement(child);
        if (!style->LoadXml()) {
            leaveOut(*child, StyleRefusal(*style));
            continue;
        }
        style->SetXmlElement(nullptr);
        if (Find(style->GetName()))
            leaveOut(*child, format("a second style named \"%s\"", toFileSeparators(style->GetName()).c_str()));
        else
            Add(std::move(style));
    }
    return true;
}

void CEntityStyleContainer::WriteXml()
{
    if (!m_xmlWriter)
        return;
    m_xmlWriter->writeStartElement("Styles");
    for (const auto& [name, style] : m_styles) {
        style->SetXmlWriter(m_xmlWriter);
        style->WriteXml();
    }
    m_xmlWriter->writeEndElement();
}

std::unique_ptr<CEntityStyle> CEntityStyleContainer::CloneStyle(const CEntityStyle& style)
{
    return std::make_unique<CEntityStyle>(style);
}

}  // namespace fw
