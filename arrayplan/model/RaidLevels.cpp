#include "arrayplan/model/RaidLevels.h"

#include "arrayplan/model/RaidEnums.h"

#include <iterator>

namespace {

// By level code, 0 to 13.
const RaidLevelFacts kLevels[] = {
    {kRaid0, "0", false, 0, 1, 0, false, 32},
    {kRaid1, "1", true, 0, 2, 2, false, 2},
    {kRaid1E, "1E", true, 0, 3, 0, false, 32},
    {kRaid5, "5", false, 1, 3, 0, false, 32},
    {kRaid5E, "5E", false, 2, 4, 0, false, 32},
    {kRaid5EE, "5EE", false, 2, 4, 0, false, 32},
    {kRaid6, "6", false, 2, 4, 0, false, 32},
    {kRaid10, "10", true, 0, 4, 4, false, 32},
    {kRaid50, "50", false, 2, 6, 0, true, 32},
    {kRaid60, "60", false, 4, 8, 0, true, 32},
    {kRaidVolume, "VOLUME", false, 0, 1, 0, false, 32},
    {kRaidSpanned, "SPANNED", false, 0, 0, 0, false, 2},
    {kRaidAuto, "", false, 0, 0, 0, false, 0},
    {kRaidSimpleVolume, "SIMPLE VOLUME", false, 0, 0, 0, false, 2},
};

} // namespace

const RaidLevelFacts* raidLevelFacts(int level) {
    if (level < 0 || level >= static_cast<int>(std::size(kLevels)))
        return nullptr;
    return &kLevels[level];
}

long long doubledDataSpace(int level, long long members, long long size) {
    const RaidLevelFacts* facts = raidLevelFacts(level);
    if (facts == nullptr)
        return 2 * members * size;
    long long doubledDrives = facts->mirrored ? members : 2 * (members - facts->redundantDrives);
    return doubledDrives * size;
}
