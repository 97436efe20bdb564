#include "foundation/FileReplacement.h"

#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

using Call = MemoryFileSystem::Call;
using Paths = std::vector<std::string>;

class FileReplacementTest : public testing::Test {
protected:
    MemoryFileSystem disk;
    ScopedFileSystem installed{disk};

    void SetUp() override { disk.AddFile("/out/report.txt", "old contents\n", {5, 7}); }

    // Writes two lines and a block through the open file, as a copy does, then commits.
    bool Replace(ReplacementOptions options = {"~rep-"}) {
        FileReplacement replacement(CurrentFileSystem(), "/out/report.txt", options);
        bool done = replacement.Open() && replacement.WriteLine("first") && replacement.WriteLine("second");
        File* output = done ? replacement.Output() : nullptr;
        if (output && output->Write("raw", 3) != 3)
            replacement.Fail();
        replacement.SetTimes({11, 13});
        done = output && replacement.Commit();
        reason = replacement.FailureReason();
        return done;
    }

    std::string reason;
};

TEST_F(FileReplacementTest, TheTargetIsReplacedWholeThroughARecognisableTemporaryFile) {
    ASSERT_TRUE(Replace());
    EXPECT_EQ(disk.Content("/out/report.txt"), "first\nsecond\nraw");
    EXPECT_EQ(disk.Times("/out/report.txt").modificationNanoseconds, 13);
    EXPECT_EQ(disk.AllPaths(), (Paths{"/", "/out", "/out/report.txt"}));
    ASSERT_EQ(disk.renamed.size(), 1u);
    EXPECT_TRUE(
        std::regex_match(disk.renamed[0], std::regex("/out/~rep-[0-9a-f]{8}\\.tmp -> /out/report.txt")))
        << disk.renamed[0];
}

// Each step that can fail, failing: the target keeps its old bytes and times, nothing is left beside it,
// and the reason of the failing call is kept for the message.
TEST_F(FileReplacementTest, AFailureAtAnyStepLeavesTheOldFileAndNoTemporaryFile) {
    struct Case {
        Call call;
        std::string reason; // injected; empty for the memory file system's default
        std::string expected;
    };
    const Case cases[] = {
        {Call::OpenForWriting, "Permission denied", "Permission denied"},
        {Call::Write, "", "No space left on device"},
        {Call::Sync, "Input/output error", "Input/output error"},
        {Call::Close, "", "No space left on device"},
        {Call::RenameFile, "Read-only file system", "Read-only file system"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem fresh;
        ScopedFileSystem scoped(fresh);
        fresh.AddFile("/out/report.txt", "old contents\n", {5, 7});
        fresh.FailCall(c.call, 0, "", c.reason);
        std::string failure;
        {
            FileReplacement replacement(CurrentFileSystem(), "/out/report.txt", {"~rep-"});
            bool done = replacement.Open() && replacement.WriteLine("new") && replacement.Commit();
            EXPECT_FALSE(done);
            failure = replacement.FailureReason();
        }
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(failure, c.expected);
        EXPECT_EQ(fresh.Content("/out/report.txt"), "old contents\n");
        EXPECT_EQ(fresh.Times("/out/report.txt").modificationNanoseconds, 7);
        EXPECT_EQ(fresh.AllPaths(), (Paths{"/", "/out", "/out/report.txt"}));
    }
}

TEST_F(FileReplacementTest, AReplacementNotCommittedIsRemovedAndOnlyASyncedOneIsSynced) {
    {
        FileReplacement replacement(CurrentFileSystem(), "/out/report.txt", {"~rep-"});
        ASSERT_TRUE(replacement.Open());
        ASSERT_TRUE(replacement.WriteLine("abandoned"));
        EXPECT_TRUE(disk.IsFile(replacement.TemporaryPath().Str()));
    }
    EXPECT_EQ(disk.Content("/out/report.txt"), "old contents\n");
    EXPECT_EQ(disk.AllPaths(), (Paths{"/", "/out", "/out/report.txt"}));

    disk.FailCall(Call::Sync, 0);
    EXPECT_FALSE(Replace());
    EXPECT_EQ(reason, "No space left on device");
    EXPECT_TRUE(Replace({"~rep-", true, false})); // a copy that declines the sync
    EXPECT_EQ(disk.Content("/out/report.txt"), "first\nsecond\nraw");
}

TEST_F(FileReplacementTest, AFailedWriteThroughTheOutputIsReportedByFail) {
    disk.FailCall(Call::Write, 2, "", "Disk quota exceeded"); // the buffered lines pass, the raw block fails
    EXPECT_FALSE(Replace());
    EXPECT_EQ(reason, "Disk quota exceeded");
    EXPECT_EQ(disk.Content("/out/report.txt"), "old contents\n");
    EXPECT_EQ(disk.AllPaths(), (Paths{"/", "/out", "/out/report.txt"}));
}

TEST_F(FileReplacementTest, StaleTemporaryFilesOfThePrefixAloneAreRemoved) {
    const Paths kept = {"/out/~rep-notes.tmp", "/out/~rep-0123abcd.txt", "/out/~other-0123abcd.tmp",
                        "/out/~rep-0123abc.tmp", "/out/report.txt"};
    for (const std::string& path : kept)
        disk.AddFile(path, "x");
    disk.AddFile("/out/~rep-0123abcd.tmp", "cut");
    disk.AddFile("/out/~rep-FFFF0000.TMP", "cut");
    disk.AddDirectory("/out/~rep-00000000.tmp");
    EXPECT_TRUE(RemoveStaleReplacements(CurrentFileSystem(), "/out", "~rep-"));
    EXPECT_EQ(disk.filesRemoved, (Paths{"/out/~rep-0123abcd.tmp", "/out/~rep-FFFF0000.TMP"}));
    for (const std::string& path : kept)
        EXPECT_TRUE(disk.IsFile(path)) << path;
    EXPECT_TRUE(disk.IsDirectory("/out/~rep-00000000.tmp"));

    EXPECT_FALSE(RemoveStaleReplacements(CurrentFileSystem(), "/missing", "~rep-"));
    disk.AddFile("/out/~rep-11111111.tmp", "cut");
    disk.FailCall(Call::DeleteFile, 0);
    EXPECT_FALSE(RemoveStaleReplacements(CurrentFileSystem(), "/out", "~rep-"));
}

} // namespace
