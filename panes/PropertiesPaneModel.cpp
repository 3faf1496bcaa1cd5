#include "panes/PropertiesPaneModel.h"

#include "editor/DiagramEditor.h"
#include "editor/EditorHost.h"
#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>

namespace fw {

namespace {

// Form rows.
constexpr int FormHeightId = 4403;
constexpr int FormWidthId = 4404;
constexpr int GridShownId = 4405;
constexpr int GridHeightId = 4406;
constexpr int GridWidthId = 4407;
constexpr int SnapId = 4408;
constexpr int MarginShownId = 4409;
constexpr int ProgIdTypeId = 4414;
constexpr int SizeableId = 4415;
constexpr int HelpId = 4416;

// Element rows.
constexpr int TitleId = 4000;
constexpr int NameId = 4001;
constexpr int HeightId = 4004;
constexpr int WidthId = 4005;
constexpr int TopId = 4006;
constexpr int LeftId = 4007;
constexpr int MovingXId = 4008;
constexpr int MovingYId = 4009;
constexpr int SizingXId = 4010;
constexpr int SizingYId = 4011;
constexpr int TabOrderId = 4012;
constexpr int ButtonKindId = 4101;
constexpr int StyleId = 4201;
constexpr int ReadOnlyId = 4301;
constexpr int MandatoryId = 4302;
constexpr int MandatoryDefobjId = 4303;
constexpr int ValidationRuleId = 4304;
constexpr int ValidationMessageId = 4305;
constexpr int MultilineId = 4306;
constexpr int ImagePathId = 4501;
constexpr int ImageAttributeId = 4502;
constexpr int LineWidthId = 4600;
constexpr int LineColorId = 4601;
constexpr int FillColorId = 4602;
constexpr int CornerRadiusId = 4603;

// What a row's handler reads from the value.
enum class ValueKind { Unknown, Text, Real, Integer, Truth };

ValueKind FormRowKind(int id)
{
    switch (id) {
    case FormHeightId:
    case FormWidthId:
    case GridHeightId:
    case GridWidthId:
    case SnapId:
        return ValueKind::Integer;
    case GridShownId:
    case MarginShownId:
    case SizeableId:
        return ValueKind::Truth;
    case ProgIdTypeId:
    case HelpId:
        return ValueKind::Text;
    default:
        return ValueKind::Unknown;
    }
}

bool IsAttributeRow(int id)
{
    return (id >= 4111 && id <= 4121) || (id >= 4131 && id <= 4141) || id == ImageAttributeId;
}

ValueKind ControlRowKind(int id)
{
    if (IsAttributeRow(id))
        return ValueKind::Text;
    switch (id) {
    case TitleId:
    case NameId:
    case ButtonKindId:
    case StyleId:
    case ValidationRuleId:
    case ValidationMessageId:
    case ImagePathId:
    case LineColorId:
    case FillColorId:
        return ValueKind::Text;
    case HeightId:
    case WidthId:
    case TopId:
    case LeftId:
    case LineWidthId:
    case CornerRadiusId:
        return ValueKind::Real;
    case MovingXId:
    case MovingYId:
    case SizingXId:
    case SizingYId:
    case TabOrderId:
        return ValueKind::Integer;
    case ReadOnlyId:
    case MandatoryId:
    case MandatoryDefobjId:
    case MultilineId:
        return ValueKind::Truth;
    default:
        return ValueKind::Unknown;
    }
}

std::optional<double> AsReal(const PropertyValue& value)
{
    if (const auto* v = std::get_if<std::int32_t>(&value))
        return *v;
    if (const auto* v = std::get_if<std::int64_t>(&value))
        return static_cast<double>(*v);
    if (const auto* v = std::get_if<double>(&value))
        return std::isfinite(*v) ? std::optional<double>(*v) : std::nullopt;
    return std::nullopt;
}

std::optional<int> AsInteger(const PropertyValue& value)
{
    std::optional<double> real = AsReal(value);
    if (!real)
        return std::nullopt;
    // Out-of-range input saturates rather than wrapping around.
    const double clamped = std::clamp(std::trunc(*real), static_cast<double>(std::numeric_limits<int>::min()),
                                      static_cast<double>(std::numeric_limits<int>::max()));
    return static_cast<int>(clamped);
}

std::optional<bool> AsTruth(const PropertyValue& value)
{
    if (const auto* v = std::get_if<bool>(&value))
        return *v;
    if (std::holds_alternative<std::int32_t>(value) || std::holds_alternative<std::int64_t>(value))
        return *AsInteger(value) != 0;
    return std::nullopt;
}

// The grid's conversion to text; a check gives "-1" or "0", as the attribute
// readers expect.
std::string AsText(const PropertyValue& value)
{
    struct Visitor {
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(bool v) const { return v ? "-1" : "0"; }
        std::string operator()(double v) const
        {
            std::ostringstream out;
            out.precision(15);
            out << v;
            return out.str();
        }
    };
    return std::visit(Visitor{}, value);
}

bool Fits(ValueKind kind, const PropertyValue& value)
{
    switch (kind) {
    case ValueKind::Text:
        return true;
    case ValueKind::Real:
    case ValueKind::Integer:
        return AsReal(value).has_value();
    case ValueKind::Truth:
        return AsTruth(value).has_value();
    case ValueKind::Unknown:
        break;
    }
    return false;
}

// Captions follow their field, and "editbox" is a placeholder name.
bool TakesTitleAndName(const CDiagramEntity& element)
{
    if (element.IsDependentPart())
        return false;
    const std::string name = element.GetName();
    static const std::string placeholder = "editbox";
    return !std::equal(name.begin(), name.end(), placeholder.begin(), placeholder.end(),
                       [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

std::unique_ptr<PropertyItem> MakeRow(int id, const char* titleKey, const char* descriptionKey, PropertyValue value)
{
    return std::make_unique<PropertyItem>(id, langStr(titleKey), std::move(value), langStr(descriptionKey));
}

}  // namespace

void PropertiesPaneModel::SetEditor(CDiagramEditor* editor)
{
    m_editor = editor;
}

void PropertiesPaneModel::SetSelection(CDiagramEntity* element)
{
    m_selection.clear();
    if (element)
        m_selection.push_back(element);
}

void PropertiesPaneModel::AddSelection(CDiagramEntity* element)
{
    if (element)
        m_selection.push_back(element);
}

void PropertiesPaneModel::SetMode(int mode)
{
    if (mode == ControlMode)
        ShowControlProperties();
    else
        BuildFormRows();
}

void PropertiesPaneModel::Clear()
{
    m_editor = nullptr;
    m_selection.clear();
    m_grid.RemoveAll();
    m_lastTabValue = -1;
}

void PropertiesPaneModel::ShowFormProperties()
{
    // The editor says nothing is selected; elements it dropped must not linger.
    m_selection.clear();
    BuildFormRows();
}

void PropertiesPaneModel::BuildFormRows()
{
    m_mode = FormMode;
    m_grid.RemoveAll();
    CDiagramEntityContainer* form = m_editor ? m_editor->GetDiagramEntityContainer() : nullptr;
    if (!form)
        return;

    const IntSize paper = m_editor->GetVirtualSize();
    const IntSize cell = m_editor->GetGridSize();

    // The form's groups have no identifier of their own.
    PropertyItem& appearance = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_APPEARANCE")));
    appearance.AddSubItem(MakeRow(HelpId, "T_PROP_HELP", "H_PROP_HELP_FORM", form->GetHelp()));
    appearance.AddSubItem(MakeRow(FormHeightId, "T_PROP_HEIGHT", "H_PROP_HEIGHT_FORM", std::int32_t{paper.cy}));
    appearance.AddSubItem(MakeRow(FormWidthId, "T_PROP_WIDTH", "H_PROP_WIDTH_FORM", std::int32_t{paper.cx}));
    appearance.AddSubItem(MakeRow(SizeableId, "T_PROP_SIZEABLE", "H_PROP_SIZEABLE_FORM", form->IsSizeable()))
        .SetEditor(PropertyEditor::CheckBox);

    PropertyItem& grid = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_GRID")));
    grid.AddSubItem(MakeRow(GridShownId, "T_PROP_DLG_GRID", "H_PROP_DLG_GRID", m_editor->IsGridVisible()))
        .SetEditor(PropertyEditor::CheckBox);
    grid.AddSubItem(MakeRow(GridHeightId, "T_PROP_HEIGHT", "H_PROP_HEIGHT_GRID", std::int32_t{cell.cy}));
    grid.AddSubItem(MakeRow(GridWidthId, "T_PROP_WIDTH", "H_PROP_WIDTH_GRID", std::int32_t{cell.cx}));
    grid.AddSubItem(MakeRow(SnapId, "T_PROP_DLG_GRID_SNAP", "H_PROP_DLG_GRID_SNAP",
                            std::int64_t{m_editor->GetSnapToGrid() ? 1 : 0}));

    PropertyItem& margin = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_MARGIN")));
    margin.AddSubItem(MakeRow(MarginShownId, "T_PROP_DLG_MARGIN", "H_PROP_DLG_MARGIN", m_editor->IsMarginsVisible()))
        .SetEditor(PropertyEditor::CheckBox);

    PropertyItem& type = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_FRM_TYPE")));
    type.AddSubItem(MakeRow(ProgIdTypeId, "T_PROP_DLG_PROG_ID", "H_PROP_DLG_PROG_ID", form->GetProgIdType()))
        .SetOptions({"OEF", "OCF", "SEF", "CUSTOM"}, true);
}

void PropertiesPaneModel::ShowControlProperties()
{
    m_mode = ControlMode;
    m_grid.RemoveAll();
    for (CDiagramEntity* element : m_selection)
        element->AddProperties(m_grid, false);
    m_lastTabValue = -1;
}

bool PropertiesPaneModel::OnPropertyChanged(int id, const PropertyValue& value)
{
    bool applied = false;
    if (m_mode == FormMode)
        applied = ApplyFormProperty(id, value);
    else
        applied = ApplyControlProperty(id, value);
    if (!applied)
        return false;
    RepaintEditor();
    if (m_observer)
        m_observer();
    return true;
}

CDiagramEntityContainer* PropertiesPaneModel::TargetForm() const
{
    if (m_editor && m_editor->GetDiagramEntityContainer())
        return m_editor->GetDiagramEntityContainer();
    return m_selection.empty() ? nullptr : m_selection.front()->GetParent();
}

void PropertiesPaneModel::RepaintEditor() const
{
    if (m_editor && m_editor->GetHost())
        m_editor->GetHost()->Invalidate();
}

bool PropertiesPaneModel::ApplyFormProperty(int id, const PropertyValue& value)
{
    CDiagramEntityContainer* form = m_editor ? m_editor->GetDiagramEntityContainer() : nullptr;
    if (!form || !Fits(FormRowKind(id), value))
        return false;
    PropertyItem* item = m_grid.FindItem(id);
    // The grid and the margins are how the editor shows the form, not part of it.
    const bool viewOnly =
        id == GridShownId || id == GridHeightId || id == GridWidthId || id == SnapId || id == MarginShownId;
    if (!viewOnly)
        form->Snapshot(item ? item->GetTitle() : std::string());
    if (item)
        item->SetValue(value);

    const IntSize paper = m_editor->GetVirtualSize();
    const IntSize cell = m_editor->GetGridSize();
    switch (id) {
    case FormHeightId:
        m_editor->SetVirtualSize({paper.cx, *AsInteger(value)});
        break;
    case FormWidthId:
        m_editor->SetVirtualSize({*AsInteger(value), paper.cy});
        break;
    case GridShownId:
        m_editor->ShowGrid(*AsTruth(value));
        break;
    case GridHeightId:
        m_editor->SetGridSize({cell.cx, *AsInteger(value)});
        break;
    case GridWidthId:
        m_editor->SetGridSize({*AsInteger(value), cell.cy});
        break;
    case SnapId:
        m_editor->SetSnapToGrid(*AsInteger(value) != 0);
        break;
    case MarginShownId:
        m_editor->ShowMargins(*AsTruth(value));
        break;
    case ProgIdTypeId:
        form->SetProgIdType(AsText(value));
        break;
    case SizeableId:
        if (*AsTruth(value) != form->IsSizeable()) {
            form->SetSizeable(*AsTruth(value));
            form->SetModified(true);
        }
        break;
    case HelpId:
        if (AsText(value) != form->GetHelp()) {
            form->SetHelp(AsText(value));
            form->SetModified(true);
        }
        break;
    default:
        break;
    }
    return true;
}

bool PropertiesPaneModel::ApplyControlProperty(int id, const PropertyValue& value)
{
    const ValueKind kind = ControlRowKind(id);
    if (m_selection.empty() || !Fits(kind, value))
        return false;
    PropertyItem* item = m_grid.FindItem(id);
    if (CDiagramEntityContainer* form = TargetForm())
        form->Snapshot(item ? item->GetTitle() : std::string());
    // The tab order reads the row's value from before this edit.
    const PropertyValue before = item ? item->GetOriginalValue() : PropertyValue();
    if (item)
        item->SetValue(value);

    if (id == NameId) {
        ApplyName(AsText(value));
        return true;
    }
    if (id == TabOrderId) {
        const int oldIndex = m_lastTabValue != -1 ? m_lastTabValue : AsInteger(before).value_or(-1);
        ApplyTabIndex(oldIndex, *AsInteger(value));
        return true;
    }

    for (CDiagramEntity* element : m_selection) {
        switch (id) {
        case TitleId:
            if (TakesTitleAndName(*element))
                element->SetTitle(AsText(value));
            break;
        case HeightId:
            element->SetBottom(element->GetTop() + *AsReal(value));
            break;
        case WidthId:
            element->SetRight(element->GetLeft() + *AsReal(value));
            break;
        case TopId: {
            const double height = element->GetBottom() - element->GetTop();
            element->SetTop(*AsReal(value));
            element->SetBottom(*AsReal(value) + height);
            break;
        }
        case LeftId: {
            const double width = element->GetRight() - element->GetLeft();
            element->SetLeft(*AsReal(value));
            element->SetRight(*AsReal(value) + width);
            break;
        }
        case MovingXId:
            element->SetMovingX(*AsInteger(value));
            break;
        case MovingYId:
            element->SetMovingY(*AsInteger(value));
            break;
        case SizingXId:
            element->SetSizingX(*AsInteger(value));
            break;
        case SizingYId:
            element->SetSizingY(*AsInteger(value));
            break;
        case ButtonKindId:
            element->SetName(AsText(value));
            break;
        case StyleId:
            element->SetStyleName(AsText(value));
            break;
        case ReadOnlyId:
            element->SetReadOnly(*AsTruth(value));
            break;
        case MandatoryId:
            element->SetMandatory(*AsTruth(value));
            break;
        case MandatoryDefobjId:
            element->SetMandatoryDefobj(*AsTruth(value));
            break;
        case ValidationRuleId:
            element->SetValidationRule(AsText(value));
            break;
        case ValidationMessageId:
            element->SetValidationMessage(AsText(value));
            break;
        case MultilineId:
            element->SetMultiline(*AsTruth(value));
            break;
        case ImagePathId:
            element->SetImagePath(AsText(value));
            break;
        case LineWidthId:
            element->SetLineWidth(*AsReal(value));
            break;
        case LineColorId:
            element->SetLineColor(AsText(value));
            break;
        case FillColorId:
            element->SetFillColor(AsText(value));
            break;
        case CornerRadiusId:
            element->SetCornerRadius(*AsReal(value));
            break;
        default:
            // Attribute rows are titled with their key.
            if (IsAttributeRow(id) && item)
                element->SetAttribute(item->GetTitle(), AsText(value));
            break;
        }
    }
    return true;
}

void PropertiesPaneModel::ApplyName(const std::string& name)
{
    const std::string title = GetLocalePropertyName(name);
    if (!title.empty()) {
        bool titled = false;
        for (CDiagramEntity* element : m_selection) {
            if (!TakesTitleAndName(*element))
                continue;
            element->SetTitle(title);
            titled = true;
        }
        if (titled)
            if (PropertyItem* titleItem = m_grid.FindItem(TitleId))
                titleItem->SetValue(title);
    }
    for (CDiagramEntity* element : m_selection)
        if (TakesTitleAndName(*element))
            element->SetName(name);
}

void PropertiesPaneModel::ApplyTabIndex(int oldIndex, int value)
{
    if (value < 0)
        return;
    CDiagramEntity* field = m_selection.front();
    CDiagramEntityContainer* form = field->GetParent();
    if (!field->TakesPartInTabOrder() || !form)
        return;
    const int next = form->GetNextTabIndex(false);
    if (value < next) {
        field->SetTabIndex(value);
    } else {
        field->SetTabIndex(next);
        form->GetNextTabIndex(true);
    }
    form->ChangeTabIndex(oldIndex, value, field);
    m_lastTabValue = value;
}

}  // namespace fw
