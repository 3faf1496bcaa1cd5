#include "support/Scratch.h"

#include "services/Environment.h"
#include "services/ObjectModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

namespace fw::test {

namespace fs = std::filesystem;

ScratchDir::ScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "fw-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        ADD_FAILURE() << "no scratch folder at " << pattern;
    m_path = pattern;
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

std::string ScratchDir::Put(const std::string& name, const std::string& text) const
{
    fs::path path = fs::path(m_path) / name;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

std::vector<std::string> ScratchDir::Names() const
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(m_path))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

ScopedFileSizeLimit::ScopedFileSizeLimit(unsigned long bytes)
{
    // The signal would end the process; the failing write is what tests look at.
    m_oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_old = limit.rlim_cur;
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ADD_FAILURE() << "cannot limit the file size";
}

ScopedFileSizeLimit::~ScopedFileSizeLimit()
{
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_old;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, m_oldHandler);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void ScopedEnv::Save(const char* name)
{
    const char* value = std::getenv(name);
    m_saved.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
}

ScopedEnv& ScopedEnv::Set(const char* name, const std::string& value)
{
    Save(name);
    setenv(name, value.c_str(), 1);
    return *this;
}

ScopedEnv& ScopedEnv::Unset(const char* name)
{
    Save(name);
    unsetenv(name);
    return *this;
}

ScopedEnv::~ScopedEnv()
{
    // Latest first, so a variable set twice ends with the value it had before the first.
    for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
        if (it->second)
            setenv(it->first.c_str(), it->second->c_str(), 1);
        else
            unsetenv(it->first.c_str());
    }
    Environment::instance().reload();
}

std::string DemoModelPath()
{
    return std::string(FORMWRIGHT_SOURCE_ROOT) + "/data/model/demo-model.xml";
}

DemoModel::DemoModel()
{
    ClassFactory::SetModelFile(DemoModelPath());
    ClassFactory::FreeObjectModel();
}

DemoModel::~DemoModel()
{
    ClassFactory::FreeObjectModel();
    ClassFactory::SetModelFile("");
}

}  // namespace fw::test
