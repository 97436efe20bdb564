// Text rules shared by the policy scan, the value lookup and the validation.
#pragma once

#include <string>
#include <string_view>

// The leading decimal integer of text as the C library reads it (leading blanks, an optional sign,
// digits; the rest ignored; 0 when there are no digits), held to the int range instead of overflowing.
// Where the value is a size, a count or a drive, a value beyond that range is invalid
// (leadingNumberFitsInt).
int readNumber(std::string_view text);
// A number within the int range, where 0 is allowed only when written exactly "0".
bool isNumberOrExactZero(std::string_view text);

// Trimmed at both ends of blank, tab and newline.
std::string_view trimWhite(std::string_view text);
bool startsWithNoCase(std::string_view text, std::string_view prefix);
