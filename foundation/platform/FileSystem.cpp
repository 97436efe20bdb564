#include "foundation/platform/FileSystem.h"

namespace {

FileSystem* installedFileSystem = nullptr;

} // namespace

FileSystem& CurrentFileSystem() {
    return installedFileSystem ? *installedFileSystem : NativeFileSystem();
}

FileSystem* SetFileSystem(FileSystem* fileSystem) {
    FileSystem* previous = installedFileSystem;
    installedFileSystem = fileSystem;
    return previous;
}

bool FileSystem::IsVolumeRoot(const std::string& path) {
    std::string identity = DirectoryIdentity(path);
    bool separated = !path.empty() && (path.back() == '/' || path.back() == '\\');
    return !identity.empty() && DirectoryIdentity(path + (separated ? ".." : "/..")) == identity;
}
