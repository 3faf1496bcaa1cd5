// Any bytes as a form definition file: reading must not crash, and whatever
// was read must be written as a file that reads back whole, with the same
// elements, and writes the same elements again.

#include "fuzz/FuzzSetup.h"
#include "model/FormDefinitionDocument.h"
#include "model/LoadObserver.h"
#include "services/Xml.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

using namespace fw;

namespace {

// Our own output must read without a single complaint.
class Complaints : public LoadObserver {
public:
    void FileProblem(const std::string& problem) override { Note("file: " + problem); }
    void FormProblem(const std::string& form, const std::string& problem) override
    {
        Note("form " + form + ": " + problem);
    }
    void ElementDropped(const std::string& form, const XmlElement& element, int ordinal,
                        const std::string& reason) override
    {
        Note("form " + form + ": " + std::string(element.getElementName()) + " #" + std::to_string(ordinal) +
             " (line " + std::to_string(element.getLine()) + ") dropped: " + reason);
    }
    std::string first;

private:
    void Note(const std::string& text)
    {
        if (first.empty())
            first = text;
    }
};

int CountElements(const FormDefinitionDocument& doc)
{
    int count = doc.GetMainForm()->GetCount();
    for (const auto& [filter, form] : doc.GetFilteredForms())
        count += form->GetCount();
    return count;
}

// The lines of a text in sorted order. Fields that share a tab index swap
// places on every save (the sort leaves a repeated index where it stands), so
// only the set of lines has to stay the same.
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    std::sort(lines.begin(), lines.end());
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::PrepareOnce();
    // The object class comes from the file name.
    static const std::string input = fuzz::ScratchFile("PUMP_Fuzz.xml");
    static const std::string output = fuzz::ScratchFile("PUMP_Written.xml");
    if (!fuzz::WriteBytes(input, data, size))
        fuzz::Fail("cannot write the input file", input);

    FormDefinitionDocument doc;
    if (!doc.ReadFile(input))
        return 0;
    const std::string written = doc.WriteToString();
    if (!fuzz::WriteBytes(output, reinterpret_cast<const std::uint8_t*>(written.data()), written.size()))
        fuzz::Fail("cannot write the output file", output);

    FormDefinitionDocument again;
    Complaints complaints;
    again.SetLoadObserver(&complaints);
    if (!again.ReadFile(output))
        fuzz::Fail("the written file cannot be read", complaints.first + "\n" + written);
    if (!complaints.first.empty())
        fuzz::Fail("reading the written file left something out", complaints.first + "\n" + written);
    if (!again.WasReadWhole())
        fuzz::Fail("the written file was not read whole", written);
    if (again.GetFilteredForms().size() != doc.GetFilteredForms().size() || CountElements(again) != CountElements(doc))
        fuzz::Fail("the written file holds other forms or elements", written);
    const std::string rewritten = again.WriteToString();
    if (rewritten != written && Lines(rewritten) != Lines(written))
        fuzz::Fail("writing what was read back changed the file", written + "\n---- became ----\n" + rewritten);
    return 0;
}
