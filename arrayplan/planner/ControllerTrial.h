// One controller planned and built again on its own: a fresh copy of the controller, the policies given,
// and the run's settings with the messages kept back. The real run's controllers, files and console are
// left alone, so an explanation can try a changed policy without touching anything of the run.
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include <string>
#include <vector>

class ControllerList;
class Policy;
class PolicyList;
class RaidController;
class RunSettings;

// The policies a trial matches against, in file order; an entry may be a changed copy.
using PolicyView = std::vector<const Policy*>;
PolicyView policiesOf(const PolicyList& list);

enum class TrialStep { Matching, Planning, LimitCheck, Building, ConfigurationCheck };

struct TrialOutcome {
    int policyIndex = -1;                 // the applicable policy's place in the view; -1 when none applies
    TrialStep step = TrialStep::Matching; // the last step tried
    ResultCode code = ResultCode::Success;
    bool configured = false; // the controller got a configuration
    int arrays = 0;
    int logicalDrives = 0;
    int hotSpares = 0;
    std::string messages; // what the failing step printed

    bool failed() const { return code != ResultCode::Success; }
};

// controllerNumber is the controller's 1-based place in the inventory.
TrialOutcome tryController(const RunSettings& settings, const RaidController& controller,
                           int controllerNumber, const PolicyView& policies);

// Every controller of the list, each on its own.
std::vector<TrialOutcome> tryControllers(const RunSettings& settings, const ControllerList& controllers,
                                         const PolicyView& policies);

// The code that a run gets from these outcomes: the first failure's, 19 when no policy applies to any
// controller, 10 when none was configured; Success otherwise.
ResultCode runCodeOf(const std::vector<TrialOutcome>& outcomes);
