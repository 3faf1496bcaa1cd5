#include "model/PropertyEntries.h"

#include "services/Strings.h"
#include "services/Tokens.h"

#include <algorithm>

namespace fw {

void SortPropertyEntries(std::vector<std::string>& entries)
{
    // Stable, as the neighbour-swapping sort the lists were always ordered by.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::string& a, const std::string& b) { return compareNoCase(a, b) < 0; });
}

PropertyEntryParts SplitPropertyEntry(const std::string& entry)
{
    // Empty parts are kept, so an entry without a localized name (";NAME")
    // still has its internal name in the second place.
    SplitText words(entry, ";");
    return {words.at(0), words.at(1)};
}

std::vector<PropertyEntryParts> SplitPropertyEntries(const std::vector<std::string>& entries)
{
    std::vector<PropertyEntryParts> items;
    items.reserve(entries.size());
    for (const std::string& entry : entries)
        items.push_back(SplitPropertyEntry(entry));
    return items;
}

namespace {

bool Matches(const PropertyEntryParts& item, const std::string& typed)
{
    // Typed without wild cards, the text may stand anywhere in the name:
    // "speed" finds "Speed (rpm)".
    const bool plain = typed.find_first_of("*?") == std::string::npos;
    const std::string pattern = plain ? "*" + typed + "*" : typed;
    return wildCardCheck(item.localized, pattern, false) || wildCardCheck(item.internal, pattern, false);
}

}  // namespace

int FindPropertyEntry(const std::vector<PropertyEntryParts>& items, const std::string& pattern, int lastFound,
                      EntrySearchWrap wrap)
{
    const int count = static_cast<int>(items.size());
    const int first = std::max(lastFound + 1, 0);
    for (int i = first; i < count; ++i) {
        if (Matches(items[i], pattern))
            return i;
    }
    const int wrapEnd = std::min(wrap == EntrySearchWrap::Chooser ? lastFound + 1 : lastFound, count);
    for (int i = 0; i < wrapEnd; ++i) {
        if (Matches(items[i], pattern))
            return i;
    }
    return -1;
}

int PropertyEntrySearch::Next(const std::vector<PropertyEntryParts>& items, const std::string& pattern)
{
    const int found = FindPropertyEntry(items, pattern, m_lastFound, m_wrap);
    if (found >= 0)
        m_lastFound = found;
    return found;
}

}  // namespace fw
