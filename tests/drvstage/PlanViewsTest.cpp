// The views of one plan on a driver set in memory: /L, /REPORT: and /LOG:.
#include "StagedRun.h"
#include "drvstage/CopySettings.h"
#include "drvstage/RunLog.h"
#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

void AddDriver(MemoryFileSystem& fileSystem, const std::string& name, const std::string& keys) {
    fileSystem.AddFile("/src/" + name + "/DrvInfo.ini", "[Driver Information]\n" + keys);
    fileSystem.AddFile("/src/" + name + "/" + name + ".sys", "driver " + name);
}

// Machine types A, B and C; categories Net and Storage; alpha is required for ADS.
void AddDriverSet(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/DrvSet.ini", "[Main]\nSupported Systems = A,B,C\n");
    fileSystem.AddFile("/src/setup.dll", "base library");
    AddDriver(fileSystem, "alpha", "Category = Net\nRequired For ADS = True\nSupported Systems = A,B\n");
    AddDriver(fileSystem, "beta", "Category = Storage\nInstallation Mode = Setup\nSupported Systems = C\n");
    AddDriver(fileSystem, "delta", "Unsupported Systems = A\nCategory = Net\nInstallation Mode = GUI\n");
    AddDriver(fileSystem, "epsilon", "Supported Systems = None\n");
    fileSystem.AddFile("/src/gamma/gamma.sys", "no information file");
    fileSystem.AddFile("/dst/earlier.txt", "from an earlier run");
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& start) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(start, 0) == 0)
            lines.push_back(line);
    return lines;
}

struct ReasonCase {
    std::vector<const char*> switches;
    const char* line; // the preview line of one folder
};

class PreviewLine : public testing::TestWithParam<ReasonCase> {};

TEST_P(PreviewLine, GivesTheReasonOfEachDecision) {
    MemoryFileSystem fileSystem;
    AddDriverSet(fileSystem);
    ScopedFileSystem scoped(fileSystem);
    std::vector<const char*> switches = GetParam().switches;
    switches.push_back("/L");
    Staged run = Stage(switches);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find(std::string("\n") + GetParam().line + "\n"), std::string::npos) << run.output;
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, PreviewLine,
    testing::Values(ReasonCase{{"/M:A"}, "skip /src/beta: supports C, asked for A"},
                    ReasonCase{{"/M:A"}, "skip /src/delta: does not support A, asked for A"},
                    ReasonCase{{}, "skip /src/epsilon: Supported Systems = None"},
                    ReasonCase{{"/M:A"}, "copy /src/gamma"},
                    ReasonCase{
                        {"/M:A"},
                        "rewrite /dst/alpha/DrvInfo.ini: Supported Systems \"A\", Unsupported Systems \"\""},
                    ReasonCase{{"/C:Storage"}, "skip /src/alpha: category Net not asked for (Storage)"},
                    ReasonCase{{"/C:Net"}, "skip /src/gamma: no DrvInfo.ini, asked for category Net"},
                    ReasonCase{{"/I:Setup"}, "skip /src/alpha: no installation mode, asked for Setup"},
                    ReasonCase{{"/I:Setup"}, "skip /src/delta: installation mode GUI not asked for (Setup)"},
                    ReasonCase{{"/ADS"}, "skip /src/beta: not required for ADS"},
                    ReasonCase{{"/ADS"}, "skip /src/gamma: no DrvInfo.ini, so not required for ADS"},
                    ReasonCase{{"/M:A,B"}, "base /src/setup.dll"},
                    ReasonCase{{"/M:A,B"}, "rewrite /dst/DrvSet.ini: Supported Systems \"A,B\""}));

// A preview changes nothing and ends as the run on the same driver set ends; where the run succeeds, the
// preview's copy lines name exactly the folders that the run stages.
struct StatusCase {
    const char* name;
    void (*change)(MemoryFileSystem&);
    std::vector<const char*> switches;
    const char* destination;
};

class PreviewStatus : public testing::TestWithParam<StatusCase> {};

TEST_P(PreviewStatus, IsTheRunsWithoutAnyEffect) {
    const StatusCase& c = GetParam();
    MemoryFileSystem previewed;
    AddDriverSet(previewed);
    c.change(previewed);
    previewed.directoriesRemoved.clear();
    previewed.filesRemoved.clear();
    std::vector<std::string> pathsBefore = previewed.AllPaths();
    std::vector<const char*> switches = c.switches;
    switches.push_back("/L");
    Staged preview;
    {
        ScopedFileSystem scoped(previewed);
        preview = Stage(switches, c.destination);
    }
    EXPECT_TRUE(previewed.directoriesMade.empty());
    EXPECT_TRUE(previewed.directoriesRemoved.empty());
    EXPECT_TRUE(previewed.filesCreated.empty());
    EXPECT_TRUE(previewed.filesRemoved.empty());
    EXPECT_TRUE(previewed.renamed.empty());
    EXPECT_EQ(previewed.AllPaths(), pathsBefore);

    MemoryFileSystem staged;
    AddDriverSet(staged);
    c.change(staged);
    Staged run;
    {
        ScopedFileSystem scoped(staged);
        run = Stage(c.switches, c.destination);
    }
    EXPECT_EQ(preview.status, run.status) << preview.output << run.output;
    // The ADS mode merges the folders into the destination root.
    if (run.status != 0 || std::string(c.destination) != "/dst" ||
        preview.output.find("ADS Copy") != std::string::npos)
        return;
    std::set<std::string> copied;
    for (const std::string& line : LinesStartingWith(preview.output, "copy /src/"))
        copied.insert(line.substr(std::string("copy /src/").size()));
    std::set<std::string> present;
    for (const char* name : {"alpha", "beta", "delta", "epsilon", "gamma"})
        if (staged.IsDirectory(std::string("/dst/") + name))
            present.insert(name);
    EXPECT_EQ(copied, present) << preview.output;
}

void Unchanged(MemoryFileSystem&) {}
void WithoutDriverSetFile(MemoryFileSystem& fileSystem) {
    fileSystem.DeleteFile("/src/DrvSet.ini");
}
void WithoutDrivers(MemoryFileSystem& fileSystem) {
    for (const char* name : {"alpha", "beta", "delta", "epsilon", "gamma"}) {
        for (const std::string& path : fileSystem.AllPaths())
            if (path.rfind(std::string("/src/") + name + "/", 0) == 0)
                fileSystem.DeleteFile(path);
        fileSystem.RemoveDirectory(std::string("/src/") + name);
    }
}
void WithUnreadableDriverFile(MemoryFileSystem& fileSystem) {
    fileSystem.FailCall(MemoryFileSystem::Call::OpenForReading, 0, "/src/delta/DrvInfo.ini");
}
void WithUnlistableSource(MemoryFileSystem& fileSystem) {
    fileSystem.FailCall(MemoryFileSystem::Call::FindEntries, 0, "/src/*");
}

std::string StatusCaseName(const testing::TestParamInfo<StatusCase>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, PreviewStatus,
    testing::Values(StatusCase{"Narrowed", Unchanged, {"/M:A"}, "/dst"},
                    StatusCase{"AllMachineTypes", Unchanged, {}, "/dst"},
                    StatusCase{"Categories", Unchanged, {"/C:net"}, "/dst"},
                    StatusCase{"Ads", Unchanged, {"/ADS"}, "/dst"},
                    StatusCase{"UnsupportedMachineType", Unchanged, {"/M:A,Z"}, "/dst"},
                    StatusCase{"NoDriverSetFile", WithoutDriverSetFile, {"/M:A"}, "/dst"},
                    StatusCase{"NoDrivers", WithoutDrivers, {"/M:A"}, "/dst"},
                    StatusCase{"UnreadableDriverFile", WithUnreadableDriverFile, {"/M:A"}, "/dst"},
                    StatusCase{"UnlistableSource", WithUnlistableSource, {}, "/dst"},
                    StatusCase{"DestinationInsideSource", Unchanged, {}, "/src/out"}),
    StatusCaseName);

nlohmann::json ReadReport(const MemoryFileSystem& fileSystem) {
    return nlohmann::json::parse(fileSystem.Content("/report.json"));
}

TEST(Report, ListsEveryFolderWithWhatBecameOfIt) {
    MemoryFileSystem fileSystem;
    AddDriverSet(fileSystem);
    ScopedFileSystem scoped(fileSystem);
    Staged run = Stage({"/M:A", "/REPORT:/report.json"});
    ASSERT_EQ(run.status, 0) << run.output;
    nlohmann::json report = ReadReport(fileSystem);
    EXPECT_EQ(report["kind"], "run");
    EXPECT_EQ(report["exitStatus"], 0);
    ASSERT_EQ(report["drivers"].size(), 5u);
    const nlohmann::json& alpha = report["drivers"][0];
    EXPECT_EQ(alpha["folder"], "/src/alpha");
    EXPECT_EQ(alpha["copied"], true);
    EXPECT_EQ(alpha["files"], 2);
    EXPECT_EQ(alpha["bytes"], fileSystem.Content("/src/alpha/DrvInfo.ini").size() + 12);
    EXPECT_EQ(alpha["narrowed"]["supportedSystems"], nlohmann::json::array({"A"}));
    const nlohmann::json& beta = report["drivers"][1];
    EXPECT_EQ(beta["selected"], false);
    EXPECT_EQ(beta["copied"], false);
    EXPECT_EQ(beta["reason"], "supports C, asked for A");
    EXPECT_EQ(report["driverSet"]["supportedSystems"], nlohmann::json::array({"A"}));
    EXPECT_EQ(report["totals"]["copied"], 2); // alpha, and gamma, which has no information file
    EXPECT_EQ(report["baseFiles"][0]["file"], "DrvSet.ini");
    EXPECT_TRUE(fileSystem.IsFile("/dst/alpha/alpha.sys"));
}

// A failed run is reported too: what it did before it failed, and its status.
TEST(Report, IsWrittenWholeWhenTheRunFails) {
    MemoryFileSystem fileSystem;
    AddDriverSet(fileSystem);
    fileSystem.FailCall(MemoryFileSystem::Call::OpenForReading, 0, "/src/delta/DrvInfo.ini");
    ScopedFileSystem scoped(fileSystem);
    Staged run = Stage({"/M:A", "/REPORT:/report.json"});
    ASSERT_EQ(run.status, 3) << run.output;
    nlohmann::json report = ReadReport(fileSystem);
    EXPECT_EQ(report["exitStatus"], 3);
    ASSERT_EQ(report["drivers"].size(), 3u);
    EXPECT_EQ(report["drivers"][0]["copied"], true);
    EXPECT_EQ(report["drivers"][2]["reason"], "could not be read: /src/delta/DrvInfo.ini");
    EXPECT_FALSE(report.contains("driverSet"));
    // Only the rename puts the report in place: no temporary file is left beside it.
    for (const std::string& path : fileSystem.AllPaths())
        EXPECT_EQ(path.find("~report-"), std::string::npos) << path;
}

// A run stopped before it read the driver folders still reports each folder, none of them copied.
TEST(Report, OfARunStoppedBeforeTheFoldersListsThemAll) {
    for (std::vector<const char*> switches :
         {std::vector<const char*>{"/M:A,Z", "/REPORT:/report.json"},
          std::vector<const char*>{"/M:A,Z", "/L", "/REPORT:/report.json"}}) {
        MemoryFileSystem fileSystem;
        AddDriverSet(fileSystem);
        ScopedFileSystem scoped(fileSystem);
        Staged run = Stage(switches);
        ASSERT_EQ(run.status, 4) << run.output;
        nlohmann::json report = ReadReport(fileSystem);
        EXPECT_EQ(report["exitStatus"], 4);
        ASSERT_EQ(report["drivers"].size(), 5u);
        for (const nlohmann::json& driver : report["drivers"])
            EXPECT_EQ(driver["copied"], false) << driver;
        EXPECT_EQ(report["totals"]["files"], 0);
        EXPECT_TRUE(fileSystem.IsFile("/dst/earlier.txt"));
    }
}

TEST(Report, ThatCannotBeWrittenFailsTheRun) {
    MemoryFileSystem fileSystem;
    AddDriverSet(fileSystem);
    fileSystem.AddFile("/report.json", "older report");
    fileSystem.FailCall(MemoryFileSystem::Call::Sync, 0, "", "No space left on device");
    ScopedFileSystem scoped(fileSystem);
    Staged run = Stage({"/REPORT:/report.json", "/L"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.output.find("Unable to write file /report.json\n"), std::string::npos) << run.output;
    EXPECT_EQ(fileSystem.Content("/report.json"), "older report");
}

TEST(Log, HoldsEveryLevelStampedAndAppendsWhateverTheConsoleShows) {
    MemoryFileSystem fileSystem;
    AddDriverSet(fileSystem);
    fileSystem.AddFile("/run.log", "earlier line\n");
    ScopedFileSystem scoped(fileSystem);
    Staged run = Stage({"/M:A", "/V:0", "/LOG:/run.log"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "");
    std::string log = fileSystem.Content("/run.log");
    ASSERT_EQ(log.rfind("earlier line\n", 0), 0u) << log;
    std::regex stamped(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d .*)");
    std::istringstream in(log.substr(std::string("earlier line\n").size()));
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines)
        EXPECT_TRUE(std::regex_match(line, stamped)) << line;
    EXPECT_GT(lines, 20);
    for (const char* text : {" The driver is supported.\n", " Scanning driver /src/beta\n",
                             " CopyDrivers nRetVAl = 0\n", " DRVstage complete.\n"})
        EXPECT_NE(log.find(text), std::string::npos) << text << log;
}

TEST(Log, TimeStampIsTheDateAndTimeInUtc) {
    using namespace std::chrono;
    EXPECT_EQ(LogTimeStamp(system_clock::time_point{}), "1970-01-01 00:00:00 ");
    system_clock::time_point moment = sys_days{year{2026} / 12 / 8} + hours{13} + minutes{8} + seconds{30};
    EXPECT_EQ(LogTimeStamp(moment + milliseconds{999}), "2026-12-08 13:08:30 ");
}

struct CommandLineCase {
    std::vector<const char*> arguments; // after the program name
    bool accepted;
};

class OutputSwitches : public testing::TestWithParam<CommandLineCase> {};

TEST_P(OutputSwitches, AreWholeArgumentsGivenOnce) {
    std::vector<const char*> argv = {"drvstage"};
    argv.insert(argv.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    CopySettings settings;
    int result = InterpretCommandLine(static_cast<int>(argv.size()), argv.data(), settings);
    EXPECT_EQ(result == 0, GetParam().accepted);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, OutputSwitches,
    testing::Values(CommandLineCase{{"/src", "/dst", "/l", "/report:/r.json", "/Log:/l.txt"}, true},
                    // A path below /lib is a path, not the preview switch.
                    CommandLineCase{{"/lib/set", "/dst", "/L"}, true},
                    CommandLineCase{{"/src", "/dst", "/M:A", "/L"}, true},
                    CommandLineCase{{"/src", "/dst", "/L", "/L"}, false},
                    CommandLineCase{{"/src", "/dst", "/REPORT:"}, false},
                    CommandLineCase{{"/src", "/dst", "/LOG:/a", "/LOG:/b"}, false},
                    CommandLineCase{{"/src", "/dst", "/LINT", "/L"}, false},
                    CommandLineCase{{"/src", "/dst", "/LINT", "/REPORT:/r.json"}, false},
                    CommandLineCase{{"/src", "/dst", "/LINT", "/LOG:/l.txt"}, true}));

} // namespace
