// Fuzz target for the INI document: the input is the file. It is loaded, every section and key it names
// is looked up and edited, the document is saved and loaded again, and the second reading must give the
// same values for the lines that survive a save unchanged.
#include "foundation/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace {

constexpr int kMaxEdits = 48;

const std::string& DocumentPath() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("fuzz-ini-" + std::to_string(std::random_device{}()) + ".ini"))
                                        .string();
    return path;
}

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
    const std::string& path = DocumentPath();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data), size);
    {
        IniFile ini(path.c_str(), size % 2 == 0);
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
        // A file beyond the reading bounds is never saved over; any other is.
        if (ini.Save(path.c_str()) == ini.IsUnreadable())
            std::abort();
        if (ini.IsUnreadable())
            return 0;
    }
    IniFile again(path.c_str(), true);
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
