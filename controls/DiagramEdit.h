#pragma once
// A plain edit box: the property field's look without a bound property. It
// offers the field's appearance rows but keeps none of their values, and no
// file element reads or writes it.

#include "model/DiagramEntity.h"

#include <memory>

namespace fw {

class CDiagramEdit : public CDiagramEntity {
public:
    CDiagramEdit();
    ~CDiagramEdit() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void AddProperties(PropertyGrid& grid, bool flag) override;
};

// The appearance rows an edit box shows: title and name (not editable) and the
// four field flags as check boxes, merged with the rows already in the grid.
void AddEditBoxAppearance(PropertyGrid& grid, const CDiagramEntity& element);

}  // namespace fw
