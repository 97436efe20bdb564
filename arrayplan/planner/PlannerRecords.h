// The planner's own records: a drive of the pool and an array being planned.
#pragma once

#include <vector>

class RaidLogicalDrive;

struct RaidPhysicalDrive {
    static constexpr int kNotReserved = 255;

    int channel = 0;
    int id = 0;
    int size = 0;   // MB
    int drvNum = 0; // the drive's number among the occupied positions of channels 1 to 4
    bool allocated = false;
    int reservedArray = kNotReserved;
};

// One way to build an array: count drives of one size.
struct DriveCandidate {
    int size = 0;
    int count = 0;
};
using CandidateLists = std::vector<std::vector<DriveCandidate>>; // per array, in search order

struct PlannedArray {
    int raidLevel = -1;
    std::vector<int> members;                     // pool indices, in the order they were added
    std::vector<RaidLogicalDrive*> logicalDrives; // the policy's records, borrowed
    std::vector<int> candidateSizes;              // ascending
    std::vector<int> candidateCounts;
    int driveSize = 0;
    int driveCount = 0;
};
