#include "foundation/FileOperations.h"

#include "foundation/Console.h"
#include "support/ConsoleCapture.h"
#include "support/MemoryFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Call = MemoryFileSystem::Call;
using Paths = std::vector<std::string>;

class AtVerbosity {
public:
    explicit AtVerbosity(int level) : saved_(Verbosity()) { SetVerbosity(level); }
    ~AtVerbosity() { SetVerbosity(saved_); }

private:
    int saved_;
};

class MemoryTreeTest : public testing::Test {
protected:
    MemoryFileSystem disk;
    ScopedFileSystem installed{disk};
    ConsoleCapture console;
};

TEST_F(MemoryTreeTest, MakePathCreatesOnlyTheMissingFoldersAndPrintsThem) {
    AtVerbosity verbose(5);
    disk.AddDirectory("C:\\x");
    EXPECT_TRUE(MakePath("C:\\x\\y\\z", PathStyle::Windows));
    EXPECT_EQ(disk.directoriesMade, (Paths{"C:\\x\\y", "C:\\x\\y\\z"}));
    EXPECT_EQ(console.Out(), "mkdir C:\\x\\y\nmkdir C:\\x\\y\\z\n\n");

    console.Clear();
    EXPECT_TRUE(MakePath("C:\\x\\y\\z\\", PathStyle::Windows));
    EXPECT_EQ(console.Out(), "");
    EXPECT_EQ(disk.directoriesMade.size(), 2u);
}

TEST_F(MemoryTreeTest, MakePathNeverCreatesServerShareOrDrive) {
    AtVerbosity verbose(5);
    disk.AddDirectory("\\\\srv\\share");
    EXPECT_TRUE(MakePath("\\\\srv\\share\\a\\b", PathStyle::Windows));
    EXPECT_EQ(disk.directoriesMade, (Paths{"\\\\srv\\share\\a", "\\\\srv\\share\\a\\b"}));

    // A missing share is not made: the first folder below it is the first thing tried, and it fails.
    console.Clear();
    EXPECT_FALSE(MakePath("\\\\srv\\other\\a", PathStyle::Windows));
    EXPECT_EQ(console.Out(), "mkdir \\\\srv\\other\\a\n");
    console.Clear();
    EXPECT_FALSE(MakePath("D:\\a", PathStyle::Windows));
    EXPECT_EQ(console.Out(), "mkdir D:\\a\n");
    EXPECT_EQ(disk.directoriesMade.size(), 2u);
}

TEST_F(MemoryTreeTest, MakePathStopsAtTheFirstFailedFolder) {
    AtVerbosity verbose(5);
    disk.FailCall(Call::MakeDirectory, 2);
    EXPECT_FALSE(MakePath("/a/b/c", PathStyle::Posix));
    EXPECT_EQ(disk.directoriesMade, (Paths{"/a"}));
    EXPECT_EQ(console.Out(), "mkdir /a\nmkdir /a/b\n"); // no closing empty line
}

class MemoryCopyTest : public MemoryTreeTest {
protected:
    void SetUp() override {
        disk.AddFile("/src/z.txt", "z", {11, 22});
        disk.AddFile("/src/d1/b.txt", "b");
        disk.AddFile("/src/d1/d2/c.txt", "c");
        disk.AddFile("/src/d3/e.txt", "");
    }
};

TEST_F(MemoryCopyTest, CopiesFilesBeforeFoldersDepthFirst) {
    AtVerbosity verbose(3);
    EXPECT_TRUE(CopyPath("/src", "/dst"));
    EXPECT_EQ(console.Out(), "copy /src/z.txt -> /dst/z.txt\n"
                             "copy /src/d1/b.txt -> /dst/d1/b.txt\n"
                             "copy /src/d1/d2/c.txt -> /dst/d1/d2/c.txt\n"
                             "copy /src/d3/e.txt -> /dst/d3/e.txt\n");
    EXPECT_EQ(disk.Content("/dst/d1/d2/c.txt"), "c");
    EXPECT_TRUE(disk.IsFile("/dst/d3/e.txt"));
    EXPECT_EQ(disk.Times("/dst/z.txt").accessNanoseconds, 11);
    EXPECT_EQ(disk.Times("/dst/z.txt").modificationNanoseconds, 22);
}

TEST_F(MemoryCopyTest, FailureIsReportedOnEveryEnclosingLevelAndStopsTheCopy) {
    disk.FailCall(Call::RenameFile, 0, "/dst/d1/d2/c.txt", "No space left on device");
    {
        AtVerbosity quiet(0);
        EXPECT_FALSE(CopyPath("/src", "/dst"));
        EXPECT_EQ(console.Out(), "");
    }
    AtVerbosity failures(1);
    EXPECT_FALSE(CopyPath("/src", "/dst"));
    EXPECT_EQ(console.Out(), "Unable to copy file /src/d1/d2/c.txt to /dst/d1/d2/c.txt\n"
                             "/dst/d1/d2/c.txt: No space left on device\n"
                             "\nCopyPath(/src/d1/d2, /dst/d1/d2) failed.\n"
                             "\nCopyPath(/src/d1, /dst/d1) failed.\n");
    EXPECT_EQ(disk.Content("/dst/d1/b.txt"), "b"); // what was copied stays
    EXPECT_FALSE(disk.IsDirectory("/dst/d3"));
}

TEST_F(MemoryCopyTest, CopyFilesStopsAtTheFirstFileThatFails) {
    disk.AddFile("/flat/a", "1");
    disk.AddFile("/flat/b", "2");
    disk.AddFile("/flat/c", "3");
    disk.AddDirectory("/out");
    disk.FailCall(Call::Write, 2); // the one write of b
    EXPECT_FALSE(CopyFiles("/flat", "/out"));
    Paths out;
    for (const std::string& path : disk.AllPaths())
        if (path.rfind("/out", 0) == 0)
            out.push_back(path);
    EXPECT_EQ(out, (Paths{"/out", "/out/a"})); // no part of b under any name, and no c
}

TEST_F(MemoryCopyTest, MissingSourceCopiesNothingAndEmptyNamesFail) {
    EXPECT_TRUE(CopyPath("/nothing", "/dst"));
    EXPECT_FALSE(disk.IsDirectory("/dst"));
    EXPECT_FALSE(CopyPath("", "/dst"));
    EXPECT_FALSE(CopyPath("/src", ""));
    EXPECT_TRUE(disk.directoriesMade.empty());
}

TEST_F(MemoryCopyTest, CopyOneFileStreamsLargeFilesAndRemovesAPartialCopy) {
    std::string big(65280 * 3 + 17, 'x');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>('a' + i % 23);
    disk.AddFile("/big", big, {5, 6});
    disk.AddFile("/exact", std::string(65280 * 2, 'e'));
    EXPECT_TRUE(CopyOneFile("/big", "/big.copy"));
    EXPECT_EQ(disk.Content("/big.copy"), big);
    EXPECT_TRUE(CopyOneFile("/exact", "/exact.copy"));
    EXPECT_EQ(disk.Content("/exact.copy").size(), 65280u * 2);

    Paths before = disk.AllPaths();
    disk.FailCall(Call::Write, 2);
    EXPECT_FALSE(CopyOneFile("/big", "/broken"));
    EXPECT_EQ(disk.AllPaths(), before); // nothing left behind, under its name or a temporary one
}

// The destination is the old file or the whole copy, never a part: the copy takes its name when complete.
TEST_F(MemoryCopyTest, AFailedCopyLeavesTheOldDestinationAndTellsWhichFileFailedAndWhy) {
    disk.AddFile("/big", std::string(65280 * 3, 'b'));
    struct Case {
        Call call;
        const char* failedFile;
        const char* reason;
    };
    const Case cases[] = {
        {Call::OpenForReading, "/big", "Permission denied"},
        {Call::OpenForWriting, "/kept", "Read-only file system"},
        {Call::Write, "/kept", "No space left on device"},
        {Call::Close, "/kept", "No space left on device"},
        {Call::RenameFile, "/kept", "Permission denied"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        MemoryFileSystem fresh = disk;
        ScopedFileSystem installed(fresh);
        fresh.AddFile("/kept", "old", {1, 2});
        Paths before = fresh.AllPaths();
        fresh.FailCall(c.call, 0, "", c.call == Call::Close ? "" : c.reason);
        FileFailure failure;
        EXPECT_FALSE(CopyOneFile("/big", "/kept", &failure));
        EXPECT_EQ(fresh.Content("/kept"), "old");
        EXPECT_EQ(fresh.Times("/kept").modificationNanoseconds, 2);
        EXPECT_EQ(fresh.AllPaths(), before);
        EXPECT_EQ(failure.file.Str(), c.failedFile);
        EXPECT_EQ(failure.reason, c.reason);
    }
}

// A copy killed part-way left its temporary file; the next copy into that folder removes it.
TEST_F(MemoryCopyTest, ACopyIntoAFolderRemovesTheTemporaryFilesOfAnInterruptedCopy) {
    disk.AddFile("/dst/~copy-0badc0de.tmp", "cut");
    disk.AddFile("/dst/d1/~copy-12345678.tmp", "cut");
    disk.AddFile("/dst/d1/~copy-notes.txt", "kept");
    EXPECT_TRUE(CopyPath("/src", "/dst"));
    EXPECT_EQ(disk.filesRemoved, (Paths{"/dst/~copy-0badc0de.tmp", "/dst/d1/~copy-12345678.tmp"}));
    EXPECT_EQ(disk.Content("/dst/d1/~copy-notes.txt"), "kept");

    disk.AddFile("/flat/a", "1");
    disk.AddFile("/out/~copy-00000000.tmp", "cut");
    EXPECT_TRUE(CopyFiles("/flat", "/out"));
    EXPECT_FALSE(disk.IsFile("/out/~copy-00000000.tmp"));
    EXPECT_EQ(disk.Content("/out/a"), "1");
}

TEST_F(MemoryTreeTest, DeletePathPrintsEachDeletionAndStopsAtTheFirstFailure) {
    disk.AddFile("/t/d/x", "x");
    disk.AddFile("/t/f", "f");
    {
        AtVerbosity verbose(5);
        MemoryFileSystem copy = disk;
        ScopedFileSystem other(copy);
        EXPECT_TRUE(DeletePath("/t"));
        EXPECT_EQ(console.Out(), "Deleting /t/d/x\nDeleting /t/d\n\nDeleting /t/f\nDeleting /t\n\n");
        EXPECT_FALSE(copy.IsDirectory("/t"));
    }
    disk.FailCall(Call::RemoveDirectory, 0, "/t/d");
    EXPECT_FALSE(DeletePath("/t"));
    EXPECT_FALSE(disk.IsFile("/t/d/x"));
    EXPECT_TRUE(disk.IsFile("/t/f")); // files of the top come after its folders

    EXPECT_FALSE(DeletePath("/t/f")); // a plain file is no tree
    EXPECT_TRUE(disk.IsFile("/t/f"));
    EXPECT_FALSE(DeletePath("/missing"));
    EXPECT_FALSE(DeletePath(""));
}

TEST_F(MemoryTreeTest, ListDirectoryKeepsWholeNamesAndReportsAnUnsearchableFolder) {
    disk.AddFile("/d/a,b.txt", "");
    disk.AddDirectory("/d/sub,dir");
    std::vector<CString> files, folders, none;
    EXPECT_TRUE(ListDirectory("/d", false, files));
    EXPECT_TRUE(ListDirectory("/d", true, folders));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_STREQ(files[0].Text(), "a,b.txt");
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_STREQ(folders[0].Text(), "sub,dir");
    EXPECT_FALSE(ListDirectory("/nowhere", true, none));
    EXPECT_TRUE(none.empty());
}

// The same operations on the disk, where links and letter case come in.
class DiskTreeTest : public testing::Test {
protected:
    TempDir temp;
    CString At(const std::string& relative) const { return CString(temp / relative); }
};

// A name is missing when a missing folder or a plain file stands on its way; only a search that could
// not run (a wildcard below a file or a missing folder) has failed.
TEST_F(DiskTreeTest, ALookUpThroughAFileFindsThePathMissing) {
    temp.Write("f.txt", "plain");
    struct Case {
        std::string relative;
        Lookup lookup;
    };
    const Case cases[] = {
        {"f.txt", Lookup::Found},      {"f.txt/dst", Lookup::Missing}, {"f.txt/dst/deeper", Lookup::Missing},
        {"none/dst", Lookup::Missing}, {"f.txt/*", Lookup::Failed},    {"none/*", Lookup::Failed},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LookUpPath(CurrentFileSystem(), At(c.relative)), c.lookup) << c.relative;
        MemoryFileSystem memory;
        ScopedFileSystem installed(memory);
        memory.AddFile("/t/f.txt", "plain");
        EXPECT_EQ(LookUpPath(CurrentFileSystem(), CString("/t/" + c.relative)), c.lookup)
            << "memory: " << c.relative;
    }
}

TEST_F(DiskTreeTest, CopyPathCopiesEmptyFilesAndNamesWithCommas) {
    temp.Write("src/empty", "");
    temp.Write("src/a,b/c,d.txt", "comma");
    fs::create_directories(temp.Path() / "src/empty-dir");
    ASSERT_TRUE(CopyPath(At("src"), At("dst/deep")));
    EXPECT_TRUE(fs::is_regular_file(temp.Path() / "dst/deep/empty"));
    EXPECT_EQ(fs::file_size(temp.Path() / "dst/deep/empty"), 0u);
    EXPECT_EQ(temp.Read("dst/deep/a,b/c,d.txt"), "comma");
    EXPECT_TRUE(fs::is_directory(temp.Path() / "dst/deep/empty-dir"));
}

TEST_F(DiskTreeTest, CopyPathEndsOnALinkCycleAndOnADestinationInsideItsSource) {
    temp.Write("src/sub/f", "f");
    fs::create_directory_symlink("..", temp.Path() / "src/sub/loop");
    EXPECT_TRUE(CopyPath(At("src"), At("dst")));
    EXPECT_EQ(temp.Read("dst/sub/f"), "f");
    EXPECT_FALSE(fs::exists(temp.Path() / "dst/sub/loop"));

    EXPECT_TRUE(CopyPath(At("src"), At("src/sub/inner")));
    EXPECT_EQ(temp.Read("src/sub/inner/sub/f"), "f");
    EXPECT_FALSE(fs::exists(temp.Path() / "src/sub/inner/sub/inner"));
}

TEST_F(DiskTreeTest, DeletePathRemovesLinksWithoutFollowingThem) {
    temp.Write("outside/keep.txt", "keep");
    temp.Write("tree/sub/file", "x");
    fs::create_directory_symlink(temp.Path() / "outside", temp.Path() / "tree/sub/dirlink");
    fs::create_symlink(temp.Path() / "outside/keep.txt", temp.Path() / "tree/filelink");
    fs::create_directory_symlink(temp.Path() / "outside", temp.Path() / "toplink");

    EXPECT_TRUE(DeletePath(At("tree")));
    EXPECT_FALSE(fs::exists(temp.Path() / "tree"));
    EXPECT_TRUE(DeletePath(At("toplink")));
    EXPECT_FALSE(fs::is_symlink(temp.Path() / "toplink"));
    EXPECT_EQ(temp.Read("outside/keep.txt"), "keep");
}

// A link in the destination is replaced by a copy of its own, never written through: a link back to the
// file being copied would otherwise empty the source itself.
TEST_F(DiskTreeTest, CopyReplacesLinksInTheDestinationWithoutWritingThroughThem) {
    temp.Write("src/back", "source contents");
    temp.Write("src/outward", "new");
    temp.Write("src/dangling", "made");
    temp.Write("src/to-folder", "file");
    temp.Write("outside/target", "precious");
    fs::create_directories(temp.Path() / "outside/folder");
    fs::create_directories(temp.Path() / "dst");
    fs::create_symlink(temp.Path() / "src/back", temp.Path() / "dst/back");
    fs::create_symlink(temp.Path() / "outside/target", temp.Path() / "dst/outward");
    fs::create_symlink(temp.Path() / "outside/missing", temp.Path() / "dst/dangling");
    fs::create_directory_symlink(temp.Path() / "outside/folder", temp.Path() / "dst/to-folder");
    FileTimes times{1400000000000000001LL, 1300000000000000002LL};
    ASSERT_TRUE(CurrentFileSystem().SetFileTimes(temp / "src/back", times));

    ASSERT_TRUE(CopyPath(At("src"), At("dst")));
    for (const char* name : {"back", "outward", "dangling", "to-folder"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(fs::is_symlink(temp.Path() / "dst" / name));
        EXPECT_TRUE(fs::is_regular_file(temp.Path() / "dst" / name));
        EXPECT_EQ(temp.Read(std::string("dst/") + name), temp.Read(std::string("src/") + name));
    }
    EXPECT_EQ(temp.Read("src/back"), "source contents");
    EXPECT_EQ(temp.Read("outside/target"), "precious");
    EXPECT_FALSE(fs::exists(temp.Path() / "outside/missing"));
    EXPECT_TRUE(fs::is_empty(temp.Path() / "outside/folder"));
    FileTimes copied;
    ASSERT_TRUE(CurrentFileSystem().GetFileTimes(temp / "dst/back", copied));
    EXPECT_EQ(copied.modificationNanoseconds, times.modificationNanoseconds);

    // A real folder in the way is no link: it stays, and the copy of that file fails.
    fs::create_directories(temp.Path() / "dst/folder-in-the-way/inside");
    EXPECT_FALSE(CopyOneFile(At("src/outward"), At("dst/folder-in-the-way")));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "dst/folder-in-the-way/inside"));
}

TEST_F(DiskTreeTest, PathsResolveIgnoringLetterCase) {
    temp.Write("Drivers/NIC/DrvInfo.ini", "[Driver Information]\n");
    EXPECT_TRUE(PathExists(CurrentFileSystem(), At("drivers/nic/DRVINFO.INI")));
    EXPECT_TRUE(PathExists(CurrentFileSystem(), At("DRIVERS/nic/drvinfo.*")));
    EXPECT_FALSE(PathExists(CurrentFileSystem(), At("drivers/nic/other.ini")));

    EXPECT_TRUE(CopyOneFile(At("DRIVERS/nic/drvinfo.ini"), At("drivers/NIC/copy.ini")));
    EXPECT_EQ(temp.Read("Drivers/NIC/copy.ini"), "[Driver Information]\n");

    // A folder made below an existing one of another case goes into it.
    EXPECT_TRUE(MakePath(At("DRIVERS/New")));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "Drivers/New"));
    EXPECT_FALSE(fs::exists(temp.Path() / "DRIVERS"));
}

// Parallel runs that make sibling folders race to make their shared parents; the loser of a race finds
// its folder made and goes on.
TEST_F(DiskTreeTest, MakePathsRacingForTheSameParentsAllSucceed) {
    constexpr int kThreads = 8;
    for (int round = 0; round < 20; ++round) {
        std::atomic<int> ready{0}, made{0};
        std::vector<std::thread> threads;
        for (int i = 0; i < kThreads; ++i) {
            threads.emplace_back([&, i] {
                const CString path = At("r" + std::to_string(round) + "/a/b/t" + std::to_string(i));
                for (++ready; ready < kThreads;)
                    std::this_thread::yield();
                made += MakePath(path) ? 1 : 0;
            });
        }
        for (std::thread& thread : threads)
            thread.join();
        ASSERT_EQ(made, kThreads) << "round " << round;
    }
}

TEST_F(DiskTreeTest, CopyOneFileKeepsTheTimesToTheNanosecond) {
    std::string source = temp.Write("s", std::string(200000, 's'));
    FileTimes times{1600000000123456789LL, 1500000000987654321LL};
    ASSERT_TRUE(CurrentFileSystem().SetFileTimes(source, times));
    ASSERT_TRUE(CopyOneFile(source.c_str(), At("d")));
    FileTimes copied;
    ASSERT_TRUE(CurrentFileSystem().GetFileTimes(temp / "d", copied));
    EXPECT_EQ(copied.modificationNanoseconds, times.modificationNanoseconds);
    EXPECT_EQ(copied.accessNanoseconds, times.accessNanoseconds);
    EXPECT_EQ(temp.Read("d"), std::string(200000, 's'));
}

} // namespace
