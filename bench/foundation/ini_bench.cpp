// IniFile costs on large documents: a lookup must cost the same whatever the document's length, and
// building a document entry by entry (as the inventory writer does) must grow linearly.
#include "foundation/IniFile.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr int kKeysPerSection = 10;

CString SectionName(int section) {
    return "Controller " + CString(section);
}
CString KeyName(int key) {
    return "Key_Number_" + CString(key);
}

// A document of about lines lines: sections of ten entries, a blank line between sections.
void Fill(IniFile& ini, int lines) {
    for (int section = 0, written = 0; written < lines; ++section) {
        ini.AddLine("[" + SectionName(section) + "]");
        for (int key = 0; key < kKeysPerSection; ++key)
            ini.AddLine(KeyName(key) + " = " + CString(section * 100 + key));
        ini.AddLine("");
        written += kKeysPerSection + 2;
    }
}

int SectionsIn(int lines) {
    return lines / (kKeysPerSection + 2);
}

// Lookups spread over the whole document, the last section included (the worst case for a line walk).
void BM_IniGetValue(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    IniFile ini(CurrentFileSystem(), "", true);
    Fill(ini, lines);
    int sections = SectionsIn(lines);
    int i = 0;
    for (auto _ : state) {
        int section = sections - 1 - (i * 7919) % sections;
        benchmark::DoNotOptimize(ini.GetValue(SectionName(section), KeyName(i % kKeysPerSection), "").Text());
        ++i;
    }
    state.SetComplexityN(lines);
}
BENCHMARK(BM_IniGetValue)->RangeMultiplier(2)->Range(1250, 20000)->Complexity();

// For comparison: the same lookups by walking the lines from the top, as a document without an index would.
CString WalkLookup(const IniFile& ini, const CString& section, const CString& key) {
    bool inside = false;
    for (const CString& line : ini.Lines()) {
        if (line.IsEmpty() || line.At(0) == ';')
            continue;
        bool header = line.At(0) == '[';
        if (!inside) {
            inside = header && line.Mid(1, line.Find("]") - 1).Trim().EqualsNoCase(section);
            continue;
        }
        if (header)
            break;
        int equals = line.Find("=");
        if (equals > 0 && line.Left(equals).Trim().EqualsNoCase(key))
            return line.Mid(equals + 1).Trim();
    }
    return CString();
}

void BM_LineWalkGetValueBaseline(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    IniFile ini(CurrentFileSystem(), "", true);
    Fill(ini, lines);
    int sections = SectionsIn(lines);
    int i = 0;
    for (auto _ : state) {
        int section = sections - 1 - (i * 7919) % sections;
        benchmark::DoNotOptimize(WalkLookup(ini, SectionName(section), KeyName(i % kKeysPerSection)).Text());
        ++i;
    }
    state.SetComplexityN(lines);
}
BENCHMARK(BM_LineWalkGetValueBaseline)->RangeMultiplier(4)->Range(1250, 20000)->Complexity();

void BM_IniRewriteValue(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    IniFile ini(CurrentFileSystem(), "", true);
    Fill(ini, lines);
    int sections = SectionsIn(lines);
    int i = 0;
    for (auto _ : state) {
        ini.SetValue(SectionName(sections - 1 - i % sections), KeyName(i % kKeysPerSection), "changed", false,
                     false);
        ++i;
    }
    state.SetComplexityN(lines);
}
BENCHMARK(BM_IniRewriteValue)->RangeMultiplier(2)->Range(1250, 20000)->Complexity();

// A whole document written through SetValue: new sections and new keys, each inserted where it belongs.
void BM_IniBuildBySetValue(benchmark::State& state) {
    int lines = static_cast<int>(state.range(0));
    int sections = SectionsIn(lines);
    for (auto _ : state) {
        IniFile ini(CurrentFileSystem(), "", true);
        for (int section = 0; section < sections; ++section) {
            for (int key = 0; key < kKeysPerSection; ++key)
                ini.SetValue(SectionName(section), KeyName(key), "1", false, false);
        }
        benchmark::DoNotOptimize(ini.Lines().size());
    }
    state.SetComplexityN(lines);
    state.SetItemsProcessed(state.iterations() * sections * kKeysPerSection);
}
BENCHMARK(BM_IniBuildBySetValue)->RangeMultiplier(2)->Range(1250, 20000)->Complexity();

// Loading and saving a 20,000-line file in a scratch folder.
class ScratchDocument {
public:
    ScratchDocument() {
        path_ = (std::filesystem::temp_directory_path() / "kit-bench-ini.ini").string();
        IniFile ini(CurrentFileSystem(), path_.c_str(), true);
        Fill(ini, 20000);
        ini.Save(CurrentFileSystem(), path_.c_str());
    }
    ~ScratchDocument() { std::remove(path_.c_str()); }
    const char* Path() const { return path_.c_str(); }

private:
    std::string path_;
};

void BM_IniLoad20000(benchmark::State& state) {
    static ScratchDocument document;
    for (auto _ : state) {
        IniFile ini(CurrentFileSystem(), document.Path(), true);
        benchmark::DoNotOptimize(ini.Lines().size());
    }
}
BENCHMARK(BM_IniLoad20000)->Unit(benchmark::kMillisecond);

void BM_IniSave20000(benchmark::State& state) {
    static ScratchDocument document;
    IniFile ini(CurrentFileSystem(), document.Path(), true);
    for (auto _ : state)
        benchmark::DoNotOptimize(ini.Save(CurrentFileSystem(), document.Path()));
}
BENCHMARK(BM_IniSave20000)->Unit(benchmark::kMillisecond);

} // namespace
