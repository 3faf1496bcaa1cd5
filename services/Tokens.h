#pragma once
// The two ways the form files split text into tokens.

#include <string>
#include <string_view>
#include <vector>

namespace fw {

// Splits at every occurrence of a separator string, keeping empty tokens:
// "a,,b" -> a, "", b; "a," -> a, ""; "" -> one empty token.
// Access past the end answers "", 0 or 0.0.
class SplitText {
public:
    SplitText(std::string_view text, std::string_view separator);

    int count() const { return static_cast<int>(m_tokens.size()); }
    const std::string& at(int index) const;
    int intAt(int index) const;
    double doubleAt(int index) const;
    // Tokens from `first` to the end joined with `separator` ("" when none).
    std::string joinFrom(int first, std::string_view separator) const;
    const std::vector<std::string>& tokens() const { return m_tokens; }

private:
    std::vector<std::string> m_tokens;
};

// The two fields SplitText(text, separator) gives when it gives exactly two;
// false otherwise. Nothing is allocated: the fields are views into `text`.
bool splitPair(std::string_view text, std::string_view separator, std::string_view& first, std::string_view& second);
// "x,y" read as SplitText(text, ",").intAt(0) and intAt(1) when it has
// exactly two fields; false, leaving x and y alone, otherwise.
bool readIntPair(std::string_view text, int& x, int& y);

// Splits at any of several separator characters; a run of separators counts
// once and separators at either end produce no empty words.
class TokenString {
public:
    TokenString() = default;
    TokenString(std::string_view text, std::string_view separators);

    int wordNumber() const { return static_cast<int>(m_words.size()); }
    // Word i, counted from 0; "" past the end.
    const std::string& word(int index) const;
    void addWord(std::string_view word);
    // The words joined again with the first separator character.
    std::string text() const;

private:
    std::string m_separators;
    std::vector<std::string> m_words;
};

}  // namespace fw
