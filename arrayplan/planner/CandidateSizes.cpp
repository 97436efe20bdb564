#include "arrayplan/planner/CandidateSizes.h"

#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/planner/DataSpace.h"
#include "arrayplan/planner/DrivePool.h"
#include "arrayplan/policy/Policy.h"

#include <algorithm>
#include <map>

namespace {

// What the policy asks of one array.
struct ArrayRequest {
    int level = kRaidLevelNotSet;
    int asked = 0;           // the "#n" count; 0 for AUTO
    long long logicalMb = 0; // the sizes in MB of the array's logical drives, added up
};

ArrayRequest requestOf(const Policy& policy, int arrayIndex) {
    ArrayRequest request;
    bool levelSeen = false;
    for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
        if (logical->arrayIndex != arrayIndex)
            continue;
        if (!levelSeen)
            request.level = logical->raidLevel;
        levelSeen = true;
        if (logical->size > 0)
            request.logicalMb += logical->size;
    }
    const int* count = policy.arrayAt(arrayIndex)->driveNumbers.at(0);
    request.asked = count ? *count : 0;
    return request;
}

std::string levelName(int level) {
    const char* text = raidLevelText(level);
    return *text ? std::string("RAID ") + text : "no RAID level";
}

std::string mb(long long size) {
    return std::to_string(size) + " MB";
}

// Why drives of size (free of them) cannot form the array, or how many it takes (count set): the
// planner's tests.
std::string verdict(const ArrayRequest& request, int needed, int size, int free, int& count) {
    count = 0;
    if (free < needed)
        return "rejected: too few free drives of this size (" + std::to_string(needed) + " needed)";
    for (int drives = needed;; ++drives) {
        long long space = dataSpace(drives, size, request.level);
        if (space >= request.logicalMb) {
            count = drives;
            return "a candidate with " + std::to_string(drives) + " drives";
        }
        if (request.asked != 0 || request.level == kRaid1)
            return "rejected: " + std::to_string(drives) + " drives hold " + mb(space) + ", less than the " +
                   mb(request.logicalMb) + " of the logical drives";
        if (drives + 1 > free)
            return "rejected: all " + std::to_string(free) + " drives hold only " + mb(space) +
                   ", less than the " + mb(request.logicalMb) + " of the logical drives";
    }
}

int freeOf(const std::map<int, int>& free, int size) {
    auto found = free.find(size);
    return found == free.end() ? 0 : found->second;
}

std::string driveSummary(const std::map<int, int>& counts) {
    std::string text;
    for (const auto& [size, count] : counts)
        text += (text.empty() ? "" : ", ") + std::to_string(count) + " x " + mb(size);
    return text.empty() ? "none" : text;
}

std::map<int, int> allCounts(const DrivePool& pool) {
    std::map<int, int> counts;
    for (int i = 0; i < pool.size(); ++i)
        ++counts[pool.at(i).size];
    return counts;
}

// The planner's hot spares: false, with the reason added, when it cannot take them.
bool takeHotSpares(const ControllerIni& ini, const Policy& policy, DrivePool& pool,
                   std::vector<std::string>& lines) {
    if (policy.arrayDefaultHotSpares <= 0)
        return true;
    int count = std::min({policy.arrayDefaultHotSpares, ini.maxHotSpares(), Policy::kMaxHotSpares});
    if (count > pool.size()) {
        lines.push_back("Hot spares: " + std::to_string(count) + " asked for, but the controller has only " +
                        std::to_string(pool.size()) + (pool.size() == 1 ? " drive." : " drives."));
        return false;
    }
    std::string taken;
    for (int i = 0; i < count; ++i) {
        const RaidPhysicalDrive& drive = pool.at(pool.allocateLargest());
        taken += (taken.empty() ? "" : ", ") + ("drive " + std::to_string(drive.drvNum)) + " (" +
                 mb(drive.size) + ")";
    }
    lines.push_back("Hot spares taken first, the largest drives: " + taken + ".");
    return true;
}

// The drives each candidate size would give an array.
using Candidates = std::map<int, int>;

// The array's heading and one line per drive size; its candidates are returned.
Candidates listArray(const ControllerIni& ini, const Policy& policy, int arrayIndex,
                     const std::map<int, int>& sizes, const std::map<int, int>& free,
                     std::vector<std::string>& lines) {
    ArrayRequest request = requestOf(policy, arrayIndex);
    std::string heading = std::string("Array.") + arrayLetter(arrayIndex) + ", " + levelName(request.level);
    if (!ini.raidLevelSupported(request.level)) {
        lines.push_back(heading + ": the support file does not list this RAID level.");
        return {};
    }
    int needed = request.asked != 0 ? request.asked : ini.minPhysicalDrives(request.level);
    heading += request.asked != 0 ? ", " + std::to_string(needed) + " drives"
                                  : ", AUTO (at least " + std::to_string(needed) + " drives)";
    if (request.logicalMb > 0)
        heading += ", logical drives of " + mb(request.logicalMb);
    int most = ini.maxPhysicalDrives(request.level);
    if (needed > most) {
        lines.push_back(heading + ": the support file allows at most " + std::to_string(most) +
                        " drives for " + levelName(request.level) + ".");
        return {};
    }
    lines.push_back(heading + ":");
    needed = std::max(needed, 1);
    Candidates candidates;
    for (const auto& [size, total] : sizes) {
        int freeCount = freeOf(free, size);
        int count = 0;
        std::string line = verdict(request, needed, size, freeCount, count);
        if (count > 0)
            candidates[size] = count;
        lines.push_back("    " + mb(size) + ", " + std::to_string(freeCount) + " free: " + line);
    }
    return candidates;
}

// Sizes that several arrays want more of than are free: where the arrays compete.
void addCompetition(const std::vector<Candidates>& arrays, const std::map<int, int>& free,
                    std::vector<std::string>& lines) {
    for (const auto& [size, freeCount] : free) {
        std::string wanting;
        int wanted = 0;
        int arraysWanting = 0;
        for (size_t i = 0; i < arrays.size(); ++i) {
            auto found = arrays[i].find(size);
            if (found == arrays[i].end())
                continue;
            wanting += (wanting.empty() ? "" : ", ") + std::string("Array.") +
                       arrayLetter(static_cast<int>(i)) + " " + std::to_string(found->second);
            wanted += found->second;
            ++arraysWanting;
        }
        if (arraysWanting > 1 && wanted > freeCount)
            lines.push_back("The arrays compete for the " + std::to_string(freeCount) + " free drives of " +
                            mb(size) + " (" + wanting + ").");
    }
}

} // namespace

std::string drivesLine(const RaidController& controller) {
    DrivePool pool;
    pool.importDrives(controller);
    return "Drives: " + driveSummary(allCounts(pool)) + ".";
}

std::vector<std::string> candidateSizeLines(const ControllerIni& ini, const RaidController& controller,
                                            const Policy& policy) {
    DrivePool pool;
    pool.importDrives(controller);
    std::map<int, int> sizes = allCounts(pool);
    std::vector<std::string> lines = {drivesLine(controller)};
    if (!takeHotSpares(ini, policy, pool, lines))
        return lines;
    if (policy.arrayCount() > ini.maxArrays()) {
        lines.push_back(std::to_string(policy.arrayCount()) + " arrays asked for, the support file allows " +
                        std::to_string(ini.maxArrays()) + ".");
        return lines;
    }
    std::map<int, int> free = pool.freeCounts();
    std::vector<Candidates> arrays;
    for (int i = 0; i < policy.arrayCount(); ++i)
        arrays.push_back(listArray(ini, policy, i, sizes, free, lines));
    addCompetition(arrays, free, lines);
    return lines;
}
