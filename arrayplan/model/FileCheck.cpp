#include "arrayplan/model/FileCheck.h"

#include "arrayplan/model/RunSettings.h"
#include "foundation/platform/FileSystem.h"

#include <memory>

namespace {

constexpr int kCheckFileTrace = 70;

} // namespace

bool checkFile(const RunSettings& settings, const char* mode, const CString& path, std::string* reason) {
    CString trace = CString("checkFile(mode=") + mode + ",FileName=" + path + ")";
    settings.debugTrace(kCheckFileTrace, trace);
    if (path.IsEmpty())
        return false;
    FileSystem& fileSystem = settings.fileSystem();
    std::unique_ptr<File> file = fileSystem.OpenFile(path.Str(), mode);
    if (file && file->Close())
        return true;
    if (reason)
        *reason = fileSystem.LastFailureReason();
    return false;
}

std::string failureLine(const CString& path, const std::string& reason) {
    return path.Str() + ": " + (reason.empty() ? std::string("the system gave no reason") : reason) + "\n";
}
