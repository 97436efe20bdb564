#include "arrayplan/planner/DataSpace.h"

#include "arrayplan/model/RaidLevels.h"

long long dataSpace(int drives, long long driveSize, int raidLevel) {
    return doubledDataSpace(raidLevel, drives, driveSize) / 2;
}
