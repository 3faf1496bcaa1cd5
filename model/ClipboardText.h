#pragma once
// The element clipboard as text, so that elements travel between running
// editors through the system clipboard. One line an element, in the element
// text form ("type:left,top,right,bottom,title,name,group") followed by two
// fields of its own: the object class of a property field and the element as
// a form file writes it. A caption follows its field as a plain line, and the
// styles the elements use come first, one "style:" line each. The separators
// of the text form and line breaks inside those two fields are written as
// percent codes ("%2C" for ","), so a line never splits where it should not.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

class CDiagramEntity;
class ElementFactory;
class ObjectModel;

// The type of data the system clipboard carries the text under.
constexpr const char* ClipboardElementsFormat = "application/x-formwright-elements";

// What a clipboard text gives.
struct ClipboardElements {
    // As the element clipboard stores them: selected, each field followed by its caption.
    std::vector<std::unique_ptr<CDiagramEntity>> copies;
    // The classes of property fields left out because the object model lacks
    // them, each once, in order of first appearance.
    std::vector<std::string> unknownClasses;
    // The line (from 1) that could not be read, and why; 0 when all could.
    // Nothing is given when one cannot.
    int badLine = 0;
    std::string problem;
};

// The text of the element clipboard's copies; elements that a form file
// cannot hold (nothing written for them) are left out.
std::string WriteClipboardText(const std::vector<std::unique_ptr<CDiagramEntity>>& copies);

// Reads a clipboard text with `factory`'s element kinds. Property fields of a
// class `model` lacks are left out and named; no check without a model.
ClipboardElements ReadClipboardText(std::string_view text, const ElementFactory& factory, const ObjectModel* model);

}  // namespace fw
