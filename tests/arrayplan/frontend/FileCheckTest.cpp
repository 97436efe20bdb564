#include "arrayplan/frontend/FileCheck.h"
#include "arrayplan/frontend/RunSettings.h"
#include "support/ConsoleCapture.h"
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

TEST(OutputFileGuard, PutsBackAFileThatExistedBeforeTheRun) {
    TempDir dir;
    std::string path = dir.Write("policies.ini", "[Policy.Kept]\nAppliesTo.1 = ALL\n");
    OutputFileGuard guard(CString(path.c_str()));
    EXPECT_TRUE(guard.existedBefore());
    WriteWholeFile(path, "[Policy.Kept]\nAppliesTo.1 = ALL\n[Policy.Half");
    guard.undo();
    EXPECT_EQ(ReadWholeFile(path), "[Policy.Kept]\nAppliesTo.1 = ALL\n");
}

TEST(OutputFileGuard, DeletesOnlyAFileThisRunCreated) {
    TempDir dir;
    std::string path = dir / "new.ini";
    OutputFileGuard guard(CString(path.c_str()));
    EXPECT_FALSE(guard.existedBefore());
    WriteWholeFile(path, "partial");
    guard.undo();
    EXPECT_FALSE(std::filesystem::exists(path));
}

} // namespace
