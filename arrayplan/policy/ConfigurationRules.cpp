#include "arrayplan/policy/ConfigurationRules.h"

#include "arrayplan/model/RaidEnums.h"
#include "arrayplan/model/RaidLevels.h"

namespace {

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

} // namespace

int arrayDriveLimit(int raidLevel, int controllerType, int variant) {
    const RaidLevelFacts* facts = raidLevelFacts(raidLevel);
    if (raidLevel == kRaidLevelNotSet || (facts != nullptr && facts->freeDriveLimit == 0))
        return limitByType(controllerType, variant);
    return facts != nullptr ? facts->freeDriveLimit : kNarrowArray;
}

bool memberCountFits(int raidLevel, int members, int controllerType) {
    if (raidLevel == kRaid0 && controllerType == 3)
        return members >= 2;
    if (raidLevel == kRaid0 && controllerType == 4)
        return members >= 1 && members <= 4;
    const RaidLevelFacts* facts = raidLevelFacts(raidLevel);
    if (facts == nullptr || facts->minMembers == 0 || members < facts->minMembers)
        return false;
    return (facts->maxMembers == 0 || members <= facts->maxMembers) &&
           (!facts->evenMembers || members % 2 == 0);
}

long long percentOfDataSpace(int raidLevel, int members, long long smallestSize, int percent) {
    if (smallestSize <= 0 || percent <= 0)
        return 0;
    long long doubled = doubledDataSpace(raidLevel, members, smallestSize);
    if (doubled <= 0)
        return 0;
    // The data space x percent / 100, rounded half up, from the doubled space.
    return (doubled * percent + 100) / 200;
}
