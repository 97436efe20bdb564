// The POSIX file system: searches, letter case, links, full paths and exclusive creation.
#ifndef _WIN32

#include "foundation/platform/FileSystem.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

class PosixFileSystemTest : public testing::Test {
protected:
    TempDir temp;
    FileSystem& disk = NativeFileSystem();

    std::vector<DirectoryEntry> Find(const std::string& pattern) {
        std::vector<DirectoryEntry> entries;
        EXPECT_TRUE(disk.FindEntries(pattern, entries)) << pattern;
        std::sort(entries.begin(), entries.end(),
                  [](const DirectoryEntry& a, const DirectoryEntry& b) { return a.name < b.name; });
        return entries;
    }
};

TEST_F(PosixFileSystemTest, SearchesMatchWildcardsIgnoringCaseAndDescribeEachEntry) {
    temp.Write("d/a.ini", "");
    temp.Write("d/B.Ini", "");
    temp.Write("d/c.txt", "");
    temp.Write("d/sub/x", "");
    fs::create_directory_symlink(temp.Path() / "d/sub", temp.Path() / "d/dirlink");
    fs::create_symlink(temp.Path() / "nowhere", temp.Path() / "d/dangling");

    auto inis = Find(temp / "d\\*.INI");
    ASSERT_EQ(inis.size(), 2u);
    EXPECT_EQ(inis[0].name, "B.Ini");
    EXPECT_EQ(inis[1].name, "a.ini");

    auto all = Find(temp / "d/*");
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all[3].name, "dangling");
    EXPECT_TRUE(all[3].isLink);
    EXPECT_FALSE(all[3].isDirectory);
    EXPECT_EQ(all[4].name, "dirlink");
    EXPECT_TRUE(all[4].isLink && all[4].isDirectory);
    EXPECT_EQ(all[5].name, "sub");
    EXPECT_TRUE(all[5].isDirectory && !all[5].isLink);

    EXPECT_EQ(Find(temp / "d/?.ini").size(), 2u);
    EXPECT_EQ(Find(temp / "d/??.ini").size(), 0u);
    auto exact = Find(temp / "D/SUB");
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0].name, "sub"); // the name as the disk has it
    EXPECT_TRUE(Find(temp / "d/none.ini").empty());

    std::vector<DirectoryEntry> entries;
    EXPECT_FALSE(disk.FindEntries(temp / "missing/*", entries));
}

TEST_F(PosixFileSystemTest, FilesAreFoundAndCreatedBelowFoldersOfAnotherCase) {
    temp.Write("Kit/Data/File.TXT", "data");
    auto file = disk.OpenFile(temp / "kit/data/file.txt", "rb");
    ASSERT_NE(file, nullptr);
    char buffer[8];
    bool readError = false;
    EXPECT_EQ(file->Read(buffer, sizeof buffer, readError), 4u);
    EXPECT_FALSE(readError);

    auto created = disk.OpenFile(temp / "KIT/DATA/new.txt", "w");
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Write("n", 1), 1u);
    EXPECT_TRUE(created->Close());
    EXPECT_EQ(temp.Read("Kit/Data/new.txt"), "n");

    EXPECT_EQ(disk.OpenFile(temp / "Kit", "r"), nullptr); // a folder is no file
    EXPECT_EQ(disk.OpenFile(temp / "Kit/none", "r"), nullptr);
}

TEST_F(PosixFileSystemTest, ExclusiveCreateAndRenameReplaceTheExistingFile) {
    std::string target = temp.Write("Settings.INI", "old");
    auto first = disk.CreateNewFile(temp / "new.tmp");
    ASSERT_NE(first, nullptr);
    first->Write("new", 3);
    first->Close();
    EXPECT_EQ(disk.CreateNewFile(temp / "new.tmp"), nullptr);

    // Renamed onto settings.ini: the file of the other letter case is the one replaced.
    EXPECT_TRUE(disk.RenameFile(temp / "new.tmp", temp / "settings.ini"));
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path()), fs::directory_iterator()), 1);
}

// As written, the target's own name is not looked up ignoring case; its folders still are.
TEST_F(PosixFileSystemTest, RenamingAsWrittenLeavesAFileOfAnotherCaseBeside) {
    temp.Write("Kit/Settings.INI", "old");
    temp.Write("Kit/one.tmp", "new");
    temp.Write("Kit/two.tmp", "newer");
    EXPECT_TRUE(disk.RenameFileAsWritten(temp / "Kit/one.tmp", temp / "Kit/settings.ini"));
    EXPECT_EQ(temp.Read("Kit/Settings.INI"), "old");
    EXPECT_EQ(temp.Read("Kit/settings.ini"), "new");
    EXPECT_TRUE(disk.RenameFileAsWritten(temp / "KIT/two.tmp", temp / "KIT/other.ini"));
    EXPECT_EQ(temp.Read("Kit/other.ini"), "newer");
    EXPECT_FALSE(disk.RenameFileAsWritten(temp / "Kit/none.tmp", temp / "Kit/x"));
    EXPECT_EQ(disk.LastFailureReason(), "No such file or directory");
}

TEST_F(PosixFileSystemTest, SizeAndTimesInOneLookAreThoseOfTheTwoLooks) {
    temp.Write("d/file.bin", "twelve bytes");
    fs::create_symlink(temp / "d/file.bin", temp / "d/link");
    ASSERT_TRUE(disk.SetFileTimes(temp / "d/file.bin", {1500000000123456789, 1400000000987654321}));
    for (const char* name : {"d/file.bin", "d/FILE.BIN", "d/link", "d/missing"}) {
        uint64_t size = 0;
        uint64_t oneLookSize = 7;
        FileTimes times;
        FileTimes oneLookTimes;
        bool known = disk.FileSize(temp / name, size) && disk.GetFileTimes(temp / name, times);
        EXPECT_EQ(disk.FileSizeAndTimes(temp / name, oneLookSize, oneLookTimes), known) << name;
        if (!known)
            continue;
        EXPECT_EQ(oneLookSize, 12u) << name;
        EXPECT_EQ(oneLookTimes.modificationNanoseconds, 1400000000987654321) << name;
        EXPECT_EQ(oneLookTimes.accessNanoseconds, times.accessNanoseconds) << name;
    }
}

TEST_F(PosixFileSystemTest, FullPathIsLexicalAndBounded) {
    std::string cwd = fs::current_path().string();
    EXPECT_EQ(disk.FullPath("a\\b/../c/./d/"), cwd + "/a/c/d/");
    EXPECT_EQ(disk.FullPath("/x//y/../../.."), "/");
    EXPECT_EQ(disk.FullPath("/x/y"), "/x/y");
    EXPECT_EQ(disk.FullPath(""), "");
    EXPECT_EQ(disk.FullPath("/" + std::string(PATH_MAX, 'n')), "");
    EXPECT_EQ(disk.FullPath("/" + std::string(PATH_MAX - 2, 'n')).size(), size_t(PATH_MAX - 1));
}

TEST_F(PosixFileSystemTest, DirectoryIdentityFollowsLinksAndDotDot) {
    temp.Write("a/sub/f", "");
    fs::create_directory_symlink(temp.Path() / "a", temp.Path() / "alias");
    std::string identity = disk.DirectoryIdentity(temp / "a");
    EXPECT_FALSE(identity.empty());
    EXPECT_EQ(disk.DirectoryIdentity(temp / "alias"), identity);
    EXPECT_EQ(disk.DirectoryIdentity(temp / "alias/sub/.."), identity);
    EXPECT_NE(disk.DirectoryIdentity(temp / "a/sub"), identity);
    EXPECT_EQ(disk.DirectoryIdentity(temp / "a/sub/f"), "");
    EXPECT_EQ(disk.DirectoryIdentity(temp / "none"), "");

    EXPECT_TRUE(disk.IsVolumeRoot("/"));
    EXPECT_FALSE(disk.IsVolumeRoot(temp.Path().string()));
}

TEST_F(PosixFileSystemTest, RemovingALinkedFolderRemovesOnlyTheLink) {
    temp.Write("target/keep", "k");
    fs::create_directory_symlink(temp.Path() / "target", temp.Path() / "link");
    EXPECT_FALSE(disk.RemoveDirectory(temp / "target")); // not empty
    EXPECT_TRUE(disk.RemoveDirectory(temp / "link"));
    EXPECT_FALSE(fs::is_symlink(temp.Path() / "link"));
    EXPECT_EQ(temp.Read("target/keep"), "k");
}

// The reason stays that of the call that failed, whatever succeeded after it and whatever failed in another
// thread, and a retry ignoring letter case does not replace it.
TEST_F(PosixFileSystemTest, EachFailureKeepsTheReasonOfTheCallThatFailed) {
    temp.Write("file", "x");
    temp.Write("full/inside", "x");
    std::vector<DirectoryEntry> entries;
    struct Case {
        std::function<bool()> fails;
        const char* reason;
    };
    const Case cases[] = {
        {[&] { return !disk.OpenFile(temp / "none/x", "r"); }, "No such file or directory"},
        {[&] { return !disk.OpenFile(temp / "file/x", "r"); }, "Not a directory"},
        {[&] { return !disk.OpenFile(temp / "FULL", "r"); }, "Is a directory"},
        {[&] { return !disk.CreateNewFile(temp / "file"); }, "File exists"},
        {[&] { return !disk.MakeDirectory(temp / "file"); }, "File exists"},
        {[&] { return !disk.RemoveDirectory(temp / "full"); }, "Directory not empty"},
        {[&] { return !disk.RenameFile(temp / "none", temp / "other"); }, "No such file or directory"},
        {[&] { return !disk.FindEntries(temp / "file/*", entries); }, "Not a directory"},
        {[&] { return !disk.LockFile(temp / "none/x.lock"); }, "No such file or directory"},
        {[&] {
             auto full = disk.OpenFile("/dev/full", "w");
             return full && full->Write("x", 1) == 0;
         },
         "No space left on device"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.fails()) << c.reason;
        EXPECT_FALSE(disk.DirectoryIdentity(temp.Path().string()).empty()); // a call that succeeds
        std::thread([&] { disk.OpenFile(temp / "elsewhere", "r"); }).join();
        EXPECT_EQ(disk.LastFailureReason(), c.reason);
    }
}

TEST_F(PosixFileSystemTest, ALockFileIsHeldByOneHolderAtATimeAndKeepsItsContents) {
    std::string path = temp.Write("pol.lck", "kept");
    auto first = disk.LockFile(path);
    ASSERT_NE(first, nullptr);
    std::atomic<bool> granted{false};
    std::thread second([&] {
        auto lock = disk.LockFile(path);
        granted = lock != nullptr;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(granted) << "granted while the first holder had it";
    first.reset();
    second.join();
    EXPECT_TRUE(granted);
    EXPECT_EQ(temp.Read("pol.lck"), "kept");

    auto created = disk.LockFile(temp / "new.lck");
    EXPECT_NE(created, nullptr);
    EXPECT_EQ(temp.Read("new.lck"), "");
}

} // namespace

#endif
