#include "arrayplan/policy/PolicyText.h"

#include "arrayplan/model/NumberText.h"

#include <climits>
#include <cstdarg>
#include <cstdio>

namespace {

// The C locale's lower case: only A to Z change.
char lowerChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

int readNumber(std::string_view text) {
    long long value = leadingNumber(text);
    if (value > INT_MAX)
        return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

bool isNumberOrExactZero(std::string_view text) {
    return (readNumber(text) != 0 && leadingNumberFitsInt(text)) || text == "0";
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
