#include "arrayplan/policy/ConfigurationStep.h"

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/ConfigurationCheck.h"
#include "arrayplan/policy/ConfigurationCreator.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyLimits.h"
#include "arrayplan/policy/PolicyMatching.h"

namespace {

// Every controller's copy of its applicable policy, planned or checked; Success or the first failure's
// code.
ResultCode planOrCheckPolicies(RunSettings& settings, ControllerList& controllers, const PolicyList& policies,
                               const PlanPolicy& plan, ControllerPolicies& copies) {
    bool anyApplies = false;
    for (int index = 0; RaidController* controller = controllers.at(index); ++index) {
        copies.emplace_back();
        const Policy* policy = getApplicablePolicy(settings, policies, *controller, index + 1);
        if (policy == nullptr)
            continue;
        anyApplies = true;
        auto copy = std::make_unique<Policy>(*policy);
        ResultCode code = copy->markedForPlanning ? plan(*controller, *copy)
                                                  : checkPolicyLimits(settings, *controller, *copy);
        if (code != ResultCode::Success)
            return code;
        copies.back() = std::move(copy);
    }
    return anyApplies ? ResultCode::Success : ResultCode::NoPolicyApplies;
}

void dumpControllers(const RunSettings& settings, const ControllerList& controllers) {
    for (int i = 0; const RaidController* controller = controllers.at(i); ++i)
        controller->dump(settings.console(), true);
}

} // namespace

ResultCode runConfigurationStep(RunSettings& settings, ControllerList& controllers,
                                const PolicyList& policies, const PlanPolicy& plan) {
    ControllerPolicies copies;
    ResultCode code = planOrCheckPolicies(settings, controllers, policies, plan, copies);
    if (code == ResultCode::Success)
        code = ConfigurationCreator(settings, policies).createConfigurations(controllers, copies);
    if (code == ResultCode::Success)
        code = checkConfigCreated(settings, controllers);
    if (code == ResultCode::Success && settings.debug)
        dumpControllers(settings, controllers);
    return code;
}
