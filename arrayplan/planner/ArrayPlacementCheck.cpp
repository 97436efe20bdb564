#include "arrayplan/planner/ArrayPlacementCheck.h"

#include <algorithm>

ArrayPlacementCheck::ArrayPlacementCheck(const CandidateLists& candidates, int firstArray,
                                         const std::map<int, int>& freeCounts) {
    int arrays = std::max(0, static_cast<int>(candidates.size()) - firstArray);
    all_ = (Mask{1} << arrays) - 1;
    std::map<int, SizeColumn> bySize;
    for (int j = 0; j < arrays; ++j) {
        for (const DriveCandidate& candidate : candidates[static_cast<size_t>(firstArray + j)]) {
            SizeColumn& column = bySize[candidate.size];
            if (column.counts.empty()) {
                auto free = freeCounts.find(candidate.size);
                column.size = candidate.size;
                column.free = free == freeCounts.end() ? 0 : free->second;
                column.counts.assign(static_cast<size_t>(arrays), -1);
            }
            // A size listed twice for one array: the smaller count is the one that can fit.
            int& count = column.counts[static_cast<size_t>(j)];
            count = count < 0 ? candidate.count : std::min(count, candidate.count);
            column.wanted |= Mask{1} << j;
        }
    }
    for (auto& entry : bySize)
        columns_.push_back(std::move(entry.second));

    MaskSet nothingPlaced(static_cast<size_t>(all_) + 1, 0);
    nothingPlaced[0] = 1;
    size_t count = columns_.size();
    before_.assign(count + 1, nothingPlaced);
    for (size_t t = 0; t < count; ++t)
        before_[t + 1] = extend(before_[t], columns_[t], columns_[t].free);
    after_.assign(count, nothingPlaced);
    for (size_t t = count; t-- > 1;)
        after_[t - 1] = extend(after_[t], columns_[t], columns_[t].free);
}

bool ArrayPlacementCheck::placeableAfterTaking(int driveSize, int numDrives) const {
    auto column = std::lower_bound(columns_.begin(), columns_.end(), driveSize,
                                   [](const SizeColumn& c, int size) { return c.size < size; });
    if (column == columns_.end() || column->size != driveSize)
        return before_.back()[all_] != 0;
    size_t t = static_cast<size_t>(column - columns_.begin());
    return joinable(before_[t], *column, column->free - numDrives, after_[t]);
}

long long ArrayPlacementCheck::demand(const SizeColumn& column, Mask group) const {
    long long total = 0;
    for (size_t j = 0; group != 0; ++j, group >>= 1) {
        if (group & 1)
            total += column.counts[j];
    }
    return total;
}

ArrayPlacementCheck::MaskSet ArrayPlacementCheck::extend(const MaskSet& held, const SizeColumn& column,
                                                         long long free) const {
    MaskSet result = held;
    for (Mask placed = 0; placed <= all_; ++placed) {
        if (!held[placed])
            continue;
        Mask choosable = column.wanted & ~placed;
        for (Mask group = choosable; group != 0; group = (group - 1) & choosable) {
            if (demand(column, group) <= free)
                result[placed | group] = 1;
        }
    }
    return result;
}

// Some set held before the column, a group that fits in the column and a set held after it that
// together place every array.
bool ArrayPlacementCheck::joinable(const MaskSet& before, const SizeColumn& column, long long free,
                                   const MaskSet& after) const {
    for (Mask placed = 0; placed <= all_; ++placed) {
        if (!before[placed])
            continue;
        Mask open = all_ & ~placed;
        Mask choosable = column.wanted & open;
        for (Mask group = choosable;; group = (group - 1) & choosable) {
            if ((group == 0 || demand(column, group) <= free) && after[open & ~group])
                return true;
            if (group == 0)
                break;
        }
    }
    return false;
}
