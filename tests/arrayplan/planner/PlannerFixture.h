// A controller, a planned policy and the controller's support file in a temporary folder, for running
// the planner on small layouts.
#pragma once

#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/Policy.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Levels "0" (1..16 drives), "1" (exactly 2, at most 2 logical drives), "5" (3..6), "10" (4..16);
// at most 2 hot spares and 3 arrays.
inline constexpr const char* kSupportFile =
    "[RAIDController]\nModel = Vaultix-Q4\nStripeSizes = 16K,64K\n"
    "MaxHotSpares = 2\nMaxArrays = 3\nRAIDLevels = 0,1,5,10\n"
    "[0]\nMinPhysicalDrives = 1\nMaxPhysicalDrives = 16\n"
    "[1]\nMinPhysicalDrives = 2\nMaxPhysicalDrives = 2\nMaxLogicalDrives = 2\n"
    "[5]\nMinPhysicalDrives = 3\nMaxPhysicalDrives = 6\n"
    "[10]\nMinPhysicalDrives = 4\nMaxPhysicalDrives = 16\n";

class PlannerTest : public testing::Test {
protected:
    PlannerTest() {
        dir_.Write("Vaultix-Q4.ini", kSupportFile);
        settings_.raidDirectory = (dir_.Path().string() + "/").c_str();
        policy_.markedForPlanning = true;
    }

    // count drives of size MB in the next free positions, channel 1 ID 0 onwards.
    void addDrives(int size, int count) {
        for (int i = 0; i < count; ++i, ++nextPosition_)
            controller_.setDrive(1 + nextPosition_ / 32, nextPosition_ % 32, size, "SCSI");
    }
    // An array entry: "AUTO" is 0, "#n" is n.
    void addArray(int driveCount) {
        auto array = std::make_unique<RaidArray>();
        array->addDriveNumber(driveCount);
        policy_.addArray(std::move(array));
    }
    RaidLogicalDrive* addLogical(int arrayIndex, int level, int size = kSizeFill) {
        auto logical = std::make_unique<RaidLogicalDrive>();
        logical->arrayIndex = arrayIndex;
        logical->raidLevel = level;
        logical->size = size;
        RaidLogicalDrive* added = logical.get();
        policy_.addLogicalDrive(std::move(logical));
        return added;
    }

    int plan();                                    // runs the planner, its output captured in out_
    std::vector<int> arrayDrives(int index) const; // the planned drive numbers of an array
    std::vector<int> hotSpares() const;
    int logicalSize(int index) const { return planned_.logicalDriveAt(index)->size; }

    TempDir dir_;
    RunSettings settings_;
    RaidController controller_{1, 4};
    Policy policy_{"Policy.Test"};
    Policy planned_;
    std::string out_;
    int nextPosition_ = 0;
};
