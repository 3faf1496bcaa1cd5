#include "dialogs/RecoveryChoices.h"

#include "services/LanguageTable.h"

#include <algorithm>
#include <ctime>

namespace fw {

RecoveryChoices::RecoveryChoices(std::vector<RecoveryEntry> entries)
    : m_entries(std::move(entries)), m_choices(m_entries.size(), Choice::Later)
{
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_listed.push_back(i);
}

std::string RecoveryChoices::GetFileText(int row) const
{
    const RecoveryRecord& record = Row(row).record;
    if (!record.original.empty())
        return record.original;
    std::string text = langStr("REC_NEVER_SAVED");
    const std::size_t mark = text.find("%s");
    return mark == std::string::npos ? record.name + " " + text : text.replace(mark, 2, record.name);
}

std::string RecoveryChoices::GetTimeText(int row) const
{
    const std::time_t at = Row(row).savedAt;
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&at, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

int RecoveryChoices::GetFormCount(int row) const
{
    return Row(row).record.forms;
}

void RecoveryChoices::Decide(const std::vector<int>& rows, Choice choice)
{
    std::vector<std::size_t> decided;
    for (int row : rows)
        if (row >= 0 && row < GetRowCount())
            decided.push_back(m_listed[static_cast<std::size_t>(row)]);
    for (std::size_t entry : decided) {
        m_choices[entry] = choice;
        // A row named twice is taken off once.
        if (auto it = std::find(m_listed.begin(), m_listed.end(), entry); it != m_listed.end())
            m_listed.erase(it);
    }
}

std::vector<std::pair<RecoveryEntry, RecoveryChoices::Choice>> RecoveryChoices::GetDecisions() const
{
    std::vector<std::pair<RecoveryEntry, Choice>> decisions;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        decisions.emplace_back(m_entries[i], m_choices[i]);
    return decisions;
}

}  // namespace fw
