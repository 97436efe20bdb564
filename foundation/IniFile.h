// IniFile: an editable INI document held as its list of lines. Section and key names compare ignoring
// case; values are trimmed of blank, tab and newline. Edits change only the lines concerned.
#pragma once

#include "foundation/CString.h"
#include "foundation/TextFile.h"

#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <vector>

class IniFile {
public:
    // Reading is bounded, so that an endless file (/dev/zero, a pipe that never ends) cannot fill memory:
    // a line longer than this, or a file of more lines or bytes, cannot be read. Real INI files stay far
    // below (a full inventory has some ten thousand short lines).
    static constexpr size_t kMaxLineLength = 64 * 1024;
    static constexpr size_t kMaxLines = 1024 * 1024;
    static constexpr size_t kMaxBytes = 64 * 1024 * 1024;

    // Loads path from fileSystem at once; a file that cannot be opened leaves the document empty. A file
    // that exists but cannot be read (a read error, or beyond the bounds above) makes the document
    // unreadable: it is then never saved over that file. Saves go to the same file system, which must
    // outlive the document.
    IniFile(FileSystem& fileSystem, const CString& path, bool spacing);
    // Loads text as the contents of a file, with the same bounds; the document has no file of its own
    // (FileExists() is false, Flush() saves nothing) and is unreadable when the text cannot be read whole.
    IniFile(TextContents text, bool spacing);
    ~IniFile(); // flushes
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    bool FileExists() const;
    bool IsUnreadable() const { return unreadable_; }
    // Why the last load failed: the system's reason, or the bound that was passed ("line 3 is longer than
    // 65536 characters"); empty after a load that succeeded.
    const std::string& ReadFailureReason() const { return readFailure_; }
    // Appends text trimmed of blank, tab and newline.
    bool AddLine(const CString& text);

    // Only the first section of a name is searched; comment lines (";") are no entries here.
    CString GetValue(const char* section, const char* key, const char* defaultValue) const;
    int GetInt(const char* section, const char* key, int defaultValue) const;
    // Rewrites the section's entry for key in place, or inserts a line (and the section when missing).
    // Returns true when the document changed.
    bool SetValue(const char* section, const char* key, const char* value, bool alwaysAdd, bool saveNow);

    // Replaces the file whole or not at all (FileReplacement: a synced temporary file beside it, then a
    // rename). Fails for the document's own file when that could not be read.
    bool Save(FileSystem& fileSystem, const CString& path);
    // Saves a changed document to its own file; a document from text has none and saves nothing.
    bool Flush();
    // The system's reason why the last save failed ("No space left on device"); empty when it gave none.
    const std::string& SaveFailureReason() const { return saveFailure_; }

    bool IsDirty() const { return dirty_; }
    const CString& Path() const { return path_; }
    const std::list<CString>& Lines() const { return lines_; }

private:
    using Line = std::list<CString>::iterator;

    // The lines from a header (or from the top, for the unnamed section) up to the next header.
    // Lookups use this index instead of walking the document; it always gives what the walk would.
    struct Section {
        Line header;                                      // lines_.end() for the unnamed section
        std::unordered_map<std::string, Line> firstEntry; // folded key -> its first line, comments included
    };

    // Append the lines of path or of text; false when it cannot be opened or read whole or a line cannot
    // be stored. A UTF-8 byte order mark at the start is skipped, and written again when the document is
    // saved.
    bool Load(const CString& path);
    bool LoadText(TextContents text);
    bool ReadLines(TextFile& file);
    bool FailLoad(const std::string& reason);
    bool FindSection(const char* name, size_t& index) const;
    Line SectionBegin(size_t index);
    Line SectionEnd(size_t index);
    bool SectionHoldsLine(size_t index, const char* text);
    Line InsertionPointAbove(Line point);
    void InsertIntoSection(size_t index, const CString& text);
    void InsertSection(const CString& header, const CString& text);
    void IndexEntry(size_t index, Line line, bool mayPrecedeIndexed);
    void AddSectionToIndex(Line header);
    void RebuildIndex();
    void MarkChanged(bool saveNow);

    FileSystem* fileSystem_ = nullptr; // the one of path_; none for a document from text
    CString path_;
    bool spacing_;
    bool dirty_ = false;
    bool unreadable_ = false;
    bool byteOrderMark_ = false;
    std::string readFailure_;
    std::string saveFailure_;
    std::list<CString> lines_;
    std::vector<Section> sections_;
    std::unordered_map<std::string, size_t> firstSection_; // folded name -> first section of that name
};
