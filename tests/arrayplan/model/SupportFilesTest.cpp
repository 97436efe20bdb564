// The shipped support files must load, and must not allow what the controller's family refuses later.
#include "arrayplan/model/Catalogue.h"
#include "arrayplan/model/ControllerIni.h"
#include "foundation/Console.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <set>

namespace {

const char* const kModels[] = {
    "Vaultix-Q1",      "Vaultix-Q2",        "Vaultix-Q3",         "Vaultix-Q4",        "Vaultix-Q5",
    "Vaultix-Q6",      "Vaultix-Q7",        "Vaultix controller", "Vaultix-R1",        "Vaultix-R2-SATA",
    "Vaultix-R2-SCSI", "Corvane-SCSI-RAID", "Corvane-PATA-RAID",  "Vaultix-S1",        "Vaultix-S4",
    "Vaultix-S2-SAS",  "Vaultix-S2-SATA",   "Corvane-SAS-RAID",   "Corvane-SAS-Basic", "Vaultix-S3-e",
    "Vaultix-S3",      "Vaultix-M3",        "Vaultix-M1",         "Vaultix-M2",        "Corvane-Multi-RAID",
};

// The RAID levels that the family configurator of (type, variant) accepts.
std::set<int> familyLevels(int type, int variant) {
    switch (type) {
    case 1:
        return {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid5E, kRaid5EE};
    case 2:
        return {kRaid0, kRaid1, kRaid5, kRaid10, kRaidVolume};
    case 7:
        return {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid5EE, kRaid6, kRaid10, kRaid50, kRaid60, kRaidVolume};
    case 11:
        if (variant == 1)
            return {kRaid0, kRaid1, kRaid10, kRaidVolume};
        return {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid6, kRaid10, kRaid50, kRaidVolume};
    case 3:
        return {kRaid0, kRaid1};
    case 8:
        return {kRaid0, kRaid1, kRaid10};
    case 9:
        return {kRaid0, kRaid1, kRaid10, kRaidVolume, kRaidSimpleVolume};
    case 4:
        return {kRaid0, kRaid1, kRaid10};
    case 5:
        return {kRaid1, kRaid1E};
    case 10:
        return variant == 1 ? std::set<int>{kRaid0, kRaid1} : std::set<int>{kRaid0, kRaid1, kRaid1E};
    case 6:
        return {kRaid0, kRaid1};
    case 12:
        if (variant == 12)
            return {kRaid0, kRaid1, kRaid5, kRaid10, kRaid50};
        return {kRaid0, kRaid1, kRaid5, kRaid6, kRaid10, kRaid50, kRaid60};
    }
    return {};
}

// The stripe size codes the family accepts, as [first, last].
std::pair<int, int> familyStripes(int type) {
    switch (type) {
    case 1:
    case 2:
        return {0, 3};
    case 7:
    case 11:
        return {1, 7};
    case 3:
    case 4:
    case 8:
    case 9:
        return {1, 3};
    case 5:
    case 10:
        return {0, 9};
    case 6:
        return {2, 9};
    case 12:
        return {0, 4};
    }
    return {1, 0};
}

// The member counts the family's check accepts for a level, as [min, max].
std::pair<int, int> familyMembers(int level, int type) {
    switch (level) {
    case kRaid0:
        return {type == 3 ? 2 : 1, type == 4 ? 4 : 32};
    case kRaid1:
        return {2, 2};
    case kRaid1E:
    case kRaid5:
        return {3, 32};
    case kRaid5E:
    case kRaid5EE:
    case kRaid6:
        return {4, 32};
    case kRaid10:
        return {4, 4};
    case kRaid50:
        return {6, 32};
    case kRaid60:
        return {8, 32};
    case kRaidVolume:
        return {1, 32};
    }
    return {1, 0};
}

class ShippedSupportFile : public testing::TestWithParam<const char*> {};

TEST_P(ShippedSupportFile, LoadsAndStaysWithinTheFamilyLimits) {
    const char* model = GetParam();
    int type = controllerTypeOf(model);
    int variant = variantOf(model);
    ControllerIni ini(KIT_SOURCE_DIR "/data/raid/", model, Console::Instance(), CurrentFileSystem());
    ConsoleCapture quiet;
    ASSERT_TRUE(ini.load()) << ini.fileName().Str();
    EXPECT_EQ(ini.model(), model);
    ASSERT_FALSE(ini.stripeSizes().empty());
    for (int code : ini.stripeSizes()) {
        EXPECT_GE(code, familyStripes(type).first);
        EXPECT_LE(code, familyStripes(type).second);
    }
    ASSERT_FALSE(ini.levels().empty());
    std::set<int> accepted = familyLevels(type, variant);
    for (const LevelLimits& limits : ini.levels()) {
        SCOPED_TRACE(raidLevelText(limits.level));
        EXPECT_TRUE(accepted.count(limits.level));
        auto members = familyMembers(limits.level, type);
        EXPECT_GE(limits.minPhysicalDrives, members.first);
        EXPECT_LE(limits.maxPhysicalDrives, members.second);
        EXPECT_LE(limits.minPhysicalDrives, limits.maxPhysicalDrives);
        if (limits.level == kRaid5E || limits.level == kRaid5EE) {
            EXPECT_EQ(limits.maxLogicalDrives, 1) << "one logical drive per 5E/5EE array";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryCatalogueModel, ShippedSupportFile, testing::ValuesIn(kModels));

} // namespace
