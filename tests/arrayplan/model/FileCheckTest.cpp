#include "arrayplan/model/FileCheck.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RunSettings.h"
#include "support/ConsoleCapture.h"
#include "support/MemoryFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FileCheck, OpensWithoutChangingAndTracesWithDebug) {
    TempDir dir;
    std::string path = dir.Write("policies.ini", "[Policy.Kept]\nAppliesTo.1 = ALL\n");
    RunSettings settings;
    settings.debug = true;
    ConsoleCapture capture;
    EXPECT_TRUE(checkFile(settings, "a", CString(path.c_str())));
    EXPECT_EQ(ReadWholeFile(path), "[Policy.Kept]\nAppliesTo.1 = ALL\n")
        << "the append check keeps the content";
    EXPECT_EQ(capture.Out(), "70:checkFile(mode=a,FileName=" + path + ")\n");

    settings.debug = false;
    capture.Clear();
    EXPECT_FALSE(checkFile(settings, "r", CString((dir / "missing.ini").c_str())));
    EXPECT_FALSE(checkFile(settings, "w", ""));
    EXPECT_EQ(capture.Out(), "");
}

TEST(FileCheck, FailureGivesTheSystemsReason) {
    TempDir dir;
    RunSettings settings;
    std::string reason;
    EXPECT_FALSE(checkFile(settings, "r", CString((dir / "missing.ini").c_str()), &reason));
    EXPECT_EQ(failureLine(CString((dir / "missing.ini").c_str()), reason),
              dir / "missing.ini" + ": No such file or directory\n");
}

// Writes text into an output file opened on the memory file system and commits it.
bool replaceWith(const RunSettings& settings, OutputFile& output, const std::string& text) {
    return output.open(settings) && output.begin() && output.contents().Write(text.data(), text.size()) &&
           output.commit();
}

// The output file is replaced whole or not at all, whichever call fails; nothing of the run's own stays
// beside it but its lock file.
TEST(OutputFile, FailedReplacementLeavesTheFileAsItWas) {
    const MemoryFileSystem::Call calls[] = {
        MemoryFileSystem::Call::OpenForWriting, MemoryFileSystem::Call::Write,
        MemoryFileSystem::Call::Sync,           MemoryFileSystem::Call::Close,
        MemoryFileSystem::Call::RenameFile,
    };
    RunSettings settings;
    for (bool existed : {true, false}) {
        for (MemoryFileSystem::Call call : calls) {
            MemoryFileSystem files;
            files.AddDirectory("/out");
            if (existed)
                files.AddFile("/out/p.ini", "[Policy.Old]\nAppliesTo.1 = ALL\n");
            files.FailCall(call, 0, "", "No space left on device");
            ScopedFileSystem scoped(files);
            OutputFile output("/out/p.ini", "KLAMPM~~");
            EXPECT_FALSE(replaceWith(settings, output, "[Policy.New]\nAppliesTo.1 = ALL\n"));
            EXPECT_EQ(output.failureLine(), "/out/p.ini: No space left on device\n");
            std::vector<std::string> expected = {"/", "/out"};
            if (existed)
                expected.push_back("/out/p.ini");
            expected.push_back("/out/p.ini.lock");
            EXPECT_EQ(files.AllPaths(), expected) << static_cast<int>(call) << " " << existed;
            if (existed) {
                EXPECT_EQ(files.Content("/out/p.ini"), "[Policy.Old]\nAppliesTo.1 = ALL\n");
            }
        }
    }
}

TEST(OutputFile, CommitReplacesTheFileAndRemovesOnlyItsOwnStaleTemporaryFiles) {
    MemoryFileSystem files;
    files.AddFile("/out/p.ini", "old\n");
    files.AddFile("/out/KLAMPM~~p.ini~0123abcd.tmp", "left by a killed run");
    files.AddFile("/out/KLAMPM~~q.ini~0123abcd.tmp", "another output's");
    files.AddFile("/out/KLAMPM~~p.ini~notmine.tmp", "not one of its names");
    ScopedFileSystem scoped(files);
    RunSettings settings;
    OutputFile output("/out/p.ini", "KLAMPM~~");
    ASSERT_TRUE(replaceWith(settings, output, "new\n"));
    EXPECT_EQ(files.Content("/out/p.ini"), "new\n");
    EXPECT_EQ(files.AllPaths(),
              (std::vector<std::string>{"/", "/out", "/out/KLAMPM~~p.ini~notmine.tmp",
                                        "/out/KLAMPM~~q.ini~0123abcd.tmp", "/out/p.ini", "/out/p.ini.lock"}));
}

TEST(OutputFile, AbandonedOutputIsNotCreated) {
    MemoryFileSystem files;
    files.AddDirectory("/out");
    ScopedFileSystem scoped(files);
    RunSettings settings;
    {
        OutputFile output("/out/i.ini", "~arrayplan~");
        ASSERT_TRUE(output.open(settings));
        ASSERT_TRUE(output.begin());
        EXPECT_TRUE(output.contents().Write("part", 4));
    }
    EXPECT_EQ(files.AllPaths(), (std::vector<std::string>{"/", "/out", "/out/i.ini.lock"}));

    OutputFile unnamed("", "~arrayplan~");
    EXPECT_FALSE(unnamed.open(settings));
    EXPECT_EQ(unnamed.failureLine(), "");
}

} // namespace
