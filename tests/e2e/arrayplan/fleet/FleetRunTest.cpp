// The fleet check of the built program on a small fleet: its report, its summary (and nothing else on an
// output that is no terminal), its exit status, and the outputs it writes for each inventory, which are
// those of a single run.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

std::string sourceText(const std::string& relative) {
    return ReadWholeFile(std::string(KIT_SOURCE_DIR) + "/" + relative);
}

// A generated policy file without its capture date and time, which differ from run to run.
std::string withoutCaptureTime(const std::string& text) {
    std::istringstream lines(text);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("; * Captured on", 0) != 0 && line.rfind("; * System time", 0) != 0)
            kept += line + "\n";
    }
    return kept;
}

// Three inventories: one that passes, one that no policy applies to, one without controllers.
class FleetRun : public testing::Test {
protected:
    FleetRun() {
        dir_.Write("fleet/rack1/a.ini", sourceText("examples/arrayplan/inventory.ini"));
        dir_.Write("fleet/rack2/b.ini", sourceText("examples/arrayplan/rack-inventory.ini"));
        dir_.Write("fleet/c.ini", "[System]\nMachine_Type = 1\n");
        dir_.Write("fleet/notes.txt", sourceText("examples/arrayplan/inventory.ini"));
        dir_.Write("policies.ini", sourceText("examples/arrayplan/policies.ini"));
        dir_.CopyIn(std::string(KIT_SOURCE_DIR) + "/data/raid", "raid");
    }

    ProgramResult run(const std::vector<std::string>& switches) {
        std::vector<std::string> arguments = {"/fleet:fleet", "/inp:policies.ini", "/raid:raid"};
        arguments.insert(arguments.end(), switches.begin(), switches.end());
        return RunProgram(BuiltProgram("arrayplan"), arguments, dir_.Path().string());
    }

    // A relative path as the program writes it.
    static std::string native(std::string path) {
        for (char& c : path)
            c = c == '/' ? ProgramSeparator() : c;
        return path;
    }

    TempDir dir_;
};

TEST_F(FleetRun, ReportsEveryInventoryInPathOrderWithASummary) {
    ProgramResult result = run({"/report:report.csv", "/jobs:2"});
    EXPECT_EQ(result.status, 3); // "c.ini" sorts first and fails
    EXPECT_EQ(result.out, "Inventories read: 3, passed: 1, failed: 2\n"
                          "Code   0: 1  Validation Completed\n"
                          "Code   3: 1  Unsupported controller type\n"
                          "Code  19: 1  No Policy found that applies to input inventory\n");
    const std::string noPolicy = ",19,No Policy found that applies to input inventory,,0,";
    EXPECT_EQ(ReadProgramText(dir_ / "report.csv"),
              "inventory,machine_type,serial_number,controller,model,policy,code,message,arrays,usable_mb,"
              "wasted_mb\n" +
                  native("fleet/c.ini") + ",1,,,,,3,Unsupported controller type,,,\n" +
                  native("fleet/rack1/a.ini") +
                  ",8837,KQ4711X,1,Vaultix-Q4,Policy.FileServer-Q4,0,Validation Completed,A:5:1+2+3 B:1:4+5,"
                  "280027,0\n" +
                  native("fleet/rack1/a.ini") +
                  ",8837,KQ4711X,2,Vaultix-M1,Policy.Planned-M1,0,Validation Completed,A:10:1+2+3+4 "
                  "B:1:5+6,1526073,0\n" +
                  native("fleet/rack2/b.ini") + ",7979,RK20817,1,Vaultix controller," + noPolicy +
                  "1487300\n" + native("fleet/rack2/b.ini") + ",7979,RK20817,2,Corvane-SAS-RAID," + noPolicy +
                  "367000\n" + native("fleet/rack2/b.ini") + ",7979,RK20817,3,Vaultix-R2-SCSI," + noPolicy +
                  "72800\n");
}

TEST_F(FleetRun, WritesEachInventorysOutputsAsASingleRunDoes) {
    ProgramResult fleet = run({"/report:report.jsonl", "/outdir:out"});
    ASSERT_EQ(fleet.status, 3) << fleet.out;
    ProgramResult single = RunProgram(BuiltProgram("arrayplan"),
                                      {"/ini:fleet/rack1/a.ini", "/inp:policies.ini", "/outi:single.ini",
                                       "/outp:single-policies.ini", "/raid:raid"},
                                      dir_.Path().string());
    ASSERT_EQ(single.status, 0) << single.out;
    EXPECT_EQ(ReadProgramText(dir_ / "out/rack1/a/inventory.ini"), ReadProgramText(dir_ / "single.ini"));
    std::string policies = withoutCaptureTime(ReadProgramText(dir_ / "out/rack1/a/policies.ini"));
    EXPECT_NE(policies.find("[Policy.AUTO-Vaultix-M1-1]"), std::string::npos) << policies;
    EXPECT_EQ(policies, withoutCaptureTime(ReadProgramText(dir_ / "single-policies.ini")));
    // The runs that failed wrote nothing.
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out/rack2/b/inventory.ini"));
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out/c/inventory.ini"));
}

TEST_F(FleetRun, BadCommandLinesAreRefusedWithTheUsage) {
    const struct {
        std::vector<std::string> switches;
        int status;
    } cases[] = {
        {{}, 18},                                    // no report
        {{"/report:r.csv", "/ini:fleet/c.ini"}, 18}, // a single run's inventory
        {{"/report:r.csv", "/jobs:0"}, 18},
        {{"/report:r.txt"}, 18}, // no report kind
    };
    for (const auto& c : cases) {
        ProgramResult result = run(c.switches);
        EXPECT_EQ(result.status, c.status) << result.out;
        EXPECT_NE(result.out.find("Unknown parameter."), std::string::npos) << result.out;
        EXPECT_FALSE(std::filesystem::exists(dir_ / "r.csv"));
    }
}

} // namespace
