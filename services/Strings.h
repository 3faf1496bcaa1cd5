#pragma once
// Text helpers for UTF-8 strings. Case rules are Unicode-aware (GLib case folding).

#include <string>
#include <string_view>

namespace fw {

// <0, 0 or >0 like strcmp, comparing the case-folded texts.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

// Removes leading and trailing white space (space, tab, CR, LF, VT, FF).
std::string trim(std::string_view text);
std::string toUpper(std::string_view text);

// Wild cards: '*' any run of characters, '?' one character.
bool wildCardCheck(std::string_view text, std::string_view pattern, bool caseSensitive = false);

// The one number reader for values taken from files: leading white space, an
// optional sign, then as many digits as there are; 0 when there are none.
// Values beyond the range of int are clamped.
int toInt(std::string_view text);
// Likewise for decimals ("1.5", "-2e3", ".5"); never locale-dependent.
double toDouble(std::string_view text);

// Replaces every occurrence of `from` (scanned left to right, not overlapping).
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

// Filters and style names separate alternatives with "||" in memory and "," in files.
std::string toFileSeparators(std::string_view memoryForm);
std::string toMemorySeparators(std::string_view fileForm);

// printf-style formatting into a std::string (C locale for numbers).
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

bool startsWith(std::string_view text, std::string_view prefix);

// One line of a "key = value" file (settings, language texts): false for blank
// lines, '#' comments and lines without a key; both parts come trimmed.
bool parseKeyValueLine(std::string_view line, std::string& key, std::string& value);
bool contains(std::string_view text, std::string_view part);

}  // namespace fw
