// IniFile: an editable INI document held as its list of lines. Section and key names compare ignoring
// case; values are trimmed of blank, tab and newline. Edits change only the lines concerned.
#pragma once

#include "foundation/CString.h"

#include <list>

class IniFile {
public:
    // Loads path at once; a file that cannot be opened leaves the document empty.
    IniFile(const CString& path, bool spacing);
    ~IniFile(); // flushes
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    bool FileExists() const;
    bool Load(const CString& path);
    bool AddLine(const CString& text);

    CString GetValue(const char* section, const char* key, const char* defaultValue) const;
    int GetInt(const char* section, const char* key, int defaultValue) const;
    // Returns true when the document changed.
    bool SetValue(const char* section, const char* key, const char* value, bool alwaysAdd, bool saveNow);

    // Replaces the file atomically (a temporary file beside it, then a rename).
    bool Save(const CString& path);
    bool Flush();

    bool IsDirty() const { return dirty_; }
    const CString& Path() const { return path_; }
    const std::list<CString>& Lines() const { return lines_; }

private:
    CString path_;
    bool spacing_;
    bool dirty_ = false;
    std::list<CString> lines_;
};
