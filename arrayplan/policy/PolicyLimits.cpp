#include "arrayplan/policy/PolicyLimits.h"

#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/policy/Policy.h"

PolicyLayout policyLayoutOf(const Policy& policy) {
    PolicyLayout layout;
    layout.stripeSize = policy.stripeSize.Str();
    layout.customArrays = policy.arrayMode == Policy::kModeCustom;
    for (int i = 0; i < policy.arrayCount(); ++i)
        layout.arrays.push_back(policy.arrayAt(i));
    for (int i = 0; i < policy.logicalDriveCount(); ++i)
        layout.logicalDrives.push_back(policy.logicalDriveAt(i));
    return layout;
}

ResultCode checkPolicyLimits(const RunSettings& settings, const RaidController& controller,
                             const Policy& policy) {
    return checkPolicyLimits(settings, controller, policyLayoutOf(policy));
}
