// Any text as a filter, and as rows of the filter definition: filter text ->
// rows -> filter text must come back the same after the first pass, and rows
// whose words hold no separator must come back from their filter text as they
// were, values with ":" included.

#include "dialogs/FilterGrammar.h"
#include "fuzz/FuzzSetup.h"
#include "services/Strings.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

using namespace fw;

namespace {

std::string Show(const std::vector<ConditionRow>& rows)
{
    std::string text;
    for (const ConditionRow& row : rows)
        text += "[" + row.attribute + "][" + row.op + "][" + row.value + "][" + row.connector + "]\n";
    return text;
}

std::string Without(const std::string& text, const std::string& characters)
{
    std::string out;
    for (char c : text)
        if (characters.find(c) == std::string::npos)
            out += c;
    return out;
}

// One row per line, its words apart by tabs, cleaned of what cannot be
// represented; a line starting with "&" joins its row to the one before by "&".
std::vector<ConditionRow> RowsOf(const std::string& text)
{
    std::vector<ConditionRow> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const bool andBefore = !line.empty() && line[0] == '&';
        std::vector<std::string> words(3);
        std::size_t word = 0;
        for (char c : line) {
            if (c == '\t' && word < 2)
                ++word;
            else
                words[word] += c;
        }
        if (!rows.empty())
            rows.back().connector = andBefore ? "&" : "||";
        rows.push_back({trim(Without(words[0], ":|&")), Without(words[1], ":|&"), Without(words[2], "|&"), ""});
    }
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);

    const std::vector<ConditionRow> rows = ParseFilter(text);
    const std::string built = BuildFilter(rows);
    if (ParseFilter(built) != rows)
        fuzz::Fail("the rows do not come back from their filter", text + "\n---- rows ----\n" + Show(rows) +
                                                                      "---- filter ----\n" + built +
                                                                      "\n---- rows ----\n" + Show(ParseFilter(built)));
    if (BuildFilter(ParseFilter(built)) != built)
        fuzz::Fail("opening a filter and pressing OK changed it", built);

    const std::vector<ConditionRow> typed = RowsOf(text);
    const std::string filter = BuildFilter(typed);
    if (ParseFilter(filter) != typed)
        fuzz::Fail("typed rows do not come back from their filter",
                   Show(typed) + "---- filter ----\n" + filter + "\n---- rows ----\n" + Show(ParseFilter(filter)));
    return 0;
}
