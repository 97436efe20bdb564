// The configuration planned for one controller, owned by that controller.
#pragma once

#include "arrayplan/model/BoundedList.h"
#include "arrayplan/model/RaidRecords.h"

#include <string>

class Console;

class RaidConfiguration {
public:
    static constexpr int kMaxArrays = 16;
    static constexpr int kMaxLogicalDrives = 8;
    static constexpr int kMaxHotSpares = 16;
    static constexpr int kReachableHotSpares = 8; // hot spares by index stop here

    int rebuildRate = kRebuildHigh;
    int readAhead = kReadAheadAdaptive;
    int stripeSize = kStripeNotSet;
    int init = 0; // 0 quick, 1 build
    std::string policyName;

    // Adds copy the record into the next free slot; false (nothing added) when the set is full.
    bool addArray(const RaidArray& array) { return arrays_.add(array); }
    bool addLogicalDrive(const RaidLogicalDrive& drive) { return logicalDrives_.add(drive); }
    bool addHotSpare(const RaidHotSpare& spare) { return hotSpares_.add(spare); }

    // None outside the filled slots.
    RaidArray* arrayAt(int index) { return arrays_.at(index); }
    const RaidArray* arrayAt(int index) const { return arrays_.at(index); }
    RaidLogicalDrive* logicalDriveAt(int index) { return logicalDrives_.at(index); }
    const RaidLogicalDrive* logicalDriveAt(int index) const { return logicalDrives_.at(index); }
    RaidHotSpare* hotSpareAt(int index);
    const RaidHotSpare* hotSpareAt(int index) const;

    int arrayCount() const { return arrays_.size(); }
    int logicalDriveCount() const { return logicalDrives_.size(); }
    int hotSpareCount() const { return hotSpares_.size(); }

    // The debug dump ("#### START Configuration dump ####" ... "#### END Configuration dump ####").
    void dump(Console& console) const;

private:
    BoundedList<RaidArray, kMaxArrays> arrays_;
    BoundedList<RaidLogicalDrive, kMaxLogicalDrives> logicalDrives_;
    BoundedList<RaidHotSpare, kMaxHotSpares> hotSpares_;
};
