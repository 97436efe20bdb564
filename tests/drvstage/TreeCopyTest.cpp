// drvstage's own tree copy against the foundation's one-file-after-another copy: the same lines, result
// and files, with and without failures, whether its lines are printed at once or held for later.
#include "drvstage/TreeCopy.h"

#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "support/ConsoleCapture.h"
#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Call = MemoryFileSystem::Call;

struct Fault {
    const char* name;
    Call call;
    const char* path; // "" for no fault
};

struct CopyRun {
    bool copied = false;
    std::string output;
    std::vector<std::string> paths;
};

void AddDriverTree(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/drv/DrvInfo.ini", "[Driver Information]\n", {5, 6});
    fileSystem.AddFile("/src/drv/a.bin", "alpha", {7, 8});
    fileSystem.AddFile("/src/drv/b.bin", "beta", {9, 10});
    fileSystem.AddFile("/src/drv/x64/c.sys", "gamma", {11, 12});
    fileSystem.AddFile("/src/drv/x64/deep/d.sys", "delta", {13, 14});
    fileSystem.AddFile("/src/drv/z.cat", "zeta", {15, 16});
    fileSystem.AddDirectory("/dst");
}

// One copy of /src/drv into /dst/drv on a new memory file system with the fault, at the most detailed level.
template <typename Copy> CopyRun RunCopy(const Fault& fault, Copy copy) {
    MemoryFileSystem fileSystem;
    AddDriverTree(fileSystem);
    if (*fault.path)
        fileSystem.FailCall(fault.call, 1, fault.path);
    ScopedFileSystem installed(fileSystem);
    int verbosity = Verbosity();
    SetVerbosity(5);
    CopyRun run;
    {
        ConsoleCapture console;
        run.copied = copy();
        run.output = console.Out();
    }
    SetVerbosity(verbosity);
    run.paths = fileSystem.AllPaths();
    return run;
}

class TreeCopyTest : public testing::TestWithParam<Fault> {};

} // namespace

TEST_P(TreeCopyTest, GivesTheLinesResultAndFilesOfTheFoundationsCopy) {
    const Fault& fault = GetParam();
    CopyRun expected = RunCopy(fault, [] { return CopyPath("/src/drv", "/dst/drv"); });
    CopyRun direct = RunCopy(fault, [] {
        CopyWorkers workers(1);
        return CopyFolderTree(workers, "/src/drv", "/dst/drv");
    });
    CopyRun held = RunCopy(fault, [] {
        HeldTreeCopy tree{"/src/drv", "/dst/drv", {}, false};
        CopyHeldTree(tree);
        PrintHeldLines(tree.lines);
        return tree.copied;
    });
    for (const CopyRun* run : {&direct, &held}) {
        EXPECT_EQ(run->copied, expected.copied);
        EXPECT_EQ(run->output, expected.output);
        EXPECT_EQ(run->paths, expected.paths);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, TreeCopyTest,
    testing::Values(Fault{"None", Call::FindEntries, ""},
                    Fault{"SecondFileUnreadable", Call::OpenForReading, "/src/drv/a.bin"},
                    Fault{"LastFileOfTheTopUnreadable", Call::OpenForReading, "/src/drv/z.cat"},
                    Fault{"FileBelowUnreadable", Call::OpenForReading, "/src/drv/x64/deep/d.sys"},
                    Fault{"FolderBelowUnlisted", Call::FindEntries, "/src/drv/x64/*"},
                    Fault{"TopUnlisted", Call::FindEntries, "/src/drv/*"},
                    Fault{"FolderBelowNotMade", Call::MakeDirectory, "/dst/drv/x64"},
                    Fault{"TopNotMade", Call::MakeDirectory, "/dst/drv"},
                    Fault{"CopyBelowNotRenamed", Call::RenameFile, "/dst/drv/x64/c.sys"},
                    Fault{"TimesUnreadable", Call::GetFileTimes, "/src/drv/b.bin"}),
    [](const testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });
