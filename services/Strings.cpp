#include "services/Strings.h"

#include <glib.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace fw {

namespace {

struct GFreeDeleter {
    void operator()(gchar* p) const { g_free(p); }
};
using GCharPtr = std::unique_ptr<gchar, GFreeDeleter>;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

char asciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isAscii(std::string_view text)
{
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// GLib's case functions require valid UTF-8 without embedded NULs; anything
// else takes the byte-wise path.
bool isValidUtf8(std::string_view text)
{
    return g_utf8_validate(text.data(), static_cast<gssize>(text.size()), nullptr);
}

std::string caseFold(std::string_view text)
{
    GCharPtr folded(g_utf8_casefold(text.data(), static_cast<gssize>(text.size())));
    return folded ? std::string(folded.get()) : std::string();
}

int sign(int value)
{
    return (value > 0) - (value < 0);
}

// '*' and '?' over bytes, for text that GLib's matcher cannot take.
bool byteWildCard(std::string_view text, std::string_view pattern)
{
    std::size_t t = 0, p = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starT = t;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

// Position of the first significant digit relative to the decimal point
// (1 for "5", 0 for ".5", -2 for "0.005"), exponent included. Decides whether an
// out-of-range number overflowed or underflowed, as the C library reports it.
long long decimalMagnitude(std::string_view number)
{
    std::size_t e = number.find_first_of("eE");
    long long exponent = e == std::string_view::npos ? 0 : toInt(number.substr(e + 1));
    std::string_view mantissa = number.substr(0, e);
    std::size_t point = mantissa.find('.');
    std::string_view whole = mantissa.substr(0, point);
    std::size_t firstNonZero = whole.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        return static_cast<long long>(whole.size() - firstNonZero) + exponent;
    std::string_view fraction = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
    std::size_t leadingZeros = fraction.find_first_not_of('0');
    if (leadingZeros == std::string_view::npos)
        return std::numeric_limits<long long>::min();  // zero never overflows
    return exponent - static_cast<long long>(leadingZeros);
}

}  // namespace

int compareNoCase(std::string_view a, std::string_view b)
{
    // ASCII folds to ASCII lower case, so the byte-wise path gives the same
    // answer without allocating; only other text needs the full fold.
    if ((!isAscii(a) || !isAscii(b)) && isValidUtf8(a) && isValidUtf8(b))
        return sign(std::strcmp(caseFold(a).c_str(), caseFold(b).c_str()));

    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto ca = static_cast<unsigned char>(asciiLower(a[i]));
        auto cb = static_cast<unsigned char>(asciiLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a == b || compareNoCase(a, b) == 0;
}

std::string trim(std::string_view text)
{
    std::size_t begin = 0, end = text.size();
    while (begin < end && isSpace(text[begin]))
        ++begin;
    while (end > begin && isSpace(text[end - 1]))
        --end;
    return std::string(text.substr(begin, end - begin));
}

std::string toUpper(std::string_view text)
{
    if (isValidUtf8(text)) {
        GCharPtr upper(g_utf8_strup(text.data(), static_cast<gssize>(text.size())));
        if (upper)
            return upper.get();
    }
    std::string out(text);
    for (char& c : out)
        c = asciiUpper(c);
    return out;
}

bool wildCardCheck(std::string_view text, std::string_view pattern, bool caseSensitive)
{
    if (isValidUtf8(text) && isValidUtf8(pattern)) {
        std::string t = caseSensitive ? std::string(text) : caseFold(text);
        std::string p = caseSensitive ? std::string(pattern) : caseFold(pattern);
        return g_pattern_match_simple(p.c_str(), t.c_str());
    }
    if (caseSensitive)
        return byteWildCard(text, pattern);
    std::string t(text), p(pattern);
    for (char& c : t)
        c = asciiLower(c);
    for (char& c : p)
        c = asciiLower(c);
    return byteWildCard(t, p);
}

int toInt(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Accumulate as a negative number so that INT_MIN needs no special case.
    constexpr long long lowest = std::numeric_limits<int>::min();
    long long value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        value = value * 10 - (text[i] - '0');
        if (value < lowest)
            value = lowest - 1;  // saturated; the remaining digits only count as read
    }
    if (negative)
        return value < lowest ? std::numeric_limits<int>::min() : static_cast<int>(value);
    if (-value > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(-value);
}

double toDouble(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';

    // Take the longest prefix of the form digits [. digits] [e [sign] digits].
    const std::size_t start = i;
    std::size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++mantissaDigits;
        }
        if (mantissaDigits > 0)
            i = j;
    }
    if (mantissaDigits == 0)
        return 0.0;
    const std::size_t mantissaEnd = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j]))
                ++j;
            i = j;
        }
    }

    double value = 0.0;
    if (i == mantissaEnd && mantissaDigits <= 15) {
        // Without an exponent, up to fifteen digits are an exact integer and
        // the point an exact power of ten: one correctly rounded division
        // gives the very double the full conversion below gives.
        static constexpr double powersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        std::uint64_t digits = 0;
        std::size_t fractionDigits = 0;
        bool inFraction = false;
        for (std::size_t j = start; j < i; ++j) {
            if (text[j] == '.') {
                inFraction = true;
                continue;
            }
            digits = digits * 10 + static_cast<std::uint64_t>(text[j] - '0');
            fractionDigits += inFraction;
        }
        value = static_cast<double>(digits) / powersOfTen[fractionDigits];
        return negative ? -value : value;
    }
    const char* first = text.data() + start;
    const char* last = text.data() + i;
    auto result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        value = decimalMagnitude(std::string_view(first, static_cast<std::size_t>(last - first))) > 0 ? HUGE_VAL : 0.0;
    else if (result.ec != std::errc())
        value = 0.0;
    return negative ? -value : value;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty())
        return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::string_view::npos)
            break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

std::string toFileSeparators(std::string_view memoryForm)
{
    return replaceAll(memoryForm, "||", ",");
}

std::string toMemorySeparators(std::string_view fileForm)
{
    return replaceAll(fileForm, ",", "||");
}

std::string format(const char* fmt, ...)
{
    if (!fmt)
        return {};
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    char small[256];
    int needed = std::vsnprintf(small, sizeof small, fmt, args);
    va_end(args);
    std::string out;
    if (needed < 0) {
        va_end(copy);
        return out;
    }
    if (static_cast<std::size_t>(needed) < sizeof small) {
        out.assign(small, static_cast<std::size_t>(needed));
    } else {
        out.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(out.data(), out.size(), fmt, copy);
        out.resize(static_cast<std::size_t>(needed));
    }
    va_end(copy);
    return out;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool parseKeyValueLine(std::string_view line, std::string& key, std::string& value)
{
    std::string text = trim(line);
    if (text.empty() || text[0] == '#')
        return false;
    std::size_t eq = text.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(std::string_view(text).substr(0, eq));
    if (key.empty())
        return false;
    value = trim(std::string_view(text).substr(eq + 1));
    return true;
}

}  // namespace fw
