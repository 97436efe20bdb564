// The records that policies and configurations share: arrays, logical drives and hot spares.
#pragma once

#include "arrayplan/model/BoundedList.h"
#include "arrayplan/model/RaidEnums.h"

struct DrivePosition {
    int channel = -1;
    int id = -1;
};

inline constexpr int kMaxArrayMembers = 32;

class RaidArray {
public:
    // Members by (channel, ID) or by drive number; a planned policy holds its one drive count in
    // driveNumbers. Both lists refuse a 33rd entry.
    BoundedList<DrivePosition, kMaxArrayMembers> members;
    BoundedList<int, kMaxArrayMembers> driveNumbers;
    bool takesAll = false; // the array takes all remaining drives

    bool addMember(int channel, int id) { return members.add(DrivePosition{channel, id}); }
    bool addDriveNumber(int number) { return driveNumbers.add(number); }
    // The pairs when there are any, otherwise the drive numbers.
    int memberCount() const { return members.empty() ? driveNumbers.size() : members.size(); }
};

class RaidLogicalDrive {
public:
    int raidLevel = kRaidLevelNotSet;
    int size = kSizeFill; // MB, -1..-100 percent, or kSizeFill
    int arrayIndex = -1;  // 0 is array "A"
    int writeCache = kWriteCacheAuto;
};

class RaidHotSpare {
public:
    int channel() const { return channel_; }
    void setChannel(int channel) { channel_ = channel; }
    int id() const { return id_; }
    bool setId(int id); // refuses values outside 0..31
    int driveNumber() const { return driveNumber_; }
    bool setDriveNumber(int number); // refuses negative numbers

private:
    int channel_ = -1;
    int id_ = -1;
    int driveNumber_ = -1;
};

// "A" for index 0, "B" for 1, ...
inline char arrayLetter(int index) {
    return static_cast<char>('A' + index);
}
