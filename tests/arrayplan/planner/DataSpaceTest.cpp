#include "arrayplan/planner/DataSpace.h"

#include "arrayplan/model/RaidEnums.h"

#include <gtest/gtest.h>

namespace {

// The fraction of the drives that hold data, as the single-precision rule states it.
float dataFactor(int drives, int level) {
    float n = static_cast<float>(drives);
    switch (level) {
    case kRaid1:
    case kRaid1E:
    case kRaid10:
        return n * 0.5f;
    case kRaid5:
        return n - 1;
    case kRaid5E:
    case kRaid5EE:
    case kRaid6:
    case kRaid50:
        return n - 2;
    case kRaid60:
        return n - 4;
    default:
        return n;
    }
}

// Levels 0 to 13 and 14, which names no level.
TEST(DataSpace, AgreesWithSinglePrecisionWhereThatIsExactAndStaysExactBeyond) {
    for (int level = 0; level <= 14; ++level) {
        for (int drives = 1; drives <= 16; ++drives) {
            for (int size : {1, 999, 36000, 73400, 146801, 1048575}) {
                float product = static_cast<float>(size) * dataFactor(drives, level);
                EXPECT_EQ(dataSpace(drives, size, level), static_cast<long long>(product))
                    << "level " << level << ", " << drives << " x " << size;
            }
        }
    }
    EXPECT_EQ(dataSpace(3, 1001, kRaid1), 1501) << "half of an odd count truncates";
    EXPECT_EQ(dataSpace(3, 16777217, kRaid5), 33554434);
    EXPECT_EQ(dataSpace(16, 2147483647, kRaid0), 34359738352LL);
    EXPECT_EQ(dataSpace(15, 2147483647, kRaid10), 16106127352LL);
}

} // namespace
