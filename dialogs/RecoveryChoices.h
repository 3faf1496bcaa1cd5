#pragma once
// What the recovery dialog decides: for each copy left by an editor that
// ended without saving, restore it, discard it, or leave it for later.
// Decided rows leave the list; whatever is still listed when the dialog
// closes is left for later.

#include "services/Recovery.h"

#include <string>
#include <vector>

namespace fw {

class RecoveryChoices {
public:
    enum class Choice { Later, Restore, Discard };

    explicit RecoveryChoices(std::vector<RecoveryEntry> entries);

    // The rows still listed.
    int GetRowCount() const { return static_cast<int>(m_listed.size()); }
    // The file's path, or for a file never saved its name with the
    // "never saved" text.
    std::string GetFileText(int row) const;
    // When the copy was last written, local time.
    std::string GetTimeText(int row) const;
    int GetFormCount(int row) const;

    // Decides the rows (positions among those listed) and takes them off the list.
    void Decide(const std::vector<int>& rows, Choice choice);
    // Every entry with its choice, in the order given.
    std::vector<std::pair<RecoveryEntry, Choice>> GetDecisions() const;

private:
    const RecoveryEntry& Row(int row) const { return m_entries[m_listed[static_cast<std::size_t>(row)]]; }

    std::vector<RecoveryEntry> m_entries;
    std::vector<Choice> m_choices;
    std::vector<std::size_t> m_listed;
};

}  // namespace fw
