#include "foundation/TextFormat.h"

#include <cstdio>

bool FormatTextInto(std::string& out, const char* format, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        out.clear();
        return length == 0;
    }
    // One byte more for the terminating NUL that vsnprintf writes.
    out.resize(static_cast<size_t>(length) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(length));
    return true;
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text;
    FormatTextInto(text, format, args);
    va_end(args);
    return text;
}
