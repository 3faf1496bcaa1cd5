#include "fuzz/FuzzSetup.h"

#include "controls/StandardControls.h"
#include "model/ElementFactory.h"
#include "services/ObjectModel.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fw::fuzz {

namespace {

std::string g_scratch;

void RemoveScratch()
{
    std::error_code ignored;
    std::filesystem::remove_all(g_scratch, ignored);
}

}  // namespace

void PrepareOnce()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    // A developer's own settings file must not change what an input does.
    ::setenv("FORMWRIGHT_CONFIG_FILE", "/nonexistent", 0);
    const char* dataDir = std::getenv("FORMWRIGHT_DATA_DIR");
    std::string data = dataDir && *dataDir ? dataDir : FORMWRIGHT_SOURCE_DATA_DIR;
    ClassFactory::SetModelFile(data + "/model/demo-model.xml");
    ClassFactory::FreeObjectModel();
    RegisterStandardControls(ElementFactory::Global());
}

std::string ScratchFile(const std::string& name)
{
    if (g_scratch.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "fw-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            Fail("cannot make a scratch folder", pattern);
        g_scratch = pattern;
        std::atexit(RemoveScratch);
    }
    return g_scratch + "/" + name;
}

bool WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return static_cast<bool>(out.flush());
}

void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "\n*** %s\n%s\n", what, detail.c_str());
    std::fflush(stderr);
    __builtin_trap();
}

}  // namespace fw::fuzz
