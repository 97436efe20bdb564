#include "arrayplan/planner/ArrayPlacementCheck.h"

#include <algorithm>
#include <bit>

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
    options_.resize(static_cast<size_t>(arrays));
    for (int j = 0; j < arrays; ++j) {
        for (const DriveCandidate& candidate : candidates[static_cast<size_t>(firstArray + j)])
            options_[static_cast<size_t>(j)].push_back(Option{columnOf(candidate.size), candidate.count});
    }
}

bool ArrayPlacementCheck::placeableAfterTaking(int driveSize, int numDrives) {
    size_t changed = columnOf(driveSize);
    long long changedFree = changed == kNoColumn ? 0 : columns_[changed].free - numDrives;
    if (!everyArrayHasRoom(changed, changedFree))
        return false;
    if (firstFitPlacesAll(changed, changedFree))
        return true;
    sweep();
    if (changed == kNoColumn)
        return before_.back()[all_] != 0;
    return joinable(before_[changed], columns_[changed], changedFree, after_[changed]);
}

size_t ArrayPlacementCheck::columnOf(int driveSize) const {
    auto column = std::lower_bound(columns_.begin(), columns_.end(), driveSize,
                                   [](const SizeColumn& c, int size) { return c.size < size; });
    if (column == columns_.end() || column->size != driveSize)
        return kNoColumn;
    return static_cast<size_t>(column - columns_.begin());
}

long long ArrayPlacementCheck::freeIn(size_t column, size_t changed, long long changedFree) const {
    return column == changed ? changedFree : columns_[column].free;
}

bool ArrayPlacementCheck::everyArrayHasRoom(size_t changed, long long changedFree) const {
    for (const std::vector<Option>& options : options_) {
        bool room = std::any_of(options.begin(), options.end(), [&](const Option& option) {
            return option.count <= freeIn(option.column, changed, changedFree);
        });
        if (!room)
            return false;
    }
    return true;
}

// The first candidate that fits, array by array: when that places every array, the answer is yes.
bool ArrayPlacementCheck::firstFitPlacesAll(size_t changed, long long changedFree) const {
    std::vector<long long> free(columns_.size());
    for (size_t t = 0; t < columns_.size(); ++t)
        free[t] = freeIn(t, changed, changedFree);
    for (const std::vector<Option>& options : options_) {
        auto fit = std::find_if(options.begin(), options.end(),
                                [&](const Option& option) { return option.count <= free[option.column]; });
        if (fit == options.end())
            return false;
        free[fit->column] -= fit->count;
    }
    return true;
}

void ArrayPlacementCheck::sweep() {
    if (swept_)
        return;
    swept_ = true;
    for (SizeColumn& column : columns_) {
        column.demand.assign(static_cast<size_t>(all_) + 1, 0);
        for (Mask group = 1; group <= all_; ++group) {
            if ((group & column.wanted) == group)
                column.demand[group] = column.demand[group & (group - 1)] +
                                       column.counts[static_cast<size_t>(std::countr_zero(group))];
        }
    }
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

ArrayPlacementCheck::MaskSet ArrayPlacementCheck::extend(const MaskSet& held, const SizeColumn& column,
                                                         long long free) const {
    MaskSet result = held;
    for (Mask placed = 0; placed <= all_; ++placed) {
        if (!held[placed])
            continue;
        Mask choosable = column.wanted & ~placed;
        for (Mask group = choosable; group != 0; group = (group - 1) & choosable) {
            if (column.demand[group] <= free)
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
            if ((group == 0 || column.demand[group] <= free) && after[open & ~group])
                return true;
            if (group == 0)
                break;
        }
    }
    return false;
}
