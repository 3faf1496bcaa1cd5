#pragma once
// The "localized;internal" entries listed by the object inspector and the
// object-class chooser: their order, their two parts and the search over them.

#include <string>
#include <vector>

namespace fw {

struct PropertyEntryParts {
    std::string localized;
    std::string internal;
};

// Ascending, case-insensitive over the whole entry; equal entries keep their order.
void SortPropertyEntries(std::vector<std::string>& entries);

// Word 0 and word 1 of the entry split at ";"; a missing part is empty.
PropertyEntryParts SplitPropertyEntry(const std::string& entry);
std::vector<PropertyEntryParts> SplitPropertyEntries(const std::vector<std::string>& entries);

// The inspector never wraps onto the item it found last; the chooser does, so
// a single match is found again on every search.
enum class EntrySearchWrap { Inspector, Chooser };

// Searches from the item after `lastFound` to the end, then wraps to the
// start. An item matches when its localized or internal name matches the
// wild-card pattern; a pattern without wild cards matches anywhere in a name.
// Answers the index, or -1 when nothing matches.
int FindPropertyEntry(const std::vector<PropertyEntryParts>& items, const std::string& pattern, int lastFound,
                      EntrySearchWrap wrap);

// Keeps the last found index between searches (Enter pressed again moves on).
class PropertyEntrySearch {
public:
    explicit PropertyEntrySearch(EntrySearchWrap wrap) : m_wrap(wrap) {}

    // Answers the match, or -1 leaving the last found index as it was.
    int Next(const std::vector<PropertyEntryParts>& items, const std::string& pattern);
    int GetLastFound() const { return m_lastFound; }
    void Reset() { m_lastFound = -1; }

private:
    EntrySearchWrap m_wrap;
    int m_lastFound = -1;
};

}  // namespace fw
