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

ConditionRow ParseCondition(const std::string& condition)
{
    ConditionRow row;
    const std::size_t first = condition.find(':');
    row.attribute = trim(condition.substr(0, first));
    if (first == std::string::npos)
        return row;
    const std::size_t second = condition.find(':', first + 1);
    row.op = condition.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (second != std::string::npos)
        row.value = condition.substr(second + 1);
    return row;
}

std::vector<ConditionRow> ParseFilter(const std::string& filter)
{
    std::vector<ConditionRow> rows;
    for (const std::string& group : SplitAtRuns(filter, "&")) {
        const std::vector<std::string> conditions = SplitAtRuns(group, "|");
        if (conditions.empty())
            continue;
        if (!rows.empty())
            rows.back().connector = "&";
        for (std::size_t c = 0; c < conditions.size(); ++c) {
            rows.push_back(ParseCondition(conditions[c]));
            if (c + 1 < conditions.size())
                rows.back().connector = "||";
        }
    }
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

int FirstUnjoinedRow(const std::vector<ConditionRow>& rows)
{
    for (std::size_t i = 0; i + 1 < rows.size(); ++i)
        if (rows[i].connector.empty())
            return static_cast<int>(i);
    return -1;
}

}  // namespace fw
