#include "services/Tokens.h"

#include "services/Strings.h"

#include <algorithm>

namespace fw {

namespace {

const std::string& emptyString()
{
    static const std::string empty;
    return empty;
}

// Byte length of the UTF-8 character that starts with `lead` (1 for stray bytes).
std::size_t utf8Length(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

// The separator set as whole characters, so that a non-ASCII separator never
// matches part of another character.
std::vector<std::string_view> characters(std::string_view text)
{
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

}  // namespace

SplitText::SplitText(std::string_view text, std::string_view separator)
{
    if (separator.empty()) {
        m_tokens.emplace_back(text);
        return;
    }
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(separator, pos);
        if (hit == std::string_view::npos)
            break;
        m_tokens.emplace_back(text.substr(pos, hit - pos));
        pos = hit + separator.size();
    }
    m_tokens.emplace_back(text.substr(pos));
}

const std::string& SplitText::at(int index) const
{
    if (index < 0 || index >= count())
        return emptyString();
    return m_tokens[static_cast<std::size_t>(index)];
}

int SplitText::intAt(int index) const
{
    return toInt(at(index));
}

double SplitText::doubleAt(int index) const
{
    return toDouble(at(index));
}

std::string SplitText::joinFrom(int first, std::string_view separator) const
{
    const int start = first < 0 ? 0 : first;
    std::string out;
    for (int i = start; i < count(); ++i) {
        if (i > start)
            out.append(separator);
        out.append(m_tokens[static_cast<std::size_t>(i)]);
    }
    return out;
}

bool splitPair(std::string_view text, std::string_view separator, std::string_view& first, std::string_view& second)
{
    if (separator.empty())
        return false;
    if (separator.size() == 1) {
        // One pass, without a library call per search: pairs are a few bytes.
        const char mark = separator[0];
        std::size_t hit = std::string_view::npos;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (text[i] == mark) {
                if (hit != std::string_view::npos)
                    return false;
                hit = i;
            }
        if (hit == std::string_view::npos)
            return false;
        first = text.substr(0, hit);
        second = text.substr(hit + 1);
        return true;
    }
    const std::size_t hit = text.find(separator);
    if (hit == std::string_view::npos)
        return false;
    const std::string_view rest = text.substr(hit + separator.size());
    if (rest.find(separator) != std::string_view::npos)
        return false;
    first = text.substr(0, hit);
    second = rest;
    return true;
}

namespace {

// "x,y" as two runs of at most nine digits, each with an optional minus: what
// the form writer writes, read in one pass. False for anything else.
bool readPlainIntPair(std::string_view text, int& x, int& y)
{
    int values[2] = {0, 0};
    std::size_t i = 0;
    for (int field = 0; field < 2; ++field) {
        const bool negative = i < text.size() && text[i] == '-';
        if (negative)
            ++i;
        const std::size_t start = i;
        int value = 0;
        for (; i < text.size() && i - start < 9 && text[i] >= '0' && text[i] <= '9'; ++i)
            value = value * 10 + (text[i] - '0');
        if (i == start)
            return false;
        values[field] = negative ? -value : value;
        if (field == 0) {
            if (i >= text.size() || text[i] != ',')
                return false;
            ++i;
        }
    }
    if (i != text.size())
        return false;
    x = values[0];
    y = values[1];
    return true;
}

}  // namespace

bool readIntPair(std::string_view text, int& x, int& y)
{
    if (readPlainIntPair(text, x, y))
        return true;
    std::string_view first, second;
    if (!splitPair(text, ",", first, second))
        return false;
    x = toInt(first);
    y = toInt(second);
    return true;
}

TokenString::TokenString(std::string_view text, std::string_view separators) : m_separators(separators)
{
    const std::vector<std::string_view> seps = characters(separators);
    auto separatorAt = [&](std::size_t pos) -> std::size_t {
        for (std::string_view s : seps)
            if (text.compare(pos, s.size(), s) == 0)
                return s.size();
        return 0;
    };

    std::size_t wordStart = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t sepLength = separatorAt(i);
        if (sepLength == 0) {
            i += std::min(utf8Length(static_cast<unsigned char>(text[i])), text.size() - i);
            continue;
        }
        if (i > wordStart)
            m_words.emplace_back(text.substr(wordStart, i - wordStart));
        i += sepLength;
        wordStart = i;
    }
    if (i > wordStart)
        m_words.emplace_back(text.substr(wordStart, i - wordStart));
}

const std::string& TokenString::word(int index) const
{
    if (index < 0 || index >= wordNumber())
        return emptyString();
    return m_words[static_cast<std::size_t>(index)];
}

void TokenString::addWord(std::string_view word)
{
    m_words.emplace_back(word);
}

std::string TokenString::text() const
{
    // Without separators (a default-constructed list) words are joined by a space.
    std::string_view joint = " ";
    if (!m_separators.empty())
        joint = characters(m_separators).front();
    std::string out;
    for (std::size_t i = 0; i < m_words.size(); ++i) {
        if (i > 0)
            out.append(joint);
        out.append(m_words[i]);
    }
    return out;
}

}  // namespace fw
