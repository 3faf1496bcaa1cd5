#include "services/LanguageTable.h"

#include "services/Environment.h"
#include "services/InputFile.h"
#include "services/Strings.h"

#include <algorithm>
#include <sstream>

namespace fw {

namespace {

std::string unescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out.push_back(c);
            continue;
        }
        switch (text[i + 1]) {
        case 'n':
            out.push_back('\n');
            break;
        case 't':
            out.push_back('\t');
            break;
        case '\\':
            out.push_back('\\');
            break;
        default:
            // Not an escape: keep the backslash as written.
            out.push_back('\\');
            continue;
        }
        ++i;
    }
    return out;
}

std::string stem(const std::string& path)
{
    std::size_t slash = path.find_last_of('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

}  // namespace

LanguageTable& LanguageTable::instance()
{
    static LanguageTable table = [] {
        LanguageTable t;
        t.loadConfigured();
        return t;
    }();
    return table;
}

bool LanguageTable::load(const std::string& path)
{
    std::string contents;
    if (readInputFile(path, TextFileLimit, contents, m_loadError) != InputFileStatus::Ok)
        return false;
    std::istringstream in(contents);
    std::unordered_map<std::string, std::string> texts;
    std::string line;
    bool first = true;
    while (std::getline(in, line)) {
        std::string_view view(line);
        if (first && startsWith(view, "\xEF\xBB\xBF"))
            view.remove_prefix(3);
        first = false;
        std::string key;
        std::string value;
        if (parseKeyValueLine(view, key, value))
            texts[key] = unescape(value);
    }
    m_texts = std::move(texts);
    m_language = stem(path);
    return true;
}

bool LanguageTable::loadLanguage(std::string_view language)
{
    // A language is a file name, never a path.
    if (language.empty() || contains(language, "/")) {
        m_loadError = "a language is a name, not a path";
        return false;
    }
    return load(Environment::instance().languageDir() + "/" + std::string(language) + ".lang");
}

bool LanguageTable::loadConfigured()
{
    return loadLanguage(Environment::instance().language()) || loadLanguage("English");
}

std::string LanguageTable::langStr(std::string_view key) const
{
    auto it = m_texts.find(std::string(key));
    return it == m_texts.end() ? std::string(key) : it->second;
}

bool LanguageTable::has(std::string_view key) const
{
    return m_texts.find(std::string(key)) != m_texts.end();
}

std::vector<std::string> LanguageTable::keys() const
{
    std::vector<std::string> out;
    out.reserve(m_texts.size());
    for (const auto& entry : m_texts)
        out.push_back(entry.first);
    std::sort(out.begin(), out.end());
    return out;
}

std::string langStr(std::string_view key)
{
    return LanguageTable::instance().langStr(key);
}

}  // namespace fw
