// The family table: one row per slot, one column per family, each cell as the rule it states. t is
// the controller's type, v its variant, n its number of drives; m is the member count of an array.
#include "arrayplan/policy/ConfiguratorFamilies.h"

#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidEnums.h"

#include <initializer_list>

namespace {

constexpr int kFamilies = 7;
constexpr int kNone = -1; // no default RAID level

struct Facts {
    int t; // type
    int v; // variant
    int n; // number of drives
};

bool odd(int value) {
    return value % 2 != 0;
}
bool even(int value) {
    return value % 2 == 0;
}
bool oneOf(int code, std::initializer_list<int> codes) {
    for (int listed : codes) {
        if (code == listed)
            return true;
    }
    return false;
}
bool within(int code, int low, int high) {
    return code >= low && code <= high;
}

using CountRule = int (*)(const Facts&);
using LevelRule = int (*)(const Facts&, int m);
using DriveTest = bool (*)(const Facts&);
using CodeTest = bool (*)(const Facts&, int code);

// Slot 0: default hot-spare count
const CountRule kDefaultHotSpares[kFamilies] = {
    /* A */ [](const Facts& c) { return c.n > 3 ? 1 : 0; },
    /* B */
    [](const Facts& c) {
        if (c.t == 7 && c.n > 3)
            return 1;
        if (c.t == 11 && c.v == 2 && c.n > 3)
            return 1;
        if (c.t == 11 && c.v == 1 && c.n >= 3 && odd(c.n))
            return 1;
        return 0;
    },
    /* C */
    [](const Facts& c) {
        if (c.n < 3)
            return 0;
        if (c.t == 8 && odd(c.n))
            return 1;
        if (c.t == 9 && c.n >= 3)
            return 1;
        return 0;
    },
    /* D */ [](const Facts& c) { return c.n < 3 ? 0 : (odd(c.n) ? 1 : 0); },
    /* E */
    [](const Facts& c) {
        if (c.t == 5 && c.n > 2)
            return 1;
        if (c.v == 1 && c.n > 2)
            return 1;
        if (c.n < 4)
            return 0;
        return c.t == 10 ? 1 : 0;
    },
    /* F */ [](const Facts&) { return 0; },
    /* G */ [](const Facts& c) { return c.n > 3 ? 1 : 0; },
};

// Slot 1: default logical drive size
const int kDefaultLogicalDriveSize[kFamilies] = {kSizeFill, kSizeFill, kSizeFill, kSizeFill,
                                                 kSizeFill, kSizeFill, kSizeFill};

// Slot 2: default RAID level for an array of m members
const LevelRule kDefaultRaidLevel[kFamilies] = {
    /* A */ [](const Facts&, int m) -> int {
        return m == 0 ? kNone : m == 1 ? kRaid0 : m == 2 ? kRaid1 : kRaid5;
    },
    /* B */
    [](const Facts& c, int m) -> int {
        if (c.t == 11 && c.v == 1)
            return m == 0 ? kNone : m == 1 ? kRaidVolume : m == 2 ? kRaid1 : even(m) ? kRaid10 : kRaidVolume;
        if (m == 4)
            return c.t == 2 ? kRaid10 : kRaid5;
        return m == 0 ? kNone : m == 1 ? kRaidVolume : m == 2 ? kRaid1 : kRaid5;
    },
    /* C */
    [](const Facts& c, int m) -> int {
        if (m == 0)
            return kNone;
        if (m == 1)
            return c.t == 9 ? kRaidVolume : kNone;
        if (m == 2)
            return kRaid1;
        if (!oneOf(c.t, {8, 9}))
            return kRaid1;
        return odd(m) ? kRaid1 : kRaid10;
    },
    /* D */
    [](const Facts&, int m) -> int {
        return m <= 1 ? kNone : m == 2 ? kRaid1 : odd(m) ? kRaid1 : kRaid10;
    },
    /* E */
    [](const Facts& c, int m) -> int {
        if (m <= 1)
            return kNone;
        if (m == 2)
            return kRaid1;
        return c.t == 5 || c.v == 1 ? kRaid1 : kRaid1E;
    },
    /* F */ [](const Facts&, int m) -> int { return m == 2 ? kRaid1 : kRaid0; },
    /* G */
    [](const Facts&, int m) -> int {
        return m == 0 ? kNone : m == 1 ? kRaid0 : m == 2 ? kRaid1 : kRaid5;
    },
};

// Slots 3, 4, 5: default write cache, rebuild rate, read ahead
const int kDefaultWriteCache[kFamilies] = {2, 2, 2, 2, 2, 2, 1};
const int kDefaultRebuildRate[kFamilies] = {0, 0, 0, 0, 0, 0, 0};
const int kDefaultReadAhead[kFamilies] = {0, 1, 0, 1, 0, 0, 0};

// Slot 6: default stripe size code
const CountRule kDefaultStripeSize[kFamilies] = {
    /* A */ [](const Facts&) { return 0; },
    /* B */ [](const Facts& c) { return c.t == 2 ? 3 : 5; },
    /* C */ [](const Facts&) { return 3; },
    /* D */ [](const Facts&) { return 3; },
    /* E */ [](const Facts&) -> int { return kStripeNotSet; },
    /* F */ [](const Facts&) { return 3; },
    /* G */ [](const Facts&) { return 3; },
};

// Slot 7: enough drives to configure
const DriveTest kEnoughDrives[kFamilies] = {
    /* A */ [](const Facts& c) { return c.n > 0; },
    /* B */ [](const Facts& c) { return c.n > 0; },
    /* C */ [](const Facts& c) { return (c.t == 9 && c.n > 0) || c.n > 1; },
    /* D */ [](const Facts& c) { return c.n > 1; },
    /* E */ [](const Facts& c) { return c.n > 1; },
    /* F */ [](const Facts& c) { return c.n > 0; },
    /* G */ [](const Facts& c) { return c.n > 0; },
};

// Slot 8: stripe size code supported
const CodeTest kStripeSizeSupported[kFamilies] = {
    /* A */ [](const Facts&, int s) { return within(s, 0, 3); },
    /* B */ [](const Facts& c, int s) { return c.t == 2 ? within(s, 0, 3) : within(s, 1, 7); },
    /* C */ [](const Facts&, int s) { return within(s, 1, 3); },
    /* D */ [](const Facts&, int s) { return within(s, 1, 3); },
    /* E */ [](const Facts&, int) { return true; },
    /* F */ [](const Facts&, int s) { return within(s, 2, 9); },
    /* G */ [](const Facts&, int s) { return within(s, 0, 4); },
};

// Slot 9: RAID level supported
const CodeTest kRaidLevelSupported[kFamilies] = {
    /* A */ [](const Facts&, int r) {
        return oneOf(r, {kRaid0, kRaid1, kRaid1E, kRaid5, kRaid5E, kRaid5EE});
    },
    /* B */
    [](const Facts& c, int r) {
        if (c.t == 2)
            return oneOf(r, {kRaid0, kRaid1, kRaid5, kRaid10, kRaidVolume});
        if (c.t == 7)
            return within(r, 0, 10) && r != kRaid5E;
        if (c.t == 11 && c.v == 2)
            return within(r, 0, 10) && !oneOf(r, {kRaid5E, kRaid5EE, kRaid60});
        if (c.t == 11 && c.v == 1)
            return oneOf(r, {kRaid0, kRaid1, kRaid10, kRaidVolume});
        return false;
    },
    /* C */
    [](const Facts& c, int r) {
        return oneOf(r, {kRaid0, kRaid1}) || (r == kRaid10 && oneOf(c.t, {8, 9})) ||
               (oneOf(r, {kRaidVolume, kRaidSimpleVolume}) && c.t == 9);
    },
    /* D */
    [](const Facts&, int r) {
        return oneOf(r, {kRaid0, kRaid1, kRaid10});
    },
    /* E */
    [](const Facts& c, int r) {
        return (r == kRaid0 && c.t != 5) || r == kRaid1 || (r == kRaid1E && c.v != 1);
    },
    /* F */
    [](const Facts&, int r) {
        return oneOf(r, {kRaid0, kRaid1});
    },
    /* G */
    [](const Facts& c, int r) {
        return oneOf(r, {kRaid0, kRaid1, kRaid5, kRaid10, kRaid50}) ||
               (oneOf(r, {kRaid6, kRaid60}) && c.v != 12);
    },
};

// ControllerType code -> family (index 0 is no type).
const int kFamilyOfType[] = {-1,       kFamilyA, kFamilyB, kFamilyC, kFamilyD, kFamilyE, kFamilyF,
                             kFamilyB, kFamilyC, kFamilyC, kFamilyE, kFamilyB, kFamilyG};

// A family answers every slot from its column of the table.
template <int F> class FamilyConfigurator final : public ControllerConfigurator {
public:
    using ControllerConfigurator::ControllerConfigurator;

    int defaultHotSpareCount() const override { return kDefaultHotSpares[F](facts()); }
    int defaultLogicalDriveSize() const override { return kDefaultLogicalDriveSize[F]; }
    int defaultRaidLevel(int members) const override { return kDefaultRaidLevel[F](facts(), members); }
    int defaultWriteCache() const override { return kDefaultWriteCache[F]; }
    int defaultRebuildRate() const override { return kDefaultRebuildRate[F]; }
    int defaultReadAhead() const override { return kDefaultReadAhead[F]; }
    int defaultStripeSize() const override { return kDefaultStripeSize[F](facts()); }
    bool enoughDrivesToConfigure() const override { return kEnoughDrives[F](facts()); }
    bool stripeSizeSupported(int code) const override { return kStripeSizeSupported[F](facts(), code); }
    bool raidLevelSupported(int level) const override { return kRaidLevelSupported[F](facts(), level); }

private:
    Facts facts() const {
        return Facts{controller().type(), controller().variant(), controller().driveCount()};
    }
};

} // namespace

int configuratorFamily(int controllerType) {
    if (controllerType < 1 || controllerType > 12)
        return -1;
    return kFamilyOfType[controllerType];
}

std::unique_ptr<ControllerConfigurator> makeConfigurator(RunSettings& settings, RaidController& controller,
                                                         const Policy& policy) {
    switch (configuratorFamily(controller.type())) {
    case kFamilyA:
        return std::make_unique<FamilyConfigurator<kFamilyA>>(settings, controller, policy);
    case kFamilyB:
        return std::make_unique<FamilyConfigurator<kFamilyB>>(settings, controller, policy);
    case kFamilyC:
        return std::make_unique<FamilyConfigurator<kFamilyC>>(settings, controller, policy);
    case kFamilyD:
        return std::make_unique<FamilyConfigurator<kFamilyD>>(settings, controller, policy);
    case kFamilyE:
        return std::make_unique<FamilyConfigurator<kFamilyE>>(settings, controller, policy);
    case kFamilyF:
        return std::make_unique<FamilyConfigurator<kFamilyF>>(settings, controller, policy);
    case kFamilyG:
        return std::make_unique<FamilyConfigurator<kFamilyG>>(settings, controller, policy);
    default:
        return nullptr;
    }
}
