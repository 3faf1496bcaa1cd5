// Any text as the one-line text form of a form and of its elements (what the
// clipboard carries): parsing must not crash, and what parses must give a
// text that parses again to the same element.

#include "controls/DiagramStatic.h"
#include "fuzz/FuzzSetup.h"
#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using namespace fw;

namespace {

template <typename Element> void CheckAgain(const Element& element, const std::string& text)
{
    const std::string first = element.GetString();
    Element copy;
    if (!copy.FromString(first))
        fuzz::Fail("the text form does not parse again", text + "\n---- gave ----\n" + first);
    if (copy.GetString() != first)
        fuzz::Fail("parsing the text form again changed it", first + "\n---- became ----\n" + copy.GetString());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::PrepareOnce();
    const std::string text(reinterpret_cast<const char*>(data), size);

    CDiagramEntityContainer form;
    if (form.FromString(text))
        CheckAgain(form, text);

    CDiagramEntity element;
    if (element.FromString(text))
        CheckAgain(element, text);

    if (std::unique_ptr<CDiagramStatic> label = CDiagramStatic::FromText(text)) {
        CheckAgain(*label, text);
        if (!CDiagramStatic::FromText(label->GetString()))
            fuzz::Fail("FromText refuses the text of its own element", label->GetString());
    }
    return 0;
}
