// Telling one file reached by two paths, on the real file system.
#include "arrayplan/frontend/SameFile.h"
#include "foundation/platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

CString text(const std::string& path) {
    return CString(path.c_str());
}

TEST(SameFile, SeesThroughHowThePathIsWritten) {
    TempDir dir;
    std::string file = dir.Write("in/pol.ini", "[Policy.A]\n");
    dir.Write("in/other.ini", "[Policy.A]\n");
    std::filesystem::create_directories(dir / "out");
    std::filesystem::create_hard_link(file, dir / "out/hard.ini");
    std::filesystem::create_symlink(file, dir / "out/soft.ini");
    std::filesystem::create_directory_symlink(dir / "in", dir / "linked");
    const std::string relative = std::filesystem::relative(file).string();
    struct Case {
        std::string other;
        bool same;
    };
    const Case cases[] = {
        {file, true},
        {relative, true},
        {dir / "in/../in/pol.ini", true},
        {dir / "IN/POL.INI", true},
        {dir / "out/hard.ini", true},
        {dir / "out/soft.ini", true},
        {dir / "linked/pol.ini", true},
        {dir / "in/other.ini", false},
        {dir / "in/missing.ini", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(sameFile(CurrentFileSystem(), text(file), text(c.other)), c.same) << c.other;
}

// Two outputs that do not exist yet are one file when the run would create one file for both.
TEST(SameFile, MissingFilesAreComparedByFolderAndName) {
    TempDir dir;
    std::filesystem::create_directories(dir / "out");
    std::filesystem::create_directory_symlink(dir / "out", dir / "linked");
    EXPECT_TRUE(sameFile(CurrentFileSystem(), text(dir / "out/new.ini"), text(dir / "linked/new.ini")));
    EXPECT_TRUE(sameFile(CurrentFileSystem(), text(dir / "out/new.ini"), text(dir / "out/NEW.INI")))
        << "names are resolved ignoring letter case";
    EXPECT_FALSE(sameFile(CurrentFileSystem(), text(dir / "out/new.ini"), text(dir / "out/new2.ini")));
    EXPECT_FALSE(sameFile(CurrentFileSystem(), text(dir / "out/new.ini"), text(dir / "new.ini")));
}

} // namespace
