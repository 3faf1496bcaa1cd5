#include "controls/DiagramEdit.h"

#include "controls/ControlDrawing.h"
#include "model/PropertyGrid.h"
#include "model/PropertyIds.h"

namespace fw {

namespace {

void AsCheckBox(const PropertyGrid::MergeResult& row)
{
    if (row.created)
        row.item->SetEditor(PropertyEditor::CheckBox);
}

}  // namespace

void AddEditBoxAppearance(PropertyGrid& grid, const CDiagramEntity& element)
{
    PropertyItem& appearance = grid.EnsureGroup(PropertyId::AppearanceGroup, "PROP_GRP_APPEARANCE");
    // Title and name come from the bound property, not from the designer.
    auto title = grid.Merge(appearance, PropertyId::Title, "T_PROP_TITLE", "H_PROP_TITLE", element.GetTitle());
    if (title.created)
        title.item->SetReadOnly(true);
    auto name = grid.Merge(appearance, PropertyId::Name, "T_PROP_NAME", "H_PROP_NAME", element.GetName());
    if (name.created)
        name.item->SetReadOnly(true);
    AsCheckBox(
        grid.Merge(appearance, PropertyId::ReadOnly, "T_PROP_READONLY", "H_PROP_READONLY", element.IsReadOnly()));
    AsCheckBox(
        grid.Merge(appearance, PropertyId::Mandatory, "T_PROP_MANDATORY", "H_PROP_MANDATORY", element.IsMandatory()));
    AsCheckBox(grid.Merge(appearance, PropertyId::MandatoryDefobj, "T_PROP_MANDATORYDEFOBJ", "H_PROP_MANDATORYDEFOBJ",
                          element.IsMandatoryDefobj()));
    AsCheckBox(
        grid.Merge(appearance, PropertyId::Multiline, "T_PROP_MULTILINE", "H_PROP_MULTILINE", element.IsMultiline()));
}

CDiagramEdit::CDiagramEdit()
{
    SetTitle("Edit");
    SetType("editbox");
    SetName("editbox");
    SetMinimumSize({1, 1});
}

CDiagramEdit::~CDiagramEdit() = default;

std::unique_ptr<CDiagramEntity> CDiagramEdit::Clone() const
{
    auto clone = std::make_unique<CDiagramEdit>();
    clone->Copy(*this);
    return clone;
}

void CDiagramEdit::DrawObject(DrawContext& dc, const IntRect& rect)
{
    DrawSunkenBox(dc, rect);
}

void CDiagramEdit::AddProperties(PropertyGrid& grid, bool flag)
{
    AddEditBoxAppearance(grid, *this);
    CDiagramEntity::AddProperties(grid, flag);
}

}  // namespace fw
