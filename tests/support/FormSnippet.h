#pragma once
// A form for the tests of element readers and writers: Load("<Text .../>") reads
// <Dialog title="t" size="700,600"><Controls>...</Controls></Dialog> through its
// element table; Write() answers the "Controls" element the form writes.

#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "model/EntityStyle.h"
#include "services/Xml.h"

#include <string>
#include <vector>

namespace fw::test {

class FormSnippet {
public:
    // `registerElements` fills the element table (RegisterTestElements, say);
    // the form also gets the default style list.
    explicit FormSnippet(void (*registerElements)(ElementFactory&));

    // Empties the form and reads `controls` as the children of "Controls".
    bool Load(const std::string& controls);
    // Likewise for a whole "Controls" element, such as Write() answers.
    bool LoadControls(const std::string& controlsElement);
    std::string Write();
    // The written elements, one a line, without indentation and the "Controls" lines.
    std::vector<std::string> WrittenLines();
    // Reads back what Write() answers and answers the second writing.
    std::string Rewrite();

    CDiagramEntity* At(int index) const { return form.GetAt(index); }
    int Count() const { return form.GetCount(); }

    ElementFactory factory;
    CEntityStyleContainer styles;
    CDiagramEntityContainer form;
    XmlDocument doc;
};

}  // namespace fw::test
