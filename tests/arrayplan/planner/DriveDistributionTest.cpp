#include "arrayplan/planner/DriveDistribution.h"
#include "arrayplan/planner/ArrayPlacementCheck.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace {

using FreeCounts = std::map<int, int>;

// The depth-first search without any cut: arrays in order, candidates in order, backtracking.
bool plainSearch(const CandidateLists& candidates, FreeCounts& free, size_t array, std::vector<int>& chosen) {
    for (size_t k = 0; k < candidates[array].size(); ++k) {
        const DriveCandidate& candidate = candidates[array][k];
        int& available = free[candidate.size];
        if (available < candidate.count)
            continue;
        available -= candidate.count;
        if (array + 1 == candidates.size() || plainSearch(candidates, free, array + 1, chosen)) {
            chosen[array] = static_cast<int>(k);
            return true;
        }
        available += candidate.count;
    }
    return false;
}

// Whether every array can take one of its candidates at once, by trying every combination.
bool placeable(const CandidateLists& candidates, size_t array, FreeCounts& free) {
    if (array == candidates.size())
        return true;
    for (const DriveCandidate& candidate : candidates[array]) {
        int& available = free[candidate.size];
        if (available < candidate.count)
            continue;
        available -= candidate.count;
        bool rest = placeable(candidates, array + 1, free);
        available += candidate.count;
        if (rest)
            return true;
    }
    return false;
}

// Mirrors the search's reservations the way the planner marks its pool, and checks them.
class RecordedSteps : public DistributionSteps {
public:
    explicit RecordedSteps(FreeCounts free) : free_(std::move(free)) {}

    void allocateArrayEnded(int arrayNum, bool found) override {
        if (!found && arrayNum > 0)
            ++deeperFailures;
    }
    void reservePhysicalDrives(int arrayNum, int driveSize, int numDrives, bool found) override {
        EXPECT_EQ(found, free_[driveSize] >= numDrives);
        if (found) {
            free_[driveSize] -= numDrives;
            reserved_[arrayNum] = DriveCandidate{driveSize, numDrives};
        }
    }
    void returnPhysicalDrives(int arrayNum) override {
        auto held = reserved_.find(arrayNum);
        if (held == reserved_.end())
            return;
        free_[held->second.size] += held->second.count;
        reserved_.erase(held);
    }

    std::map<int, DriveCandidate> reserved_;
    int deeperFailures = 0;

private:
    FreeCounts free_;
};

struct RandomLayout {
    CandidateLists candidates;
    FreeCounts free;
};

RandomLayout randomLayout(std::mt19937& random) {
    auto uniform = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    RandomLayout layout;
    int sizes = uniform(1, 6);
    for (int s = 1; s <= sizes; ++s)
        layout.free[100 * s] = uniform(0, 4);
    layout.candidates.resize(static_cast<size_t>(uniform(1, 6)));
    for (std::vector<DriveCandidate>& list : layout.candidates) {
        for (int s = 1; s <= sizes + 1; ++s) { // the last size has no drives at all
            if (uniform(0, 9) < 6)
                list.push_back(DriveCandidate{100 * s, uniform(1, 3)});
        }
    }
    return layout;
}

TEST(DriveDistribution, FindsTheFirstSolutionOfThePlainSearchWithoutFailingDeeper) {
    std::mt19937 random(20240611);
    int solved = 0;
    for (int round = 0; round < 4000; ++round) {
        RandomLayout layout = randomLayout(random);
        FreeCounts plainFree = layout.free;
        std::vector<int> expected(layout.candidates.size(), -1);
        bool expectFound = plainSearch(layout.candidates, plainFree, 0, expected);

        RecordedSteps steps(layout.free);
        DriveDistribution search(layout.candidates, layout.free, steps);
        ASSERT_EQ(search.allocateArray(0), expectFound) << "round " << round;
        EXPECT_EQ(steps.deeperFailures, 0) << "round " << round;
        if (!expectFound) {
            EXPECT_TRUE(steps.reserved_.empty()) << "round " << round;
            continue;
        }
        ++solved;
        for (size_t i = 0; i < expected.size(); ++i) {
            int arrayNum = static_cast<int>(i);
            ASSERT_EQ(search.chosenCandidate(arrayNum), expected[i]) << "round " << round << ", array " << i;
            const DriveCandidate& chosen = layout.candidates[i][static_cast<size_t>(expected[i])];
            EXPECT_EQ(steps.reserved_[arrayNum].size, chosen.size);
            EXPECT_EQ(steps.reserved_[arrayNum].count, chosen.count);
        }
    }
    EXPECT_GT(solved, 1000) << "the rounds should mix solvable and unsolvable layouts";
    EXPECT_LT(solved, 3500);
}

TEST(ArrayPlacementCheck, AgreesWithTryingEveryCombination) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        RandomLayout layout = randomLayout(random);
        ArrayPlacementCheck check(layout.candidates, 0, layout.free);
        for (const auto& [size, free] : layout.free) {
            for (int taken = 0; taken <= free; ++taken) {
                FreeCounts after = layout.free;
                after[size] -= taken;
                ASSERT_EQ(check.placeableAfterTaking(size, taken), placeable(layout.candidates, 0, after))
                    << "round " << round << ", " << taken << " of " << size << " taken";
            }
        }
        FreeCounts unchanged = layout.free;
        EXPECT_EQ(check.placeableAfterTaking(99, 1), placeable(layout.candidates, 0, unchanged))
            << "a size no array wants changes nothing";
    }
}

} // namespace
