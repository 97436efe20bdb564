#include "arrayplan/frontend/FileCheck.h"

#include "arrayplan/frontend/RunSettings.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

#include <memory>

namespace {

constexpr int kCheckFileTrace = 70;

bool readWhole(const std::string& path, std::string& bytes) {
    std::unique_ptr<File> file = CurrentFileSystem().OpenFile(path, "rb");
    if (!file)
        return false;
    char buffer[65536];
    bool readError = false;
    while (size_t count = file->Read(buffer, sizeof buffer, readError))
        bytes.append(buffer, count);
    return file->Close() && !readError;
}

bool writeWhole(const std::string& path, const std::string& bytes) {
    std::unique_ptr<File> file = CurrentFileSystem().OpenFile(path, "wb");
    if (!file)
        return false;
    bool written = file->Write(bytes.data(), bytes.size()) == bytes.size();
    return file->Close() && written;
}

} // namespace

bool checkFile(const RunSettings& settings, const char* mode, const CString& path) {
    CString trace = CString("checkFile(mode=") + mode + ",FileName=" + path + ")";
    settings.debugTrace(kCheckFileTrace, trace);
    if (path.IsEmpty())
        return false;
    std::unique_ptr<File> file = CurrentFileSystem().OpenFile(path.Str(), mode);
    return file && file->Close();
}

OutputFileGuard::OutputFileGuard(const CString& path) : path_(path) {
    existed_ = !path.IsEmpty() && PathExists(path);
    saved_ = existed_ && readWhole(path.Str(), original_);
}

void OutputFileGuard::undo() {
    if (!existed_)
        CurrentFileSystem().DeleteFile(path_.Str());
    else if (saved_)
        writeWhole(path_.Str(), original_);
}
