#include "foundation/TextFile.h"

#include <cstring>

namespace {

constexpr size_t kBlockSize = 64 * 1024;

} // namespace

TextFile::~TextFile() {
    Release();
}

bool TextFile::Open(const CString& path, const char* mode) {
    if (file_)
        Close();
    if (!mode || !*mode)
        mode = "r";
    path_ = path;
    textMode_ = std::strchr(mode, 'b') == nullptr;
    writeFailed_ = false;
    endReached_ = false;
    file_ = CurrentFileSystem().OpenFile(path.Str(), mode);
    return file_ != nullptr;
}

bool TextFile::CreateNew(const CString& path) {
    if (file_)
        Close();
    path_ = path;
    textMode_ = true;
    writeFailed_ = false;
    endReached_ = false;
    file_ = CurrentFileSystem().CreateNewFile(path.Str());
    return file_ != nullptr;
}

bool TextFile::FillReadBuffer() {
    if (!file_ || !FlushWrites())
        return false;
    readBuffer_.resize(kBlockSize);
    bool readError = false;
    size_t count = file_->Read(readBuffer_.data(), readBuffer_.size(), readError);
    readBuffer_.resize(readError ? 0 : count);
    readPos_ = 0;
    return !readBuffer_.empty();
}

bool TextFile::ReadLine(CString& out) {
    out.Clear();
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
        line.append(start, take);
        readPos_ += take;
        if (newline)
            break;
    }
    if (textMode_ && line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0)
        line.erase(line.size() - 2, 1);
    out = CString(line);
    return !line.empty();
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
        CurrentFileSystem().DeleteFile(path_.Str());
        deleteOnClose_ = false;
    }
    return true;
}

bool TextFile::Delete() {
    Close();
    return CurrentFileSystem().DeleteFile(path_.Str());
}

void TextFile::Release() {
    if (file_)
        Close();
    if (deleteOnClose_ && !path_.IsEmpty()) {
        CurrentFileSystem().DeleteFile(path_.Str());
        deleteOnClose_ = false;
    }
}
