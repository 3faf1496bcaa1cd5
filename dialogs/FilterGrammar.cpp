#include "dialogs/FilterGrammar.h"

#include "services/Strings.h"

namespace fw {

const std::vector<std::string>& FilterOperators()
{
    static const std::vector<std::string> words = {
        "=", "EQUAL", "LESS", "GREATER", "NOTEQUAL", "GREATEROREQUAL", "LESSOREQUAL", "LIKE", "NOTLIKE"};
    return words;
}

const std::vector<std::string>& FilterConnectors()
{
    static const std::vector<std::string> connectors = {"||", "&", ""};
    return connectors;
}

std::vector<std::string> SplitAtRuns(const std::string& text, const std::string& separators)
{
    std::vector<std::string> parts;
    std::size_t pos = text.find_first_not_of(separators);
    while (pos != std::string::npos) {
        const std::size_t end = text.find_first_of(separators, pos);
        parts.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
        pos = end == std::string::npos ? end : text.find_first_not_of(separators, end);
    }
    return parts;
}

std::vector<std::string> FilterRowTexts(const std::string& filter)
{
    std::vector<std::string> rows;
    const std::vector<std::string> groups = SplitAtRuns(filter, "&");
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::vector<std::string> conditions = SplitAtRuns(groups[g], "|");
        for (std::size_t c = 0; c < conditions.size(); ++c) {
            std::string row;
            for (const std::string& word : SplitAtRuns(conditions[c], ":")) {
                if (!row.empty())
                    row += ':';
                row += word;
            }
            if (c + 1 < conditions.size())
                row += ":||";
            else if (g + 1 < groups.size())
                row += ":&";
            rows.push_back(row);
        }
    }
    return rows;
}

ConditionRow ConditionRowFromText(const std::string& rowText)
{
    const std::vector<std::string> words = SplitAtRuns(rowText, ":");
    auto word = [&words](std::size_t i) { return i < words.size() ? words[i] : std::string(); };
    return {trim(word(0)), word(1), word(2), word(3)};
}

std::vector<ConditionRow> ParseFilter(const std::string& filter)
{
    std::vector<ConditionRow> rows;
    for (const std::string& text : FilterRowTexts(filter))
        rows.push_back(ConditionRowFromText(text));
    return rows;
}

std::string BuildFilter(const std::vector<ConditionRow>& rows)
{
    std::string filter;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ConditionRow& row = rows[i];
        filter += row.attribute + ":" + row.op + ":" + row.value;
        if (!row.connector.empty() && i + 1 < rows.size())
            filter += row.connector;
    }
    return filter;
}

}  // namespace fw
