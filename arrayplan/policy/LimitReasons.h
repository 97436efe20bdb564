// Which limit of the support file or the controller type a policy exceeds, in words: the facts behind the
// codes 4, 6, 7, 8 and 17 of a policy that the planner or the policy limit check refused.
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include <string>
#include <vector>

class ControllerIni;
class Policy;
class RaidController;

// One line per exceeded limit of the kind that code names; none for other codes.
std::vector<std::string> limitReasons(const ControllerIni& ini, const RaidController& controller,
                                      const Policy& policy, ResultCode code);
