#include "foundation/IniFile.h"

#include "foundation/ErrorReport.h"
#include "foundation/FileOperations.h"
#include "foundation/FileReplacement.h"
#include "foundation/TextCase.h"
#include "foundation/TextFile.h"

#include <cctype>
#include <cstring>
#include <iterator>
#include <new>
#include <string_view>

namespace {

// Names compare as the C library's stricmp does in the C locale: byte by byte after tolower.
void FoldInPlace(std::string& text) {
    for (char& c : text)
        c = FoldedChar(c);
}

std::string Fold(const char* text) {
    std::string folded(text ? text : "");
    FoldInPlace(folded);
    return folded;
}

bool IsHeader(const CString& line) {
    return line.At(0) == '[';
}

CString SectionName(const CString& line) {
    int close = line.Find("]");
    if (close < 0)
        return line.Mid(1).Trim();
    return close == 1 ? CString() : line.Mid(1, close - 1).Trim();
}

// The folded key of an entry line (one holding "="); false for any other line. The key is the text before
// the "=", trimmed of the white set and, as a C text, ending at a NUL byte; it is cut out of the line in
// place because every line of a document passes here when it is read.
bool EntryKey(const CString& line, std::string& key) {
    std::string_view text(line.Text(), line.Length());
    size_t equals = text.find('=');
    if (equals == std::string_view::npos)
        return false;
    std::string_view name = text.substr(0, equals);
    size_t first = name.find_first_not_of(kWhiteSet);
    name = first == std::string_view::npos ? std::string_view()
                                           : name.substr(first, name.find_last_not_of(kWhiteSet) + 1 - first);
    key.assign(name.substr(0, name.find('\0')));
    FoldInPlace(key);
    return true;
}

// Lines that a new entry is inserted above: they belong to the header below them.
bool IsCommentForInsertion(const CString& line) {
    return line.StartsWith(";") || line.StartsWith("#") || line.StartsWith("//");
}

const char* OrEmpty(const char* text) {
    return text ? text : "";
}

constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";

// A save's temporary file is named after its target: "DrvInfo.ini." + hex digits + ".tmp".
CString TemporaryPrefix(const CString& path) {
    return FileTitle(path) + SplitPath(path).extension + ".";
}

} // namespace

IniFile::IniFile(FileSystem& fileSystem, const CString& path, bool spacing)
    : fileSystem_(&fileSystem), path_(path), spacing_(spacing) {
    sections_.push_back({lines_.end(), {}});
    // Saving what was read of a file that could not be read whole would replace it with less.
    if (!Load(path))
        unreadable_ = PathExists(fileSystem, path);
}

IniFile::IniFile(TextContents text, bool spacing) : spacing_(spacing) {
    sections_.push_back({lines_.end(), {}});
    unreadable_ = !LoadText(text);
}

IniFile::~IniFile() {
    Flush();
}

bool IniFile::FileExists() const {
    return fileSystem_ && PathExists(*fileSystem_, path_);
}

bool IniFile::Load(const CString& path) {
    readFailure_.clear();
    TextFile file;
    if (!file.Open(*fileSystem_, path, "r"))
        return FailLoad(fileSystem_->LastFailureReason());
    return ReadLines(file);
}

bool IniFile::LoadText(TextContents text) {
    readFailure_.clear();
    TextFile file;
    file.OpenText(text);
    return ReadLines(file);
}

bool IniFile::ReadLines(TextFile& file) {
    CString line;
    size_t lines = 0;
    size_t bytes = 0;
    for (;;) {
        LineRead read = file.ReadLine(line, kMaxLineLength);
        if (lines == 0)
            byteOrderMark_ = byteOrderMark_ || file.HadByteOrderMark();
        if (read == LineRead::End)
            return true;
        if (read == LineRead::Failed)
            return FailLoad(fileSystem_ ? fileSystem_->LastFailureReason() : std::string());
        ++lines;
        bytes += static_cast<size_t>(line.Length());
        if (read == LineRead::TooLong)
            return FailLoad("line " + std::to_string(lines) + " is longer than " +
                            std::to_string(kMaxLineLength) + " characters");
        if (lines > kMaxLines)
            return FailLoad("more than " + std::to_string(kMaxLines) + " lines");
        if (bytes > kMaxBytes)
            return FailLoad("more than " + std::to_string(kMaxBytes) + " bytes");
        if (!AddLine(line))
            return FailLoad("out of memory");
    }
}

bool IniFile::FailLoad(const std::string& reason) {
    readFailure_ = reason;
    return false;
}

bool IniFile::AddLine(const CString& text) {
    CString line = text.Trim();
    try {
        lines_.push_back(line);
    } catch (const std::bad_alloc&) {
        ReportError(kErrorWarning, kMemoryAllocationError, "IniFile.AddLine()");
        return false;
    }
    try {
        if (IsHeader(line))
            AddSectionToIndex(std::prev(lines_.end()));
        else
            IndexEntry(sections_.size() - 1, std::prev(lines_.end()), false);
    } catch (const std::bad_alloc&) {
        lines_.pop_back();
        RebuildIndex();
        ReportError(kErrorWarning, kMemoryAllocationError, "IniFile.AddLine()");
        return false;
    }
    return true;
}

bool IniFile::FindSection(const char* name, size_t& index) const {
    if (!name || !*name) {
        index = 0;
        return true;
    }
    auto found = firstSection_.find(Fold(name));
    if (found == firstSection_.end())
        return false;
    index = found->second;
    return true;
}

IniFile::Line IniFile::SectionBegin(size_t index) {
    return index == 0 ? lines_.begin() : std::next(sections_[index].header);
}

IniFile::Line IniFile::SectionEnd(size_t index) {
    return index + 1 < sections_.size() ? sections_[index + 1].header : lines_.end();
}

CString IniFile::GetValue(const char* section, const char* key, const char* defaultValue) const {
    size_t index;
    if (!FindSection(section, index))
        return CString(defaultValue);
    std::string folded = Fold(key);
    // A key starting with ";" can only come from a comment line, and lookups pass comments over.
    if (!folded.empty() && folded[0] == ';')
        return CString(defaultValue);
    const auto& entries = sections_[index].firstEntry;
    auto found = entries.find(folded);
    if (found == entries.end())
        return CString(defaultValue);
    const CString& line = *found->second;
    return line.Mid(line.Find("=") + 1).Trim();
}

int IniFile::GetInt(const char* section, const char* key, int defaultValue) const {
    return GetValue(section, key, CString(defaultValue).Text()).ToInt();
}

bool IniFile::SetValue(const char* section, const char* key, const char* value, bool alwaysAdd,
                       bool saveNow) {
    bool keyless = !key || !*key;
    CString text = (keyless ? CString(value) : CString(key) + (spacing_ ? " = " : "=") + value).Trim();
    size_t index;
    if (!FindSection(section, index)) {
        InsertSection("[" + CString(section) + "]", text);
        MarkChanged(saveNow);
        return true;
    }
    if (!keyless) {
        auto found = sections_[index].firstEntry.find(Fold(key));
        if (found != sections_[index].firstEntry.end()) {
            *found->second = text; // the key takes the letter case given here; the folded key stays
            MarkChanged(saveNow);
            return true;
        }
    } else if (!alwaysAdd && SectionHoldsLine(index, OrEmpty(value))) {
        return false;
    }
    InsertIntoSection(index, text);
    MarkChanged(saveNow);
    return true;
}

bool IniFile::SectionHoldsLine(size_t index, const char* text) {
    if (!*text)
        return false; // empty lines are passed over
    for (Line line = SectionBegin(index); line != SectionEnd(index); ++line) {
        if (*line == text)
            return true;
    }
    return false;
}

// Moves point up over the comment lines directly above it, then over the blank lines above those.
IniFile::Line IniFile::InsertionPointAbove(Line point) {
    while (point != lines_.begin() && IsCommentForInsertion(*std::prev(point)))
        --point;
    while (point != lines_.begin() && std::prev(point)->IsEmpty())
        --point;
    return point;
}

void IniFile::InsertIntoSection(size_t index, const CString& text) {
    Line end = SectionEnd(index);
    Line inserted;
    if (end != lines_.end()) {
        Line point = InsertionPointAbove(end);
        inserted = lines_.insert(point, text);
        if (point == end)
            lines_.insert(end, CString()); // keeps the next header apart
    } else if (lines_.empty() || !lines_.back().IsEmpty()) {
        inserted = lines_.insert(lines_.end(), text);
    } else {
        inserted = lines_.insert(InsertionPointAbove(std::prev(lines_.end())), text);
    }
    if (IsHeader(text))
        RebuildIndex();
    else
        IndexEntry(index, inserted, true);
}

void IniFile::InsertSection(const CString& header, const CString& text) {
    Line point = lines_.end();
    if (!lines_.empty() && lines_.back().IsEmpty())
        point = InsertionPointAbove(std::prev(lines_.end()));
    if (point != lines_.begin())
        lines_.insert(point, CString());
    Line headerLine = lines_.insert(point, header);
    lines_.insert(point, text);
    if (IsHeader(text)) {
        RebuildIndex();
        return;
    }
    // The new section is the last one; the lines below its header (the new entry and the comments and
    // blank lines it was put above) now belong to it.
    size_t previous = sections_.size() - 1;
    AddSectionToIndex(headerLine);
    std::string key;
    for (Line line = std::next(headerLine); line != lines_.end(); ++line) {
        if (!EntryKey(*line, key))
            continue;
        auto& earlier = sections_[previous].firstEntry;
        auto found = earlier.find(key);
        if (found != earlier.end() && found->second == line)
            earlier.erase(found);
        IndexEntry(sections_.size() - 1, line, false);
    }
}

void IniFile::IndexEntry(size_t index, Line line, bool mayPrecedeIndexed) {
    std::string key;
    if (!EntryKey(*line, key))
        return;
    auto [found, added] = sections_[index].firstEntry.emplace(key, line);
    if (added || !mayPrecedeIndexed)
        return;
    // An inserted line may stand above the comment lines that end its section; one of them may hold the key.
    for (Line later = std::next(line); later != SectionEnd(index); ++later) {
        if (later == found->second) {
            found->second = line;
            return;
        }
    }
}

void IniFile::AddSectionToIndex(Line header) {
    sections_.push_back({header, {}});
    firstSection_.emplace(Fold(SectionName(*header).Text()), sections_.size() - 1);
}

void IniFile::RebuildIndex() {
    sections_.clear();
    firstSection_.clear();
    sections_.push_back({lines_.end(), {}});
    for (Line line = lines_.begin(); line != lines_.end(); ++line) {
        if (IsHeader(*line))
            AddSectionToIndex(line);
        else
            IndexEntry(sections_.size() - 1, line, false);
    }
}

void IniFile::MarkChanged(bool saveNow) {
    dirty_ = true;
    if (saveNow)
        Flush();
}

// A failure part-way leaves the old file as it was.
bool IniFile::Save(FileSystem& fileSystem, const CString& path) {
    saveFailure_.clear();
    if (path.IsEmpty() || (unreadable_ && path == path_))
        return false;
    FileReplacement file(fileSystem, path, {TemporaryPrefix(path)});
    bool written = file.Open() && (!byteOrderMark_ || file.Write(kByteOrderMark, 3));
    for (auto line = lines_.begin(); written && line != lines_.end(); ++line)
        written = file.WriteLine(*line);
    if (!written || !file.Commit()) {
        saveFailure_ = file.FailureReason();
        return false;
    }
    dirty_ = false;
    return true;
}

bool IniFile::Flush() {
    return !dirty_ || (fileSystem_ && Save(*fileSystem_, path_));
}
