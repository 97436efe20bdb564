#include "arrayplan/planner/DataSpace.h"

#include "arrayplan/model/RaidEnums.h"

long long dataSpace(int drives, long long driveSize, int raidLevel) {
    long long n = drives;
    switch (raidLevel) {
    case kRaid1:
    case kRaid1E:
    case kRaid10:
        return n * driveSize / 2;
    case kRaid5:
        return (n - 1) * driveSize;
    case kRaid5E:
    case kRaid5EE:
    case kRaid6:
    case kRaid50:
        return (n - 2) * driveSize;
    case kRaid60:
        return (n - 4) * driveSize;
    default:
        return n * driveSize;
    }
}
