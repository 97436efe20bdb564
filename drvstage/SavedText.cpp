#include "drvstage/SavedText.h"

namespace {

constexpr const char kByteOrderMark[] = "\xEF\xBB\xBF";

} // namespace

std::string SavedText(const IniFile& document, const std::string& original) {
    std::string text = original.rfind(kByteOrderMark, 0) == 0 ? kByteOrderMark : "";
    for (const CString& line : document.Lines())
        text.append(line.Str()).append("\n");
    return text;
}
