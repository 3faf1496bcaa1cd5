#pragma once
// Every visible text is looked up by key here. One UTF-8 file per language in
// <data>/lang/<Language>.lang; its header comment documents the format.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fw {

class LanguageTable {
public:
    // The process-wide table, loaded on first use for Environment::language().
    static LanguageTable& instance();

    // Replaces the table with the texts of one file; false when it cannot be
    // read (loadError() says why: the system's reason, or the size limit).
    bool load(const std::string& path);
    const std::string& loadError() const { return m_loadError; }
    // Loads <languageDir>/<language>.lang.
    bool loadLanguage(std::string_view language);
    // Loads the language of the Environment, or English when that has no file.
    bool loadConfigured();

    // The text for a key; the key itself when the table has none, so a missing
    // text is visible rather than blank.
    std::string langStr(std::string_view key) const;
    bool has(std::string_view key) const;
    std::vector<std::string> keys() const;
    const std::string& language() const { return m_language; }

private:
    std::unordered_map<std::string, std::string> m_texts;
    std::string m_language;
    std::string m_loadError;
};

// Shorthand for LanguageTable::instance().langStr(key).
std::string langStr(std::string_view key);

}  // namespace fw
