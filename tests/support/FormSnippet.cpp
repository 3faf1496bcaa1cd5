#include "support/FormSnippet.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fw::test {

FormSnippet::FormSnippet(void (*registerElements)(ElementFactory&))
{
    registerElements(factory);
    styles.CreateDefaults();
    form.SetElementFactory(&factory);
    form.SetStyleContainer(&styles);
}

bool FormSnippet::Load(const std::string& controls)
{
    return LoadControls("<Controls>" + controls + "</Controls>");
}

bool FormSnippet::LoadControls(const std::string& controlsElement)
{
    form.RemoveAll();
    if (!doc.parse(R"(<Dialog title="t" size="700,600">)" + controlsElement + "</Dialog>")) {
        ADD_FAILURE() << doc.errorText();
        return false;
    }
    form.SetXmlElement(doc.root());
    return form.LoadDialog();
}

std::string FormSnippet::Write()
{
    XmlWriter writer;
    form.SetXmlWriter(&writer);
    form.WriteControls();
    form.SetXmlWriter(nullptr);
    return writer.text();
}

std::vector<std::string> FormSnippet::WrittenLines()
{
    std::vector<std::string> lines;
    std::istringstream text(Write());
    for (std::string line; std::getline(text, line);) {
        line.erase(0, line.find_first_not_of(' '));
        if (line.rfind("<Controls", 0) != 0 && line.rfind("</Controls", 0) != 0)
            lines.push_back(line);
    }
    return lines;
}

std::string FormSnippet::Rewrite()
{
    const int count = Count();
    if (!LoadControls(Write()) || Count() != count)
        return "(not read back whole)";
    return Write();
}

}  // namespace fw::test
