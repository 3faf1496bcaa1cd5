#pragma once
// Settings of the running installation. Each value comes from a FORMWRIGHT_*
// environment variable when set, else from the per-user file
// ($XDG_CONFIG_HOME/formwright/environment.conf, lines "key = value"), else from
// a default that points into the shipped data folder.

#include "services/Collection.h"

#include <map>
#include <string>
#include <string_view>

namespace fw {

class Environment {
public:
    static Environment& instance();

    // Re-reads the environment and the per-user file (tests change them).
    void reload();

    std::string language() const;                       // "English" or "German"; default "English"
    std::string helpFile(std::string_view name) const;  // empty name: the product's help book
    std::string getUiFont() const;                      // default "Sans"
    int getUiFontSize() const;                          // points; default 9
    std::string globalCfgPath() const;                  // configuration folder
    std::string dataDir() const;                        // the shipped data folder
    std::string languageDir() const;                    // dataDir()/lang
    std::string objectModelFile() const;                // default dataDir()/model/demo-model.xml
    std::string recoveryDir() const;                    // default $XDG_STATE_HOME/formwright/recovery
    // Appends the add-in library paths (caller deletes them with deleteAll()).
    void getDllFiles(Collection<std::string>& out) const;
    // Any setting by name: FORMWRIGHT_<NAME> first, then the per-user file.
    bool getVariable(std::string_view name, std::string& value) const;

private:
    Environment();

    std::map<std::string, std::string> m_fileValues;
};

// The shipped data folder when no setting names one: <prefix>/share/formwright
// beside the program at <prefix>/bin, so that an installed, staged or moved
// tree finds its own data; else the source tree's (a program run from its
// build folder), else the configured install prefix's, which is also the
// answer when none of them is there.
std::string locateDataDir(const std::string& executable, const std::string& sourceDir,
                          const std::string& configuredDir);

}  // namespace fw
