// Settings file (FORMWRIGHT_CONFIG_FILE, else $XDG_CONFIG_HOME/formwright/environment.conf,
// else ~/.config/formwright/environment.conf), UTF-8, one setting a line:
//
//     # comment
//     language = German
//     helpFile = /opt/formwright/help/formwright.hhp
//     uiFont = Noto Sans
//     uiFontSize = 10
//     configDir = ~/forms/config
//     dataDir = /opt/formwright/share
//     addins = /opt/addins/one.so:/opt/addins/two.so
//     objectModel = ~/models/plant-model.xml
//     recoveryDir = ~/forms/recovery
//
// Keys are case-sensitive; blank lines, comment lines and lines without "=" are
// ignored; key and value are trimmed; a leading "~/" in a value means the home
// folder. Any other key can be read with getVariable(). The environment variable
// FORMWRIGHT_<KEY> (camel case split by "_", upper-cased: helpFile ->
// FORMWRIGHT_HELP_FILE) overrides the file; an empty variable counts as unset.

#include "services/Environment.h"

#include "services/InputFile.h"
#include "services/Strings.h"
#include "services/Tokens.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace fw {

namespace {

namespace fs = std::filesystem;

std::optional<std::string> envValue(const std::string& name)
{
    const char* value = std::getenv(name.c_str());
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

std::string homeDir()
{
    if (auto home = envValue("HOME"))
        return *home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

std::string expandHome(std::string path)
{
    if (path == "~" || startsWith(path, "~/"))
        return homeDir() + path.substr(1);
    return path;
}

std::string userConfigHome()
{
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    if (auto xdg = envValue("XDG_CONFIG_HOME"); xdg && (*xdg)[0] == '/')
        return *xdg;
    return homeDir() + "/.config";
}

std::string userStateHome()
{
    if (auto xdg = envValue("XDG_STATE_HOME"); xdg && (*xdg)[0] == '/')
        return *xdg;
    return homeDir() + "/.local/state";
}

std::string settingsFilePath()
{
    if (auto file = envValue("FORMWRIGHT_CONFIG_FILE"))
        return *file;
    return userConfigHome() + "/formwright/environment.conf";
}

// "helpFile" -> "FORMWRIGHT_HELP_FILE", "language" -> "FORMWRIGHT_LANGUAGE".
std::string variableName(std::string_view key)
{
    std::string name = "FORMWRIGHT_";
    for (std::size_t i = 0; i < key.size(); ++i) {
        char c = key[i];
        bool upper = c >= 'A' && c <= 'Z';
        if (upper && i > 0 && key[i - 1] >= 'a' && key[i - 1] <= 'z')
            name += '_';
        name += (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    return name;
}

bool isDirectory(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

#ifndef FORMWRIGHT_SOURCE_DATA_DIR
#define FORMWRIGHT_SOURCE_DATA_DIR ""
#endif
#ifndef FORMWRIGHT_INSTALL_DATA_DIR
#define FORMWRIGHT_INSTALL_DATA_DIR "/usr/share/formwright"
#endif

std::string installedDataDir()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return locateDataDir(ec ? std::string() : exe.string(), FORMWRIGHT_SOURCE_DATA_DIR, FORMWRIGHT_INSTALL_DATA_DIR);
}

}  // namespace

std::string locateDataDir(const std::string& executable, const std::string& sourceDir, const std::string& configuredDir)
{
    if (!executable.empty()) {
        const fs::path beside = fs::path(executable).parent_path().parent_path() / "share" / "formwright";
        if (isDirectory(beside.string()))
            return beside.lexically_normal().string();
    }
    return isDirectory(sourceDir) ? sourceDir : configuredDir;
}

Environment& Environment::instance()
{
    static Environment environment;
    return environment;
}

Environment::Environment()
{
    reload();
}

void Environment::reload()
{
    m_fileValues.clear();
    // A settings path that names a FIFO or a device must not stop the program.
    std::string contents;
    std::string error;
    readInputFile(settingsFilePath(), TextFileLimit, contents, error);
    std::istringstream in(contents);
    std::string line;
    std::string key;
    std::string value;
    while (std::getline(in, line))
        if (parseKeyValueLine(line, key, value))
            m_fileValues[key] = value;
}

bool Environment::getVariable(std::string_view name, std::string& value) const
{
    if (name.empty())
        return false;
    if (auto fromEnv = envValue(variableName(name))) {
        value = *fromEnv;
        return true;
    }
    auto it = m_fileValues.find(std::string(name));
    if (it == m_fileValues.end())
        return false;
    value = it->second;
    return true;
}

std::string Environment::language() const
{
    std::string value;
    return getVariable("language", value) && !value.empty() ? value : "English";
}

std::string Environment::helpFile(std::string_view name) const
{
    std::string book;
    if (getVariable("helpFile", book) && !book.empty())
        book = expandHome(book);
    else
        book = dataDir() + "/help/formwright.hhp";
    if (name.empty())
        return book;
    if (name[0] == '/')
        return std::string(name);
    // Other help files sit beside the product's book.
    return (fs::path(book).parent_path() / std::string(name)).string();
}

std::string Environment::getUiFont() const
{
    std::string value;
    return getVariable("uiFont", value) && !value.empty() ? value : "Sans";
}

int Environment::getUiFontSize() const
{
    std::string value;
    int size = getVariable("uiFontSize", value) ? toInt(value) : 0;
    return size > 0 ? size : 9;
}

std::string Environment::globalCfgPath() const
{
    std::string value;
    if (getVariable("configDir", value) && !value.empty())
        return expandHome(value);
    return userConfigHome() + "/formwright";
}

std::string Environment::dataDir() const
{
    std::string value;
    if (getVariable("dataDir", value) && !value.empty())
        return expandHome(value);
    return installedDataDir();
}

std::string Environment::languageDir() const
{
    return dataDir() + "/lang";
}

std::string Environment::objectModelFile() const
{
    std::string value;
    if (getVariable("objectModel", value) && !value.empty())
        return expandHome(value);
    return dataDir() + "/model/demo-model.xml";
}

std::string Environment::recoveryDir() const
{
    std::string value;
    if (getVariable("recoveryDir", value) && !value.empty())
        return expandHome(value);
    return userStateHome() + "/formwright/recovery";
}

void Environment::getDllFiles(Collection<std::string>& out) const
{
    std::string value;
    if (!getVariable("addins", value))
        return;
    TokenString paths(value, ":");
    for (int i = 0; i < paths.wordNumber(); ++i) {
        std::string path = trim(paths.word(i));
        if (path.empty())
            continue;
        auto entry = std::make_unique<std::string>(expandHome(path));
        out.add(entry.get());  // may throw; the entry is released only once held
        entry.release();
    }
}

}  // namespace fw
