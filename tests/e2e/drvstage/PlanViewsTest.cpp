// The preview, the report and the log of the real program on the sample driver set.
#include "DriverSetFixture.h"

#include <nlohmann/json.hpp>

#include <set>
#include <sstream>

namespace {

class PlanViews : public DriverSetTest {
protected:
    void SetUp() override { dir_.CopyIn(std::string(KIT_SOURCE_DIR) + "/examples/driverset", "set"); }

    // The folder names of the "copy <source>/<name>" lines.
    std::set<std::string> PreviewedCopies(const std::string& out) const {
        std::set<std::string> names;
        std::istringstream lines(out);
        std::string prefix = "copy " + Shown(Source()) + ProgramSeparator();
        for (std::string line; std::getline(lines, line);)
            if (line.rfind(prefix, 0) == 0)
                names.insert(line.substr(prefix.size()));
        return names;
    }

    std::set<std::string> StagedFolders() const {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Destination()))
            if (entry.is_directory())
                names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(PlanViews, PreviewSelectsWhatTheRunStagesAndLeavesNoDestination) {
    ProgramResult preview = Stage({"/M:8840", "/L"});
    EXPECT_EQ(preview.status, 0) << preview.out;
    EXPECT_FALSE(Exists("out"));
    ProgramResult run = Stage({"/M:8840"});
    ASSERT_EQ(run.status, 0) << run.out;
    std::set<std::string> previewed = PreviewedCopies(preview.out);
    EXPECT_EQ(previewed, StagedFolders()) << preview.out;
    EXPECT_EQ(previewed.count("05-video"), 0u);
    // A preview over a staged set leaves it as it is.
    std::string narrowed = Read("out/02-raid-sas/DrvInfo.ini");
    EXPECT_EQ(Stage({"/M:8840", "/L", "/V:0"}).status, 0);
    EXPECT_EQ(Read("out/02-raid-sas/DrvInfo.ini"), narrowed);
    EXPECT_EQ(Stage({"/M:9999", "/L", "/V:0"}).status, 4);
}

TEST_F(PlanViews, ReportIsJsonListingEveryFolder) {
    std::string reportFile = dir_ / "report.json";
    ProgramResult run = Stage({"/M:8840", "/V:0", "/REPORT:" + Shown(reportFile)});
    ASSERT_EQ(run.status, 0) << run.out;
    nlohmann::json report = nlohmann::json::parse(Read("report.json"));
    EXPECT_EQ(report["exitStatus"], 0);
    std::set<std::string> listed;
    size_t copiedFiles = 0;
    for (const nlohmann::json& driver : report["drivers"]) {
        std::string folder = driver["folder"];
        listed.insert(folder.substr(folder.find_last_of("/\\") + 1));
        if (driver["copied"])
            copiedFiles += driver["files"].get<size_t>();
    }
    std::set<std::string> folders;
    for (const auto& entry : std::filesystem::directory_iterator(Source()))
        if (entry.is_directory())
            folders.insert(entry.path().filename().string());
    EXPECT_EQ(listed, folders);
    size_t stagedFiles = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(Destination()))
        stagedFiles += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(copiedFiles + report["baseFiles"].size(), stagedFiles);
    EXPECT_EQ(report["totals"]["files"], stagedFiles);
}

TEST_F(PlanViews, LogHoldsTheMostDetailedLinesWithAQuietConsole) {
    std::string logFile = dir_ / "run.log";
    ProgramResult run = Stage({"/M:8840", "/V:0", "/LOG:" + Shown(logFile)});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    std::string log = Read("run.log");
    for (const char* text : {" The driver is not supported.\n", " CopyDrivers nRetVAl = 0\n", " Reading ",
                             " DRVstage complete.\n"})
        EXPECT_NE(log.find(text), std::string::npos) << text << "\n" << log;
    size_t firstRun = log.size();
    Stage({"/M:8840", "/V:0", "/LOG:" + Shown(logFile)});
    EXPECT_EQ(Read("run.log").substr(0, firstRun), log);
    EXPECT_GT(Read("run.log").size(), firstRun + firstRun / 2);
}

} // namespace
