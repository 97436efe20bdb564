#include "arrayplan/model/NumberText.h"

#include <climits>

namespace {

bool isCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr long long kHeldMagnitude = static_cast<long long>(INT_MAX) + 2;

} // namespace

long long leadingNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isCBlank(text[pos]))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        negative = text[pos++] == '-';
    long long magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        magnitude = magnitude * 10 + (text[pos] - '0');
        if (magnitude > kHeldMagnitude)
            magnitude = kHeldMagnitude;
    }
    return negative ? -magnitude : magnitude;
}

bool leadingNumberFitsInt(std::string_view text) {
    long long value = leadingNumber(text);
    return value >= INT_MIN && value <= INT_MAX;
}
