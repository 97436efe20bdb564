// The "/explain" listing, printed after a run's own output: for every controller, why each policy before
// the chosen one does not apply, how planning and building end, for a planner that finds no drives the
// candidate sizes and why each was rejected, and up to three nearby changes of the policy, each proven
// by planning and building the controller again with the changed policy. Every controller is examined,
// also after the first failure; nothing of the run (its controllers, policies or files) is changed.
#pragma once

#include "arrayplan/model/ResultCodes.h"

class ControllerList;
class PolicyList;
class RunSettings;

// runCode: the code the run ends with (its exit status).
void printExplanation(const RunSettings& settings, const ControllerList& controllers,
                      const PolicyList& policies, ResultCode runCode);
