// The configuration step of a run: the applicable policy of every controller is planned or checked
// against the controller's support file, the configurations are built, then checked.
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include <functional>

class ControllerList;
class Policy;
class PolicyList;
class RaidController;
class RunSettings;

// Completes a copy of a policy marked for planning for one controller: Success, or the run's code.
using PlanPolicy = std::function<ResultCode(RaidController& controller, Policy& copy)>;

// Success when every controller with an applicable policy got its configuration and the configurations fit
// their support files; else the run's code: the planner's or the policy limit check's for the first
// controller that fails them, 19 when no policy applies to any controller, the builder's (9 or 10),
// 7 for an array too large for its support file, 10 when no controller could be configured.
// Each controller is planned from the policy as read, on its own copy, and built from that copy.
// With "/debug" every controller is dumped afterwards, configurations included.
ResultCode runConfigurationStep(RunSettings& settings, ControllerList& controllers,
                                const PolicyList& policies, const PlanPolicy& plan);
