#include "panes/PropertiesPaneModel.h"

#include "controls/DiagramStatic.h"
#include "editor/DiagramEditor.h"
#include "editor/EditorHost.h"
#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "model/PropertyIds.h"
#include "render/DrawContext.h"
#include "services/LanguageTable.h"
#include "services/ObjectModel.h"
#include "services/Strings.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <variant>

namespace fw {

namespace {

// What a row's handler reads from the value.
enum class ValueKind { Unknown, Text, Real, Integer, Truth };

ValueKind FormRowKind(int id)
{
    switch (id) {
    case PropertyId::FormHeight:
    case PropertyId::FormWidth:
    case PropertyId::GridHeight:
    case PropertyId::GridWidth:
    case PropertyId::Snap:
        return ValueKind::Integer;
    case PropertyId::GridShown:
    case PropertyId::MarginShown:
    case PropertyId::Sizeable:
        return ValueKind::Truth;
    case PropertyId::ProgIdType:
    case PropertyId::Help:
        return ValueKind::Text;
    default:
        return ValueKind::Unknown;
    }
}

bool IsAttributeRow(int id)
{
    return (id >= PropertyId::FirstButtonAttribute && id <= PropertyId::LastButtonAttribute) ||
           (id >= PropertyId::FirstTableAttribute && id <= PropertyId::LastTableAttribute) ||
           id == PropertyId::FirstImageAttribute;
}

ValueKind ControlRowKind(int id)
{
    if (IsAttributeRow(id))
        return ValueKind::Text;
    switch (id) {
    case PropertyId::Title:
    case PropertyId::Name:
    case PropertyId::ButtonKind:
    case PropertyId::TextStyle:
    case PropertyId::ValidationRule:
    case PropertyId::ValidationMessage:
    case PropertyId::ImagePath:
    case PropertyId::LineColor:
    case PropertyId::FillColor:
        return ValueKind::Text;
    case PropertyId::Height:
    case PropertyId::Width:
    case PropertyId::Top:
    case PropertyId::Left:
    case PropertyId::LineWidth:
    case PropertyId::CornerRadius:
        return ValueKind::Real;
    case PropertyId::MovingX:
    case PropertyId::MovingY:
    case PropertyId::SizingX:
    case PropertyId::SizingY:
    case PropertyId::TabOrder:
        return ValueKind::Integer;
    case PropertyId::ReadOnly:
    case PropertyId::Mandatory:
    case PropertyId::MandatoryDefobj:
    case PropertyId::Multiline:
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

// The reader drops an element whose left or top is below 1 or whose colour
// is no colour text, and cannot place anything on a paper with a side below
// 1, so such values are turned down. It also drops an element with neither
// width nor height, and parks a caption with a side below 1. Places, sizes
// and paper sides beyond FormExtentLimit it refuses too, and the share an
// element moves or grows with the form outside 0 to 100 per cent.
bool FileKeeps(int id, const PropertyValue& value)
{
    constexpr double SmallestSide = 1.0;
    switch (id) {
    case PropertyId::Height:
    case PropertyId::Width:
        return *AsReal(value) >= SmallestSide && *AsReal(value) <= FormExtentLimit;
    case PropertyId::Left:
    case PropertyId::Top:
    case PropertyId::FormHeight:
    case PropertyId::FormWidth:
        return *AsReal(value) >= CDiagramEditor::LowestEdge && *AsReal(value) <= FormExtentLimit;
    case PropertyId::LineColor:
    case PropertyId::FillColor:
        return isColorText(AsText(value));
    case PropertyId::MovingX:
    case PropertyId::MovingY:
    case PropertyId::SizingX:
    case PropertyId::SizingY:
        return *AsInteger(value) >= 0 && *AsInteger(value) <= 100;
    default:
        return true;
    }
}

// Says why a place, size or paper side beyond the limit was turned down; a
// value below 1 is plainly wrong and needs no word.
void ExplainRefusal(const CDiagramEditor* editor, int id, const PropertyValue& value)
{
    const bool extent = id == PropertyId::Height || id == PropertyId::Width || id == PropertyId::Left ||
                        id == PropertyId::Top || id == PropertyId::FormHeight || id == PropertyId::FormWidth;
    if (extent && *AsReal(value) > FormExtentLimit && editor && editor->GetHost())
        editor->GetHost()->ShowMessage(langStr("MSG_EXTENT_LIMIT"), langStr("MSG_TILTLE_PROP_INFO"));
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

// A caption with a side below 1 loses its place when the file is read, so a
// caption given one side (one the file left without a size) gets the other.
void GiveCaptionBothSides(CDiagramEntity& caption)
{
    if (!caption.IsDependentPart())
        return;
    if (caption.GetRight() - caption.GetLeft() < 1)
        caption.SetRight(caption.GetLeft() + 1);
    if (caption.GetBottom() - caption.GetTop() < 1)
        caption.SetBottom(caption.GetTop() + 1);
}

// One edit of the row `id` on one selected element; an element without that
// property ignores it.
void ApplyToElement(CDiagramEntity& element, int id, const PropertyValue& value, const PropertyItem* item)
{
    switch (id) {
    case PropertyId::Title:
        if (TakesTitleAndName(element) && !element.TitleFollowsName())
            element.SetTitle(AsText(value));
        break;
    case PropertyId::Height:
        element.SetBottom(element.GetTop() + *AsReal(value));
        GiveCaptionBothSides(element);
        break;
    case PropertyId::Width:
        element.SetRight(element.GetLeft() + *AsReal(value));
        GiveCaptionBothSides(element);
        break;
    case PropertyId::Top: {
        const double height = element.GetBottom() - element.GetTop();
        element.SetTop(*AsReal(value));
        element.SetBottom(*AsReal(value) + height);
        break;
    }
    case PropertyId::Left: {
        const double width = element.GetRight() - element.GetLeft();
        element.SetLeft(*AsReal(value));
        element.SetRight(*AsReal(value) + width);
        break;
    }
    case PropertyId::MovingX:
        element.SetMovingX(*AsInteger(value));
        break;
    case PropertyId::MovingY:
        element.SetMovingY(*AsInteger(value));
        break;
    case PropertyId::SizingX:
        element.SetSizingX(*AsInteger(value));
        break;
    case PropertyId::SizingY:
        element.SetSizingY(*AsInteger(value));
        break;
    case PropertyId::ButtonKind:
        element.SetName(AsText(value));
        break;
    case PropertyId::TextStyle:
        element.SetStyleName(AsText(value));
        break;
    case PropertyId::ReadOnly:
        element.SetReadOnly(*AsTruth(value));
        break;
    case PropertyId::Mandatory:
        element.SetMandatory(*AsTruth(value));
        break;
    case PropertyId::MandatoryDefobj:
        element.SetMandatoryDefobj(*AsTruth(value));
        break;
    case PropertyId::ValidationRule:
        element.SetValidationRule(AsText(value));
        break;
    case PropertyId::ValidationMessage:
        element.SetValidationMessage(AsText(value));
        break;
    case PropertyId::Multiline:
        element.SetMultiline(*AsTruth(value));
        break;
    case PropertyId::ImagePath:
        element.SetImagePath(AsText(value));
        break;
    case PropertyId::LineWidth:
        element.SetLineWidth(*AsReal(value));
        break;
    case PropertyId::LineColor:
        element.SetLineColor(AsText(value));
        break;
    case PropertyId::FillColor:
        element.SetFillColor(AsText(value));
        break;
    case PropertyId::CornerRadius:
        element.SetCornerRadius(*AsReal(value));
        break;
    default:
        // Attribute rows are titled with their key; an element without
        // that attribute (another kind of button, say) is left alone.
        if (IsAttributeRow(id) && item && element.GetAttributes().count(item->GetTitle()) != 0)
            element.SetAttribute(item->GetTitle(), AsText(value));
        break;
    }
}

// A fixed list shows a value outside its options as one more entry.
bool ShownAsExtraOption(const PropertyItem& item)
{
    if (item.GetOptions().empty() || item.AllowsFreeText())
        return false;
    const std::string text = item.GetText();
    return std::find(item.GetOptions().begin(), item.GetOptions().end(), text) == item.GetOptions().end();
}

// Whether a window showing `a` can show `b` by changing values alone.
bool SameRows(const PropertyItem& a, const PropertyItem& b)
{
    if (a.GetId() != b.GetId() || a.IsGroup() != b.IsGroup() || a.GetTitle() != b.GetTitle() ||
        a.GetValue().index() != b.GetValue().index() || a.GetOptions() != b.GetOptions() ||
        a.AllowsFreeText() != b.AllowsFreeText() || a.IsReadOnly() != b.IsReadOnly() ||
        a.GetEditor() != b.GetEditor() || a.GetFileFilter() != b.GetFileFilter() ||
        a.GetSubItemCount() != b.GetSubItemCount())
        return false;
    if ((ShownAsExtraOption(a) || ShownAsExtraOption(b)) && a.GetValue() != b.GetValue())
        return false;
    for (int i = 0; i < a.GetSubItemCount(); ++i)
        if (!SameRows(*a.GetSubItem(i), *b.GetSubItem(i)))
            return false;
    return true;
}

bool SameRows(const PropertyGrid& a, const PropertyGrid& b)
{
    if (a.GetPropertyCount() != b.GetPropertyCount())
        return false;
    for (int i = 0; i < a.GetPropertyCount(); ++i)
        if (!SameRows(*a.GetProperty(i), *b.GetProperty(i)))
            return false;
    return true;
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
    const PropertyGrid before = std::exchange(m_grid, PropertyGrid());
    m_valuesStale = false;
    NoteUpdate(before, m_mode);
    m_lastTabValue = -1;
}

const PropertyGrid& PropertiesPaneModel::GetGrid()
{
    Flush();
    return m_grid;
}

void PropertiesPaneModel::RefreshValues()
{
    if (m_mode == ControlMode)
        m_valuesStale = true;
}

void PropertiesPaneModel::Flush()
{
    if (m_valuesStale)
        BuildControlRows();
}

PaneUpdate PropertiesPaneModel::TakeUpdate()
{
    Flush();
    return std::exchange(m_update, PaneUpdate::None);
}

void PropertiesPaneModel::NoteUpdate(const PropertyGrid& before, int beforeMode)
{
    if (m_update == PaneUpdate::Rows)
        return;
    m_update = beforeMode == m_mode && SameRows(before, m_grid) ? PaneUpdate::Values : PaneUpdate::Rows;
}

void PropertiesPaneModel::ShowFormProperties()
{
    // The editor says nothing is selected; elements it dropped must not linger.
    m_selection.clear();
    BuildFormRows();
}

void PropertiesPaneModel::BuildFormRows()
{
    const int beforeMode = std::exchange(m_mode, FormMode);
    const PropertyGrid before = std::exchange(m_grid, PropertyGrid());
    m_valuesStale = false;
    CDiagramEntityContainer* form = m_editor ? m_editor->GetDiagramEntityContainer() : nullptr;
    if (form)
        AddFormRows(*form);
    NoteUpdate(before, beforeMode);
}

void PropertiesPaneModel::AddFormRows(const CDiagramEntityContainer& form)
{
    const IntSize paper = m_editor->GetVirtualSize();
    const IntSize cell = m_editor->GetGridSize();

    // The form's groups have no identifier of their own.
    PropertyItem& appearance = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_APPEARANCE")));
    appearance.AddSubItem(MakeRow(PropertyId::Help, "T_PROP_HELP", "H_PROP_HELP_FORM", form.GetHelp()));
    appearance.AddSubItem(
        MakeRow(PropertyId::FormHeight, "T_PROP_HEIGHT", "H_PROP_HEIGHT_FORM", std::int32_t{paper.cy}));
    appearance.AddSubItem(MakeRow(PropertyId::FormWidth, "T_PROP_WIDTH", "H_PROP_WIDTH_FORM", std::int32_t{paper.cx}));
    appearance.AddSubItem(MakeRow(PropertyId::Sizeable, "T_PROP_SIZEABLE", "H_PROP_SIZEABLE_FORM", form.IsSizeable()))
        .SetEditor(PropertyEditor::CheckBox);

    PropertyItem& grid = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_GRID")));
    grid.AddSubItem(MakeRow(PropertyId::GridShown, "T_PROP_DLG_GRID", "H_PROP_DLG_GRID", m_editor->IsGridVisible()))
        .SetEditor(PropertyEditor::CheckBox);
    grid.AddSubItem(MakeRow(PropertyId::GridHeight, "T_PROP_HEIGHT", "H_PROP_HEIGHT_GRID", std::int32_t{cell.cy}));
    grid.AddSubItem(MakeRow(PropertyId::GridWidth, "T_PROP_WIDTH", "H_PROP_WIDTH_GRID", std::int32_t{cell.cx}));
    grid.AddSubItem(MakeRow(PropertyId::Snap, "T_PROP_DLG_GRID_SNAP", "H_PROP_DLG_GRID_SNAP",
                            std::int64_t{m_editor->GetSnapToGrid() ? 1 : 0}));

    PropertyItem& margin = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_MARGIN")));
    margin
        .AddSubItem(
            MakeRow(PropertyId::MarginShown, "T_PROP_DLG_MARGIN", "H_PROP_DLG_MARGIN", m_editor->IsMarginsVisible()))
        .SetEditor(PropertyEditor::CheckBox);

    PropertyItem& type = m_grid.AddProperty(PropertyItem::MakeGroup(0, langStr("PROP_GRP_FRM_TYPE")));
    type.AddSubItem(MakeRow(PropertyId::ProgIdType, "T_PROP_DLG_PROG_ID", "H_PROP_DLG_PROG_ID", form.GetProgIdType()))
        .SetOptions({"OEF", "OCF", "SEF", "CUSTOM"}, true);
}

bool PropertiesPaneModel::DropElementsNotInForm()
{
    const CDiagramEntityContainer* form = m_editor ? m_editor->GetDiagramEntityContainer() : nullptr;
    const auto gone = [form](const CDiagramEntity* element) { return !form || form->FindIndex(element) < 0; };
    const auto kept = std::remove_if(m_selection.begin(), m_selection.end(), gone);
    const bool dropped = kept != m_selection.end();
    m_selection.erase(kept, m_selection.end());
    return dropped;
}

void PropertiesPaneModel::ShowControlProperties()
{
    BuildControlRows();
}

void PropertiesPaneModel::BuildControlRows()
{
    const int beforeMode = std::exchange(m_mode, ControlMode);
    const PropertyGrid before = std::exchange(m_grid, PropertyGrid());
    m_valuesStale = false;
    DropElementsNotInForm();
    for (CDiagramEntity* element : m_selection) {
        m_grid.BeginElement();
        element->AddProperties(m_grid, false);
        m_grid.EndElement();
    }
    m_lastTabValue = -1;
    NoteUpdate(before, beforeMode);
}

bool PropertiesPaneModel::OnPropertyChanged(int id, const PropertyValue& value)
{
    // An edit acts on the values the elements have now.
    Flush();
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
    return m_editor ? m_editor->GetDiagramEntityContainer() : nullptr;
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
    if (!FileKeeps(id, value)) {
        ExplainRefusal(m_editor, id, value);
        return false;
    }
    PropertyItem* item = m_grid.FindItem(id);
    // The value the row holds already changes nothing: no step, no edit.
    if (item && item->GetValue() == value)
        return true;
    // The grid and the margins are how the editor shows the form, not part of it.
    const bool viewOnly = id == PropertyId::GridShown || id == PropertyId::GridHeight || id == PropertyId::GridWidth ||
                          id == PropertyId::Snap || id == PropertyId::MarginShown;
    if (!viewOnly)
        form->Snapshot(item ? item->GetTitle() : std::string());
    if (item)
        item->SetValue(value);

    const IntSize paper = m_editor->GetVirtualSize();
    const IntSize cell = m_editor->GetGridSize();
    switch (id) {
    case PropertyId::FormHeight:
        m_editor->SetVirtualSize({paper.cx, *AsInteger(value)});
        break;
    case PropertyId::FormWidth:
        m_editor->SetVirtualSize({*AsInteger(value), paper.cy});
        break;
    case PropertyId::GridShown:
        m_editor->ShowGrid(*AsTruth(value));
        break;
    case PropertyId::GridHeight:
        m_editor->SetGridSize({cell.cx, *AsInteger(value)});
        break;
    case PropertyId::GridWidth:
        m_editor->SetGridSize({*AsInteger(value), cell.cy});
        break;
    case PropertyId::Snap:
        m_editor->SetSnapToGrid(*AsInteger(value) != 0);
        break;
    case PropertyId::MarginShown:
        m_editor->ShowMargins(*AsTruth(value));
        break;
    case PropertyId::ProgIdType:
        // The type is written into the file, so a new one is a change to save.
        if (AsText(value) != form->GetProgIdType()) {
            form->SetProgIdType(AsText(value));
            form->SetModified(true);
        }
        break;
    case PropertyId::Sizeable:
        if (*AsTruth(value) != form->IsSizeable()) {
            form->SetSizeable(*AsTruth(value));
            form->SetModified(true);
        }
        break;
    case PropertyId::Help:
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
    // The rows were built for elements that are gone: the edit has no target.
    if (DropElementsNotInForm()) {
        ShowControlProperties();
        return false;
    }
    if (m_selection.empty() || !Fits(kind, value))
        return false;
    if (!FileKeeps(id, value)) {
        ExplainRefusal(m_editor, id, value);
        return false;
    }
    if (id == PropertyId::Name && !AcceptsName(AsText(value)))
        return false;
    // A row is shown only when every selected element has it, so an edit of
    // another would reach elements whose file cannot keep it.
    PropertyItem* item = m_grid.FindItem(id);
    if (!item || item->IsGroup())
        return false;
    // The value the row holds already changes nothing: no step, no edit. A
    // mark of disagreeing elements is not theirs, so typing it applies.
    if (item->GetValue() == value && !item->IsMixed())
        return true;
    if (CDiagramEntityContainer* form = TargetForm())
        form->Snapshot(item->GetTitle(), m_editor ? m_editor->GetSelectedObject() : nullptr);
    item->SetValue(value);
    item->SetMixed(false);

    if (id == PropertyId::Name) {
        ApplyName(AsText(value));
        return true;
    }
    if (id == PropertyId::TabOrder) {
        ApplyTabIndex(*AsInteger(value));
        return true;
    }

    for (CDiagramEntity* element : m_selection)
        ApplyToElement(*element, id, value, item);
    return true;
}

bool PropertiesPaneModel::AcceptsName(const std::string& name) const
{
    if (!trim(name).empty())
        return true;
    // The file keeps an element by its name: without one it is lost on reading.
    if (m_editor && m_editor->GetHost())
        m_editor->GetHost()->ShowMessage(langStr("MSG_NAME_EMPTY"), langStr("MSG_TILTLE_PROP_INFO"));
    return false;
}

void PropertiesPaneModel::ApplyName(const std::string& name)
{
    // A text shows the model's text for its key, else the key, as it will
    // after reopening; other elements take the model's text when it has one.
    const std::string known = GetLocalePropertyName(name);
    std::optional<std::string> shown;
    for (CDiagramEntity* element : m_selection) {
        if (!TakesTitleAndName(*element))
            continue;
        const std::string title = element->TitleFollowsName() ? CDiagramStatic::TitleOfKey(name) : known;
        if (!title.empty()) {
            element->SetTitle(title);
            if (!shown)
                shown = title;
        }
        element->SetName(name);
    }
    if (PropertyItem* titleItem = m_grid.FindItem(PropertyId::Title); titleItem && shown)
        titleItem->SetValue(*shown);
}

void PropertiesPaneModel::ApplyTabIndex(int value)
{
    if (value < 0)
        return;
    CDiagramEntity* field = m_selection.front();
    CDiagramEntityContainer* form = field->GetParent();
    if (!field->TakesPartInTabOrder() || !form)
        return;
    // The others make room from the field's own number: the row's value, or
    // the one typed last, is stale once the form was renumbered meanwhile
    // (tab order from positions), and two fields would end up sharing one.
    const int oldIndex = field->GetTabIndex();
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

std::string ShownValueText(const PropertyItem& item)
{
    if (item.IsGroup() || item.IsMixed())
        return {};
    struct Visitor {
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(std::int32_t v) const { return std::to_string(v); }
        std::string operator()(std::int64_t v) const { return std::to_string(v); }
        std::string operator()(double v) const
        {
            std::ostringstream out;
            out << v;
            return out.str();
        }
        std::string operator()(bool) const { return {}; }
    };
    return std::visit(Visitor{}, item.GetValue());
}

bool RowMatchesSearch(const PropertyItem& item, const std::string& text)
{
    if (text.empty())
        return true;
    // The folding matcher takes care of any script; the typed text stands anywhere.
    const std::string pattern = "*" + text + "*";
    return wildCardCheck(item.GetTitle(), pattern, false) || wildCardCheck(ShownValueText(item), pattern, false);
}

bool RowShownBySearch(const PropertyItem& item, const std::string& text)
{
    if (!item.IsGroup() && RowMatchesSearch(item, text))
        return true;
    for (int i = 0; i < item.GetSubItemCount(); ++i)
        if (RowShownBySearch(*item.GetSubItem(i), text))
            return true;
    return false;
}

bool IsColourRow(int id)
{
    return id == PropertyId::LineColor || id == PropertyId::FillColor;
}

bool ColourForPicker(const std::string& text, unsigned char& r, unsigned char& g, unsigned char& b)
{
    Color color;
    bool fillable = true;
    if (!parseColorText(text, color, &fillable))
        return false;
    // "No fill" has no colour to start from.
    if (!fillable)
        color = Color{255, 255, 255};
    r = color.r;
    g = color.g;
    b = color.b;
    return true;
}

std::string ColourFromPicker(unsigned char r, unsigned char g, unsigned char b)
{
    return std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b);
}

}  // namespace fw
