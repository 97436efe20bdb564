// Tree copies and deletes with each file-system call failing in turn: a failure is reported, never a
// partial result passed off as complete.
#include "FaultSweep.h"

#include "foundation/FileOperations.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

namespace {

using Call = MemoryFileSystem::Call;

// Larger than the copy buffer, so that a copy writes it in several pieces.
const std::string kLargeContent = std::string(150000, 'x') + "end";

void PrepareSourceTree(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/readme.txt", "alpha\n", {100, 200});
    fileSystem.AddFile("/src/empty.bin", "", {300, 400});
    fileSystem.AddFile("/src/sub/large.bin", kLargeContent, {500, 600});
    fileSystem.AddFile("/src/sub/deeper/note.txt", "gamma\n", {700, 800});
    fileSystem.AddDirectory("/src/nothing");
}

bool IsTimesCall(Call call) {
    return call == Call::GetFileTimes || call == Call::SetFileTimes;
}

TEST(CopyPathFaults, AFailedCallFailsTheCopyAndLeavesNoPartialFile) {
    std::vector<InjectedFault> faults =
        CallsMadeBy(PrepareSourceTree, [] { ASSERT_TRUE(CopyPath("/src", "/dst")); });
    for (Call call : {Call::FindEntries, Call::MakeDirectory, Call::OpenForReading, Call::OpenForWriting,
                      Call::Write, Call::Close, Call::GetFileTimes, Call::SetFileTimes})
        EXPECT_GT(CountOf(faults, call), 0) << "no call of a kind swept";

    for (const InjectedFault& fault : faults) {
        SCOPED_TRACE(Describe(fault));
        MemoryFileSystem fileSystem;
        PrepareSourceTree(fileSystem);
        const auto source = FilesBelow(fileSystem, "/src");
        fileSystem.FailCall(fault.call, fault.nth);
        ScopedFileSystem scoped(fileSystem);
        ConsoleCapture quiet;
        bool copied = CopyPath("/src", "/dst");

        const auto destination = FilesBelow(fileSystem, "/dst");
        for (const auto& [name, content] : destination)
            EXPECT_EQ(content, source.at(name)) << name << " is a partial copy";
        if (!copied)
            continue;
        EXPECT_EQ(Differences(destination, source), "") << "a copy reported as complete is not";
        EXPECT_TRUE(fileSystem.IsDirectory("/dst/nothing"));
        if (!IsTimesCall(fault.call)) {
            EXPECT_EQ(fileSystem.Times("/dst/sub/large.bin").modificationNanoseconds, 600);
        }
    }
}

void PrepareOldTree(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/old/one.txt", "1");
    fileSystem.AddFile("/old/two.txt", "2");
    fileSystem.AddFile("/old/sub/three.txt", "3");
    fileSystem.AddDirectory("/old/sub/empty");
    fileSystem.AddFile("/keep/outside.txt", "stays");
}

TEST(DeletePathFaults, ATreeReportedDeletedIsGoneAndAFailureLeavesThePath) {
    std::vector<InjectedFault> faults = CallsMadeBy(PrepareOldTree, [] { ASSERT_TRUE(DeletePath("/old")); });
    for (Call call : {Call::FindEntries, Call::RemoveDirectory, Call::DeleteFile})
        EXPECT_GT(CountOf(faults, call), 0) << "no call of a kind swept";

    for (const InjectedFault& fault : faults) {
        SCOPED_TRACE(Describe(fault));
        MemoryFileSystem fileSystem;
        PrepareOldTree(fileSystem);
        fileSystem.FailCall(fault.call, fault.nth);
        ScopedFileSystem scoped(fileSystem);
        ConsoleCapture quiet;
        bool deleted = DeletePath("/old");

        EXPECT_EQ(fileSystem.IsDirectory("/old"), !deleted);
        EXPECT_EQ(fileSystem.Content("/keep/outside.txt"), "stays");
    }
}

} // namespace
