// PolicyConverter: completes a policy that gives drive counts ("AUTO", "#n") for one controller: picks
// the hot spares, the drives of every array and the size of every logical drive within the limits of
// the controller's support file, and writes them back into the policy, which then reads like a
// hand-written policy in custom array mode with explicit drive numbers.
//
// Plan each controller on its own copy of the policy as read:
//     Policy planned(*policyAsRead);
//     PolicyConverter converter(settings, planned, controller);
//     if (int code = converter.runConverter()) ... // the run's result code (3 .. 10, 17)
#pragma once

#include "arrayplan/planner/PlannerRecords.h"

#include <memory>
#include <vector>

class ControllerIni;
class Policy;
class RaidController;
class RaidLogicalDrive;
class RunSettings;

class PolicyConverter {
public:
    // Borrows all three; the policy is edited in place by runConverter.
    PolicyConverter(RunSettings& settings, Policy& policy, RaidController& controller);
    ~PolicyConverter();
    PolicyConverter(const PolicyConverter&) = delete;
    PolicyConverter& operator=(const PolicyConverter&) = delete;

    // 0 when the policy was completed; else the run's code, and the policy may be partly edited.
    int runConverter();

private:
    RunSettings& settings_;
    Policy& policy_;
    RaidController& controller_;
    std::unique_ptr<ControllerIni> ini_;
    bool debug_;
    int errorCode_ = 0;
};
