#include "arrayplan/planner/DriveDistribution.h"

#include "arrayplan/planner/ArrayPlacementCheck.h"

#include <memory>
#include <utility>

DriveDistribution::DriveDistribution(const CandidateLists& candidates, std::map<int, int> freeCounts,
                                     DistributionSteps& steps)
    : candidates_(candidates), free_(std::move(freeCounts)), steps_(steps), chosen_(candidates.size(), -1) {}

bool DriveDistribution::allocateArray(int arrayNum) {
    steps_.allocateArrayStarted(arrayNum);
    const std::vector<DriveCandidate>& candidates = candidates_[static_cast<size_t>(arrayNum)];
    // The drives free now stay free for every candidate tried here, so one check serves them all.
    std::unique_ptr<ArrayPlacementCheck> rest;
    if (static_cast<size_t>(arrayNum) + 1 < candidates_.size())
        rest = std::make_unique<ArrayPlacementCheck>(candidates_, arrayNum + 1, free_);
    for (size_t k = 0; k < candidates.size(); ++k) {
        if (tryCandidate(arrayNum, candidates[k], rest.get())) {
            chosen_[static_cast<size_t>(arrayNum)] = static_cast<int>(k);
            steps_.allocateArrayEnded(arrayNum, true);
            return true;
        }
    }
    steps_.allocateArrayEnded(arrayNum, false);
    return false;
}

// Reserves the candidate's drives and goes on with the next array; on failure the drives go back.
bool DriveDistribution::tryCandidate(int arrayNum, const DriveCandidate& candidate,
                                     ArrayPlacementCheck* rest) {
    int& free = free_[candidate.size];
    bool reserved = free >= candidate.count;
    steps_.reservePhysicalDrives(arrayNum, candidate.size, candidate.count, reserved);
    if (reserved) {
        free -= candidate.count;
        if (!rest)
            return true;
        if (rest->placeableAfterTaking(candidate.size, candidate.count) && allocateArray(arrayNum + 1))
            return true;
        free += candidate.count;
    }
    steps_.returnPhysicalDrives(arrayNum);
    return false;
}
