// The candidate listing of a planned array gives the planner's own verdict: a size listed as a candidate
// is one with which the planner builds the array, and each rejection names the rule that the planner
// applied.
#include "arrayplan/planner/CandidateSizes.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/planner/PolicyConverter.h"
#include "arrayplan/policy/Policy.h"
#include "support/ConsoleCapture.h"
#include "tests/arrayplan/planner/PlannerFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

struct Drives {
    int count;
    int size;
};

struct CandidateCase {
    std::vector<Drives> drives;
    int level;
    int count; // 0: AUTO
    int logicalMb;
    int hotSpares; // AppliesTo::kNotGiven when the policy gives none
    ResultCode planned;
    const char* line; // one line of the listing
};

// Against kSupportFile: "1" takes exactly 2 drives, "5" 3 to 6, at most 2 hot spares.
const CandidateCase kCases[] = {
    {{{3, 100000}},
     kRaid5,
     3,
     150000,
     -25,
     ResultCode::Success,
     "    100000 MB, 3 free: a candidate with 3 drives"},
    {{{3, 100000}},
     kRaid5,
     3,
     250000,
     -25,
     ResultCode::NotEnoughSameSizeDrives,
     "    100000 MB, 3 free: rejected: 3 drives hold 200000 MB, less than the 250000 MB of the logical "
     "drives"},
    {{{4, 100000}},
     kRaid5,
     0,
     250000,
     -25,
     ResultCode::Success,
     "    100000 MB, 4 free: a candidate with 4 drives"},
    {{{4, 100000}},
     kRaid5,
     0,
     350000,
     -25,
     ResultCode::NotEnoughSameSizeDrives,
     "    100000 MB, 4 free: rejected: all 4 drives hold only 300000 MB, less than the 350000 MB of the "
     "logical "
     "drives"},
    {{{3, 100000}},
     kRaid1,
     0,
     150000,
     -25,
     ResultCode::NotEnoughSameSizeDrives,
     "    100000 MB, 3 free: rejected: 2 drives hold 100000 MB, less than the 150000 MB of the logical "
     "drives"},
    {{{1, 100000}, {1, 200000}},
     kRaid0,
     2,
     0,
     -25,
     ResultCode::NotEnoughSameSizeDrives,
     "    200000 MB, 1 free: rejected: too few free drives of this size (2 needed)"},
    {{{3, 100000}, {1, 200000}},
     kRaid5,
     3,
     0,
     1,
     ResultCode::Success,
     "Hot spares taken first, the largest drives: drive 4 (200000 MB)."},
    {{{4, 100000}},
     kRaid5,
     3,
     0,
     2,
     ResultCode::NotEnoughSameSizeDrives,
     "    100000 MB, 2 free: rejected: too few free drives of this size (3 needed)"},
    {{{1, 100000}},
     kRaid0,
     0,
     0,
     2,
     ResultCode::NoDrivesForHotSpares,
     "Hot spares: 2 asked for, but the controller has only 1 drive."},
    {{{8, 100000}},
     kRaid5,
     7,
     0,
     -25,
     ResultCode::ArrayDrivesUnsupported,
     "Array.A, RAID 5, 7 drives: the support file allows at most 6 drives for RAID 5."},
};

bool listsACandidate(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find(": a candidate with ") != std::string::npos;
    });
}

TEST(CandidateSizes, TheListingAgreesWithThePlannerAndNamesTheRuleOfEachRejection) {
    TempDir dir;
    dir.Write("Vaultix-Q4.ini", kSupportFile);
    RunSettings settings;
    settings.raidDirectory = (dir.Path().string() + "/").c_str();
    ConsoleCapture capture;
    ControllerIni ini(settings.raidDirectory, "Vaultix-Q4", settings.console(), settings.fileSystem());
    ASSERT_TRUE(ini.load());
    for (const CandidateCase& row : kCases) {
        RaidController controller(1, 4);
        int id = 0;
        for (const Drives& drives : row.drives) {
            for (int i = 0; i < drives.count; ++i)
                controller.setDrive(1, id++, drives.size, "SCSI");
        }
        Policy policy("Policy.Test");
        policy.markedForPlanning = true;
        policy.arrayDefaultHotSpares = row.hotSpares;
        auto array = std::make_unique<RaidArray>();
        array->addDriveNumber(row.count);
        policy.addArray(std::move(array));
        auto logical = std::make_unique<RaidLogicalDrive>();
        logical->arrayIndex = 0;
        logical->raidLevel = row.level;
        logical->size = row.logicalMb > 0 ? row.logicalMb : kSizeFill;
        policy.addLogicalDrive(std::move(logical));

        std::vector<std::string> lines = candidateSizeLines(ini, controller, policy);
        std::string listing;
        for (const std::string& line : lines)
            listing += line + "\n";
        EXPECT_NE(std::find(lines.begin(), lines.end(), row.line), lines.end()) << row.line << "\n"
                                                                                << listing;
        Policy copy(policy);
        ResultCode code = PolicyConverter(settings, copy, controller).runConverter();
        EXPECT_EQ(code, row.planned) << listing;
        EXPECT_EQ(listsACandidate(lines), code == ResultCode::Success) << listing;
    }
}

} // namespace
