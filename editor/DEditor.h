#pragma once
// The canvas editor of a form view: the paper looks like an empty dialog
// box, and the grid is one dot per intersection.

#include "editor/DiagramEditor.h"

namespace fw {

class CDEditor : public CDiagramEditor {
public:
    void DrawBackground(DrawContext& dc, const IntRect& rect, double zoom) override;
    void DrawGrid(DrawContext& dc, const IntRect& rect, double zoom) override;
};

}  // namespace fw
