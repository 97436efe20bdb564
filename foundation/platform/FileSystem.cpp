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
    return !identity.empty() && DirectoryIdentity(path + "/..") == identity;
}
