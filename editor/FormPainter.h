#pragma once
// Paints a form the way the canvas shows it: the paper as an empty dialog
// face, shapes under controls, selection markers over everything.

#include "model/DiagramEntity.h"
#include "render/DrawContext.h"
#include "services/Geometry.h"

#include <string>
#include <vector>

namespace fw {

class CDiagramEntityContainer;

// The paper of a form view: face colour, a dark outline and a raised edge.
void DrawDialogFace(DrawContext& dc, const IntRect& paper);

// Every element at the zoom, in list order: shapes first, then the other
// elements, then the markers of the selected ones. With `areas` (zoomed
// pixels), only the elements whose drawing may reach one of them are visited
// (the form's index finds them without walking the list), each once.
void DrawFormElements(DrawContext& dc, CDiagramEntityContainer& form, double zoom,
                      const std::vector<IntRect>* areas = nullptr);

// The paper and every element: a form as the canvas shows it, without grid,
// margins or markers of the editor itself.
void PaintForm(DrawContext& dc, CDiagramEntityContainer& form, double zoom);

// The paper's rectangle in screen pixels at a zoom.
IntRect ZoomedPaper(const CDiagramEntityContainer& form, double zoom);

}  // namespace fw
