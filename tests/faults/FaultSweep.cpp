#include "FaultSweep.h"

#include <cstring>
#include <functional>

namespace {

using Call = MemoryFileSystem::Call;

const char* NameOf(Call call) {
    switch (call) {
    case Call::FindEntries:
        return "FindEntries";
    case Call::MakeDirectory:
        return "MakeDirectory";
    case Call::RemoveDirectory:
        return "RemoveDirectory";
    case Call::DeleteFile:
        return "DeleteFile";
    case Call::GetFileTimes:
        return "GetFileTimes";
    case Call::SetFileTimes:
        return "SetFileTimes";
    case Call::OpenForReading:
        return "OpenForReading";
    case Call::OpenForWriting:
        return "OpenForWriting";
    case Call::CreateNewFile:
        return "CreateNewFile";
    case Call::RenameFile:
        return "RenameFile";
    case Call::Write:
        return "Write";
    case Call::Close:
        return "Close";
    case Call::Sync:
        return "Sync";
    }
    return "?";
}

// Counts the calls made through it, by the kinds that MemoryFileSystem can fail, and passes them on.
class CountingFileSystem : public FileSystem {
public:
    explicit CountingFileSystem(FileSystem& inner) : inner_(inner) {}

    std::map<Call, int> counts;

    bool FindEntries(const std::string& pattern, std::vector<DirectoryEntry>& entries) override {
        ++counts[Call::FindEntries];
        return inner_.FindEntries(pattern, entries);
    }
    bool MakeDirectory(const std::string& path) override {
        ++counts[Call::MakeDirectory];
        return inner_.MakeDirectory(path);
    }
    bool RemoveDirectory(const std::string& path) override {
        ++counts[Call::RemoveDirectory];
        return inner_.RemoveDirectory(path);
    }
    bool DeleteFile(const std::string& path) override {
        ++counts[Call::DeleteFile];
        return inner_.DeleteFile(path);
    }
    bool GetFileTimes(const std::string& path, FileTimes& times) override {
        ++counts[Call::GetFileTimes];
        return inner_.GetFileTimes(path, times);
    }
    bool SetFileTimes(const std::string& path, const FileTimes& times) override {
        ++counts[Call::SetFileTimes];
        return inner_.SetFileTimes(path, times);
    }
    std::string FullPath(const std::string& path) override { return inner_.FullPath(path); }
    std::unique_ptr<File> OpenFile(const std::string& path, const char* mode) override {
        bool writing = mode[0] == 'w' || mode[0] == 'a' || std::strchr(mode, '+');
        ++counts[writing ? Call::OpenForWriting : Call::OpenForReading];
        return Counted(inner_.OpenFile(path, mode));
    }
    std::unique_ptr<File> CreateNewFile(const std::string& path) override {
        ++counts[Call::CreateNewFile];
        return Counted(inner_.CreateNewFile(path));
    }
    bool RenameFile(const std::string& source, const std::string& target) override {
        ++counts[Call::RenameFile];
        return inner_.RenameFile(source, target);
    }
    std::string DirectoryIdentity(const std::string& path) override { return inner_.DirectoryIdentity(path); }
    bool IsVolumeRoot(const std::string& path) override { return inner_.IsVolumeRoot(path); }
    std::unique_ptr<FileLock> LockFile(const std::string& path) override { return inner_.LockFile(path); }
    std::string LastFailureReason() override { return inner_.LastFailureReason(); }

private:
    class CountedFile : public File {
    public:
        CountedFile(std::unique_ptr<File> inner, std::map<Call, int>& counts)
            : inner_(std::move(inner)), counts_(counts) {}
        size_t Read(void* buffer, size_t size, bool& readError) override {
            return inner_->Read(buffer, size, readError);
        }
        size_t Write(const void* buffer, size_t size) override {
            ++counts_[Call::Write];
            return inner_->Write(buffer, size);
        }
        bool Close() override {
            ++counts_[Call::Close];
            return inner_->Close();
        }
        bool GetTimes(FileTimes& times) override {
            ++counts_[Call::GetFileTimes];
            return inner_->GetTimes(times);
        }
        bool SetTimes(const FileTimes& times) override {
            ++counts_[Call::SetFileTimes];
            return inner_->SetTimes(times);
        }
        bool Sync() override {
            ++counts_[Call::Sync];
            return inner_->Sync();
        }

    private:
        std::unique_ptr<File> inner_;
        std::map<Call, int>& counts_;
    };

    std::unique_ptr<File> Counted(std::unique_ptr<File> file) {
        if (!file)
            return nullptr;
        return std::make_unique<CountedFile>(std::move(file), counts);
    }

    FileSystem& inner_;
};

std::string Fingerprint(const std::string& content) {
    return std::to_string(content.size()) + " bytes #" +
           std::to_string(std::hash<std::string>{}(content) % 100000);
}

} // namespace

std::string Describe(const InjectedFault& fault) {
    return std::string(NameOf(fault.call)) + " #" + std::to_string(fault.nth) + " fails";
}

std::vector<InjectedFault> CallsMadeBy(const Preparation& prepare, const Action& action) {
    MemoryFileSystem memory;
    {
        ScopedFileSystem scoped(memory);
        prepare(memory);
    }
    CountingFileSystem counting(memory);
    {
        ScopedFileSystem scoped(counting);
        action();
    }
    std::vector<InjectedFault> faults;
    for (const auto& [call, count] : counting.counts) {
        for (int nth = 1; nth <= count; ++nth)
            faults.push_back({call, nth});
    }
    return faults;
}

std::map<std::string, std::string> FilesBelow(const MemoryFileSystem& fileSystem, const std::string& folder) {
    std::string prefix = folder.back() == '/' ? folder : folder + "/";
    std::map<std::string, std::string> files;
    for (const std::string& path : fileSystem.AllPaths()) {
        if (path.compare(0, prefix.size(), prefix) == 0 && fileSystem.IsFile(path))
            files[path.substr(prefix.size())] = Fingerprint(fileSystem.Content(path));
    }
    return files;
}

int CountOf(const std::vector<InjectedFault>& faults, MemoryFileSystem::Call call) {
    int count = 0;
    for (const InjectedFault& fault : faults)
        count += fault.call == call ? 1 : 0;
    return count;
}

std::string Differences(const std::map<std::string, std::string>& actual,
                        const std::map<std::string, std::string>& expected) {
    std::map<std::string, std::pair<std::string, std::string>> both;
    for (const auto& [name, fingerprint] : actual)
        both[name].first = fingerprint;
    for (const auto& [name, fingerprint] : expected)
        both[name].second = fingerprint;
    std::string differences;
    for (const auto& [name, pair] : both) {
        if (pair.first != pair.second)
            differences += name + ": " + (pair.first.empty() ? "missing" : pair.first) + " instead of " +
                           (pair.second.empty() ? "nothing" : pair.second) + "; ";
    }
    return differences;
}
