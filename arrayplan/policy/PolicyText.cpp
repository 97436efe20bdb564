#include "arrayplan/policy/PolicyText.h"

#include <climits>
#include <cstdarg>
#include <cstdio>

namespace {

bool isCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The C locale's lower case: only A to Z change.
char lowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int readNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isCBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // held, so long digit runs cannot overflow
    }
    if (negative)
        return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool isNumberOrExactZero(std::string_view text) {
    return readNumber(text) != 0 || text == "0";
}

std::string_view trimWhite(std::string_view text) {
    constexpr std::string_view white = " \t\n";
    size_t first = text.find_first_not_of(white);
    if (first == std::string_view::npos)
        return {};
    size_t last = text.find_last_not_of(white);
    return text.substr(first, last - first + 1);
}

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = lowerChar(c);
    return lower;
}

bool sameNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (lowerChar(a[i]) != lowerChar(b[i]))
            return false;
    }
    return true;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && sameNoCase(text.substr(0, prefix.size()), prefix);
}

std::string formatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<size_t>(length) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<size_t>(length));
    }
    va_end(args);
    return text;
}
