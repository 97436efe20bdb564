#include "arrayplan/policy/PolicyMatching.h"

#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyList.h"

#include <cstdio>

bool textMet(const CString& criterion, const CString& fact) {
    return criterion.IsEmpty() || criterion.EqualsNoCase(fact);
}

bool numberMet(int criterion, int fact) {
    return criterion == AppliesToEntry::kNotGiven || criterion == fact;
}

namespace {

constexpr int kMatchStartTrace = 41;
constexpr int kMatchFoundTrace = 52;
constexpr int kMatchNoneTrace = 57;

bool entryMatches(const AppliesToEntry& entry, const ControllerFacts& facts) {
    if (entry.all)
        return true;
    return textMet(entry.machineType, facts.machineType) && textMet(entry.serialNumber, facts.serialNumber) &&
           numberMet(entry.controllerNumber, facts.controllerNumber) &&
           numberMet(entry.scanOrder, facts.scanOrder) && numberMet(entry.driveCount, facts.driveCount) &&
           textMet(entry.controllerType, facts.controllerType);
}

void traceMatch(const RunSettings& settings, int tracePoint, const char* format, const char* model,
                int controllerNumber) {
    if (!settings.debug)
        return;
    char text[160];
    std::snprintf(text, sizeof text, format, model, controllerNumber);
    settings.debugTrace(tracePoint, text);
}

} // namespace

ControllerFacts factsOf(const RunSettings& settings, const RaidController& controller, int controllerNumber) {
    ControllerFacts facts;
    facts.machineType = settings.machineType;
    facts.serialNumber = settings.serialNumber;
    facts.controllerNumber = controllerNumber;
    facts.scanOrder = controller.scanOrder();
    facts.controllerType = controller.modelName();
    facts.driveCount = controller.driveCount();
    return facts;
}

bool appliesTo(const Policy& policy, const ControllerFacts& facts) {
    for (int i = 0; i < Policy::kMaxAppliesTo; ++i) {
        const AppliesToEntry* entry = policy.appliesToAt(i);
        if (entry == nullptr)
            return false;
        if (entryMatches(*entry, facts))
            return true;
    }
    return false;
}

Policy* getApplicablePolicy(const RunSettings& settings, const PolicyList& policies,
                            const RaidController& controller, int controllerNumber) {
    const char* model = controller.modelName();
    traceMatch(settings, kMatchStartTrace, "getApplicablePolicy(controller=%s,order=%d) start", model,
               controllerNumber);
    ControllerFacts facts = factsOf(settings, controller, controllerNumber);
    for (int i = 0; i < PolicyList::kCapacity; ++i) {
        Policy* policy = policies.at(i);
        if (policy == nullptr)
            break;
        if (appliesTo(*policy, facts)) {
            settings.debugTrace(kMatchFoundTrace, "getApplicablePolicy end: Found policy returning policy");
            return policy;
        }
    }
    traceMatch(settings, kMatchNoneTrace,
               "getApplicablePolicy(controller=%s,order=%d) end FAILED return NULL", model, controllerNumber);
    return nullptr;
}
