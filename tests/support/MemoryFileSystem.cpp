#include "support/MemoryFileSystem.h"

#include "foundation/platform/PathStyle.h"

#include <algorithm>
#include <cstring>

// An open file of the memory file system: reads from the start, writes at the end.
class MemoryFile : public File {
public:
    MemoryFile(MemoryFileSystem& fileSystem, std::string key, std::string passedPath)
        : fileSystem_(fileSystem), key_(std::move(key)), passedPath_(std::move(passedPath)) {}

    size_t Read(void* buffer, size_t size, bool& readError) override {
        auto node = fileSystem_.nodes_.find(key_);
        if (node == fileSystem_.nodes_.end()) {
            readError = true;
            fileSystem_.Refuse("No such file or directory");
            return 0;
        }
        size_t count = std::min(size, node->second.content.size() - position_);
        std::memcpy(buffer, node->second.content.data() + position_, count);
        position_ += count;
        return count;
    }

    size_t Write(const void* buffer, size_t size) override {
        auto node = fileSystem_.nodes_.find(key_);
        if (fileSystem_.Fails(MemoryFileSystem::Call::Write, passedPath_))
            return 0;
        if (node == fileSystem_.nodes_.end()) {
            fileSystem_.Refuse("No such file or directory");
            return 0;
        }
        node->second.content.append(static_cast<const char*>(buffer), size);
        return size;
    }

    bool Close() override {
        if (closed_)
            return false;
        closed_ = true;
        return !fileSystem_.Fails(MemoryFileSystem::Call::Close, passedPath_);
    }

    bool Sync() override { return !closed_ && !fileSystem_.Fails(MemoryFileSystem::Call::Sync, passedPath_); }

    bool GetTimes(FileTimes& times) override {
        auto node = fileSystem_.nodes_.find(key_);
        if (fileSystem_.Fails(MemoryFileSystem::Call::GetFileTimes, passedPath_) ||
            node == fileSystem_.nodes_.end())
            return false;
        times = node->second.times;
        return true;
    }

    bool SetTimes(const FileTimes& times) override {
        auto node = fileSystem_.nodes_.find(key_);
        if (fileSystem_.Fails(MemoryFileSystem::Call::SetFileTimes, passedPath_) ||
            node == fileSystem_.nodes_.end())
            return false;
        node->second.times = times;
        return true;
    }

private:
    MemoryFileSystem& fileSystem_;
    std::string key_;
    std::string passedPath_;
    size_t position_ = 0;
    bool closed_ = false;
};

MemoryFileSystem::MemoryFileSystem() {
    nodes_["/"].directory = true;
}

// '\' and '/' alike; "." and ".." removed; a leading "//" (server paths) kept; no trailing separator.
std::string MemoryFileSystem::Normalize(const std::string& path) {
    auto separator = [](char c) { return c == '/' || c == '\\'; };
    std::string prefix;
    size_t start = 0;
    while (start < path.size() && separator(path[start]) && prefix.size() < 2) {
        prefix += '/';
        ++start;
    }
    std::vector<std::string> components;
    while (start < path.size()) {
        size_t end = start;
        while (end < path.size() && !separator(path[end]))
            ++end;
        std::string component = path.substr(start, end - start);
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
    std::string result = prefix;
    for (size_t i = 0; i < components.size(); ++i)
        result += (i ? "/" : "") + components[i];
    return result;
}

std::string MemoryFileSystem::Parent(const std::string& normalized) {
    size_t slash = normalized.find_last_of('/');
    if (slash == std::string::npos || normalized == "/" || normalized == "//")
        return "";
    return slash == 0 ? "/" : normalized.substr(0, slash == 1 && normalized[0] == '/' ? 2 : slash);
}

void MemoryFileSystem::AddDirectory(const std::string& path) {
    std::string key = Normalize(path);
    for (std::string folder = key; !folder.empty(); folder = Parent(folder))
        nodes_[folder].directory = true;
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& content, FileTimes times) {
    std::string key = Normalize(path);
    AddDirectory(Parent(key));
    Node& node = nodes_[key];
    node.directory = false;
    node.content = content;
    node.times = times;
}

bool MemoryFileSystem::IsDirectory(const std::string& path) const {
    auto node = nodes_.find(Normalize(path));
    return node != nodes_.end() && node->second.directory;
}

bool MemoryFileSystem::IsFile(const std::string& path) const {
    auto node = nodes_.find(Normalize(path));
    return node != nodes_.end() && !node->second.directory;
}

std::string MemoryFileSystem::Content(const std::string& path) const {
    return IsFile(path) ? nodes_.at(Normalize(path)).content : std::string();
}

FileTimes MemoryFileSystem::Times(const std::string& path) const {
    auto node = nodes_.find(Normalize(path));
    return node == nodes_.end() ? FileTimes{} : node->second.times;
}

std::vector<std::string> MemoryFileSystem::AllPaths() const {
    std::vector<std::string> paths;
    for (const auto& [key, node] : nodes_)
        paths.push_back(key);
    return paths;
}

void MemoryFileSystem::FailCall(Call call, int nth, const std::string& path, const std::string& reason) {
    faults_.push_back({call, nth, path.empty() ? path : Normalize(path), reason});
}

bool MemoryFileSystem::Refuse(const char* reason) {
    lastFailure_ = reason;
    return false;
}

namespace {

const char* DefaultReason(MemoryFileSystem::Call call) {
    using Call = MemoryFileSystem::Call;
    return call == Call::Write || call == Call::Close || call == Call::Sync ? "No space left on device"
                                                                            : "Input/output error";
}

} // namespace

bool MemoryFileSystem::Fails(Call call, const std::string& path) {
    std::string key = Normalize(path);
    bool fails = false;
    for (Fault& fault : faults_) {
        if (fault.call != call || (!fault.path.empty() && fault.path != key))
            continue;
        ++fault.seen;
        if (!fails && (fault.nth == 0 || fault.seen == fault.nth)) {
            fails = true;
            lastFailure_ = fault.reason.empty() ? DefaultReason(call) : fault.reason;
        }
    }
    return fails;
}

bool MemoryFileSystem::HasChildren(const std::string& normalized) const {
    std::string prefix = normalized.back() == '/' ? normalized : normalized + "/";
    auto next = nodes_.upper_bound(normalized);
    return next != nodes_.end() && next->first.compare(0, prefix.size(), prefix) == 0;
}

bool MemoryFileSystem::FindEntries(const std::string& pattern, std::vector<DirectoryEntry>& entries) {
    entries.clear();
    if (Fails(Call::FindEntries, pattern))
        return false;
    std::string key = Normalize(pattern);
    std::string directory = Parent(key);
    std::string name = key.substr(directory.empty() ? 0 : key.find_last_of('/') + 1);
    // A name is looked up: a missing folder or a file on the way means only that it is not there.
    if (!HasWildcards(name)) {
        auto node = nodes_.find(key);
        if (node != nodes_.end())
            entries.push_back({name.empty() ? key : name, node->second.directory, false});
        return true;
    }
    if (!IsDirectory(directory))
        return Refuse(IsFile(directory) ? "Not a directory" : "No such file or directory");
    std::string prefix = directory.back() == '/' ? directory : directory + "/";
    for (auto node = nodes_.upper_bound(prefix); node != nodes_.end(); ++node) {
        if (node->first.compare(0, prefix.size(), prefix) != 0)
            break;
        std::string child = node->first.substr(prefix.size());
        if (child.find('/') == std::string::npos && MatchesWildcard(child, name))
            entries.push_back({child, node->second.directory, false});
    }
    return true;
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
    std::string key = Normalize(path);
    std::string parent = Parent(key);
    if (Fails(Call::MakeDirectory, path))
        return false;
    if (nodes_.count(key))
        return Refuse("File exists");
    if (!parent.empty() && !IsDirectory(parent))
        return Refuse(IsFile(parent) ? "Not a directory" : "No such file or directory");
    nodes_[key].directory = true;
    directoriesMade.push_back(path);
    return true;
}

bool MemoryFileSystem::RemoveDirectory(const std::string& path) {
    std::string key = Normalize(path);
    if (Fails(Call::RemoveDirectory, path))
        return false;
    if (!IsDirectory(key))
        return Refuse(IsFile(key) ? "Not a directory" : "No such file or directory");
    if (HasChildren(key))
        return Refuse("Directory not empty");
    nodes_.erase(key);
    directoriesRemoved.push_back(path);
    return true;
}

bool MemoryFileSystem::DeleteFile(const std::string& path) {
    if (Fails(Call::DeleteFile, path))
        return false;
    if (!IsFile(path))
        return Refuse(IsDirectory(path) ? "Is a directory" : "No such file or directory");
    nodes_.erase(Normalize(path));
    filesRemoved.push_back(path);
    return true;
}

bool MemoryFileSystem::FileSize(const std::string& path, uint64_t& size) {
    auto node = nodes_.find(Normalize(path));
    if (node == nodes_.end() || node->second.directory)
        return Refuse("No such file or directory");
    size = node->second.content.size();
    return true;
}

bool MemoryFileSystem::GetFileTimes(const std::string& path, FileTimes& times) {
    auto node = nodes_.find(Normalize(path));
    if (Fails(Call::GetFileTimes, path) || node == nodes_.end())
        return false;
    times = node->second.times;
    return true;
}

bool MemoryFileSystem::SetFileTimes(const std::string& path, const FileTimes& times) {
    auto node = nodes_.find(Normalize(path));
    if (Fails(Call::SetFileTimes, path) || node == nodes_.end())
        return false;
    node->second.times = times;
    return true;
}

std::string MemoryFileSystem::FullPath(const std::string& path) {
    std::string key = Normalize(path);
    return key.empty() || key[0] == '/' || key.find(':') != std::string::npos ? key : "/" + key;
}

std::unique_ptr<File> MemoryFileSystem::Create(const std::string& path, const std::string& key,
                                               bool truncate) {
    std::string parent = Parent(key);
    auto node = nodes_.find(key);
    if (node != nodes_.end() && node->second.directory) {
        Refuse("Is a directory");
        return nullptr;
    }
    if (!parent.empty() && !IsDirectory(parent)) {
        Refuse(IsFile(parent) ? "Not a directory" : "No such file or directory");
        return nullptr;
    }
    if (node == nodes_.end()) {
        nodes_[key] = Node{};
        filesCreated.push_back(path);
    } else if (truncate) {
        node->second.content.clear();
    }
    return std::make_unique<MemoryFile>(*this, key, path);
}

std::unique_ptr<File> MemoryFileSystem::OpenFile(const std::string& path, const char* mode) {
    std::string key = Normalize(path);
    bool writing = mode[0] == 'w' || mode[0] == 'a' || std::strchr(mode, '+');
    if (Fails(writing ? Call::OpenForWriting : Call::OpenForReading, path))
        return nullptr;
    if (std::strchr(mode, 'x') && nodes_.count(key)) {
        Refuse("File exists");
        return nullptr;
    }
    if (mode[0] == 'w' || mode[0] == 'a')
        return Create(path, key, mode[0] == 'w');
    if (!IsFile(key)) {
        Refuse(IsDirectory(key) ? "Is a directory" : "No such file or directory");
        return nullptr;
    }
    return std::make_unique<MemoryFile>(*this, key, path);
}

std::unique_ptr<File> MemoryFileSystem::CreateNewFile(const std::string& path) {
    std::string key = Normalize(path);
    if (Fails(Call::CreateNewFile, path))
        return nullptr;
    if (nodes_.count(key)) {
        Refuse("File exists");
        return nullptr;
    }
    return Create(path, key, true);
}

bool MemoryFileSystem::RenameFile(const std::string& source, const std::string& target) {
    std::string from = Normalize(source);
    std::string to = Normalize(target);
    if (Fails(Call::RenameFile, target))
        return false;
    if (!IsFile(from) || !IsDirectory(Parent(to)))
        return Refuse("No such file or directory");
    if (IsDirectory(to))
        return Refuse("Is a directory");
    nodes_[to] = nodes_[from];
    nodes_.erase(from);
    renamed.push_back(source + " -> " + target);
    return true;
}

std::string MemoryFileSystem::DirectoryIdentity(const std::string& path) {
    std::string key = Normalize(path);
    return IsDirectory(key) ? key : std::string();
}

bool MemoryFileSystem::IsVolumeRoot(const std::string& path) {
    std::string key = Normalize(path);
    bool share = key.rfind("//", 0) == 0 && std::count(key.begin(), key.end(), '/') == 3;
    return IsDirectory(key) && (Parent(key).empty() || share);
}

std::unique_ptr<FileLock> MemoryFileSystem::LockFile(const std::string& path) {
    std::string key = Normalize(path);
    if (!IsFile(key) && !Create(path, key, false))
        return nullptr;
    return std::make_unique<FileLock>();
}
