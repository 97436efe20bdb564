// drvstage runs with Windows-form paths: drive roots and backslashes, server roots, relative paths, the
// letter case of the driver files, and file times. The same cases run natively with this machine's paths;
// the server case runs only on the Windows build.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr size_t npos = std::string::npos;

std::string WithForwardSlashes(std::string path) {
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

class DriverPaths : public testing::Test {
protected:
    // A path below the temporary folder as the program takes and prints it.
    std::string Shown(const std::string& relative) const { return ProgramPath(dir_ / relative); }

    ProgramResult Stage(const std::string& source, const std::string& destination,
                        const std::vector<std::string>& switches, const std::string& workingDirectory = "") {
        std::vector<std::string> args = {source, destination};
        args.insert(args.end(), switches.begin(), switches.end());
        return RunProgram(BuiltProgram("drvstage"), args, workingDirectory);
    }

    void AddDriverSet(const std::string& driverSetFileName = "DrvSet.ini",
                      const std::string& supported = "") {
        dir_.Write("set/" + driverSetFileName, "[Main]\nSupported Systems = " + supported + "\n");
    }

    // Names in the folder, in lower case: Windows may keep either letter case when a file is replaced.
    std::multiset<std::string> LowerNames(const std::string& relative) const {
        std::multiset<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_.Path() / relative)) {
            names.insert(Lower(entry.path().filename().string()));
        }
        return names;
    }

    // The text of the file in folder whose name equals name ignoring letter case.
    std::string ReadIgnoringCase(const std::string& folder, const std::string& name) const {
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_.Path() / folder)) {
            if (Lower(entry.path().filename().string()) == Lower(name))
                return ReadProgramText(entry.path().string());
        }
        return "";
    }

    TempDir dir_;
};

TEST_F(DriverPaths, MissingLevelsOfTheDestinationAreMadeOneByOne) {
    AddDriverSet();
    dir_.Write("set/net/DrvInfo.ini", "[Driver Information]\nCategory = Network\n");
    fs::create_directory(dir_.Path() / "x");
    std::string xy = Shown("x/y");
    std::string xyz = Shown("x/y/z");
    // The forward-slash form is made absolute in the program's own form first.
    for (const std::string& destination : {xyz, WithForwardSlashes(xyz)}) {
        fs::remove_all(dir_.Path() / "x/y");
        ProgramResult run = Stage(Shown("set"), destination, {"/V:5"});
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find("Destination Path = " + xyz + "\n"), npos) << run.out;
        EXPECT_NE(run.out.find("Creating " + xyz + "\n\nmkdir " + xy + "\nmkdir " + xyz + "\n\n"), npos)
            << run.out;
        EXPECT_TRUE(fs::exists(dir_.Path() / "x/y/z/net/DrvInfo.ini"));
    }

    // Again: the destination is removed and only its last level is made anew.
    ProgramResult again = Stage(Shown("set"), xyz, {"/V:5"});
    EXPECT_EQ(again.status, 0) << again.out;
    EXPECT_NE(again.out.find("Removing " + xyz + "\n"), npos) << again.out;
    EXPECT_NE(again.out.find("Creating " + xyz + "\n\nmkdir " + xyz + "\n\n"), npos) << again.out;
    EXPECT_EQ(again.out.find("mkdir " + xy + "\n"), npos) << again.out;
}

TEST_F(DriverPaths, DestinationWithTrailingSeparatorIsEmptiedFirst) {
    AddDriverSet();
    dir_.Write("set/net/DrvInfo.ini", "[Driver Information]\n");
    dir_.Write("out/stale.txt", "from an earlier run");
    std::string destination = Shown("out") + ProgramSeparator();
    ProgramResult run = Stage(Shown("set"), destination, {"/V:1"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Removing " + destination + "\n"), npos) << run.out;
    EXPECT_FALSE(fs::exists(dir_.Path() / "out/stale.txt"));
    EXPECT_TRUE(fs::exists(dir_.Path() / "out/net/DrvInfo.ini"));
}

TEST_F(DriverPaths, RelativePathsAreTakenFromTheWorkingFolder) {
    AddDriverSet();
    dir_.Write("set/raid/DrvInfo.ini", "[Driver Information]\n");
    dir_.Write("set/raid/raid.sys", "driver");
    ProgramResult run = Stage("set", "out", {"/V:3"}, dir_.Path().string());
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("Source Path = " + Shown("set") + "\nDestination Path = " + Shown("out") + "\n"),
              npos)
        << run.out;
    EXPECT_NE(run.out.find("copy " + Shown("set/raid/raid.sys") + " -> " + Shown("out/raid/raid.sys") + "\n"),
              npos)
        << run.out;
    EXPECT_EQ(dir_.Read("out/raid/raid.sys"), "driver");
}

TEST_F(DriverPaths, DriverFilesAreFoundWhateverTheirLetterCase) {
    AddDriverSet("DRVSET.INI", "x,y");
    dir_.Write("set/a/DRVINFO.INI", "[Driver Information]\nSupported Systems = y\n");
    dir_.Write("set/b/drvinfo.ini", "[Driver Information]\nSupported Systems = x,y\n");
    dir_.Write("set/c/DrvInfo.Ini", "[Driver Information]\nSupported Systems = None\n");

    ProgramResult refused = Stage(Shown("set"), Shown("out"), {"/M:z"});
    EXPECT_EQ(refused.status, 4) << refused.out;
    EXPECT_NE(refused.out.find("The machine type 'z' is not supported by this device driver set.\n"), npos);

    ProgramResult run = Stage(Shown("set"), Shown("out"), {"/M:x"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(LowerNames("out"), (std::multiset<std::string>{"b", "drvset.ini"})) << "a and c are not for x";
    // The narrowed driver file replaces the copied one; no second file appears beside it.
    ASSERT_EQ(LowerNames("out/b"), std::multiset<std::string>{"drvinfo.ini"});
    std::string driverFile = ReadIgnoringCase("out/b", "DrvInfo.ini");
    EXPECT_NE(driverFile.find("\nSupported Systems = x\n"), npos) << driverFile;
    std::string driverSet = ReadIgnoringCase("out", "DrvSet.ini");
    EXPECT_NE(driverSet.find("Supported Systems = x\n"), npos) << driverSet;
}

// Driver files from Windows media end their lines in CR LF, others in LF; a narrowed file is written with
// the line ends of the system the program runs on, whatever the copied file had.
TEST_F(DriverPaths, NarrowedDriverFilesGetTheSystemsLineEnds) {
    dir_.Write("set/DrvSet.ini", "[Main]\r\nSupported Systems = x,y\r\n");
    dir_.Write("set/a/DrvInfo.ini", "[Driver Information]\nSupported Systems = x,y\n");
    dir_.Write("set/b/DrvInfo.ini", "[Driver Information]\r\nSupported Systems = y,x\r\n");
    ProgramResult run = Stage(Shown("set"), Shown("out"), {"/M:x"});
    ASSERT_EQ(run.status, 0) << run.out;
    for (const char* written : {"out/DrvSet.ini", "out/a/DrvInfo.ini", "out/b/DrvInfo.ini"}) {
        std::string raw = dir_.Read(written);
        EXPECT_NE(ReadProgramText(dir_ / written).find("Supported Systems = x\n"), npos) << written << raw;
        size_t lineEnds = std::count(raw.begin(), raw.end(), '\n');
        size_t returns = std::count(raw.begin(), raw.end(), '\r');
        EXPECT_GT(lineEnds, 1u) << written;
        EXPECT_EQ(returns, TestingWindowsBuild() ? lineEnds : 0u) << written << raw;
        EXPECT_EQ(raw.find("\r\r"), npos) << written;
    }
}

TEST_F(DriverPaths, CopiedFilesKeepTheirTimes) {
    AddDriverSet();
    std::string driver = dir_.Write("set/disk/disk.sys", "disk driver");
    std::string empty = dir_.Write("set/disk/empty.cat", "");
    dir_.Write("set/disk/DrvInfo.ini", "[Driver Information]\n");
    using namespace std::chrono;
    auto stamp = file_clock::from_sys(sys_days{year{2001} / 2 / 3} + hours{4} + minutes{5} + seconds{6});
    fs::last_write_time(driver, stamp);
    fs::last_write_time(empty, stamp - hours{24 * 365});

    ProgramResult run = Stage(Shown("set"), Shown("out"), {});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(fs::last_write_time(dir_ / "out/disk/disk.sys"), stamp);
    EXPECT_EQ(fs::last_write_time(dir_ / "out/disk/empty.cat"), stamp - hours{24 * 365});
    EXPECT_EQ(fs::file_size(dir_ / "out/disk/empty.cat"), 0u);
}

TEST_F(DriverPaths, OldDestinationGoesWithReadOnlyFilesButNotThroughLinks) {
    AddDriverSet();
    dir_.Write("set/net/DrvInfo.ini", "[Driver Information]\n");
    std::string readOnly = dir_.Write("out/old/old.sys", "old");
    fs::permissions(readOnly, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ProgramResult run = Stage(Shown("set"), Shown("out"), {"/V:5"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_FALSE(fs::exists(readOnly)) << run.out;
    EXPECT_TRUE(fs::exists(dir_.Path() / "out/net/DrvInfo.ini"));

    dir_.Write("keep/precious.txt", "kept");
    fs::create_directory_symlink(dir_.Path() / "keep", dir_.Path() / "out/linked");
    run = Stage(Shown("set"), Shown("out"), {"/V:5"});
    EXPECT_EQ(dir_.Read("keep/precious.txt"), "kept") << "the removal never passes through a link";
    // Wine shows a link to a folder as a link but cannot remove it; that run ends with status 3.
    if (!TestingWindowsBuild()) {
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_FALSE(fs::is_symlink(dir_.Path() / "out/linked"));
    }
}

TEST_F(DriverPaths, DestinationLinkedIntoTheSourceIsRefused) {
    AddDriverSet();
    dir_.Write("set/a/DrvInfo.ini", "[Driver Information]\nRequired For ADS = Yes\n");
    dir_.Write("set/a/a.sys", "driver a");
    fs::create_directory_symlink(dir_.Path() / "set/a", dir_.Path() / "into-a");
    // The folder above the link is the source itself, not the folder that holds the link.
    ProgramResult run = Stage(Shown("set"), Shown("into-a"), {"/ADS"});
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_NE(run.out.find("overlaps the source path"), npos) << run.out;
    EXPECT_EQ(dir_.Read("set/a/a.sys"), "driver a");
}

// /proc is a mounted file system that nothing can be deleted from, so a faulty run cannot do harm.
TEST_F(DriverPaths, MountedFolderIsNeverEmptied) {
    if (!fs::exists("/proc/self"))
        GTEST_SKIP() << "no /proc on this system";
    AddDriverSet();
    dir_.Write("set/a/DrvInfo.ini", "[Driver Information]\n");
    fs::create_directory_symlink("/proc", dir_.Path() / "proc-link");
    for (const std::string& destination : {ProgramPath("/proc"), Shown("proc-link")}) {
        ProgramResult run = Stage(Shown("set"), destination, {"/V:5"});
        EXPECT_EQ(run.status, 3) << run.out;
        EXPECT_NE(run.out.find("is the root of a file system and cannot be emptied."), npos) << run.out;
        EXPECT_EQ(run.out.find("Removing "), npos) << run.out;
    }
}

// Windows builds full paths of at most 259 characters (260 with the terminator).
TEST_F(DriverPaths, FullPathsLongerThanTheWindowsLimitAreRefused) {
    if (!TestingWindowsBuild())
        GTEST_SKIP() << "the limit of this system is its own";
    AddDriverSet();
    size_t base = Shown("").size(); // the folder and its separator
    auto relativeOfFullLength = [&](size_t length) {
        std::string relative;
        while (base + relative.size() < length)
            relative += relative.size() % 50 == 49 ? '\\' : 'd';
        return relative;
    };
    std::string fits = relativeOfFullLength(259);
    ProgramResult accepted = Stage(Shown("set"), fits, {"/V:2"}, dir_.Path().string());
    EXPECT_NE(accepted.out.find("Destination Path = " + Shown("") + fits + "\n"), npos) << accepted.out;

    ProgramResult refused = Stage(Shown("set"), relativeOfFullLength(260), {"/V:2"}, dir_.Path().string());
    EXPECT_EQ(refused.status, 1) << refused.out;
    EXPECT_NE(refused.out.find("Usage... "), npos) << refused.out;
    EXPECT_EQ(refused.out.find("Destination Path = "), npos) << refused.out;
}

TEST_F(DriverPaths, ServerAndShareAreNeverCreated) {
    if (!TestingWindowsBuild())
        GTEST_SKIP() << "server roots are Windows paths";
    AddDriverSet();
    dir_.Write("set/net/DrvInfo.ini", "[Driver Information]\n");
    ProgramResult run = Stage(Shown("set"), "\\\\nosuchserver\\share\\drivers", {"/V:5"});
    EXPECT_EQ(run.status, 3) << run.out;
    EXPECT_NE(run.out.find("mkdir \\\\nosuchserver\\share\\drivers\n"), npos) << run.out;
    EXPECT_NE(run.out.find("Unable to create directory \\\\nosuchserver\\share\\drivers\n"), npos) << run.out;
    EXPECT_EQ(run.out.find("mkdir \\\\nosuchserver\n"), npos) << run.out;
    EXPECT_EQ(run.out.find("mkdir \\\\nosuchserver\\share\n"), npos) << run.out;
}

} // namespace
