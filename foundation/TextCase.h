// Letter case folding as the C locale does it: only A to Z change, so that names compare alike on every
// system and in every locale.
#pragma once

#include <string>
#include <string_view>

char FoldedChar(char c);
std::string FoldedText(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
