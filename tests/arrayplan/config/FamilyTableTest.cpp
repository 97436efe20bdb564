// The configurator families' slots at the boundaries of each rule, written from the family table.
#include "arrayplan/model/RaidEnums.h"
#include "arrayplan/policy/ConfiguratorFamilies.h"
#include "arrayplan/policy/Policy.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

constexpr int kNone = -1;

struct Controller {
    int type;
    int variant;
    int drives;
};

std::unique_ptr<ControllerConfigurator> configuratorFor(RunSettings& settings, RaidController& controller) {
    static const Policy policy;
    return makeConfigurator(settings, controller, policy);
}

// ---- slots 0 and 7: by number of drives

struct DriveRow {
    Controller controller;
    int hotSpares; // slot 0
    bool enough;   // slot 7
};

class DriveCountSlots : public testing::TestWithParam<DriveRow> {};

TEST_P(DriveCountSlots, HotSparesAndEnoughDrives) {
    const DriveRow& row = GetParam();
    auto controller =
        controllerWithDrives(row.controller.type, row.controller.variant, row.controller.drives);
    RunSettings settings;
    auto configurator = configuratorFor(settings, *controller);
    ASSERT_NE(configurator, nullptr);
    EXPECT_EQ(configurator->defaultHotSpareCount(), row.hotSpares);
    EXPECT_EQ(configurator->enoughDrivesToConfigure(), row.enough);
}

INSTANTIATE_TEST_SUITE_P(
    Families, DriveCountSlots,
    testing::Values(
        // A
        DriveRow{{1, 4, 0}, 0, false}, DriveRow{{1, 4, 1}, 0, true}, DriveRow{{1, 4, 3}, 0, true},
        DriveRow{{1, 4, 4}, 1, true},
        // B
        DriveRow{{2, -1, 0}, 0, false}, DriveRow{{2, -1, 1}, 0, true}, DriveRow{{2, -1, 9}, 0, true},
        DriveRow{{7, 7, 3}, 0, true}, DriveRow{{7, 7, 4}, 1, true}, DriveRow{{11, 2, 3}, 0, true},
        DriveRow{{11, 2, 4}, 1, true}, DriveRow{{11, 1, 2}, 0, true}, DriveRow{{11, 1, 3}, 1, true},
        DriveRow{{11, 1, 4}, 0, true}, DriveRow{{11, 1, 5}, 1, true}, DriveRow{{11, -1, 5}, 0, true},
        // C
        DriveRow{{3, -1, 1}, 0, false}, DriveRow{{3, -1, 2}, 0, true}, DriveRow{{3, -1, 5}, 0, true},
        DriveRow{{8, -1, 1}, 0, false}, DriveRow{{8, -1, 2}, 0, true}, DriveRow{{8, -1, 3}, 1, true},
        DriveRow{{8, -1, 4}, 0, true}, DriveRow{{9, -1, 0}, 0, false}, DriveRow{{9, -1, 1}, 0, true},
        DriveRow{{9, -1, 2}, 0, true}, DriveRow{{9, -1, 3}, 1, true}, DriveRow{{9, -1, 4}, 1, true},
        // D
        DriveRow{{4, -1, 1}, 0, false}, DriveRow{{4, -1, 2}, 0, true}, DriveRow{{4, -1, 3}, 1, true},
        DriveRow{{4, -1, 4}, 0, true}, DriveRow{{4, -1, 5}, 1, true},
        // E
        DriveRow{{5, -1, 1}, 0, false}, DriveRow{{5, -1, 2}, 0, true}, DriveRow{{5, -1, 3}, 1, true},
        DriveRow{{10, 1, 1}, 0, false}, DriveRow{{10, 1, 2}, 0, true}, DriveRow{{10, 1, 3}, 1, true},
        DriveRow{{10, -1, 3}, 0, true}, DriveRow{{10, -1, 4}, 1, true},
        // F
        DriveRow{{6, -1, 0}, 0, false}, DriveRow{{6, -1, 1}, 0, true}, DriveRow{{6, -1, 8}, 0, true},
        // G
        DriveRow{{12, 1, 0}, 0, false}, DriveRow{{12, 1, 1}, 0, true}, DriveRow{{12, 2, 3}, 0, true},
        DriveRow{{12, 2, 4}, 1, true}, DriveRow{{12, 12, 4}, 1, true}));

// ---- slot 2: default RAID level by member count

struct LevelRow {
    int type;
    int variant;
    int members;
    int level;
};

class DefaultRaidLevelSlot : public testing::TestWithParam<LevelRow> {};

TEST_P(DefaultRaidLevelSlot, ByMemberCount) {
    const LevelRow& row = GetParam();
    auto controller = controllerWithDrives(row.type, row.variant, 4);
    RunSettings settings;
    EXPECT_EQ(configuratorFor(settings, *controller)->defaultRaidLevel(row.members), row.level);
}

INSTANTIATE_TEST_SUITE_P(
    Families, DefaultRaidLevelSlot,
    testing::Values(
        // A
        LevelRow{1, 4, 0, kNone}, LevelRow{1, 4, 1, kRaid0}, LevelRow{1, 4, 2, kRaid1},
        LevelRow{1, 4, 3, kRaid5}, LevelRow{1, 4, 8, kRaid5},
        // B: type 11 variant 1, then the others
        LevelRow{11, 1, 0, kNone}, LevelRow{11, 1, 1, kRaidVolume}, LevelRow{11, 1, 2, kRaid1},
        LevelRow{11, 1, 3, kRaidVolume}, LevelRow{11, 1, 4, kRaid10}, LevelRow{11, 1, 6, kRaid10},
        LevelRow{2, -1, 0, kNone}, LevelRow{2, -1, 1, kRaidVolume}, LevelRow{2, -1, 2, kRaid1},
        LevelRow{2, -1, 3, kRaid5}, LevelRow{2, -1, 4, kRaid10}, LevelRow{2, -1, 5, kRaid5},
        LevelRow{7, 7, 4, kRaid5}, LevelRow{11, 2, 4, kRaid5}, LevelRow{11, 2, 1, kRaidVolume},
        // C
        LevelRow{3, -1, 0, kNone}, LevelRow{3, -1, 1, kNone}, LevelRow{8, -1, 1, kNone},
        LevelRow{9, -1, 1, kRaidVolume}, LevelRow{3, -1, 2, kRaid1}, LevelRow{3, -1, 4, kRaid1},
        LevelRow{8, -1, 3, kRaid1}, LevelRow{8, -1, 4, kRaid10}, LevelRow{9, -1, 5, kRaid1},
        LevelRow{9, -1, 6, kRaid10},
        // D
        LevelRow{4, -1, 1, kNone}, LevelRow{4, -1, 2, kRaid1}, LevelRow{4, -1, 3, kRaid1},
        LevelRow{4, -1, 4, kRaid10},
        // E
        LevelRow{5, -1, 1, kNone}, LevelRow{5, -1, 2, kRaid1}, LevelRow{5, -1, 3, kRaid1},
        LevelRow{10, 1, 3, kRaid1}, LevelRow{10, -1, 2, kRaid1}, LevelRow{10, -1, 3, kRaid1E},
        LevelRow{10, -1, 6, kRaid1E},
        // F
        LevelRow{6, -1, 0, kRaid0}, LevelRow{6, -1, 1, kRaid0}, LevelRow{6, -1, 2, kRaid1},
        LevelRow{6, -1, 3, kRaid0},
        // G
        LevelRow{12, 2, 0, kNone}, LevelRow{12, 2, 1, kRaid0}, LevelRow{12, 2, 2, kRaid1},
        LevelRow{12, 2, 3, kRaid5}));

// ---- slots 1, 3, 4, 5, 6: defaults

struct DefaultsRow {
    int type;
    int variant;
    int writeCache; // slot 3
    int readAhead;  // slot 5
    int stripeSize; // slot 6
};

class DefaultSettingSlots : public testing::TestWithParam<DefaultsRow> {};

TEST_P(DefaultSettingSlots, Defaults) {
    const DefaultsRow& row = GetParam();
    auto controller = controllerWithDrives(row.type, row.variant, 4);
    RunSettings settings;
    auto configurator = configuratorFor(settings, *controller);
    EXPECT_EQ(configurator->defaultLogicalDriveSize(), -101);
    EXPECT_EQ(configurator->defaultWriteCache(), row.writeCache);
    EXPECT_EQ(configurator->defaultRebuildRate(), 0);
    EXPECT_EQ(configurator->defaultReadAhead(), row.readAhead);
    EXPECT_EQ(configurator->defaultStripeSize(), row.stripeSize);
}

INSTANTIATE_TEST_SUITE_P(Families, DefaultSettingSlots,
                         testing::Values(DefaultsRow{1, 4, 2, 0, 0}, DefaultsRow{2, -1, 2, 1, 3},
                                         DefaultsRow{7, 7, 2, 1, 5}, DefaultsRow{11, 1, 2, 1, 5},
                                         DefaultsRow{3, -1, 2, 0, 3}, DefaultsRow{9, -1, 2, 0, 3},
                                         DefaultsRow{4, -1, 2, 1, 3}, DefaultsRow{5, -1, 2, 0, 10},
                                         DefaultsRow{10, 1, 2, 0, 10}, DefaultsRow{6, -1, 2, 0, 3},
                                         DefaultsRow{12, 1, 1, 0, 3}));

// ---- slots 8 and 9: what the family supports

struct SupportRow {
    int type;
    int variant;
    std::set<int> stripeSizes; // codes 0..10
    std::set<int> raidLevels;  // codes -1..13
};

class SupportSlots : public testing::TestWithParam<SupportRow> {};

TEST_P(SupportSlots, StripeSizesAndRaidLevels) {
    const SupportRow& row = GetParam();
    auto controller = controllerWithDrives(row.type, row.variant, 4);
    RunSettings settings;
    auto configurator = configuratorFor(settings, *controller);
    for (int code = 0; code <= 10; ++code)
        EXPECT_EQ(configurator->stripeSizeSupported(code), row.stripeSizes.count(code) == 1)
            << "stripe " << code;
    for (int level = -1; level <= 13; ++level)
        EXPECT_EQ(configurator->raidLevelSupported(level), row.raidLevels.count(level) == 1)
            << "level " << level;
}

const std::set<int> kAllStripes = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

INSTANTIATE_TEST_SUITE_P(
    Families, SupportSlots,
    testing::Values(
        SupportRow{1, 4, {0, 1, 2, 3}, {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid5E, kRaid5EE}},
        SupportRow{2, -1, {0, 1, 2, 3}, {kRaid0, kRaid1, kRaid5, kRaid10, kRaidVolume}},
        SupportRow{
            7,
            7,
            {1, 2, 3, 4, 5, 6, 7},
            {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid5EE, kRaid6, kRaid10, kRaid50, kRaid60, kRaidVolume}},
        SupportRow{11,
                   2,
                   {1, 2, 3, 4, 5, 6, 7},
                   {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid6, kRaid10, kRaid50, kRaidVolume}},
        SupportRow{11, 1, {1, 2, 3, 4, 5, 6, 7}, {kRaid0, kRaid1, kRaid10, kRaidVolume}},
        SupportRow{11, -1, {1, 2, 3, 4, 5, 6, 7}, {}}, SupportRow{3, -1, {1, 2, 3}, {kRaid0, kRaid1}},
        SupportRow{8, -1, {1, 2, 3}, {kRaid0, kRaid1, kRaid10}},
        SupportRow{9, -1, {1, 2, 3}, {kRaid0, kRaid1, kRaid10, kRaidVolume, kRaidSimpleVolume}},
        SupportRow{4, -1, {1, 2, 3}, {kRaid0, kRaid1, kRaid10}},
        SupportRow{5, -1, kAllStripes, {kRaid1, kRaid1E}}, SupportRow{10, 1, kAllStripes, {kRaid0, kRaid1}},
        SupportRow{10, -1, kAllStripes, {kRaid0, kRaid1, kRaid1E}},
        SupportRow{6, -1, {2, 3, 4, 5, 6, 7, 8, 9}, {kRaid0, kRaid1}},
        SupportRow{12, 1, {0, 1, 2, 3, 4}, {kRaid0, kRaid1, kRaid5, kRaid6, kRaid10, kRaid50, kRaid60}},
        SupportRow{12, 12, {0, 1, 2, 3, 4}, {kRaid0, kRaid1, kRaid5, kRaid10, kRaid50}}));

TEST(ConfiguratorFamilies, UnknownTypeHasNoConfigurator) {
    RunSettings settings;
    EXPECT_EQ(configuratorFor(settings, *controllerWithDrives(13, -1, 4)), nullptr);
    EXPECT_EQ(configuratorFor(settings, *controllerWithDrives(0, -1, 4)), nullptr);
}

} // namespace
