// Copies spread over worker threads (/MT:4) against one copy after another (/MT:1): the same lines, log,
// report and tree, on success and when a copy fails part-way.
#include "DriverSetFixture.h"

#include <map>

namespace {

namespace fs = std::filesystem;

struct FileState {
    std::string contents;
    fs::file_time_type time;
    bool operator==(const FileState& other) const { return contents == other.contents && time == other.time; }
};

// What a run printed, logged and reported, with its destination's name replaced, and the tree it left.
struct RunState {
    int status = -1;
    std::string out;
    std::string log;
    std::string report;
    std::map<std::string, FileState> tree;
};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// A path as a JSON text holds it: backslashes (of Windows paths) doubled.
std::string InJson(const std::string& path) {
    std::string text;
    for (char c : path)
        text += c == '\\' ? std::string(2, c) : std::string(1, c);
    return text;
}

// The log's lines without their date and time.
std::string Unstamped(const std::string& log) {
    std::string lines;
    size_t start = 0;
    for (size_t end = log.find('\n'); end != std::string::npos; start = end + 1, end = log.find('\n', start))
        lines += log.substr(start, end - start).substr(std::min<size_t>(20, end - start)) + "\n";
    return lines;
}

class ParallelCopy : public DriverSetTest {
protected:
    // Forty drivers of five files, two of them a folder down: many folders to share out.
    void SetUp() override {
        AddDriverSetFile("x,y");
        for (int i = 0; i < 40; ++i) {
            std::string name = "set/drv" + std::to_string(100 + i);
            AddDriver(name.substr(4), i % 7 == 3 ? "Supported Systems = y\n" : "Supported Systems = x,y\n");
            for (int file = 0; file < 3; ++file)
                dir_.Write(name + "/file" + std::to_string(file) + ".bin",
                           std::string(100 * i + file, 'a' + file));
            dir_.Write(name + "/x64/one.sys", "one " + std::to_string(i));
            dir_.Write(name + "/x64/two.sys", "two " + std::to_string(i));
        }
        dir_.Write("set/readme.txt", "base");
    }

    // Stages into out<threads> with /MT:<threads>; its names are given as out1's.
    RunState Run(int threads, std::vector<std::string> switches) {
        std::string name = "out" + std::to_string(threads);
        std::string log = dir_ / (name + ".log");
        std::string report = dir_ / (name + ".json");
        switches.push_back("/MT:" + std::to_string(threads));
        switches.push_back("/LOG:" + Shown(log));
        switches.push_back("/REPORT:" + Shown(report));
        ProgramResult result = StageTo(dir_ / name, switches);
        RunState state{result.status, result.out, Unstamped(Read(name + ".log")), Read(name + ".json"), {}};
        fs::remove(log);
        for (std::string* text : {&state.out, &state.log, &state.report}) {
            ReplaceAll(*text, Shown(dir_ / name), Shown(dir_ / "out1"));
            ReplaceAll(*text, InJson(Shown(dir_ / name)), InJson(Shown(dir_ / "out1")));
            ReplaceAll(*text, name + ".json", "out1.json");
        }
        for (const auto& entry : fs::recursive_directory_iterator(dir_.Path() / name)) {
            if (entry.is_regular_file())
                state.tree[fs::relative(entry.path(), dir_.Path() / name).generic_string()] = {
                    ReadProgramText(entry.path()), entry.last_write_time()};
        }
        return state;
    }
};

// The files a run rewrites take the time of the rewrite.
void ExpectSameRun(const RunState& shared, const RunState& oneByOne) {
    EXPECT_EQ(shared.status, oneByOne.status);
    EXPECT_EQ(shared.out, oneByOne.out);
    EXPECT_EQ(shared.log, oneByOne.log);
    EXPECT_EQ(shared.report, oneByOne.report);
    ASSERT_EQ(shared.tree.size(), oneByOne.tree.size());
    for (const auto& [name, state] : oneByOne.tree) {
        ASSERT_EQ(shared.tree.count(name), 1u) << name;
        EXPECT_EQ(shared.tree.at(name).contents, state.contents) << name;
        if (name.find("DrvInfo.ini") == std::string::npos && name != "DrvSet.ini") {
            EXPECT_EQ(shared.tree.at(name).time, state.time) << name;
        }
    }
}

struct SwitchCase {
    const char* name;
    std::vector<std::string> switches;
};

class ParallelRuns : public ParallelCopy, public testing::WithParamInterface<SwitchCase> {};

} // namespace

TEST_P(ParallelRuns, GiveWhatOneCopyAfterAnotherGives) {
    const std::vector<std::string>& switches = GetParam().switches;
    RunState oneByOne = Run(1, switches);
    ASSERT_EQ(oneByOne.status, 0) << oneByOne.out;
    ASSERT_GT(oneByOne.tree.size(), 200u);
    ExpectSameRun(Run(4, switches), oneByOne);
}

TEST_P(ParallelRuns, UpdateInPlaceGivesWhatOneCopyAfterAnotherGives) {
    std::vector<std::string> switches = GetParam().switches;
    ASSERT_EQ(Run(1, switches).status, 0);
    ASSERT_EQ(Run(4, switches).status, 0);
    for (int i : {0, 17, 39})
        dir_.Write("set/drv" + std::to_string(100 + i) + "/x64/two.sys", "changed");
    fs::remove_all(dir_.Path() / "set/drv120");
    switches.push_back("/INC");
    RunState oneByOne = Run(1, switches);
    ASSERT_EQ(oneByOne.status, 0) << oneByOne.out;
    ExpectSameRun(Run(4, switches), oneByOne);
}

INSTANTIATE_TEST_SUITE_P(Switches, ParallelRuns,
                         testing::Values(SwitchCase{"Narrowed", {"/M:x", "/V:5"}},
                                         SwitchCase{"AllMachineTypes", {"/V:3"}}),
                         [](const testing::TestParamInfo<SwitchCase>& info) {
                             return std::string(info.param.name);
                         });

#ifndef _WIN32
TEST_F(ParallelCopy, FailurePartWayEndsTheRunWithTheLinesOfOneCopyAfterAnother) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "the failing source is a file of Linux";
    // A file that cannot be read, in the sub folder of a driver halfway down the list.
    fs::create_symlink("/proc/self/mem", dir_.Path() / "set/drv119/x64/three.sys");
    for (const std::vector<std::string>& switches :
         {std::vector<std::string>{"/M:x", "/V:5"}, std::vector<std::string>{"/V:5", "/INC"}}) {
        RunState oneByOne = Run(1, switches);
        EXPECT_EQ(oneByOne.status, 3);
        EXPECT_NE(oneByOne.out.find("Unable to copy file"), std::string::npos) << oneByOne.out;
        RunState shared = Run(4, switches);
        EXPECT_EQ(shared.status, oneByOne.status);
        EXPECT_EQ(shared.out, oneByOne.out);
        EXPECT_EQ(shared.log, oneByOne.log);
        EXPECT_EQ(shared.report, oneByOne.report);
    }
}
#endif
