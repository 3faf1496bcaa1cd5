#pragma once

namespace fw {

class ElementFactory;

// Enters every control class under its XML element name ("Property", "Text",
// "Image", "Command", "Table", "Line", "Rectangle", "Ellipse").
void RegisterStandardControls(ElementFactory& table);

}  // namespace fw
