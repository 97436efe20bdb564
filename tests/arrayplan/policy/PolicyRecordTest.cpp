// The policy record's slot sets and copies, and the policy list.
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/PolicyList.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<RaidArray> arrayOf(int driveNumber) {
    auto array = std::make_unique<RaidArray>();
    array->addDriveNumber(driveNumber);
    return array;
}

TEST(PolicyRecord, SlotSetsRefuseWhenFull) {
    Policy policy("Policy.Slots");
    for (int i = 0; i < Policy::kMaxArrays; ++i)
        EXPECT_TRUE(policy.addArray(arrayOf(i + 1)));
    EXPECT_FALSE(policy.addArray(arrayOf(99)));
    EXPECT_EQ(policy.arrayCount(), 16);
    EXPECT_EQ(policy.arrayAt(16), nullptr);
    EXPECT_EQ(policy.arrayAt(-1), nullptr);
    EXPECT_EQ(*policy.arrayAt(15)->driveNumbers.at(0), 16);

    for (int i = 0; i < Policy::kMaxLogicalDrives; ++i)
        EXPECT_TRUE(policy.addLogicalDrive(std::make_unique<RaidLogicalDrive>()));
    EXPECT_FALSE(policy.addLogicalDrive(std::make_unique<RaidLogicalDrive>()));

    for (int i = 0; i < Policy::kMaxAppliesTo; ++i)
        EXPECT_TRUE(policy.addAppliesTo("", "", i + 1, -25, "", -25, false));
    EXPECT_FALSE(policy.addAppliesTo(AppliesToEntry{}));
    EXPECT_EQ(policy.appliesToAt(14)->controllerNumber, 15);

    policy.removeAllArrays();
    EXPECT_EQ(policy.arrayCount(), 0);
    EXPECT_TRUE(policy.addArray(arrayOf(1)));
}

TEST(PolicyRecord, CopyIsIndependentOfTheOriginal) {
    Policy original("Policy.Original");
    original.addArray(arrayOf(3));
    auto spare = std::make_unique<RaidHotSpare>();
    spare->setDriveNumber(5);
    original.addHotSpare(std::move(spare));
    auto defaults = std::make_unique<RaidLogicalDrive>();
    defaults->size = -50;
    original.setLogicalDefaults(std::move(defaults));
    original.markedForPlanning = true;

    Policy copy(original);
    copy.arrayAt(0)->driveNumbers.clear();
    copy.arrayAt(0)->addDriveNumber(7);
    copy.hotSpareAt(0)->setDriveNumber(9);
    copy.logicalDefaults()->size = 100;
    copy.removeAllHotSpares();
    copy.arrayMode = Policy::kModeCustom;

    EXPECT_EQ(*original.arrayAt(0)->driveNumbers.at(0), 3);
    EXPECT_EQ(original.hotSpareAt(0)->driveNumber(), 5);
    EXPECT_EQ(original.logicalDefaults()->size, -50);
    EXPECT_EQ(original.arrayMode, Policy::kModeAuto);
    EXPECT_TRUE(copy.markedForPlanning);
    EXPECT_EQ(copy.name, "Policy.Original");

    Policy assigned;
    assigned = original;
    EXPECT_EQ(*assigned.arrayAt(0)->driveNumbers.at(0), 3);
    EXPECT_NE(assigned.arrayAt(0), original.arrayAt(0));
}

TEST(PolicyList, HoldsAHundredAndWalksInOrder) {
    PolicyList list;
    for (int i = 0; i < PolicyList::kCapacity; ++i)
        ASSERT_TRUE(list.append(std::make_unique<Policy>(CString(("Policy." + std::to_string(i)).c_str()))));
    EXPECT_FALSE(list.append(std::make_unique<Policy>("Policy.Extra")));
    EXPECT_EQ(list.size(), 100);

    list.rewind();
    EXPECT_EQ(list.next()->name, "Policy.0");
    EXPECT_EQ(list.next()->name, "Policy.1");
    int rest = 0;
    while (list.next() != nullptr)
        ++rest;
    EXPECT_EQ(rest, 98);
    EXPECT_EQ(list.next(), nullptr);
    list.rewind();
    EXPECT_EQ(list.next()->name, "Policy.0");
}

} // namespace
