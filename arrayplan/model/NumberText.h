// Numbers in the texts of the input files, read the way the C library's atol reads them.
#pragma once

#include <string_view>

// The leading decimal integer of text: leading blanks, an optional sign, digits; the rest is ignored;
// 0 when there are no digits. A value beyond the 32-bit range is held just outside it (at most one
// past either end), so that long digit runs cannot overflow and such a value is still seen as too large.
long long leadingNumber(std::string_view text);

// The leading number of text lies within the 32-bit signed range (a text without digits reads as 0).
bool leadingNumberFitsInt(std::string_view text);
