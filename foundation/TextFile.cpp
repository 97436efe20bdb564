#include "foundation/TextFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace {

constexpr size_t kBlockSize = 64 * 1024;

// Editors put it at the start of UTF-8 text; it is no part of the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Bytes in memory behind the File interface, so that they pass the same buffered reading as a file.
class TextBytesFile : public File {
public:
    explicit TextBytesFile(std::string_view bytes) : bytes_(bytes) {}
    size_t Read(void* buffer, size_t size, bool& readError) override {
        readError = false;
        size_t count = std::min(size, bytes_.size() - position_);
        std::memcpy(buffer, bytes_.data() + position_, count);
        position_ += count;
        return count;
    }
    size_t Write(const void*, size_t) override { return 0; }
    bool Close() override { return true; }

private:
    std::string_view bytes_;
    size_t position_ = 0;
};

} // namespace

TextFile::~TextFile() {
    Release();
}

bool TextFile::Open(FileSystem& fileSystem, const CString& path, const char* mode) {
    if (file_)
        Close();
    if (!mode || !*mode)
        mode = "r";
    path_ = path;
    fileSystem_ = &fileSystem;
    textMode_ = std::strchr(mode, 'b') == nullptr;
    ResetState();
    file_ = fileSystem.OpenFile(path.Str(), mode);
    return file_ != nullptr;
}

void TextFile::OpenText(TextContents text) {
    if (file_)
        Close();
    path_.Clear();
    fileSystem_ = nullptr;
    textMode_ = true;
    ResetState();
    file_ = std::make_unique<TextBytesFile>(text.bytes);
}

void TextFile::ResetState() {
    writeFailed_ = false;
    readFailed_ = false;
    endReached_ = false;
    atStart_ = true;
    byteOrderMark_ = false;
    readBuffer_.clear();
    readPos_ = 0;
}

// Keeps what is still unread and appends the next block; false when nothing more came.
bool TextFile::FillReadBuffer() {
    if (!file_ || !FlushWrites())
        return false;
    readBuffer_.erase(0, readPos_);
    readPos_ = 0;
    size_t kept = readBuffer_.size();
    readBuffer_.resize(kept + kBlockSize);
    bool readError = false;
    size_t count = file_->Read(readBuffer_.data() + kept, kBlockSize, readError);
    if (readError) {
        readFailed_ = true;
        count = 0;
    }
    readBuffer_.resize(kept + count);
    return count > 0;
}

// A short first read (from a pipe) may bring the mark in pieces.
void TextFile::SkipByteOrderMark() {
    atStart_ = false;
    while (readBuffer_.size() < kByteOrderMark.size() &&
           kByteOrderMark.substr(0, readBuffer_.size()) == readBuffer_ && FillReadBuffer()) {
    }
    if (std::string_view(readBuffer_).substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        readPos_ = kByteOrderMark.size();
        byteOrderMark_ = true;
    }
}

bool TextFile::ReadLine(CString& out) {
    return ReadLine(out, SIZE_MAX) == LineRead::Line;
}

LineRead TextFile::ReadLine(CString& out, size_t limit) {
    out.Clear();
    if (atStart_ && file_)
        SkipByteOrderMark();
    // Room for the limit, a carriage return that text mode drops and the newline.
    size_t capacity = limit > SIZE_MAX - 2 ? SIZE_MAX : limit + 2;
    std::string line;
    for (;;) {
        if (readPos_ == readBuffer_.size() && !FillReadBuffer()) {
            endReached_ = true;
            break;
        }
        const char* start = readBuffer_.data() + readPos_;
        size_t available = readBuffer_.size() - readPos_;
        const char* newline = static_cast<const char*>(std::memchr(start, '\n', available));
        size_t take = newline ? static_cast<size_t>(newline - start) + 1 : available;
        bool full = take > capacity - line.size();
        if (full)
            take = capacity - line.size();
        line.append(start, take);
        readPos_ += take;
        if (newline || full)
            break;
    }
    if (readFailed_)
        return LineRead::Failed;
    if (textMode_ && line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
        line.erase(line.size() - 2, 1);
    size_t length = line.size() - (!line.empty() && line.back() == '\n' ? 1 : 0);
    if (length > limit) {
        out = CString(line.substr(0, limit));
        return LineRead::TooLong;
    }
    out = CString(line);
    return line.empty() ? LineRead::End : LineRead::Line;
}

bool TextFile::AtEnd() const {
    return file_ ? endReached_ : true;
}

bool TextFile::WriteLine(const CString& text) {
    if (!file_)
        return false;
    writeBuffer_.append(text.Text(), text.Length());
    writeBuffer_ += '\n';
    if (writeBuffer_.size() >= kBlockSize)
        FlushWrites();
    return !writeFailed_;
}

bool TextFile::FlushWrites() {
    if (!writeBuffer_.empty()) {
        if (file_->Write(writeBuffer_.data(), writeBuffer_.size()) < writeBuffer_.size())
            writeFailed_ = true;
        writeBuffer_.clear();
    }
    return !writeFailed_;
}

bool TextFile::Close() {
    if (!file_)
        return false;
    bool written = FlushWrites();
    bool closed = file_->Close();
    file_.reset();
    readBuffer_.clear();
    readPos_ = 0;
    endReached_ = true;
    if (!written || !closed)
        return false;
    if (deleteOnClose_) {
        DeleteOwnFile();
        deleteOnClose_ = false;
    }
    return true;
}

bool TextFile::Delete() {
    Close();
    return DeleteOwnFile();
}

void TextFile::Release() {
    if (file_)
        Close();
    if (deleteOnClose_) {
        DeleteOwnFile();
        deleteOnClose_ = false;
    }
}

bool TextFile::DeleteOwnFile() {
    return fileSystem_ && !path_.IsEmpty() && fileSystem_->DeleteFile(path_.Str());
}
