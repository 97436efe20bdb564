// The parts of the fleet check: the report's rows, the ordered work of several threads, the walk of the
// fleet folder, its switches and the support files read once.
#include "arrayplan/fleet/FleetProgress.h"
#include "arrayplan/fleet/FleetReport.h"
#include "arrayplan/fleet/InventoryWalk.h"
#include "arrayplan/fleet/OrderedWork.h"
#include "arrayplan/frontend/CommandLine.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/SupportFileCache.h"
#include "foundation/Console.h"
#include "foundation/SwitchParser.h"
#include "foundation/platform/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

InventoryOutcome outcomeWith(const std::string& path, const std::string& serial, const std::string& policy) {
    InventoryOutcome outcome;
    outcome.path = path;
    outcome.status = 10;
    outcome.message = "Not enough same size drives";
    outcome.machineType = "8837";
    outcome.serialNumber = serial;
    outcome.controllers.push_back({1, "Vaultix-Q4", policy, "A:5:1+2+3", 140014, 7});
    return outcome;
}

TEST(FleetReport, CsvFieldsAreQuotedWhenTheyHoldACommaAQuoteOrALineEnd) {
    struct Case {
        std::string serial;
        std::string field; // as the row must hold it
    };
    const Case cases[] = {
        {"KQ4711X", "KQ4711X"},   {"KQ,47", "\"KQ,47\""},   {"KQ\"47", "\"KQ\"\"47\""},
        {"KQ\n47", "\"KQ\n47\""}, {"KQ\r47", "\"KQ\r47\""}, {"", ""},
        {"\"", "\"\"\"\""},
    };
    for (const Case& c : cases) {
        std::string row = reportRows(ReportFormat::Csv, outcomeWith("f/a.ini", c.serial, "Policy.P"));
        EXPECT_EQ(row, "f/a.ini,8837," + c.field +
                           ",1,Vaultix-Q4,Policy.P,10,Not enough same size drives,A:5:1+2+3,140014,7\n")
            << c.serial;
    }
}

TEST(FleetReport, JsonLinesHoldTheSameFieldsWithNumbersAndNulls) {
    InventoryOutcome none;
    none.path = "f/b.ini";
    none.status = 12;
    none.message = "Error opening input inventory file.";
    const struct {
        InventoryOutcome outcome;
        const char* line;
    } cases[] = {
        {outcomeWith("f/a.ini", "K\"Q", ""),
         R"({"inventory":"f/a.ini","machine_type":"8837","serial_number":"K\"Q","controller":1,)"
         R"("model":"Vaultix-Q4","policy":"","code":10,"message":"Not enough same size drives",)"
         R"("arrays":"A:5:1+2+3","usable_mb":140014,"wasted_mb":7})"},
        {none, R"({"inventory":"f/b.ini","machine_type":"","serial_number":"","controller":null,"model":"",)"
               R"("policy":"","code":12,"message":"Error opening input inventory file.","arrays":"",)"
               R"("usable_mb":null,"wasted_mb":null})"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reportRows(ReportFormat::JsonLines, c.outcome), std::string(c.line) + "\n");
    EXPECT_EQ(reportHeader(ReportFormat::JsonLines), "");
}

TEST(FleetReport, TheReportsNameGivesItsFormat) {
    const struct {
        const char* name;
        bool known;
        ReportFormat format;
    } cases[] = {
        {"r.csv", true, ReportFormat::Csv},         {"R.CSV", true, ReportFormat::Csv},
        {"r.jsonl", true, ReportFormat::JsonLines}, {"dir.csv/r.JsonL", true, ReportFormat::JsonLines},
        {"r.json", false, ReportFormat::Csv},       {"r.csv.txt", false, ReportFormat::Csv},
        {"csv", false, ReportFormat::Csv},
    };
    for (const auto& c : cases) {
        ReportFormat format = ReportFormat::Csv;
        EXPECT_EQ(reportFormatOf(c.name, format), c.known) << c.name;
        if (c.known)
            EXPECT_EQ(format, c.format) << c.name;
    }
}

TEST(FleetProgress, TheLineGivesTheRateAndTheTimeLeft) {
    const struct {
        int count;
        int total;
        double seconds;
        const char* line;
    } cases[] = {
        {0, 1000, 0, "0 of 1000 inventories, 0/s, 0 s left"},
        {100, 1000, 0.5, "100 of 1000 inventories, 200/s, 5 s left"},
        {999, 1000, 3, "999 of 1000 inventories, 333/s, 0 s left"},
        {1000, 1000, 4, "1000 of 1000 inventories, 250/s, 0 s left"},
        {3, 10, 2, "3 of 10 inventories, 2/s, 5 s left"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FleetProgress::line(c.count, c.total, c.seconds), c.line);
}

// Outcomes come out in the items' order, and no more than the window of them is ever drawn ahead of the
// next one to hand on, whatever the number of threads and however long each item takes.
TEST(OrderedWork, HandsOnInOrderWithinTheWindow) {
    const struct {
        int jobs;
        size_t window;
    } cases[] = {{1, 1}, {4, 1}, {2, 3}, {4, 4}, {4, 16}, {8, 5}};
    for (const auto& c : cases) {
        const int items = 200;
        int drawn = 0;
        std::atomic<int> taken{0};
        int widest = 0;
        std::vector<std::string> order;
        runInOrder(
            c.jobs, c.window,
            [&]() -> std::optional<WorkItem> {
                if (drawn == items)
                    return std::nullopt;
                widest = std::max(widest, drawn - taken.load());
                return WorkItem{std::to_string(drawn++), ""};
            },
            [](const WorkItem& item) {
                // Uneven times, so that later items often finish first.
                std::this_thread::sleep_for(std::chrono::microseconds((std::stoi(item.path) * 37) % 300));
                InventoryOutcome outcome;
                outcome.path = item.path;
                return outcome;
            },
            [&](InventoryOutcome& outcome) {
                order.push_back(outcome.path);
                ++taken;
            });
        ASSERT_EQ(order.size(), static_cast<size_t>(items)) << c.jobs << "/" << c.window;
        for (int i = 0; i < items; ++i)
            ASSERT_EQ(order[static_cast<size_t>(i)], std::to_string(i)) << c.jobs << "/" << c.window;
        EXPECT_LE(widest, static_cast<int>(c.window)) << c.jobs << "/" << c.window;
    }
}

TEST(OrderedWork, NoItemsGiveNoOutcome) {
    int outcomes = 0;
    runInOrder(
        3, 4, []() -> std::optional<WorkItem> { return std::nullopt; },
        [](const WorkItem&) { return InventoryOutcome{}; }, [&](InventoryOutcome&) { ++outcomes; });
    EXPECT_EQ(outcomes, 0);
}

TEST(InventoryWalk, GivesTheInventoriesBelowTheFolderInPathOrder) {
    TempDir dir;
    for (const char* file : {"b.ini", "a.INI", "a-b/x.ini", "a/z.ini", "a/y/w.ini", "notes.txt", "a/.ini",
                             "ini", "c/d/e/f.ini", "c.ini/g.ini"})
        dir.Write(std::string("fleet/") + file, "x");
    std::filesystem::create_directories(dir.Path() / "fleet" / "empty");
    InventoryWalk walk(NativeFileSystem(), dir / "fleet");
    ASSERT_TRUE(walk.folderListed());
    std::vector<std::string> relatives;
    for (std::string path, relative; walk.next(path, relative);) {
        EXPECT_EQ(path, dir / "fleet" + "/" + relative);
        relatives.push_back(relative);
    }
    // In the byte order of the paths: "a-b/x.ini" before "a.INI" before "a/y/w.ini".
    EXPECT_EQ(relatives, (std::vector<std::string>{"a-b/x.ini", "a.INI", "a/y/w.ini", "a/z.ini", "b.ini",
                                                   "c.ini/g.ini", "c/d/e/f.ini"}));
    InventoryWalk missing(NativeFileSystem(), dir / "missing");
    EXPECT_FALSE(missing.folderListed());
    std::string path, relative;
    EXPECT_FALSE(missing.next(path, relative));
}

TEST(FleetCommandLine, AFleetCheckAndASingleRunTakeTheirOwnSwitches) {
    const struct {
        std::vector<const char*> arguments;
        int result;
    } cases[] = {
        {{"/fleet:f", "/inp:p", "/report:r.csv"}, SwitchParser::kParsed},
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/jobs:4", "/outdir:o", "/raid:d"}, SwitchParser::kParsed},
        {{"/fleet:f", "/inp:p"}, SwitchParser::kRejected},                             // no report
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/ini:i"}, SwitchParser::kRejected},  // an inventory
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/outi:o"}, SwitchParser::kRejected}, // a single output
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/json:j"}, SwitchParser::kRejected},
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/jobs:0"}, SwitchParser::kRejected},
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/jobs:x"}, SwitchParser::kRejected},
        {{"/fleet:f", "/inp:p", "/report:r.csv", "/jobs:257"}, SwitchParser::kRejected},
        {{"/fleet:", "/inp:p", "/report:r.csv"}, SwitchParser::kRejected},
        {{"/fleet:f", "/report:r.csv"}, SwitchParser::kRejected}, // no policy file
        {{"/ini:i", "/inp:p"}, SwitchParser::kParsed},
        {{"/inp:p"}, SwitchParser::kRejected},
        {{"/ini:i", "/inp:p", "/report:r.csv"}, SwitchParser::kRejected},
        {{"/ini:i", "/inp:p", "/jobs:2"}, SwitchParser::kRejected},
        {{"/ini:i", "/inp:p", "/outdir:o"}, SwitchParser::kRejected},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"arrayplan"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        CommandLine line;
        EXPECT_EQ(parseCommandLine(static_cast<int>(argv.size()), argv.data(), line), c.result)
            << c.arguments.front() << " ... " << c.arguments.back();
    }
    const char* argv[] = {"arrayplan", "/fleet:f d", "/inp:p", "/report:r.csv", "/jobs:3", "/outdir:o"};
    CommandLine line;
    ASSERT_EQ(parseCommandLine(6, argv, line), SwitchParser::kParsed);
    EXPECT_STREQ(line.fleetDirectory.Text(), "f d");
    EXPECT_STREQ(line.fleetReportPath.Text(), "r.csv");
    EXPECT_EQ(line.fleetJobs, 3);
    EXPECT_STREQ(line.fleetOutputDirectory.Text(), "o");
}

// Each support file is read once: a later run is handed the first load, even when the file has changed or
// gone since; a file that failed to load fails for every run.
TEST(SupportFileCache, ReadsEachFileOnceAndHandsEveryRunThatLoad) {
    TempDir dir;
    std::string folder = dir.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid") + "/";
    std::string discarded;
    Console console;
    console.Capture(&discarded, &discarded);
    SupportFileCache cache(NativeFileSystem());
    ControllerIni first(CString(folder.c_str()), "Vaultix-Q4", console, NativeFileSystem());
    ASSERT_TRUE(cache.load(first));
    std::filesystem::remove(folder + "Vaultix-Q4.ini");
    ControllerIni again(CString(folder.c_str()), "Vaultix-Q4", console, NativeFileSystem());
    ASSERT_TRUE(cache.load(again));
    EXPECT_EQ(again.model(), "Vaultix-Q4");
    EXPECT_EQ(again.maxArrays(), first.maxArrays());
    EXPECT_EQ(again.stripeSizes(), first.stripeSizes());
    EXPECT_EQ(again.levels().size(), first.levels().size());
    ControllerIni unread(CString(folder.c_str()), "Vaultix-Q4", console, NativeFileSystem());
    EXPECT_FALSE(unread.load()); // read from the file, it is gone

    ControllerIni missing(CString(folder.c_str()), "Vaultix-Q9", console, NativeFileSystem());
    EXPECT_FALSE(cache.load(missing));
    dir.Write("raid/Vaultix-Q9.ini", "[RAIDController]\nModel = Vaultix-Q9\n");
    ControllerIni stillMissing(CString(folder.c_str()), "Vaultix-Q9", console, NativeFileSystem());
    EXPECT_FALSE(cache.load(stillMissing));
}

} // namespace
