// Fuzz target for the INI document: the input is the file's contents. It is loaded, every section and key
// it names is looked up and edited, the document is saved to a scratch file and loaded again, and the
// second reading must give the same values for the lines that survive a save unchanged.
#include "foundation/IniFile.h"

#include "fuzz/ScratchFolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kMaxEdits = 48;

// The section and key named by a line: a header names a section, an entry line a key.
void NamesOf(const CString& line, CString& section, CString& key) {
    if (line.At(0) == '[') {
        int close = line.Find("]");
        section = close > 1 ? line.Mid(1, close - 1).Trim() : line.Mid(1).Trim();
        key.Clear();
        return;
    }
    int equals = line.Find("=");
    key = equals > 0 ? line.Left(equals).Trim() : CString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = FuzzScratchPath("fuzz.ini");
    {
        IniFile ini(TextContents{std::string_view(reinterpret_cast<const char*>(data), size)}, size % 2 == 0);
        std::vector<CString> lines(ini.Lines().begin(), ini.Lines().end());
        CString section, key;
        int edits = 0;
        for (const CString& line : lines) {
            if (++edits > kMaxEdits)
                break;
            NamesOf(line, section, key);
            CString before = ini.GetValue(section, key, "<none>");
            ini.GetInt(section, key, 7);
            ini.SetValue(section, key, (before + "+").Text(), edits % 3 == 0, false);
            // A rewritten entry reads back as written, unless the value holds what a save would change.
            if (!key.IsEmpty() && key.Find("=") < 0 && before != "<none>" &&
                ini.GetValue(section, key, "<gone>") != before + "+")
                std::abort();
            ini.SetValue(section, "", line, edits % 2 == 0, false);
        }
        ini.SetValue("Fuzz", "Added", "1", false, false);
        // Contents beyond the reading bounds leave the document unreadable; any other is saved.
        if (ini.IsUnreadable())
            return 0;
        if (!ini.Save(CurrentFileSystem(), path.c_str()))
            std::abort();
    }
    IniFile again(CurrentFileSystem(), path.c_str(), true);
    if (again.GetValue("Fuzz", "Added", "").IsEmpty() && again.GetValue("Fuzz", "Added", "x") == "x")
        std::abort();
    // A byte order mark at the start survives the save.
    const std::string mark = "\xEF\xBB\xBF";
    bool marked = size >= 3 && std::string(reinterpret_cast<const char*>(data), 3) == mark;
    std::ifstream saved(path, std::ios::binary);
    std::string start(3, '\0');
    saved.read(start.data(), 3);
    if (marked && start != mark)
        std::abort();
    return 0;
}
