// Whether a group of arrays can all get their drives at once: every array takes one of its candidates,
// and arrays that take the same size must fit in that size's free drives together.
//
// The answer is exact. Most questions are settled at once: an array without a candidate that still
// fits means no, and taking the first candidate that fits, array by array, often means yes. The rest
// is answered by a sweep over the sizes that records which sets of arrays the sizes seen so far can
// hold, from both ends, so that a question may change the free count of one size and still be
// answered by one join. Its cost is (number of sizes) x 3^(number of arrays), cheap for the few arrays
// a policy plans (one per logical drive, so at most eight).
#pragma once

#include "arrayplan/planner/PlannerRecords.h"

#include <cstddef>
#include <map>
#include <vector>

class ArrayPlacementCheck {
public:
    // The arrays from firstArray to the last of candidates, with the free drives per size.
    ArrayPlacementCheck(const CandidateLists& candidates, int firstArray,
                        const std::map<int, int>& freeCounts);

    // Whether those arrays can all be placed once numDrives more drives of driveSize are taken.
    bool placeableAfterTaking(int driveSize, int numDrives);

private:
    using Mask = unsigned;
    using MaskSet = std::vector<char>; // indexed by a set of arrays (bit j: the j-th array checked)
    static constexpr size_t kNoColumn = static_cast<size_t>(-1);

    // One drive size: its free drives and what each array would take of it (-1: not a candidate).
    struct SizeColumn {
        int size = 0;
        long long free = 0;
        Mask wanted = 0;
        std::vector<int> counts;
        std::vector<long long> demand; // per set of arrays that want the size, filled by the sweep
    };
    struct Option {
        size_t column;
        int count;
    };

    size_t columnOf(int driveSize) const;
    long long freeIn(size_t column, size_t changed, long long changedFree) const;
    bool everyArrayHasRoom(size_t changed, long long changedFree) const;
    bool firstFitPlacesAll(size_t changed, long long changedFree) const;

    void sweep();
    // held plus every set that adds to a held set a group of other arrays that fits in free drives.
    MaskSet extend(const MaskSet& held, const SizeColumn& column, long long free) const;
    bool joinable(const MaskSet& before, const SizeColumn& column, long long free,
                  const MaskSet& after) const;

    Mask all_ = 0;
    std::vector<SizeColumn> columns_;          // ascending sizes
    std::vector<std::vector<Option>> options_; // per array, its candidates in order
    bool swept_ = false;
    std::vector<MaskSet> before_; // before_[t]: the sets that columns 0 .. t-1 can hold
    std::vector<MaskSet> after_;  // after_[t]: the sets that columns t+1 .. last can hold
};
