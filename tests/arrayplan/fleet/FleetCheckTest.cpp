// The fleet check against single runs of the same inventories: the same code, policy and arrays for every
// inventory, whatever the number of worker threads; the rows in path order; the summary and exit status.
#include "FleetFixture.h"

#include "arrayplan/fleet/InventoryRun.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

using nlohmann::json;
namespace fs = std::filesystem;

namespace {

std::vector<json> jsonLines(const std::string& text) {
    std::vector<json> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        rows.push_back(json::parse(line));
    return rows;
}

// "A:5:1+2+3 B:1:4+5" from the arrays of a controller of a single run's "/json:" report.
std::string arraysOfReport(const json& controller) {
    std::string text;
    for (const json& array : controller["arrays"]) {
        std::string members;
        for (const json& member : array["members"])
            members += (members.empty() ? "" : "+") + std::to_string(member.get<int>());
        std::string level = array["raid_level"].is_null() ? "" : array["raid_level"].get<std::string>();
        text += (text.empty() ? "" : " ") + array["id"].get<std::string>() + ":" + level + ":" + members;
    }
    return text;
}

struct SingleRun {
    int status = -1;
    json report; // null when the run wrote none
};

SingleRun runAlone(const FleetFolder& folder, const std::string& inventory, const std::string& outdir,
                   const std::string& relative) {
    CString outputs(outdir.c_str());
    std::string reportPath = folder.path("single.json");
    fs::remove(reportPath);
    fs::create_directories(fs::path(outputInventoryPath(outputs, relative).Str()).parent_path());
    SingleRun run;
    run.status = runArrayplan({"arrayplan", "/ini:" + inventory, "/inp:" + folder.policies(),
                               "/outi:" + outputInventoryPath(outputs, relative).Str(),
                               "/outp:" + outputPolicyPath(outputs, relative).Str(), "/raid:" + folder.raid(),
                               "/json:" + reportPath})
                     .status;
    if (fs::exists(reportPath))
        run.report = json::parse(ReadWholeFile(reportPath));
    return run;
}

TEST(FleetCheck, EveryInventoryGivesWhatItsSingleRunGives) {
    FleetFolder folder;
    // Inventories in subfolders and beside them, every scenario many times with varied drives.
    std::vector<std::string> relatives;
    const std::vector<FleetScenario>& scenarios = fleetScenarios();
    for (int i = 0; i < 280; ++i) {
        const FleetScenario& scenario = scenarios[static_cast<size_t>(i) % scenarios.size()];
        std::string relative =
            "rack" + std::to_string(i % 4) + "/" + scenario.name + "-" + std::to_string(i) + ".ini";
        folder.writeInventory(relative, scenario.name, i);
        relatives.push_back(relative);
    }
    relatives.push_back("rack9/unreadable.ini");
    folder.writeDeadLink(relatives.back());
    const std::string fleetOut = folder.path("fleet-out");
    const std::string singleOut = folder.path("single-out");
    // Outputs that cannot be opened: a folder stands where each would be written.
    for (const std::string& outdir : {fleetOut, singleOut}) {
        folder.blockOutput(outdir, "rack0/pass-0/inventory.ini");
        folder.blockOutput(outdir, "rack2/pass-14/policies.ini");
    }
    const std::string report = folder.path("report.jsonl");
    RunOutput fleet = runArrayplan(fleetArguments(folder, report, fleetOut, "4"));

    std::vector<json> rows = jsonLines(ReadWholeFile(report));
    std::map<std::string, std::vector<json>> rowsOf;
    for (const json& row : rows)
        rowsOf[row["inventory"].get<std::string>()].push_back(row);
    ASSERT_EQ(rowsOf.size(), relatives.size()) << fleet.out;

    std::set<int> codes;
    int firstFailure = 0;
    std::sort(relatives.begin(), relatives.end());
    for (const std::string& relative : relatives) {
        std::string inventory = folder.fleet() + "/" + relative;
        SingleRun alone = runAlone(folder, inventory, singleOut, relative);
        codes.insert(alone.status);
        firstFailure = firstFailure != 0 ? firstFailure : alone.status;
        const std::vector<json>& found = rowsOf[inventory];
        ASSERT_FALSE(found.empty()) << inventory;
        for (const json& row : found)
            EXPECT_EQ(row["code"], alone.status) << inventory;
        // The report of a run that read no controller has none; the fleet then gives one row without one.
        size_t controllers = alone.report.is_null() ? 0 : alone.report["controllers"].size();
        ASSERT_EQ(found.size(), std::max<size_t>(controllers, 1)) << inventory;
        for (size_t c = 0; c < controllers; ++c) {
            const json& expected = alone.report["controllers"][c];
            std::string policy = expected["policy"].is_null() ? "" : expected["policy"].get<std::string>();
            EXPECT_EQ(found[c]["policy"], policy) << inventory;
            EXPECT_EQ(found[c]["model"], expected["model"]) << inventory;
            EXPECT_EQ(found[c]["arrays"], arraysOfReport(expected)) << inventory;
            EXPECT_EQ(found[c]["wasted_mb"], expected["wasted_mb"]) << inventory;
        }
        // What a completed run writes, the fleet writes for the inventory too.
        if (alone.status == 0) {
            CString fleetOutputs(fleetOut.c_str()), singleOutputs(singleOut.c_str());
            EXPECT_EQ(ReadWholeFile(outputInventoryPath(fleetOutputs, relative).Str()),
                      ReadWholeFile(outputInventoryPath(singleOutputs, relative).Str()))
                << inventory;
        }
    }
    EXPECT_EQ(codes, (std::set<int>{0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13, 15, 16, 17, 19}));
    EXPECT_EQ(fleet.status, firstFailure);
    // Rows in path order.
    std::vector<std::string> order;
    for (const json& row : rows) {
        if (order.empty() || order.back() != row["inventory"])
            order.push_back(row["inventory"]);
    }
    EXPECT_TRUE(std::is_sorted(order.begin(), order.end()));
}

TEST(FleetCheck, OneWorkerAndFourWritesTheSameReport) {
    FleetFolder folder;
    const std::vector<FleetScenario>& scenarios = fleetScenarios();
    for (int i = 0; i < 120; ++i) {
        const FleetScenario& scenario = scenarios[static_cast<size_t>(i * 7) % scenarios.size()];
        folder.writeInventory("r" + std::to_string(i % 3) + "/s" + std::to_string(i) + ".ini", scenario.name,
                              i);
    }
    for (const char* format : {".csv", ".jsonl"}) {
        std::string one = folder.path(std::string("one") + format);
        std::string four = folder.path(std::string("four") + format);
        RunOutput first = runArrayplan(fleetArguments(folder, one, "", "1"));
        RunOutput second = runArrayplan(fleetArguments(folder, four, "", "4"));
        EXPECT_EQ(first.status, second.status) << format;
        EXPECT_EQ(first.out, second.out) << format;
        std::string report = ReadWholeFile(one);
        EXPECT_GE(std::count(report.begin(), report.end(), '\n'), 120) << format;
        EXPECT_EQ(report, ReadWholeFile(four)) << format;
    }
}

// The exit status is the code of the first failing inventory in path order, however the failures lie.
TEST(FleetCheck, ExitStatusIsTheFirstFailureInPathOrder) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> inventories; // relative path, scenario
        int status;
        const char* summary;
    };
    const Case cases[] = {
        {{{"a.ini", "pass"}, {"b.ini", "planned"}}, 0, "Inventories read: 2, passed: 2, failed: 0\n"},
        {{{"c.ini", "inventory-damaged"}, {"a.ini", "pass"}, {"b.ini", "drives"}},
         10,
         "Inventories read: 3, passed: 1, failed: 2\n"},
        // "b.ini" sorts before the folder "sub": its failure comes first although "sub/a.ini" is found first
        // by name.
        {{{"sub/a.ini", "no-policy"}, {"b.ini", "stripe"}, {"c.INI", "pass"}, {"d.txt", "drives"}},
         5,
         "Inventories read: 3, passed: 1, failed: 2\n"},
    };
    for (const Case& c : cases) {
        FleetFolder folder;
        for (const auto& [relative, scenario] : c.inventories)
            folder.writeInventory(relative, scenario, 1);
        RunOutput run = runArrayplan(fleetArguments(folder, folder.path("r.csv"), "", "2"));
        EXPECT_EQ(run.status, c.status) << c.summary;
        EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1), c.summary);
    }
}

TEST(FleetCheck, AnUnreadableInventoryAmongGoodOnesGivesOneRowWithItsCode) {
    FleetFolder folder;
    folder.writeInventory("a.ini", "pass", 0);
    folder.writeDeadLink("b.ini");
    folder.writeInventory("c.ini", "inventory-damaged", 0);
    folder.writeInventory("d.ini", "pass", 1);
    RunOutput run = runArrayplan(fleetArguments(folder, folder.path("r.csv"), "", ""));
    EXPECT_EQ(run.status, 12);
    std::string fleet = folder.fleet();
    EXPECT_EQ(ReadWholeFile(folder.path("r.csv")),
              "inventory,machine_type,serial_number,controller,model,policy,code,message,arrays,usable_mb,"
              "wasted_mb\n" +
                  fleet +
                  "/a.ini,OK,SN0,1,Vaultix-Q4,Policy.Ok,0,Validation Completed,A:5:1+2+3,140014,71007\n" +
                  fleet + "/b.ini,,,,,,12,Error opening input inventory file.,,,\n" + fleet +
                  "/c.ini,OK,SN0,,,,2,Error parsing input inventory file.,,,\n" + fleet +
                  "/d.ini,OK,SN1,1,Vaultix-Q4,Policy.Ok,0,Validation Completed,A:5:1+2+3,140014,142014\n");
    EXPECT_EQ(run.out, "Inventories read: 4, passed: 2, failed: 2\n"
                       "Code   0: 2  Validation Completed\n"
                       "Code   2: 1  Error parsing input inventory file.\n"
                       "Code  12: 1  Error opening input inventory file.\n");
}

// The whole fleet's failures: a policy file that is missing or does not parse, a folder that is not there,
// a report of no known kind, an output folder in the fleet folder.
TEST(FleetCheck, FailuresOfTheFleetAsAWhole) {
    struct Case {
        const char* name;
        std::string policyText; // empty: no policy file
        bool fleetFolder;
        const char* report;
        int status;
        std::string outdir = ""; // below the folder of the fleet
    };
    const Case cases[] = {
        {"no policy file", "", true, "r.csv", 11},
        {"policy file unparsable", "Garbage\n", true, "r.csv", 1},
        {"no fleet folder", fleetPolicyText(), false, "r.csv", 12},
        {"report of no kind", fleetPolicyText(), true, "r.txt", 18},
        {"outputs in the fleet folder", fleetPolicyText(), true, "r.csv", 13, "fleet"},
        {"outputs below the fleet folder", fleetPolicyText(), true, "r.csv", 13, "fleet/./out/more"},
        {"outputs beside the fleet folder", fleetPolicyText(), true, "r.csv", 0, "fleet-out"},
    };
    for (const Case& c : cases) {
        FleetFolder folder;
        folder.writeInventory("a.ini", "pass", 0);
        if (c.policyText.empty())
            fs::remove(folder.policies());
        else
            WriteWholeFile(folder.policies(), c.policyText);
        if (!c.fleetFolder)
            fs::remove_all(folder.fleet());
        std::string outdir = c.outdir.empty() ? "" : folder.path(c.outdir);
        RunOutput run = runArrayplan(fleetArguments(folder, folder.path(c.report), outdir, ""));
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.out;
    }
}

} // namespace
