// Any bytes as the settings file: the environment settings are read from it
// and every setting asked for, and each value is also read as a stored dialog
// placement (the desktop keeps those in its own settings store, which parses
// the file; what the values mean is read here). Nothing may crash, a
// placement must come back from its own text, and a placement kept on the
// desktop must lie on it.

#include "dialogs/DialogLayout.h"
#include "fuzz/FuzzSetup.h"
#include "services/Collection.h"
#include "services/Environment.h"
#include "services/Strings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

using namespace fw;

namespace {

void CheckPlacement(const std::string& text)
{
    const std::optional<DialogPlacement> placement = ParsePlacement(text);
    if (!placement)
        return;
    const std::optional<DialogPlacement> again = ParsePlacement(FormatPlacement(*placement));
    if (!again || again->rect != placement->rect || again->maximized != placement->maximized)
        fuzz::Fail("a placement does not come back from its text", text + " -> " + FormatPlacement(*placement));

    const MonitorSize extent = DesktopExtent({{1920, 1080}, {1280, 1024}});
    const DialogRect kept = ClipToDesktop(placement->rect, extent);
    const long long right = static_cast<long long>(kept.left) + kept.width;
    const long long bottom = static_cast<long long>(kept.top) + kept.height;
    if (kept.left < 0 || kept.top < 0 || kept.width <= 0 || kept.height <= 0 || right > extent.width ||
        bottom > extent.height)
        fuzz::Fail("a placement is kept off the desktop", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = [] {
        std::string file = fuzz::ScratchFile("environment.conf");
        // Only the file may decide; variables of the fuzzing shell would hide it.
        for (const char* name :
             {"FORMWRIGHT_DATA_DIR", "FORMWRIGHT_LANGUAGE", "FORMWRIGHT_OBJECT_MODEL", "FORMWRIGHT_HELP_FILE",
              "FORMWRIGHT_UI_FONT", "FORMWRIGHT_UI_FONT_SIZE", "FORMWRIGHT_CONFIG_DIR", "FORMWRIGHT_ADDINS"})
            ::unsetenv(name);
        ::setenv("FORMWRIGHT_CONFIG_FILE", file.c_str(), 1);
        return file;
    }();
    if (!fuzz::WriteBytes(path, data, size))
        fuzz::Fail("cannot write the input file", path);

    Environment& environment = Environment::instance();
    environment.reload();
    if (environment.language().empty() || environment.getUiFont().empty() || environment.getUiFontSize() <= 0)
        fuzz::Fail("a setting without its default");
    environment.helpFile("");
    environment.helpFile("other.hhp");
    environment.globalCfgPath();
    environment.languageDir();
    environment.objectModelFile();
    Collection<std::string> addins;
    environment.getDllFiles(addins);
    for (std::size_t i = 0; i < addins.count(); ++i)
        if (addins.at(i)->empty())
            fuzz::Fail("an empty add-in path");
    addins.deleteAll();

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string key;
    std::string value;
    for (std::string line; std::getline(in, line);) {
        if (!parseKeyValueLine(line, key, value))
            continue;
        std::string found;
        if (!environment.getVariable(key, found))
            fuzz::Fail("a setting in the file is not found", key);
        CheckPlacement(value);
    }
    return 0;
}
