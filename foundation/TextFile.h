// A line-oriented text file on which the INI document reads and writes its lines.
#pragma once

#include "foundation/CString.h"
#include "foundation/platform/FileSystem.h"

#include <memory>
#include <string>

class TextFile {
public:
    TextFile() = default;
    ~TextFile(); // release
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Closes a file still open, then opens path with a C library mode text ("r" when empty).
    bool Open(const CString& path, const char* mode = "r");
    // Creates path, which must not exist yet, for writing in text mode (exclusive create).
    bool CreateNew(const CString& path);
    // Empties out, then reads up to and including the next newline; false when nothing was read.
    // In text mode (no "b") a carriage return before the newline is dropped, as the Windows library does.
    bool ReadLine(CString& out);
    bool AtEnd() const;
    // Writes text and a newline. Writes are buffered: a failure may show only at Close.
    bool WriteLine(const CString& text);
    // False when nothing was open or the file could not be written or closed. With delete-on-close set,
    // a closed file is removed.
    bool Close();
    bool Delete();
    void Release();

    void SetDeleteOnClose(bool deleteOnClose) { deleteOnClose_ = deleteOnClose; }
    bool IsOpen() const { return file_ != nullptr; }
    const CString& Path() const { return path_; }

private:
    bool FillReadBuffer();
    bool FlushWrites();

    CString path_;
    std::unique_ptr<File> file_;
    bool endReached_ = true;
    bool deleteOnClose_ = false;
    bool textMode_ = true; // no "b" in the mode: a carriage return before a newline is dropped
    bool writeFailed_ = false;
    // Reads and writes go through block buffers, not one system call per character or line.
    std::string readBuffer_;
    size_t readPos_ = 0;
    std::string writeBuffer_;
};
