// The second pass of the policy reader: for every policy the scan found, in file order, look up each
// keyword's value, check it and store it in a new Policy. The first error ends the whole read.
#pragma once

#include "foundation/CString.h"

#include <string>
#include <vector>

class Policy;
class PolicyList;
class PolicyReader;
class RaidArray;
class RaidLogicalDrive;
class RunSettings;
struct AppliesToEntry;

class PolicyValidator {
public:
    explicit PolicyValidator(PolicyReader& reader);

    // Appends every policy that passes to list; false at the first policy that does not.
    bool validateAll(const std::vector<CString>& names, PolicyList& list);

private:
    bool validate(Policy& policy);

    bool readAppliesTo(Policy& policy);
    bool readAppliesToItem(const Policy& policy, int number, const std::string& item, AppliesToEntry& entry);
    bool readFixedValue(Policy& policy, int row);
    bool readArrayDefaults(Policy& policy);

    bool readArrays(Policy& policy);
    bool readPlannedArrays(Policy& policy);
    bool readCustomArrays(Policy& policy);
    bool readArrayMembers(const Policy& policy, char letter, const CString& value, RaidArray& array);
    bool checkNoArrayAfter(const Policy& policy, int firstLetter, bool tookAll);
    bool readHotSpares(Policy& policy);

    bool readLogicalDefaults(Policy& policy);
    bool readLogicalDrives(Policy& policy);
    bool readLogicalDrive(Policy& policy, int number, const CString& value);
    // Size, RAID level and write cache from the parts of value from firstPart on.
    bool readDriveParts(const Policy& policy, const std::string& keyword, const CString& value, int firstPart,
                        bool simpleVolumeAllowed, RaidLogicalDrive& drive);

    // False when the policy does not hold keyword (the lookup's absent marker).
    bool lookup(const Policy& policy, const std::string& keyword, CString& value);
    bool fail(const std::string& message);

    PolicyReader& reader_;
    RunSettings& settings_;
};
