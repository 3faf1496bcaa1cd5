// Any bytes as a language file: reading must not crash, and every text it
// gives must be found under a key as the file format describes keys.

#include "fuzz/FuzzSetup.h"
#include "services/LanguageTable.h"
#include "services/Strings.h"

#include <cstddef>
#include <cstdint>
#include <string>

using namespace fw;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchFile("Fuzz.lang");
    if (!fuzz::WriteBytes(path, data, size))
        fuzz::Fail("cannot write the input file", path);

    LanguageTable table;
    if (!table.load(path))
        fuzz::Fail("a readable language file was refused", path);
    if (table.language() != "Fuzz")
        fuzz::Fail("the language is not the file's name", table.language());
    for (const std::string& key : table.keys()) {
        // The key runs up to the first "=" and comes trimmed.
        if (key.empty() || key != trim(key) || key.find('=') != std::string::npos || key[0] == '#')
            fuzz::Fail("a key the format cannot give", key);
        if (!table.has(key))
            fuzz::Fail("a listed key is not found", key);
        table.langStr(key);
    }
    // A key without a line answers itself.
    const std::string probe = "NO SUCH KEY";
    if (table.has("") || (!table.has(probe) && table.langStr(probe) != probe))
        fuzz::Fail("a key that no line gives has a text");
    return 0;
}
