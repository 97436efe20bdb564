#include "arrayplan/planner/ControllerTrial.h"

#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/planner/PolicyConverter.h"
#include "arrayplan/policy/ConfigurationCheck.h"
#include "arrayplan/policy/ConfiguratorFamilies.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyLimits.h"
#include "arrayplan/policy/PolicyList.h"
#include "arrayplan/policy/PolicyMatching.h"
#include "foundation/Console.h"

#include <memory>
#include <utility>

namespace {

// The run's settings on a console of the trial's own, which keeps what the steps print.
class QuietRun {
public:
    explicit QuietRun(const RunSettings& run) : settings_(console_, run.fileSystem()) {
        console_.Capture(&printed_, &printed_);
        settings_.raidDirectory = run.raidDirectory;
        settings_.machineType = run.machineType;
        settings_.serialNumber = run.serialNumber;
    }
    // What was printed since the last call.
    std::string takePrinted() { return std::exchange(printed_, std::string()); }

    RunSettings& settings() { return settings_; }

private:
    Console console_;
    std::string printed_;
    RunSettings settings_;
};

// The drives of the controller, without the marks and the configuration of an earlier build.
std::unique_ptr<RaidController> freshCopy(const RaidController& controller) {
    auto copy = std::make_unique<RaidController>(controller.type(), controller.variant());
    (void)copy->setScanOrder(controller.scanOrder());
    for (int channel = 0; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id) {
            const DriveSlot* slot = controller.drive(channel, id);
            if (slot->size != -1)
                (void)copy->setDrive(channel, id, slot->size, slot->type, slot->targetNumber);
        }
    }
    return copy;
}

int firstApplicable(const PolicyView& policies, const ControllerFacts& facts) {
    for (size_t i = 0; i < policies.size(); ++i) {
        if (appliesTo(*policies[i], facts))
            return static_cast<int>(i);
    }
    return -1;
}

bool ended(TrialOutcome& outcome, TrialStep step, ResultCode code, QuietRun& quiet) {
    outcome.step = step;
    outcome.code = code;
    outcome.messages = quiet.takePrinted();
    return code == ResultCode::Success;
}

// Plans or checks, builds and checks the copy; false at the first step that fails.
bool planAndBuild(QuietRun& quiet, ControllerList& list, Policy& policy, TrialOutcome& outcome) {
    RaidController& controller = *list.at(0);
    if (policy.markedForPlanning) {
        PolicyConverter converter(quiet.settings(), policy, controller);
        if (!ended(outcome, TrialStep::Planning, converter.runConverter(), quiet))
            return false;
    } else if (!ended(outcome, TrialStep::LimitCheck, checkPolicyLimits(quiet.settings(), controller, policy),
                      quiet)) {
        return false;
    }
    std::unique_ptr<ControllerConfigurator> configurator =
        makeConfigurator(quiet.settings(), controller, policy);
    ResultCode built = configurator ? configurator->buildConfiguration() : ResultCode::ControllerUnsupported;
    if (!ended(outcome, TrialStep::Building, built, quiet) || controller.configuration() == nullptr)
        return false;
    return ended(outcome, TrialStep::ConfigurationCheck, checkConfigCreated(quiet.settings(), list), quiet);
}

} // namespace

PolicyView policiesOf(const PolicyList& list) {
    PolicyView view;
    for (int i = 0; const Policy* policy = list.at(i); ++i)
        view.push_back(policy);
    return view;
}

TrialOutcome tryController(const RunSettings& settings, const RaidController& controller,
                           int controllerNumber, const PolicyView& policies) {
    QuietRun quiet(settings);
    ControllerList list;
    (void)list.add(freshCopy(controller));
    TrialOutcome outcome;
    outcome.policyIndex = firstApplicable(policies, factsOf(quiet.settings(), *list.at(0), controllerNumber));
    if (outcome.policyIndex < 0)
        return outcome;
    Policy copy(*policies[static_cast<size_t>(outcome.policyIndex)]);
    if (!planAndBuild(quiet, list, copy, outcome))
        return outcome;
    const RaidConfiguration& configuration = *list.at(0)->configuration();
    outcome.configured = true;
    outcome.arrays = configuration.arrayCount();
    outcome.logicalDrives = configuration.logicalDriveCount();
    outcome.hotSpares = configuration.hotSpareCount();
    return outcome;
}

std::vector<TrialOutcome> tryControllers(const RunSettings& settings, const ControllerList& controllers,
                                         const PolicyView& policies) {
    std::vector<TrialOutcome> outcomes;
    for (int i = 0; const RaidController* controller = controllers.at(i); ++i)
        outcomes.push_back(tryController(settings, *controller, i + 1, policies));
    return outcomes;
}

ResultCode runCodeOf(const std::vector<TrialOutcome>& outcomes) {
    bool anyApplies = false;
    bool anyConfigured = false;
    for (const TrialOutcome& outcome : outcomes) {
        if (outcome.failed())
            return outcome.code;
        anyApplies = anyApplies || outcome.policyIndex >= 0;
        anyConfigured = anyConfigured || outcome.configured;
    }
    if (!anyApplies)
        return ResultCode::NoPolicyApplies;
    return anyConfigured ? ResultCode::Success : ResultCode::NotEnoughSameSizeDrives;
}
