// A line-oriented text file on which the INI document reads and writes its lines.
#pragma once

#include "foundation/CString.h"
#include "foundation/platform/FileSystem.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

// Contents held in memory, given where a reader otherwise takes a path: read exactly as a file holding
// these bytes would be. The bytes must outlive the reading.
struct TextContents {
    std::string_view bytes;
};

// What a bounded read of a line found.
enum class LineRead {
    Line,    // a line (the last one possibly without its newline)
    End,     // nothing more to read
    TooLong, // more than the limit before the newline: the read stops there, the rest of the line unread
    Failed,  // the file could not be read
};

class TextFile {
public:
    TextFile() = default;
    ~TextFile(); // release
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Closes a file still open, then opens path on fileSystem with a C library mode text ("r" when
    // empty). The file system must outlive the file's use.
    bool Open(FileSystem& fileSystem, const CString& path, const char* mode = "r");
    // Closes a file still open, then reads text as a file opened with "r" holding it; nothing can be
    // written. Reading is the same as from a file, so a document gives the same lines either way.
    void OpenText(TextContents text);
    // Empties out, then reads up to and including the next newline; false when nothing was read (at the
    // end, or when the file could not be read). In text mode (no "b") a carriage return before the newline
    // is dropped, as the Windows library does. A UTF-8 byte order mark opening the file is skipped.
    bool ReadLine(CString& out);
    // The same, storing at most limit characters before the newline: a longer line gives TooLong with
    // out holding its first limit characters, so that an endless line (/dev/zero) never fills memory.
    LineRead ReadLine(CString& out, size_t limit);
    // Whether the file opened with a UTF-8 byte order mark (known after the first read).
    bool HadByteOrderMark() const { return byteOrderMark_; }
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
    void ResetState();
    bool FillReadBuffer();
    void SkipByteOrderMark();
    bool FlushWrites();
    bool DeleteOwnFile();

    CString path_;
    FileSystem* fileSystem_ = nullptr; // the one path_ was opened on; none for text in memory
    std::unique_ptr<File> file_;
    bool endReached_ = true;
    bool deleteOnClose_ = false;
    bool textMode_ = true; // no "b" in the mode: a carriage return before a newline is dropped
    bool writeFailed_ = false;
    bool readFailed_ = false;
    bool atStart_ = true; // nothing read since the file was opened
    bool byteOrderMark_ = false;
    // Reads and writes go through block buffers, not one system call per character or line.
    std::string readBuffer_;
    size_t readPos_ = 0;
    std::string writeBuffer_;
};
