#pragma once
// Filters select a filtered form at run time: conditions attribute:operator:value
// joined by "||" (or) and "&" (and, binding weaker). The definition dialog
// edits them as rows of conditions; this is the text <-> rows conversion.

#include <string>
#include <vector>

namespace fw {

// One condition. `connector` joins it to the next row: "||", "&" or empty.
struct ConditionRow {
    std::string attribute;
    std::string op;
    std::string value;
    std::string connector;

    bool operator==(const ConditionRow& o) const
    {
        return attribute == o.attribute && op == o.op && value == o.value && connector == o.connector;
    }
    bool operator!=(const ConditionRow& o) const { return !(*this == o); }
};

// The operator words offered, in the order of the drop-down.
const std::vector<std::string>& FilterOperators();
// "||", "&" and the empty text.
const std::vector<std::string>& FilterConnectors();
// What joins a new row to the one after it until the designer picks another.
inline const std::string DefaultConnector = "&";

// Splits at every character of `separators`; a run of them separates once and
// separators at either end give no empty part.
std::vector<std::string> SplitAtRuns(const std::string& text, const std::string& separators);

// A condition split at its first two ":" only, so the value keeps its colons
// ("10:30", "http://x"); the attribute comes trimmed, missing words are empty.
ConditionRow ParseCondition(const std::string& condition);
// The rows of a filter, each joined to the next by "||" within a group and
// by "&" between groups; the last row has no connector.
std::vector<ConditionRow> ParseFilter(const std::string& filter);

// attribute:operator:value per row; a row's connector follows unless it is the
// last row. Rows must be joined (see FirstUnjoinedRow): an empty connector
// would run two conditions together.
std::string BuildFilter(const std::vector<ConditionRow>& rows);

// The first row, but the last, whose connector is empty; -1 when every row is
// joined to the next.
int FirstUnjoinedRow(const std::vector<ConditionRow>& rows);

}  // namespace fw
