#include "support/TestElements.h"

#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "services/Strings.h"
#include "services/Xml.h"

namespace fw::test {

TestText::TestText()
{
    SetType("static");
    SetTitle("Text");
    SetName("static");
}

std::unique_ptr<CDiagramEntity> TestText::Clone() const
{
    auto clone = std::make_unique<TestText>();
    clone->Copy(*this);
    return clone;
}

bool TestText::LoadXml()
{
    if (!LoadGeometry())
        return false;
    LoadStyle();
    if (const auto title = m_xmlElement->getAttributeValue("title"))
        SetTitle(std::string(*title));
    return LoadDynamicLayout();
}

void TestText::WriteXml()
{
    if (!m_xmlWriter)
        return;
    m_xmlWriter->writeStartElement("Text");
    m_xmlWriter->writeAttributeString("title", GetTitle());
    m_xmlWriter->writeAttributeString("pos", format("%i,%i", GetRect().left, GetRect().top));
    m_xmlWriter->writeAttributeString("size", format("%i,%i", GetRect().Width(), GetRect().Height()));
    if (GetStyle())
        m_xmlWriter->writeAttributeString("style", GetStyleName());
    WriteDynamicLayout();
    m_xmlWriter->writeEndElement();
}

TestField::TestField()
{
    SetType("editbox");
    SetTitle("Edit");
    SetName("editbox");
}

TestField::~TestField() = default;

void TestField::SetDependent(CDiagramEntity* label)
{
    m_label = label;
    if (m_ownedLabel && m_ownedLabel.get() != label)
        m_ownedLabel.reset();
}

std::unique_ptr<CDiagramEntity> TestField::ReleaseDependent()
{
    return std::move(m_ownedLabel);
}

TestText* TestField::MakeLabel(double left, double top, double right, double bottom)
{
    auto label = std::make_unique<TestText>();
    label->SetDependentPart(true);
    label->SetRect(left, top, right, bottom);
    label->SetName(GetName());
    label->SetTitle(GetTitle());
    TestText* raw = label.get();
    m_ownedLabel = std::move(label);
    m_label = raw;
    return raw;
}

std::unique_ptr<CDiagramEntity> TestField::Clone() const
{
    auto clone = std::make_unique<TestField>();
    clone->Copy(*this);
    clone->m_objectClass = m_objectClass;
    if (m_label) {
        clone->m_ownedLabel = m_label->Clone();
        clone->m_ownedLabel->SetDependentPart(m_label->IsDependentPart());
        clone->m_label = clone->m_ownedLabel.get();
    }
    return clone;
}

bool TestField::LoadXml()
{
    if (!LoadGeometry())
        return false;
    const auto name = m_xmlElement->getAttributeValue("name");
    if (!name)
        return false;
    SetName(std::string(*name));
    SetTitle(std::string(*name));
    LoadStyle();
    if (const auto tab = m_xmlElement->getAttributeValue("tabOrder"))
        SetTabIndex(toInt(*tab));
    if (const auto labelPos = m_xmlElement->getAttributeValue("labelPos")) {
        int x = toInt(*labelPos);
        int y = toInt(labelPos->substr(labelPos->find(',') + 1));
        TestText* label = MakeLabel(x, y, x + 50, y + 20);
        label->SetStyle(GetStyle());
    }
    return LoadDynamicLayout();
}

void TestField::WriteXml()
{
    if (!m_xmlWriter)
        return;
    m_xmlWriter->writeStartElement("Property");
    m_xmlWriter->writeAttributeString("name", GetName());
    m_xmlWriter->writeAttributeString("pos", format("%i,%i", GetRect().left, GetRect().top));
    m_xmlWriter->writeAttributeString("size", format("%i,%i", GetRect().Width(), GetRect().Height()));
    if (m_label)
        m_xmlWriter->writeAttributeString("labelPos", format("%i,%i", m_label->GetRect().left, m_label->GetRect().top));
    m_xmlWriter->writeAttributeString("tabOrder", format("%d", GetTabIndex()));
    WriteDynamicLayout();
    m_xmlWriter->writeEndElement();
}

void RegisterTestElements(ElementFactory& factory)
{
    factory.Register("Text", [] { return std::make_unique<TestText>(); });
    factory.Register("Property", [] { return std::make_unique<TestField>(); });
}

TestField* AddField(CDiagramEntityContainer& form, const std::string& name, double left, double top, int tabIndex)
{
    auto field = std::make_unique<TestField>();
    field->SetName(name);
    field->SetRect(left, top, left + 100, top + 20);
    field->SetTabIndex(tabIndex);
    field->MakeLabel(left - 100, top, left - 10, top + 20);
    return static_cast<TestField*>(form.AddWithDependent(std::move(field)));
}

TestText* AddText(CDiagramEntityContainer& form, double left, double top, double right, double bottom)
{
    auto text = std::make_unique<TestText>();
    text->SetRect(left, top, right, bottom);
    TestText* raw = text.get();
    form.Add(std::move(text));
    return raw;
}

std::string FixturePath(const std::string& name)
{
    return std::string(FORMWRIGHT_TEST_FIXTURES) + "/" + name;
}

}  // namespace fw::test
