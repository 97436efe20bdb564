#include "arrayplan/policy/LimitReasons.h"

#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/Policy.h"

namespace {

std::string logicalName(int index) {
    return "Logical." + std::to_string(index + 1);
}

std::string levelName(int level) {
    const char* text = raidLevelText(level);
    return *text ? std::string("RAID ") + text : "no RAID level";
}

std::string sizeText(int size) {
    return size < 0 ? std::to_string(-size) + "%" : std::to_string(size) + " MB";
}

void unlistedLevels(const ControllerIni& ini, const Policy& policy, std::vector<std::string>& lines) {
    for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
        if (!ini.raidLevelSupported(logical->raidLevel))
            lines.push_back(logicalName(k) + " asks for " + levelName(logical->raidLevel) +
                            ", which the support file does not list.");
    }
}

void tooManyLogicalDrives(const ControllerIni& ini, const Policy& policy, std::vector<std::string>& lines) {
    for (int a = 0; a < policy.arrayCount(); ++a) {
        int count = 0;
        int level = kRaidLevelNotSet;
        for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
            if (logical->arrayIndex != a)
                continue;
            level = count == 0 ? logical->raidLevel : level;
            ++count;
        }
        int most = ini.maxLogicalDrives(level);
        if (count > 0 && count > most)
            lines.push_back(std::string("Array.") + arrayLetter(a) + " has " + std::to_string(count) +
                            " logical drives; the support file allows " + std::to_string(most) + " for " +
                            levelName(level) + ".");
    }
}

// Hand-written arrays only: a planned policy's entries are counts, which the planner's listing explains.
void tooManyMembers(const ControllerIni& ini, const Policy& policy, std::vector<std::string>& lines) {
    if (policy.markedForPlanning)
        return;
    for (int a = 0; a < policy.arrayCount(); ++a) {
        int level = kRaidLevelNotSet;
        for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
            if (logical->arrayIndex == a)
                level = logical->raidLevel;
        }
        int members = policy.arrayAt(a)->memberCount();
        int most = ini.maxPhysicalDrives(level);
        if (level == kRaidLevelNotSet)
            lines.push_back(std::string("Array.") + arrayLetter(a) +
                            " has no logical drive, so no RAID level that would allow its drives.");
        else if (members > most)
            lines.push_back(std::string("Array.") + arrayLetter(a) + " has " + std::to_string(members) +
                            " drives; the support file allows " + std::to_string(most) + " for " +
                            levelName(level) + ".");
    }
}

void partialSizes(const Policy& policy, std::vector<std::string>& lines) {
    std::string sized;
    for (int k = 0; const RaidLogicalDrive* logical = policy.logicalDriveAt(k); ++k) {
        if (logical->size != kSizeFill && logical->size != -100)
            sized += (sized.empty() ? "" : ", ") + logicalName(k) + " asks for " + sizeText(logical->size);
    }
    if (!sized.empty())
        lines.push_back("This controller type sizes no logical drive partially, each must be FILL or 100%: " +
                        sized + ".");
}

} // namespace

std::vector<std::string> limitReasons(const ControllerIni& ini, const RaidController& controller,
                                      const Policy& policy, ResultCode code) {
    std::vector<std::string> lines;
    if (code == ResultCode::RaidLevelUnsupported)
        unlistedLevels(ini, policy, lines);
    else if (code == ResultCode::ArrayCountUnsupported)
        lines.push_back(std::to_string(policy.arrayCount()) + " arrays asked for; the support file allows " +
                        std::to_string(ini.maxArrays()) + ".");
    else if (code == ResultCode::ArrayDrivesUnsupported)
        tooManyMembers(ini, policy, lines);
    else if (code == ResultCode::LogicalDrivesUnsupported)
        tooManyLogicalDrives(ini, policy, lines);
    else if (code == ResultCode::PartialSizingUnsupported && !allowsPartialSizing(controller.type()))
        partialSizes(policy, lines);
    return lines;
}
