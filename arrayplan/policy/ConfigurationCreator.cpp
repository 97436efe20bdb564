#include "arrayplan/policy/ConfigurationCreator.h"

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/ConfiguratorFamilies.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyMatching.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextFormat.h"

namespace {

const Policy* copyFor(const ControllerPolicies& copies, int index) {
    return index < static_cast<int>(copies.size()) ? copies[static_cast<size_t>(index)].get() : nullptr;
}

} // namespace

ConfigurationCreator::ConfigurationCreator(RunSettings& settings, const PolicyList& policies)
    : settings_(settings), policies_(policies) {}

ResultCode ConfigurationCreator::createConfigurations(ControllerList& controllers,
                                                      const ControllerPolicies& copies) {
    for (int index = 0; RaidController* controller = controllers.at(index); ++index) {
        int number = index + 1;
        const char* model = controller->modelName();
        const Policy* policy = getApplicablePolicy(settings_, policies_, *controller, number);
        if (policy == nullptr) {
            settings_.printLeveled(
                FormatText("\t%s, controller %d using policy:  %s\n", model, number, "No policy found.")
                    .c_str(),
                5);
            continue;
        }
        if (const Policy* copy = copyFor(copies, index))
            policy = copy;
        std::unique_ptr<ControllerConfigurator> configurator =
            makeConfigurator(settings_, *controller, *policy);
        if (configurator == nullptr) {
            settings_.reportError("Internal error.  Controller type not found:  ");
            settings_.printLeveled(model, 0);
            return ResultCode::ControllerUnsupported;
        }
        if (ResultCode code = configurator->buildConfiguration(); code != ResultCode::Success)
            return code;
        if (controller->configuration() == nullptr)
            settings_.printLeveled(
                FormatText("\tSkipped %s controller -- Not enough drives available.\n", model).c_str(), 3);
        else
            settings_.printLeveled(
                FormatText("\t%s, controller %d using policy:  %s\n", model, number, policy->name.Text())
                    .c_str(),
                5);
    }
    return ResultCode::Success;
}
