// The policy limit check applied to a policy as read: the run's check of every policy that the planner
// does not complete.
#pragma once

#include "arrayplan/model/PolicyLimitCheck.h"

class Policy;

// The parts of policy that the check reads; the records stay the policy's.
PolicyLayout policyLayoutOf(const Policy& policy);

// Success when the policy fits the controller's support file; else the run's code (3 to 8 or 17).
ResultCode checkPolicyLimits(const RunSettings& settings, const RaidController& controller,
                             const Policy& policy);
