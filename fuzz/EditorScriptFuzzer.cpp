// Any text as an editor script, run against a sample form in the headless
// editor, which then paints its window: checking, running and painting must
// not crash, and whatever the script did must still write a file that reads
// back whole.
//
// A "# form: NAME.xml" comment picks the form among the samples and fixtures
// (as the kept scripts name theirs), else the pump sample is used. Scripts are
// cut at 64 lines and 2000 timer ticks, so one input stays far below the
// fuzzer's time limit.

#include "fuzz/FuzzSetup.h"
#include "model/FormDefinitionDocument.h"
#include "render/CairoDrawContext.h"
#include "tools/EditorScript.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

using namespace fw;

namespace {

constexpr std::size_t kMaxLines = 64;
constexpr long kMaxTicks = 2000;
constexpr int kMaxPaintSide = 1200;

// The form the script names, if it is one we ship or test with.
std::string FormFor(const std::string& script)
{
    static const std::string root = FORMWRIGHT_SOURCE_ROOT;
    const std::size_t at = script.find("# form: ");
    if (at != std::string::npos) {
        std::string name = script.substr(at + 8, script.find('\n', at) - at - 8);
        name = std::filesystem::path(name).filename().string();
        for (const char* dir : {"/data/samples/", "/tests/fixtures/"}) {
            std::error_code ignored;
            if (!name.empty() && std::filesystem::is_regular_file(root + dir + name, ignored))
                return root + dir + name;
        }
    }
    return root + "/data/samples/PUMP_Main.xml";
}

// Too many lines or ticks would only make the input slow, not more telling.
bool WithinBounds(const std::string& script)
{
    std::istringstream in(script);
    std::size_t lines = 0;
    long ticks = 0;
    for (std::string line; std::getline(in, line);) {
        if (++lines > kMaxLines)
            return false;
        std::istringstream words(line);
        std::string verb;
        if (words >> verb && verb == "tick") {
            std::string count;
            ticks += words >> count ? std::max(1L, std::strtol(count.c_str(), nullptr, 10)) : 1;
            if (ticks > kMaxTicks)
                return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::PrepareOnce();
    const std::string script(reinterpret_cast<const char*>(data), size);
    if (!WithinBounds(script))
        return 0;

    const std::string form = FormFor(script);
    FormDefinitionDocument doc;
    if (!doc.ReadFile(form))
        fuzz::Fail("a sample form cannot be read", form);
    const bool whole = doc.WasReadWhole();
    HeadlessFormView session(doc);
    std::istringstream in(script);
    std::ostringstream notes;
    RunEditorScript(session.View(), session.Host(), in, notes, "fuzz");

    const IntSize client = session.Host().GetClientSize();
    std::unique_ptr<CairoDrawContext> dc =
        CairoDrawContext::ForImage(std::min(client.cx, kMaxPaintSide), std::min(client.cy, kMaxPaintSide));
    if (!dc)
        fuzz::Fail("no surface to paint on");
    session.Editor().Paint(*dc);

    // What the editor made must survive a save and a reopening; the file
    // name keeps the form's object class.
    const std::string saved = fuzz::ScratchFile(std::filesystem::path(form).filename().string());
    const std::string written = doc.WriteToString();
    if (!fuzz::WriteBytes(saved, reinterpret_cast<const std::uint8_t*>(written.data()), written.size()))
        fuzz::Fail("cannot write the edited form", saved);
    // What saving cannot keep (an image without a picture) the designer is
    // told about before the save, and may go on: that is no fault here. The
    // losses are judged beside the sample, where its pictures lie.
    const bool keepsAll = doc.GetSaveLosses(form).empty();
    FormDefinitionDocument again;
    if (!again.ReadFile(saved) || (whole && keepsAll && !again.WasReadWhole()))
        fuzz::Fail("the edited form does not read back whole",
                   script + "\n---- notes ----\n" + notes.str() + "---- file ----\n" + written);
    return 0;
}
