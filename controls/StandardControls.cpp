#include "controls/StandardControls.h"

#include "controls/DiagramButton.h"
#include "controls/DiagramGraphicShapes.h"
#include "controls/DiagramImage.h"
#include "controls/DiagramLinked.h"
#include "controls/DiagramStatic.h"
#include "controls/DiagramTable.h"
#include "model/ElementFactory.h"

namespace fw {

namespace {
template <typename Control> void Enter(ElementFactory& table, const char* elementName)
{
    table.Register(elementName, [] { return std::make_unique<Control>(); });
}
}  // namespace

void RegisterStandardControls(ElementFactory& table)
{
    Enter<CDiagramLinked>(table, "Property");
    Enter<CDiagramStatic>(table, "Text");
    Enter<CDiagramImage>(table, "Image");
    Enter<CDiagramButton>(table, "Command");
    Enter<CDiagramTable>(table, "Table");
    Enter<CDiagramGraphicLine>(table, "Line");
    Enter<CDiagramGraphicRectangle>(table, "Rectangle");
    Enter<CDiagramGraphicEllipse>(table, "Ellipse");
}

}  // namespace fw
