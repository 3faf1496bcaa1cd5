#include "controls/DiagramLinked.h"

#include "controls/ControlDrawing.h"
#include "controls/DiagramEdit.h"
#include "controls/DiagramStatic.h"
#include "model/DiagramEntityContainer.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"
#include "render/FontZoom.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"
#include "services/Tokens.h"
#include "services/Xml.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace fw {

namespace {

// Flags keep their value when the attribute is absent; any value but `truth` clears them.
void ReadFlag(const XmlElement& element, const char* attribute, const char* truth, bool& flag)
{
    if (const auto value = element.getAttributeValue(attribute))
        flag = *value == truth;
}

}  // namespace

CDiagramLinked::CDiagramLinked()
{
    SetTitle("Edit");
    SetType("editbox");
    SetName("editbox");
    SetMinimumSize({1, 1});
}

// A caption the form holds is the form's to destroy; only one never handed over goes here.
CDiagramLinked::~CDiagramLinked() = default;

std::unique_ptr<CDiagramEntity> CDiagramLinked::Clone() const
{
    auto clone = std::make_unique<CDiagramLinked>();
    clone->Copy(*this);
    clone->m_mandatory = m_mandatory;
    clone->m_readOnly = m_readOnly;
    clone->m_mandatoryDefobj = m_mandatoryDefobj;
    clone->m_multiline = m_multiline;
    clone->m_objectClass = m_objectClass;
    clone->m_validationRule = m_validationRule;
    clone->m_validationMessage = m_validationMessage;
    if (m_label) {
        std::unique_ptr<CDiagramEntity> label = m_label->Clone();
        label->SetDependentPart(m_label->IsDependentPart());
        clone->AdoptLabel(std::move(label));
    }
    return clone;
}

void CDiagramLinked::DrawObject(DrawContext& dc, const IntRect& rect)
{
    const IntRect inner = DrawSunkenBox(dc, rect);
    if (!m_parent || !m_parent->IsShowTabOrder())
        return;

    FontDesc font = dc.GetDefaultGuiFont();
    font.height = 15;
    font.weight = 700;
    dc.SelectFont(ZoomFont(font, m_zoom));
    const Color previous = dc.SetTextColor({0, 0, 255});
    dc.DrawText(std::to_string(GetTabIndex()), inner,
                TextFormat::Center | TextFormat::VCenter | TextFormat::SingleLine);
    dc.SetTextColor(previous);
    dc.SelectFont(dc.GetVariableFont());
}

// The file writes no title or name for a caption: the reader gives it the
// field's, so the caption takes them whenever the field does.
void CDiagramLinked::SetTitle(const std::string& title)
{
    CDiagramEntity::SetTitle(title);
    if (m_label)
        m_label->SetTitle(title);
}

void CDiagramLinked::SetName(const std::string& name)
{
    CDiagramEntity::SetName(name);
    if (m_label)
        m_label->SetName(name);
}

void CDiagramLinked::SetDependent(CDiagramEntity* label)
{
    m_label = label;
    if (m_ownedLabel && m_ownedLabel.get() != label)
        m_ownedLabel.reset();
    NoteChange();
}

std::unique_ptr<CDiagramEntity> CDiagramLinked::ReleaseDependent()
{
    return std::move(m_ownedLabel);
}

void CDiagramLinked::AdoptLabel(std::unique_ptr<CDiagramEntity> label)
{
    m_label = label.get();
    m_ownedLabel = std::move(label);
    NoteChange();
}

void CDiagramLinked::DropLabelOutsideForm()
{
    if (!m_label || !m_parent || m_parent->FindIndex(this) < 0 || m_parent->FindIndex(m_label) >= 0)
        return;
    SetDependent(nullptr);
}

void CDiagramLinked::WriteXml()
{
    if (!m_xmlWriter)
        return;
    XmlWriter& w = *m_xmlWriter;
    WritePropertyStart(w);

    DropLabelOutsideForm();
    if (m_label) {
        w.writeAttributePair("labelPos", TruncEdge(m_label->GetLeft()), TruncEdge(m_label->GetTop()));
        w.writeAttributePair("labelSize", TruncEdge(m_label->GetRight() - m_label->GetLeft()),
                             TruncEdge(m_label->GetBottom() - m_label->GetTop()));
    }

    if (m_mandatory)
        w.writeAttributeString("mandatory", "yes");
    if (m_readOnly)
        w.writeAttributeString("readOnly", "true");
    if (m_mandatoryDefobj)
        w.writeAttributeString("mandatoryDefobj", "yes");
    if (m_multiline)
        w.writeAttributeString("multiline", "yes");

    // Its caption shares it; a field without one keeps its own, which the
    // reader takes back whether or not a caption comes with it.
    WriteStyleAttribute(m_style);

    if (!m_validationRule.empty()) {
        w.writeAttributeString("validationRule", toFileSeparators(m_validationRule));
        if (!m_validationMessage.empty())
            w.writeAttributeString("validationMessage", m_validationMessage);
    }

    w.writeAttributeInt("tabOrder", m_tabIndex);
    WriteDynamicLayout();
    WriteLabelLayout();
    w.writeEndElement();
}

namespace {

// A caption placed or sized beyond the limit could not be shown, so its field
// is refused with it.
const char* CaptionAttributeBeyondLimit(const XmlElement& element)
{
    for (const char* attribute : {"labelPos", "labelSize"}) {
        const auto value = element.getAttributeValue(attribute);
        std::string_view x, y;
        if (value && splitPair(*value, ",", x, y) &&
            (std::fabs(toDouble(x)) > FormExtentLimit || std::fabs(toDouble(y)) > FormExtentLimit))
            return attribute;
    }
    return nullptr;
}

}  // namespace

bool CDiagramLinked::LoadXml()
{
    if (!m_xmlElement || !LoadGeometry())
        return false;
    const XmlElement& element = *m_xmlElement;
    const auto name = element.getAttributeValue("name");
    if (!name) {
        NoteLoadProblem("\"name\" is missing");
        return false;
    }
    LoadStyle();

    ReadFlag(element, "mandatory", "yes", m_mandatory);
    ReadFlag(element, "multiline", "yes", m_multiline);
    ReadFlag(element, "readOnly", "true", m_readOnly);
    ReadFlag(element, "mandatoryDefobj", "yes", m_mandatoryDefobj);

    if (const char* beyond = CaptionAttributeBeyondLimit(element)) {
        NoteLoadProblem(format("\"%s\" %s lies beyond %d", beyond,
                               std::string(*element.getAttributeValue(beyond)).c_str(), FormExtentLimit));
        return false;
    }

    SetTitle(GetLocalePropertyName(*name, m_objectClass));
    SetName(std::string(*name));
    LoadLabel();

    if (const auto rule = element.getAttributeValue("validationRule")) {
        m_validationRule = *rule;
        if (!m_validationRule.empty()) {
            m_validationRule = toMemorySeparators(m_validationRule);
            if (const auto message = element.getAttributeValue("validationMessage"))
                m_validationMessage = *message;
        }
    }

    if (const auto tabOrder = element.getAttributeValue("tabOrder"))
        SetTabIndex(toInt(*tabOrder));

    if (!LoadDynamicLayout())
        return false;
    return LoadLabelLayout();
}

void CDiagramLinked::LoadLabel()
{
    const auto position = m_xmlElement->getAttributeValue("labelPos");
    std::string_view x, y;
    if (!position || !splitPair(*position, ",", x, y))
        return;

    auto label = std::make_unique<CDiagramStatic>();
    label->SetStyleContainer(m_styleContainer);
    label->SetDependentPart(true);
    label->SetTitle(m_title);
    label->SetName(m_name);
    label->SetStyle(m_style);

    int width = 0;
    int height = 0;
    if (const auto size = m_xmlElement->getAttributeValue("labelSize"))
        readIntPair(*size, width, height);
    // A caption without a usable size is parked at the origin with no extent.
    if (width >= 1 && height >= 1) {
        // Kept within the int range of every other coordinate: far beyond it,
        // adding the width changes nothing and the caption would lose its size.
        const double left = std::clamp(toDouble(x), double{INT_MIN}, double{INT_MAX});
        const double top = std::clamp(toDouble(y), double{INT_MIN}, double{INT_MAX});
        label->SetLeft(left);
        label->SetTop(top);
        label->SetRight(left + width);
        label->SetBottom(top + height);
    }
    AdoptLabel(std::move(label));
}

bool CDiagramLinked::LoadLabelLayout()
{
    if (!m_label || !m_xmlElement)
        return true;
    int x = 0;
    int y = 0;
    if (ReadPercentagePair("labelSizing", x, y))
        m_label->SetSizing(x, y);
    if (ReadPercentagePair("labelMoving", x, y))
        m_label->SetMoving(x, y);
    return true;
}

bool CDiagramLinked::WriteLabelLayout()
{
    if (!m_label || !m_xmlWriter)
        return true;
    const IntPoint sizing = m_label->GetSizing();
    if (sizing.x != 0 || sizing.y != 0)
        m_xmlWriter->writeAttributePair("labelSizing", sizing.x, sizing.y);
    const IntPoint moving = m_label->GetMoving();
    if (moving.x != 0 || moving.y != 0)
        m_xmlWriter->writeAttributePair("labelMoving", moving.x, moving.y);
    return true;
}

void CDiagramLinked::AddProperties(PropertyGrid& grid, bool flag)
{
    AddEditBoxAppearance(grid, *this);

    PropertyItem& behaviour = grid.EnsureGroup(PropertyId::BehaviourGroup, "T_PROP_GROUP_BEHAVIOUR");
    auto tabOrder =
        grid.Merge(behaviour, PropertyId::TabOrder, "T_PROP_TABORDER", "H_PROP_TABORDER", std::int32_t{m_tabIndex});
    if (tabOrder.created) {
        tabOrder.item->SetEditor(PropertyEditor::Spin);
    } else {
        // One number cannot be typed for several fields.
        tabOrder.item->SetEditor(PropertyEditor::Plain);
        tabOrder.item->SetReadOnly(true);
    }

    PropertyItem& validation = grid.EnsureGroup(PropertyId::ValidationGroup, "FD_PROP_GRP_VALIDATION");
    grid.Merge(validation, PropertyId::ValidationRule, "FD_T_PROP_VALIDATION_RULE", "FD_H_PROP_VALIDATION_RULE",
               m_validationRule);
    grid.Merge(validation, PropertyId::ValidationMessage, "FD_T_PROP_VALIDATION_MSG", "FD_H_PROP_VALIDATION_MSG",
               m_validationMessage);

    CDiagramEntity::AddProperties(grid, flag);
}

}  // namespace fw
