// Fuzz target: the policy reader (scan, validation, dump) on arbitrary file contents, strict and lenient.
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

class MemoryFile : public File {
public:
    explicit MemoryFile(const std::string& content) : content_(content) {}
    size_t Read(void* buffer, size_t size, bool& readError) override {
        readError = false;
        size_t count = std::min(size, content_.size() - position_);
        std::memcpy(buffer, content_.data() + position_, count);
        position_ += count;
        return count;
    }
    size_t Write(const void*, size_t) override { return 0; }
    bool Close() override { return true; }

private:
    const std::string& content_;
    size_t position_ = 0;
};

// Every path opens the one file held in memory; nothing else is possible.
class OneFileSystem : public FileSystem {
public:
    std::string content;

    bool FindEntries(const std::string&, std::vector<DirectoryEntry>&) override { return false; }
    bool MakeDirectory(const std::string&) override { return false; }
    bool RemoveDirectory(const std::string&) override { return false; }
    bool DeleteFile(const std::string&) override { return false; }
    bool GetFileTimes(const std::string&, FileTimes&) override { return false; }
    bool SetFileTimes(const std::string&, const FileTimes&) override { return false; }
    std::string FullPath(const std::string& path) override { return path; }
    std::unique_ptr<File> OpenFile(const std::string&, const char* mode) override {
        if (mode[0] != 'r')
            return nullptr;
        return std::make_unique<MemoryFile>(content);
    }
    std::unique_ptr<File> CreateNewFile(const std::string&) override { return nullptr; }
    bool RenameFile(const std::string&, const std::string&) override { return false; }
    std::string DirectoryIdentity(const std::string&) override { return {}; }
};

void readOnce(bool lenient) {
    RunSettings settings;
    PolicyReader reader(settings, "policies.ini", lenient);
    if (!reader.read())
        return;
    reader.dumpAllPolicies();
    for (int i = 0; i < reader.policyList().size(); ++i) {
        Policy copy(*reader.policyList().at(i));
        copy.removeAllArrays();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static OneFileSystem fileSystem;
    static FileSystem* previous = SetFileSystem(&fileSystem);
    (void)previous;
    fileSystem.content.assign(reinterpret_cast<const char*>(data), size);
    std::string out;
    std::string err;
    Console::Instance().Capture(&out, &err);
    readOnce(false);
    readOnce(true);
    Console::Instance().Capture(nullptr, nullptr);
    return 0;
}
