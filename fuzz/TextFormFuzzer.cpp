// Any text as the one-line text form of a form and of its elements (what the
// clipboard carries), tried on every element kind: the base element, each
// control the element table registers, each kind of command button and the
// caption-less edit box; and as what the system clipboard carries between
// editors. Parsing must not crash, and what parses must give a text that
// parses again, into a fresh element of the same kind, to the same text; the
// elements read from a clipboard text must write a text that reads back to
// the same elements.

#include "controls/DiagramButton.h"
#include "controls/DiagramEdit.h"
#include "controls/DiagramStatic.h"
#include "fuzz/FuzzSetup.h"
#include "model/ClipboardText.h"
#include "model/DiagramEntity.h"
#include "model/DiagramEntityContainer.h"
#include "model/ElementFactory.h"
#include "services/ObjectModel.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace fw;

namespace {

template <typename Element> void CheckAgain(const Element& element, Element& copy, const std::string& text)
{
    const std::string first = element.GetString();
    if (!copy.FromString(first))
        fuzz::Fail("the text form does not parse again", text + "\n---- gave ----\n" + first);
    if (copy.GetString() != first)
        fuzz::Fail("parsing the text form again changed it", first + "\n---- became ----\n" + copy.GetString());
}

// One untouched element of every kind; inputs are read into clones of them.
const std::vector<std::unique_ptr<CDiagramEntity>>& Kinds()
{
    static const std::vector<std::unique_ptr<CDiagramEntity>> kinds = [] {
        std::vector<std::unique_ptr<CDiagramEntity>> made;
        made.push_back(std::make_unique<CDiagramEntity>());
        made.push_back(std::make_unique<CDiagramEdit>());
        for (const std::string& name : ElementFactory::Global().Names())
            made.push_back(ElementFactory::Global().Create(name));
        for (const ButtonKind& kind : CDiagramButton::Kinds()) {
            auto button = std::make_unique<CDiagramButton>();
            if (button->InitButton(kind.kind))
                made.push_back(std::move(button));
        }
        return made;
    }();
    return kinds;
}

void CheckClipboardText(const std::string& text)
{
    const ElementFactory& factory = ElementFactory::Global();
    const ObjectModel* model = ClassFactory::CurrentObjectModel();
    const ClipboardElements read = ReadClipboardText(text, factory, model);
    if (read.badLine != 0)
        return;
    if (read.copies.empty() && read.unknownClasses.empty())
        fuzz::Fail("clipboard text read into nothing without a problem", text);
    const std::string first = WriteClipboardText(read.copies);
    if (read.copies.empty())
        return;
    const ClipboardElements again = ReadClipboardText(first, factory, model);
    if (again.badLine != 0)
        fuzz::Fail("the written clipboard text does not read again", first + "\n---- " + again.problem);
    if (again.copies.size() != read.copies.size())
        fuzz::Fail("reading the clipboard text again lost elements", first);
    // A line's six decimals round an edge such as 100.0000001, which may turn a
    // size the file form truncates by one unit; from then on the text must hold.
    const std::string second = WriteClipboardText(again.copies);
    const ClipboardElements third = ReadClipboardText(second, factory, model);
    if (third.badLine != 0 || WriteClipboardText(third.copies) != second)
        fuzz::Fail("reading the clipboard text again changed it", second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::PrepareOnce();
    const std::string text(reinterpret_cast<const char*>(data), size);

    CDiagramEntityContainer form;
    if (form.FromString(text)) {
        CDiagramEntityContainer copy;
        CheckAgain(form, copy, text);
    }

    for (const std::unique_ptr<CDiagramEntity>& kind : Kinds()) {
        std::unique_ptr<CDiagramEntity> element = kind->Clone();
        if (!element->FromString(text))
            continue;
        std::unique_ptr<CDiagramEntity> copy = kind->Clone();
        CheckAgain(*element, *copy, text);
    }

    if (std::unique_ptr<CDiagramStatic> label = CDiagramStatic::FromText(text)) {
        CDiagramStatic copy;
        CheckAgain(*label, copy, text);
    }

    CheckClipboardText(text);
    return 0;
}
