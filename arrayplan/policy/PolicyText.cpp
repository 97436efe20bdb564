#include "arrayplan/policy/PolicyText.h"

#include "arrayplan/model/NumberText.h"
#include "foundation/TextCase.h"

#include <climits>

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

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}
