#include "arrayplan/policy/ConfigurationStep.h"

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/ConfigurationCheck.h"
#include "arrayplan/policy/ConfigurationCreator.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyLimits.h"
#include "arrayplan/policy/PolicyMatching.h"

namespace {

constexpr int kNoPolicyApplies = 19;
constexpr int kNotConfigured = 10;
constexpr int kArrayTooLarge = 7;

// Every controller's copy of its applicable policy, planned or checked; 0 or the first failure's code.
int planOrCheckPolicies(RunSettings& settings, ControllerList& controllers, const PolicyList& policies,
                        const PlanPolicy& plan, ControllerPolicies& copies) {
    bool anyApplies = false;
    for (int index = 0; RaidController* controller = controllers.at(index); ++index) {
        copies.emplace_back();
        const Policy* policy = getApplicablePolicy(settings, policies, *controller, index + 1);
        if (policy == nullptr)
            continue;
        anyApplies = true;
        auto copy = std::make_unique<Policy>(*policy);
        int code = copy->markedForPlanning ? plan(*controller, *copy)
                                           : checkPolicyLimits(settings, *controller, *copy);
        if (code != 0)
            return code;
        copies.back() = std::move(copy);
    }
    return anyApplies ? 0 : kNoPolicyApplies;
}

void dumpControllers(const ControllerList& controllers) {
    for (int i = 0; const RaidController* controller = controllers.at(i); ++i)
        controller->dump(true);
}

} // namespace

int runConfigurationStep(RunSettings& settings, ControllerList& controllers, const PolicyList& policies,
                         const PlanPolicy& plan) {
    ControllerPolicies copies;
    if (int code = planOrCheckPolicies(settings, controllers, policies, plan, copies))
        return code;
    ConfigurationCreator creator(settings, policies);
    if (!creator.createConfigurations(controllers, copies))
        return settings.failureCode;
    if (int code = checkConfigCreated(settings, controllers))
        return code == kArrayTooLarge ? kArrayTooLarge : kNotConfigured;
    if (settings.debug)
        dumpControllers(controllers);
    return 0;
}
