// The distribution of drive sizes between the arrays: a depth-first search over the arrays in policy
// order, each trying its candidates in order (smallest size first) and backtracking when a later
// array cannot be built. Before it descends, the search checks that the arrays after the current one
// can still be placed together; a branch that fails that check could only fail, so the first solution
// found is the one the unpruned search finds, without its exponential failures.
#pragma once

#include "arrayplan/planner/PlannerRecords.h"

#include <cstddef>
#include <map>
#include <vector>

class ArrayPlacementCheck;

// What the search does, step by step, so that the caller can trace it and mark its own drives.
class DistributionSteps {
public:
    virtual ~DistributionSteps() = default;
    virtual void allocateArrayStarted(int /*arrayNum*/) {}
    virtual void allocateArrayEnded(int /*arrayNum*/, bool /*found*/) {}
    // The search has decided whether numDrives free drives of driveSize exist (found).
    virtual void reservePhysicalDrives(int /*arrayNum*/, int /*driveSize*/, int /*numDrives*/,
                                       bool /*found*/) {}
    virtual void returnPhysicalDrives(int /*arrayNum*/) {}
};

class DriveDistribution {
public:
    // freeCounts: the free drives per size before the search.
    DriveDistribution(const CandidateLists& candidates, std::map<int, int> freeCounts,
                      DistributionSteps& steps);

    // The search from arrayNum on; distribute from array 0.
    bool allocateArray(int arrayNum);

    // The index of the candidate taken by the array after a successful search.
    int chosenCandidate(int arrayNum) const { return chosen_[static_cast<size_t>(arrayNum)]; }

private:
    bool tryCandidate(int arrayNum, const DriveCandidate& candidate, ArrayPlacementCheck* rest);

    const CandidateLists& candidates_;
    std::map<int, int> free_;
    DistributionSteps& steps_;
    std::vector<int> chosen_;
};
