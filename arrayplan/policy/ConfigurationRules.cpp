#include "arrayplan/policy/ConfigurationRules.h"

#include "arrayplan/model/RaidEnums.h"

namespace {

constexpr int kWideArray = 32;
constexpr int kNarrowArray = 2;

int limitByType(int controllerType, int variant) {
    switch (controllerType) {
    case 1:
    case 12:
        return 32;
    case 2:
    case 4:
    case 8:
        return 4;
    case 7:
    case 11:
        return 16;
    case 10:
        return variant == 1 ? 2 : 6;
    default:
        return 2;
    }
}

bool evenAtLeast(int members, int least) {
    return members >= least && members % 2 == 0;
}

// Twice the number of drives' worth of space that holds data, so that the mirrored levels, which keep
// half of the drives' space, stay whole numbers.
long long doubledDataDrives(int raidLevel, long long members) {
    switch (raidLevel) {
    case kRaid1:
    case kRaid1E:
    case kRaid10:
        return members;
    case kRaid5:
        return 2 * (members - 1);
    case kRaid5E:
    case kRaid5EE:
    case kRaid6:
    case kRaid50:
        return 2 * (members - 2);
    case kRaid60:
        return 2 * (members - 4);
    default:
        return 2 * members;
    }
}

} // namespace

int arrayDriveLimit(int raidLevel, int controllerType, int variant) {
    if (raidLevel == kRaidLevelNotSet || raidLevel == kRaidAuto)
        return limitByType(controllerType, variant);
    if (raidLevel == kRaid0 || (raidLevel >= kRaid1E && raidLevel <= kRaidVolume))
        return kWideArray;
    return kNarrowArray;
}

bool memberCountFits(int raidLevel, int members, int controllerType) {
    switch (raidLevel) {
    case kRaid0:
        if (controllerType == 3)
            return members >= 2;
        if (controllerType == 4)
            return members >= 1 && members <= 4;
        return members >= 1;
    case kRaid1:
        return members == 2;
    case kRaid1E:
    case kRaid5:
        return members >= 3;
    case kRaid5E:
    case kRaid5EE:
    case kRaid6:
        return members >= 4;
    case kRaid10:
        return members == 4;
    case kRaid50:
        return evenAtLeast(members, 6);
    case kRaid60:
        return evenAtLeast(members, 8);
    case kRaidVolume:
        return members >= 1;
    default:
        return false;
    }
}

long long percentOfDataSpace(int raidLevel, int members, long long smallestSize, int percent) {
    long long doubled = doubledDataDrives(raidLevel, members);
    if (doubled <= 0 || smallestSize <= 0 || percent <= 0)
        return 0;
    // size x data drives x percent / 100, rounded half up, with the data drives doubled above.
    return (smallestSize * doubled * percent + 100) / 200;
}
