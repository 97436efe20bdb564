#include "arrayplan/planner/PolicyChanges.h"

#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/MatchTrace.h"
#include "arrayplan/policy/PolicyKeywordLines.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

std::string letterOf(int arrayIndex) {
    return std::string(1, arrayLetter(arrayIndex));
}

std::string levelName(int level) {
    return std::string("RAID ") + raidLevelText(level);
}

// The policy with its first arrays and logical drives only, and its first AppliesTo entry replaced when
// one is given: the changes that drop a record, which the policy's slot sets cannot do in place.
Policy rebuilt(const Policy& policy, int arrays, int logicals, const AppliesToEntry* firstEntry = nullptr) {
    Policy copy(policy.name);
    copy.markedForPlanning = policy.markedForPlanning;
    copy.maxLogicalDriveSize = policy.maxLogicalDriveSize;
    copy.rebuildRate = policy.rebuildRate;
    copy.readAhead = policy.readAhead;
    copy.stripeSize = policy.stripeSize;
    copy.arrayMode = policy.arrayMode;
    copy.setArrayDefaults(policy.arrayDefaultVariance, policy.arrayDefaultHotSpares);
    copy.logicalMode = policy.logicalMode;
    copy.init = policy.init;
    for (int i = 0; const AppliesToEntry* entry = policy.appliesToAt(i); ++i)
        (void)copy.addAppliesTo(i == 0 && firstEntry ? *firstEntry : *entry);
    for (int i = 0; i < arrays; ++i)
        (void)copy.addArray(std::make_unique<RaidArray>(*policy.arrayAt(i)));
    for (int i = 0; const RaidHotSpare* spare = policy.hotSpareAt(i); ++i)
        (void)copy.addHotSpare(std::make_unique<RaidHotSpare>(*spare));
    for (int i = 0; i < logicals; ++i)
        (void)copy.addLogicalDrive(std::make_unique<RaidLogicalDrive>(*policy.logicalDriveAt(i)));
    if (const RaidLogicalDrive* defaults = policy.logicalDefaults())
        copy.setLogicalDefaults(std::make_unique<RaidLogicalDrive>(*defaults));
    return copy;
}

// The logical drives on an array, by index.
std::vector<int> logicalsOn(const Policy& policy, int arrayIndex) {
    std::vector<int> found;
    for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
        if (logical->arrayIndex == arrayIndex)
            found.push_back(k);
    }
    return found;
}

void addHotSpareChanges(const Policy& policy, std::vector<PolicyChange>& changes) {
    // Array_Defaults is written only when the policy gives it: its variance would change otherwise.
    for (int count = policy.arrayDefaultHotSpares - 1; count >= 0; --count) {
        PolicyChange change{count + 1 == policy.arrayDefaultHotSpares
                                ? "one hot spare fewer"
                                : std::to_string(count) + " hot spares instead of " +
                                      std::to_string(policy.arrayDefaultHotSpares),
                            "Array_Defaults",
                            {},
                            policy};
        change.changed.arrayDefaultHotSpares = count;
        change.lines = {arrayDefaultsLine(change.changed)};
        changes.push_back(std::move(change));
    }
    for (int drop = 0; drop < policy.hotSpareCount(); ++drop) {
        PolicyChange change{
            "without the hot spare " + hotSpareItem(*policy.hotSpareAt(drop)), "Hotspares", {}, policy};
        change.changed.removeAllHotSpares();
        for (int i = 0; const RaidHotSpare* spare = policy.hotSpareAt(i); ++i) {
            if (i != drop)
                (void)change.changed.addHotSpare(std::make_unique<RaidHotSpare>(*spare));
        }
        change.lines = {change.changed.hotSpareCount() > 0 ? hotSparesLine(change.changed)
                                                           : "remove Hotspares"};
        changes.push_back(std::move(change));
    }
}

// Counts nearest to the asked one first, fewer before more.
std::vector<int> nearbyCounts(int asked, int most) {
    std::vector<int> counts;
    for (int count = 1; count <= most; ++count) {
        if (count != asked)
            counts.push_back(count);
    }
    std::stable_sort(counts.begin(), counts.end(),
                     [asked](int a, int b) { return std::abs(a - asked) < std::abs(b - asked); });
    return counts;
}

void addPlannedCountChanges(const Policy& policy, const ControllerIni& ini, int arrayIndex,
                            std::vector<PolicyChange>& changes) {
    const RaidArray& asRead = *policy.arrayAt(arrayIndex);
    int asked = asRead.driveNumbers.empty() ? 0 : *asRead.driveNumbers.at(0);
    std::vector<int> logicals = logicalsOn(policy, arrayIndex);
    int level = logicals.empty() ? kRaidLevelNotSet : policy.logicalDriveAt(logicals[0])->raidLevel;
    int most = std::min(ini.maxPhysicalDrives(level), kMaxArrayMembers);
    std::string array = "Array." + letterOf(arrayIndex);
    for (int count : asked == 0 ? std::vector<int>{} : nearbyCounts(asked, most)) {
        PolicyChange change{std::to_string(count) + " drives instead of " + std::to_string(asked) + " in " +
                                array,
                            array + " count",
                            {},
                            policy};
        *change.changed.arrayAt(arrayIndex)->driveNumbers.at(0) = count;
        change.lines = {arrayLine(change.changed, arrayIndex)};
        changes.push_back(std::move(change));
    }
    if (asked == 0)
        return;
    PolicyChange automatic{"AUTO instead of a count in " + array, array + " AUTO", {}, policy};
    *automatic.changed.arrayAt(arrayIndex)->driveNumbers.at(0) = 0;
    automatic.lines = {arrayLine(automatic.changed, arrayIndex)};
    changes.push_back(std::move(automatic));
}

void addCustomMemberChanges(const Policy& policy, int arrayIndex, std::vector<PolicyChange>& changes) {
    const RaidArray& asRead = *policy.arrayAt(arrayIndex);
    std::string array = "Array." + letterOf(arrayIndex);
    for (int keep = asRead.memberCount() - 1; keep >= 1 && !asRead.takesAll; --keep) {
        PolicyChange change{"the first " + std::to_string(keep) + " drives of " + array + " only",
                            array + " members",
                            {},
                            policy};
        RaidArray& shortened = *change.changed.arrayAt(arrayIndex);
        shortened.members.clear();
        shortened.driveNumbers.clear();
        for (int i = 0; i < keep; ++i) {
            if (const DrivePosition* member = asRead.members.at(i))
                (void)shortened.members.add(*member);
            else
                (void)shortened.addDriveNumber(*asRead.driveNumbers.at(i));
        }
        change.lines = {arrayLine(change.changed, arrayIndex)};
        changes.push_back(std::move(change));
    }
}

// The levels of the support file, those below the asked one first (nearest first), then those above.
std::vector<int> otherLevels(const ControllerIni& ini, int level) {
    std::vector<int> levels;
    for (const LevelLimits& limits : ini.levels()) {
        if (limits.level != level && *raidLevelText(limits.level) != '\0')
            levels.push_back(limits.level);
    }
    std::stable_sort(levels.begin(), levels.end(), [level](int a, int b) {
        bool aBelow = a < level;
        bool bBelow = b < level;
        if (aBelow != bBelow)
            return aBelow;
        return aBelow ? a > b : a < b;
    });
    return levels;
}

void addLevelChanges(const Policy& policy, const ControllerIni& ini, int arrayIndex,
                     std::vector<PolicyChange>& changes) {
    std::vector<int> logicals = logicalsOn(policy, arrayIndex);
    if (logicals.empty())
        return;
    int level = policy.logicalDriveAt(logicals[0])->raidLevel;
    std::string array = "Array." + letterOf(arrayIndex);
    for (int other : otherLevels(ini, level)) {
        std::string asked = *raidLevelText(level) ? levelName(level) : "its RAID level";
        PolicyChange change{
            levelName(other) + " instead of " + asked + " on " + array, array + " level", {}, policy};
        for (int k : logicals) {
            change.changed.logicalDriveAt(k)->raidLevel = other;
            change.lines.push_back(logicalLine(change.changed, k));
        }
        changes.push_back(std::move(change));
    }
}

// An array without logical drive has no RAID level: one FILL drive of each level the support file lists.
void addMissingLogicalChanges(const Policy& policy, const ControllerIni& ini, int arrayIndex,
                              std::vector<PolicyChange>& changes) {
    int next = policy.logicalDriveCount();
    if (!logicalsOn(policy, arrayIndex).empty() || next >= Policy::kMaxLogicalDrives)
        return;
    std::string array = "Array." + letterOf(arrayIndex);
    for (int level : otherLevels(ini, kRaidLevelNotSet)) {
        PolicyChange change{"a FILL logical drive of " + levelName(level) + " on " + array,
                            array + " logical drive",
                            {},
                            policy};
        auto logical = std::make_unique<RaidLogicalDrive>();
        logical->arrayIndex = arrayIndex;
        logical->raidLevel = level;
        (void)change.changed.addLogicalDrive(std::move(logical));
        change.lines = {logicalLine(change.changed, next)};
        changes.push_back(std::move(change));
    }
}

void addFillChanges(const Policy& policy, std::vector<PolicyChange>& changes) {
    PolicyChange everyFill{"FILL for every logical drive", "sizes", {}, policy};
    for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
        if (logical->size == kSizeFill)
            continue;
        std::string name = "Logical." + std::to_string(k + 1);
        PolicyChange change{"FILL instead of a size in " + name, name + " size", {}, policy};
        change.changed.logicalDriveAt(k)->size = kSizeFill;
        change.lines = {logicalLine(change.changed, k)};
        changes.push_back(std::move(change));
        everyFill.changed.logicalDriveAt(k)->size = kSizeFill;
        everyFill.lines.push_back(logicalLine(everyFill.changed, k));
    }
    if (everyFill.lines.size() > 1)
        changes.push_back(std::move(everyFill));
}

void addStripeChange(const Policy& policy, const ControllerIni& ini, std::vector<PolicyChange>& changes) {
    int asked = stripeSizeFromText(policy.stripeSize.Text());
    if (asked < 0)
        return;
    int nearest = -1;
    for (int code : ini.stripeSizes()) {
        if (code != asked && (nearest < 0 || std::abs(code - asked) < std::abs(nearest - asked)))
            nearest = code;
    }
    if (nearest < 0)
        return;
    PolicyChange change{"a stripe size that the support file lists", "StripeSize", {}, policy};
    change.changed.stripeSize = stripeSizeText(nearest);
    change.lines = {stripeSizeLine(change.changed)};
    changes.push_back(std::move(change));
}

// Drops the last array or the last logical drive, when what goes is at the end of its list.
void addDropChanges(const Policy& policy, std::vector<PolicyChange>& changes) {
    int arrays = policy.arrayCount();
    int logicals = policy.logicalDriveCount();
    int last = arrays - 1;
    std::vector<int> onLast = logicalsOn(policy, last);
    bool trailing = !onLast.empty() && onLast.front() == logicals - static_cast<int>(onLast.size());
    if (arrays > 1 && (onLast.empty() || trailing)) {
        std::string array = "Array." + letterOf(last);
        PolicyChange change{"without " + array + " and its logical drives",
                            "drop array",
                            {"remove " + array},
                            rebuilt(policy, last, logicals - static_cast<int>(onLast.size()))};
        for (int k : onLast)
            change.lines.push_back("remove Logical." + std::to_string(k + 1));
        changes.push_back(std::move(change));
    }
    if (logicals > 1 && logicalsOn(policy, policy.logicalDriveAt(logicals - 1)->arrayIndex).size() > 1) {
        std::string name = "Logical." + std::to_string(logicals);
        changes.push_back(PolicyChange{
            "without " + name, "drop logical", {"remove " + name}, rebuilt(policy, arrays, logicals - 1)});
    }
}

} // namespace

std::vector<PolicyChange> nearbyChanges(const Policy& policy, const ControllerIni& ini) {
    std::vector<PolicyChange> changes;
    addHotSpareChanges(policy, changes);
    for (int i = 0; i < policy.arrayCount(); ++i) {
        if (policy.markedForPlanning)
            addPlannedCountChanges(policy, ini, i, changes);
        else if (policy.arrayMode == Policy::kModeCustom)
            addCustomMemberChanges(policy, i, changes);
    }
    for (int i = 0; i < policy.arrayCount(); ++i) {
        addLevelChanges(policy, ini, i, changes);
        addMissingLogicalChanges(policy, ini, i, changes);
    }
    addFillChanges(policy, changes);
    addStripeChange(policy, ini, changes);
    addDropChanges(policy, changes);
    return changes;
}

PolicyChange appliesToChange(const Policy& policy, const ControllerFacts& facts) {
    AppliesToEntry met = entryMetBy(*policy.appliesToAt(0), facts);
    PolicyChange change{"an AppliesTo.1 that this controller meets",
                        "AppliesTo " + policy.name.Str(),
                        {appliesToLine(1, met)},
                        rebuilt(policy, policy.arrayCount(), policy.logicalDriveCount(), &met)};
    return change;
}
