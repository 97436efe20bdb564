// The check of a policy that is not planned against its controller's support file: stripe size,
// RAID levels, partial sizing, drives and logical drives per array, number of arrays.
#pragma once

#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/model/ResultCodes.h"

#include <string>
#include <vector>

class RaidController;
class RunSettings;

// What the check reads of a policy (the policy's own records, borrowed).
struct PolicyLayout {
    std::string stripeSize;    // empty when the policy gives none
    bool customArrays = false; // array mode CUSTOM; an AUTO policy passes after the stripe test
    std::vector<const RaidArray*> arrays;
    std::vector<const RaidLogicalDrive*> logicalDrives;
};

// Success when the policy fits; else the run's code (3, 4, 5, 6, 7, 8 or 17) after the failure's lines.
ResultCode checkPolicyLimits(const RunSettings& settings, const RaidController& controller,
                             const PolicyLayout& policy);
