#include "DriverSetFixture.h"

#include <functional>
#include <map>

namespace {

namespace fs = std::filesystem;

// Every file below a folder: its contents and modification time, by relative path.
struct FileState {
    std::string contents;
    fs::file_time_type time;
};
using TreeState = std::map<std::string, FileState>;

class Incremental : public DriverSetTest {
protected:
    void SetUp() override {
        AddDriverSetFile("x,y");
        AddDriver("a", "Supported Systems = x,y\nCategory = net\n");
        dir_.Write("set/a/a.sys", "driver a");
        dir_.Write("set/a/sub/deep.dll", "deep");
        AddDriver("b", "Supported Systems = All\n");
        dir_.Write("set/b/b.sys", "driver b");
        AddDriver("c", "Supported Systems = y\n");
        dir_.Write("set/c/c.sys", "driver c");
        dir_.Write("set/readme.txt", "base");
    }

    TreeState State(const std::string& relative) const {
        TreeState state;
        fs::path root = dir_.Path() / relative;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file())
                state[fs::relative(entry.path(), root).generic_string()] = {ReadProgramText(entry.path()),
                                                                            entry.last_write_time()};
        }
        return state;
    }

    ProgramResult Update(const std::vector<std::string>& switches) {
        std::vector<std::string> all = switches;
        all.push_back("/INC");
        return Stage(all);
    }
};

// The files a run rewrites take the time of the rewrite, in a fresh run as well.
bool IsRewritten(const std::string& path) {
    return path.find("DrvInfo.ini") != std::string::npos || path == "DrvSet.ini";
}

void ExpectSameTree(const TreeState& updated, const TreeState& fresh) {
    std::vector<std::string> updatedNames;
    std::vector<std::string> freshNames;
    for (const auto& [name, state] : updated)
        updatedNames.push_back(name);
    for (const auto& [name, state] : fresh)
        freshNames.push_back(name);
    ASSERT_EQ(updatedNames, freshNames);
    for (const auto& [name, state] : fresh) {
        EXPECT_EQ(updated.at(name).contents, state.contents) << name;
        if (!IsRewritten(name))
            EXPECT_EQ(updated.at(name).time, state.time) << name;
    }
}

struct ChangeCase {
    const char* what;
    std::vector<std::string> before; // switches of the run that staged the older tree
    std::vector<std::string> after;  // switches of the update and of the fresh run it is compared with
    std::function<void(TempDir&)> change;
};

TEST_F(Incremental, UpdateOfAnOlderStagingGivesTheTreeOfAFreshRun) {
    const std::vector<ChangeCase> cases = {
        {"nothing changed", {"/M:x,y"}, {"/M:x,y"}, [](TempDir&) {}},
        {"a file grows", {"/M:x"}, {"/M:x"}, [](TempDir& d) { d.Write("set/a/a.sys", "driver a, longer"); }},
        {"same size, other time",
         {},
         {},
         [](TempDir& d) {
             fs::path file = d.Path() / "set/a/sub/deep.dll";
             d.Write("set/a/sub/deep.dll", "DEEP");
             fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(5));
         }},
        {"a driver folder removed", {}, {}, [](TempDir& d) { fs::remove_all(d.Path() / "set/c"); }},
        {"a file and a folder removed, a driver added",
         {"/M:y"},
         {"/M:y"},
         [](TempDir& d) {
             fs::remove_all(d.Path() / "set/a/sub");
             fs::remove(d.Path() / "set/readme.txt");
             d.Write("set/d/DrvInfo.ini", "[Driver Information]\nSupported Systems = y\n");
         }},
        {"other machine types narrow otherwise", {"/M:x,y"}, {"/M:y"}, [](TempDir&) {}},
        {"a category leaves drivers out", {}, {"/C:net"}, [](TempDir&) {}},
        {"a file became a folder",
         {},
         {},
         [](TempDir& d) {
             fs::remove(d.Path() / "set/b/b.sys");
             d.Write("set/b/b.sys/inner.txt", "inner");
         }},
        {"an interrupted run left temporary files",
         {"/M:x"},
         {"/M:x"},
         [](TempDir& d) {
             d.Write("out/a/~copy-0123abcd.tmp", "cut");
             d.Write("out/a/~copy-rewrite.tmp", "cut");
             d.Write("out/~copy-77.tmp", "cut");
         }},
    };
    for (const ChangeCase& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir_.Path() / "out");
        fs::remove_all(dir_.Path() / "fresh");
        ASSERT_EQ(Stage(c.before).status, 0);
        c.change(dir_);
        ProgramResult update = Update(c.after);
        ASSERT_EQ(update.status, 0) << update.out;
        ASSERT_EQ(StageTo((dir_.Path() / "fresh").string(), c.after).status, 0);
        ExpectSameTree(State("out"), State("fresh"));
        // What the update did not bring up to date, a second one would.
        ProgramResult again = Update(c.after);
        EXPECT_NE(again.out.find("Files copied: 0, removed: 0"), std::string::npos) << again.out;
    }
}

TEST_F(Incremental, UnchangedRerunWritesNothing) {
    ASSERT_EQ(Update({"/M:x"}).status, 0);
    TreeState before = State("out");
    ProgramResult rerun = Update({"/M:x"});
    EXPECT_EQ(rerun.status, 0);
    EXPECT_EQ(rerun.out.find("copy "), std::string::npos) << rerun.out;
    EXPECT_EQ(rerun.out.find("Modifying"), std::string::npos) << rerun.out;
    EXPECT_NE(rerun.out.find("Files copied: 0, removed: 0, unchanged: 7"), std::string::npos) << rerun.out;
    TreeState after = State("out");
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [name, state] : before)
        EXPECT_EQ(after.at(name).time, state.time) << name << " was written again";
}

TEST_F(Incremental, RemovedDriverFolderDisappearsWithItsLine) {
    ASSERT_EQ(Stage({}).status, 0);
    fs::remove_all(dir_.Path() / "set/c");
    ProgramResult update = Update({});
    EXPECT_EQ(update.status, 0);
    EXPECT_FALSE(Exists("out/c"));
    EXPECT_NE(update.out.find("remove " + Joined(Shown(Destination()), "c") + "\n"), std::string::npos)
        << update.out;
    EXPECT_NE(update.out.find("removed: 1,"), std::string::npos) << update.out;
}

TEST_F(Incremental, LinksInTheDestinationAreRemovedNotFollowed) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "links are followed transparently under Wine";
    ASSERT_EQ(Stage({}).status, 0);
    dir_.Write("elsewhere/a.sys", "not a driver");
    dir_.Write("elsewhere/sub/keep.txt", "keep");
    // A link where a staged file is, one where a staged folder is, and one that the source does not hold.
    fs::remove(dir_.Path() / "out/a/a.sys");
    fs::create_symlink(dir_.Path() / "elsewhere/a.sys", dir_.Path() / "out/a/a.sys");
    fs::remove_all(dir_.Path() / "out/a/sub");
    fs::create_directory_symlink(dir_.Path() / "elsewhere/sub", dir_.Path() / "out/a/sub");
    fs::create_directory_symlink(dir_.Path() / "elsewhere", dir_.Path() / "out/b/more");
    ProgramResult update = Update({});
    EXPECT_EQ(update.status, 0) << update.out;
    EXPECT_EQ(Read("elsewhere/a.sys"), "not a driver");
    EXPECT_EQ(Read("elsewhere/sub/keep.txt"), "keep");
    EXPECT_FALSE(Exists("elsewhere/sub/deep.dll"));
    EXPECT_FALSE(fs::is_symlink(dir_.Path() / "out/a/a.sys"));
    EXPECT_FALSE(fs::is_symlink(dir_.Path() / "out/a/sub"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir_.Path() / "out/b/more")));
    EXPECT_EQ(Read("out/a/a.sys"), "driver a");
    EXPECT_EQ(Read("out/a/sub/deep.dll"), "deep");
}

#ifdef __linux__
// A run that failed part-way keeps the old file and the status of a failed copy; the next run finishes it.
TEST_F(Incremental, RunThatFailedPartWayIsFinishedByTheNext) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "the failing source is a file of Linux";
    ASSERT_EQ(Stage({"/M:x"}).status, 0);
    dir_.Write("out/a/unreadable.bin", "old contents");
    fs::create_symlink("/proc/self/mem", dir_.Path() / "set/a/unreadable.bin");
    dir_.Write("set/b/b.sys", "driver b, newer");
    ProgramResult failed = Update({"/M:x"});
    EXPECT_EQ(failed.status, 3);
    EXPECT_NE(failed.out.find("Unable to copy file"), std::string::npos) << failed.out;
    EXPECT_EQ(Read("out/a/unreadable.bin"), "old contents");
    EXPECT_EQ(Read("out/b/b.sys"), "driver b") << "the run stops at its first failure";
    fs::remove(dir_.Path() / "set/a/unreadable.bin");
    dir_.Write("set/a/unreadable.bin", "readable now");
    ASSERT_EQ(Update({"/M:x"}).status, 0);
    ASSERT_EQ(StageTo((dir_.Path() / "fresh").string(), {"/M:x"}).status, 0);
    ExpectSameTree(State("out"), State("fresh"));
}
#endif

TEST_F(Incremental, LinkedDestinationIsReplacedNotUpdated) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "links are followed transparently under Wine";
    dir_.Write("elsewhere/keep.txt", "keep");
    fs::create_directory_symlink(dir_.Path() / "elsewhere", dir_.Path() / "out");
    ProgramResult update = Update({});
    EXPECT_EQ(update.status, 0) << update.out;
    EXPECT_EQ(Read("elsewhere/keep.txt"), "keep");
    EXPECT_FALSE(Exists("elsewhere/a"));
    EXPECT_FALSE(fs::is_symlink(dir_.Path() / "out"));
    EXPECT_EQ(Read("out/a/a.sys"), "driver a");
}

} // namespace
