// A line-oriented text file on which the INI document reads and writes its lines.
#pragma once

#include "foundation/CString.h"
#include "foundation/platform/FileSystem.h"

#include <memory>

class TextFile {
public:
    TextFile() = default;
    ~TextFile(); // release
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    bool Open(const CString& path, const char* mode = "r");
    // Empties out, then reads up to and including the next newline; false when nothing was read.
    bool ReadLine(CString& out);
    bool AtEnd() const;
    bool WriteLine(const CString& text);
    bool Close();
    bool Delete();
    void Release();

    void SetDeleteOnClose(bool deleteOnClose) { deleteOnClose_ = deleteOnClose; }
    bool IsOpen() const { return file_ != nullptr; }
    const CString& Path() const { return path_; }

private:
    CString path_;
    std::unique_ptr<File> file_;
    bool endReached_ = true;
    bool deleteOnClose_ = false;
    // Reads go through a block buffer, not one system call per character.
    std::string readBuffer_;
    size_t readPos_ = 0;
};
