#pragma once
// A table element: the area of a form in which the application lists objects.
// The editor only stores its settings (query, table, context, sort, drop and
// click behaviour) as text attributes and draws a placeholder grid.

#include "model/DiagramEntity.h"

#include <memory>

namespace fw {

class CDiagramTable : public CDiagramEntity {
public:
    CDiagramTable();
    ~CDiagramTable() override;

    std::unique_ptr<CDiagramEntity> Clone() const override;
    // A 4 x 4 placeholder grid in the pen the dc has selected.
    void DrawObject(DrawContext& dc, const IntRect& rect) override;
    void WriteXml() override;
    bool LoadXml() override;
    void AddProperties(PropertyGrid& grid, bool flag) override;

    // Gives a table about to be placed by the user the settings of a new one.
    void InitTable();

    int GetResizeX() const { return m_resizeX; }
    int GetResizeY() const { return m_resizeY; }

private:
    int m_resizeX = 100;
    int m_resizeY = 100;
};

}  // namespace fw
