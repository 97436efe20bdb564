#include "foundation/TextCase.h"

char FoldedChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string FoldedText(std::string_view text) {
    std::string folded(text);
    for (char& c : folded)
        c = FoldedChar(c);
    return folded;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldedChar(a[i]) != FoldedChar(b[i]))
            return false;
    }
    return true;
}
