// Which policy applies to a controller: the first policy of the file, in file order, that has an
// AppliesTo entry matching the controller's facts.
#pragma once

#include "foundation/CString.h"

class Policy;
class PolicyList;
class RaidController;
class RunSettings;

// The facts of one controller that an AppliesTo entry is compared with.
struct ControllerFacts {
    CString machineType;
    CString serialNumber;
    int controllerNumber = 0; // 1-based position in the inventory
    int scanOrder = 0;
    CString controllerType; // the catalogue's model name
    int driveCount = 0;
};

// The facts of controller, the controllerNumber-th of the inventory whose system facts settings hold.
ControllerFacts factsOf(const RunSettings& settings, const RaidController& controller, int controllerNumber);

// Whether one criterion of an entry is met: one not given always is; a text equals the fact ignoring
// letter case, a number equals it.
bool textMet(const CString& criterion, const CString& fact);
bool numberMet(int criterion, int fact);

// True when one of the policy's entries matches: an ALL entry, or one whose every given criterion
// equals the fact (texts ignoring letter case, whole texts).
bool appliesTo(const Policy& policy, const ControllerFacts& facts);

// The first applicable policy of policies, or null. With "/debug" it traces its start and end.
Policy* getApplicablePolicy(const RunSettings& settings, const PolicyList& policies,
                            const RaidController& controller, int controllerNumber);
