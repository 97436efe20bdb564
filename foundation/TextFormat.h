// printf-style formatting into a std::string.
#pragma once

#include <cstdarg>
#include <string>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Replaces out with the formatted text, reusing its buffer; false (out empty) when the format fails.
bool FormatTextInto(std::string& out, const char* format, va_list args);
