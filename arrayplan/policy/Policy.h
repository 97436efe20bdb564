// Policy: how the controllers that it applies to are configured. Built by the policy reader from the
// values the validation accepted; every field the file does not mention keeps its default.
#pragma once

#include "arrayplan/policy/AppliesToEntry.h"
#include "foundation/CString.h"

#include <memory>
#include <vector>

class Console;
class RaidArray;
class RaidHotSpare;
class RaidLogicalDrive;

class Policy {
public:
    static constexpr int kMaxAppliesTo = 15;
    static constexpr int kMaxArrays = 16;
    static constexpr int kMaxHotSpares = 16;
    static constexpr int kMaxLogicalDrives = 8;

    static constexpr int kModeAuto = 0; // arrayMode, logicalMode
    static constexpr int kModeCustom = 1;
    static constexpr int kInitQuick = 0; // init
    static constexpr int kInitBuild = 1;
    // arrayDefaultVariance before Array_Defaults is given: none of the valid 0, 5, 10, 100.
    static constexpr int kVarianceNotGiven = 1;
    static constexpr int kSizeNotSet = -1; // maxLogicalDriveSize

    Policy();
    explicit Policy(const CString& policyName);
    ~Policy();
    // Deep copies: the planner completes a copy per controller and leaves the policy as read intact.
    Policy(const Policy& other);
    Policy& operator=(const Policy& other);

    // Plain fields, in the order of the record.
    bool markedForPlanning = false;        // gives drive counts per array; the planner completes it
    int maxLogicalDriveSize = kSizeNotSet; // MB; read only for a policy marked for planning
    CString rebuildRate;                   // "HIGH" "MED" "LOW" as written; empty: not given
    CString readAhead;                     // "ADAPTIVE" "ON" "OFF" as written
    CString stripeSize;                    // "8" .. "4096" as written
    int arrayMode = kModeAuto;
    int arrayDefaultVariance = kVarianceNotGiven; // percent
    int arrayDefaultHotSpares = AppliesToEntry::kNotGiven;
    int logicalMode = kModeAuto;
    int init = kInitQuick;
    CString name; // "Policy." and its own part, as declared

    void setArrayDefaults(int variance, int hotSpares);

    // AppliesTo entries, in ascending keyword number with gaps closed up. False when 15 are held.
    bool addAppliesTo(const CString& machineType, const CString& serialNumber, int controllerNumber,
                      int scanOrder, const CString& controllerType, int driveCount, bool all);
    bool addAppliesTo(const AppliesToEntry& entry);
    const AppliesToEntry* appliesToAt(int index) const;
    int appliesToCount() const { return static_cast<int>(appliesTo_.size()); }

    // Slot sets filled from the first slot without gaps. An add to a full set destroys the record and
    // returns false. An index outside the filled slots gives null.
    bool addArray(std::unique_ptr<RaidArray> array); // slot 0 is array A
    RaidArray* arrayAt(int index) const;
    int arrayCount() const { return static_cast<int>(arrays_.size()); }
    void removeAllArrays();

    bool addHotSpare(std::unique_ptr<RaidHotSpare> hotSpare);
    RaidHotSpare* hotSpareAt(int index) const;
    int hotSpareCount() const { return static_cast<int>(hotSpares_.size()); }
    void removeAllHotSpares();

    bool addLogicalDrive(std::unique_ptr<RaidLogicalDrive> logicalDrive); // Logical.1 is index 0
    RaidLogicalDrive* logicalDriveAt(int index) const;
    int logicalDriveCount() const { return static_cast<int>(logicalDrives_.size()); }

    // Logical_Defaults; null when not given. Its array index stays -1.
    void setLogicalDefaults(std::unique_ptr<RaidLogicalDrive> logicalDefaults);
    RaidLogicalDrive* logicalDefaults() const { return logicalDefaults_.get(); }

    // The "/debug" dump of this policy.
    void dump(Console& console) const;

private:
    void copySlotsFrom(const Policy& other);

    std::vector<AppliesToEntry> appliesTo_;
    std::vector<std::unique_ptr<RaidArray>> arrays_;
    std::vector<std::unique_ptr<RaidHotSpare>> hotSpares_;
    std::vector<std::unique_ptr<RaidLogicalDrive>> logicalDrives_;
    std::unique_ptr<RaidLogicalDrive> logicalDefaults_;
};
