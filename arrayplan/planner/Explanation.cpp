#include "arrayplan/planner/Explanation.h"

#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/planner/CandidateSizes.h"
#include "arrayplan/planner/ControllerTrial.h"
#include "arrayplan/planner/PolicyChanges.h"
#include "arrayplan/policy/LimitReasons.h"
#include "arrayplan/policy/MatchTrace.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyList.h"
#include "foundation/Console.h"

#include <set>
#include <string>
#include <vector>

namespace {

constexpr size_t kMostSuggestions = 3;
constexpr const char* kIndent = "    ";

// What one explanation reads: the run's settings, controllers and policies, and every controller's
// outcome with the policies as read.
struct Examined {
    const RunSettings& settings;
    const ControllerList& controllers;
    PolicyView policies;
    std::vector<TrialOutcome> outcomes;
    ResultCode runCode;
};

std::string withoutNewline(const char* message) {
    std::string text = message;
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

const char* stepFailing(TrialStep step) {
    switch (step) {
    case TrialStep::Planning:
        return "Planning fails";
    case TrialStep::LimitCheck:
        return "The check against the support file fails";
    case TrialStep::Building:
        return "Building the configuration fails";
    case TrialStep::ConfigurationCheck:
        return "The check of the built configuration fails";
    case TrialStep::Matching:
        break;
    }
    return "Matching fails";
}

// The failing step's messages on one line, without the error form's frame.
std::string reported(const std::string& messages) {
    std::string text;
    size_t at = 0;
    while (at < messages.size()) {
        size_t end = messages.find('\n', at);
        std::string line = messages.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? messages.size() : end + 1;
        size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line == "#### ERROR")
            continue;
        text += (text.empty() ? "" : " ") + line.substr(first);
    }
    return text;
}

std::string plural(int count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void printLine(const RunSettings& settings, const std::string& text, int depth = 1) {
    std::string line;
    for (int i = 0; i < depth; ++i)
        line += kIndent;
    settings.printPlain((line + text + "\n").c_str());
}

// The support file of the controller, its messages kept back.
class QuietIni {
    Console console_; // before ini, which keeps a reference to it
    std::string discarded_;

public:
    QuietIni(const RunSettings& settings, const RaidController& controller)
        : ini(settings.raidDirectory, controller.modelName(), console_, settings.fileSystem()) {
        console_.Capture(&discarded_, &discarded_);
        loaded = ini.load();
    }
    ControllerIni ini;
    bool loaded = false;
};

void printMatchTrace(const Examined& run, int index) {
    const TrialOutcome& outcome = run.outcomes[static_cast<size_t>(index)];
    ControllerFacts facts = factsOf(run.settings, *run.controllers.at(index), index + 1);
    size_t tried = outcome.policyIndex < 0 ? run.policies.size() : static_cast<size_t>(outcome.policyIndex);
    for (size_t p = 0; p < tried; ++p)
        printLine(run.settings, run.policies[p]->name.Str() +
                                    " does not apply: " + exclusionText(*run.policies[p], facts) + ".");
    if (outcome.policyIndex < 0) {
        printLine(run.settings, "No policy applies to this controller.");
        return;
    }
    const Policy& chosen = *run.policies[static_cast<size_t>(outcome.policyIndex)];
    printLine(run.settings, chosen.name.Str() + " applies (entry " +
                                std::to_string(matchingEntry(chosen, facts) + 1) + ").");
}

void printOutcome(const Examined& run, int index) {
    const TrialOutcome& outcome = run.outcomes[static_cast<size_t>(index)];
    if (outcome.failed()) {
        printLine(run.settings, std::string(stepFailing(outcome.step)) + " with code " +
                                    std::to_string(codeNumber(outcome.code)) + ": " +
                                    withoutNewline(resultMessage(outcome.code)));
        if (std::string text = reported(outcome.messages); !text.empty())
            printLine(run.settings, "Reported: " + text);
    } else if (outcome.configured) {
        printLine(run.settings, "Configured: " + plural(outcome.arrays, "array") + ", " +
                                    plural(outcome.logicalDrives, "logical drive") + ", " +
                                    plural(outcome.hotSpares, "hot spare") + ".");
    } else if (outcome.policyIndex >= 0) {
        printLine(run.settings, "Too few drives to configure: the controller is passed over.");
    } else if (run.runCode != ResultCode::NoPolicyApplies) {
        printLine(run.settings, "The controller is passed over.");
    }
}

void printLimits(const Examined& run, int index, const QuietIni& support) {
    const TrialOutcome& outcome = run.outcomes[static_cast<size_t>(index)];
    bool refusedAsRead = outcome.step == TrialStep::Planning || outcome.step == TrialStep::LimitCheck;
    if (!outcome.failed() || !refusedAsRead || !support.loaded)
        return;
    for (const std::string& line :
         limitReasons(support.ini, *run.controllers.at(index),
                      *run.policies[static_cast<size_t>(outcome.policyIndex)], outcome.code))
        printLine(run.settings, line);
}

void printDrives(const Examined& run, int index, const QuietIni& support) {
    const TrialOutcome& outcome = run.outcomes[static_cast<size_t>(index)];
    bool findsNoDrives = outcome.code == ResultCode::ArrayDrivesUnsupported ||
                         outcome.code == ResultCode::NoDrivesForHotSpares ||
                         outcome.code == ResultCode::NotEnoughSameSizeDrives;
    if (!findsNoDrives)
        return;
    const RaidController& controller = *run.controllers.at(index);
    if (outcome.step != TrialStep::Planning || !support.loaded) {
        printLine(run.settings, drivesLine(controller));
        return;
    }
    for (const std::string& line :
         candidateSizeLines(support.ini, controller, *run.policies[static_cast<size_t>(outcome.policyIndex)]))
        printLine(run.settings, line);
}

// Whether the change lets the controller succeed and fails no controller that did not fail before; the
// controller itself is tried first, since most changes fail there.
bool proves(const Examined& run, int index, size_t policyIndex, const PolicyChange& change, bool rematch) {
    PolicyView changed = run.policies;
    changed[policyIndex] = &change.changed;
    if (!tryController(run.settings, *run.controllers.at(index), index + 1, changed).configured)
        return false;
    for (int m = 0; const RaidController* controller = run.controllers.at(m); ++m) {
        const TrialOutcome& before = run.outcomes[static_cast<size_t>(m)];
        bool affected = rematch || before.policyIndex == static_cast<int>(policyIndex);
        if (m == index || before.failed() || !affected)
            continue;
        if (tryController(run.settings, *controller, m + 1, changed).failed())
            return false;
    }
    return true;
}

std::vector<std::pair<size_t, PolicyChange>> candidateChanges(const Examined& run, int index,
                                                              const QuietIni& support) {
    std::vector<std::pair<size_t, PolicyChange>> candidates;
    const TrialOutcome& outcome = run.outcomes[static_cast<size_t>(index)];
    if (outcome.policyIndex >= 0) {
        size_t p = static_cast<size_t>(outcome.policyIndex);
        if (support.loaded) {
            for (PolicyChange& change : nearbyChanges(*run.policies[p], support.ini))
                candidates.emplace_back(p, std::move(change));
        }
        return candidates;
    }
    ControllerFacts facts = factsOf(run.settings, *run.controllers.at(index), index + 1);
    for (size_t p = 0; p < run.policies.size(); ++p)
        candidates.emplace_back(p, appliesToChange(*run.policies[p], facts));
    return candidates;
}

void printSuggestions(const Examined& run, int index, const QuietIni& support) {
    const TrialOutcome& outcome = run.outcomes[static_cast<size_t>(index)];
    bool noneApplies = outcome.policyIndex < 0 && run.runCode == ResultCode::NoPolicyApplies;
    if (!outcome.failed() && !noneApplies)
        return;
    std::set<std::string> provenFamilies;
    int shown = 0;
    for (const auto& [p, change] : candidateChanges(run, index, support)) {
        if (provenFamilies.size() >= kMostSuggestions)
            break;
        if (provenFamilies.count(change.family) != 0 || !proves(run, index, p, change, noneApplies))
            continue;
        provenFamilies.insert(change.family);
        printLine(run.settings, "Suggestion " + std::to_string(++shown) +
                                    ", proven by planning and building again: in " +
                                    run.policies[p]->name.Str() + ", " + change.what + ":");
        for (const std::string& line : change.lines)
            printLine(run.settings, line, 2);
    }
    if (shown == 0)
        printLine(run.settings, "No nearby change of the policy was proven to succeed.");
}

void printSummary(const Examined& run) {
    std::string failures;
    int count = 0;
    for (size_t i = 0; i < run.outcomes.size(); ++i) {
        if (!run.outcomes[i].failed())
            continue;
        ++count;
        failures += (failures.empty() ? "" : ", ") + ("controller " + std::to_string(i + 1)) + " (code " +
                    std::to_string(codeNumber(run.outcomes[i].code)) + ")";
    }
    int exitStatus = run.runCode == ResultCode::Success ? 0 : failureExitStatus(run.runCode);
    std::string status = "the exit status is " + std::to_string(exitStatus);
    if (count == 0 && run.runCode == ResultCode::NoPolicyApplies)
        run.settings.printPlain(("No policy applies to any controller; " + status + ".\n").c_str());
    else if (count == 0)
        run.settings.printPlain(("No controller fails; " + status + ".\n").c_str());
    else
        run.settings.printPlain((plural(count, "controller") + " fail" + (count == 1 ? "s" : "") + ": " +
                                 failures + "; " + status + ", the first failure's code.\n")
                                    .c_str());
}

} // namespace

void printExplanation(const RunSettings& settings, const ControllerList& controllers,
                      const PolicyList& policies, ResultCode runCode) {
    Examined run{settings, controllers, policiesOf(policies), {}, runCode};
    run.outcomes = tryControllers(settings, controllers, run.policies);
    settings.printPlain("\nExplanation\n");
    printSummary(run);
    for (int i = 0; const RaidController* controller = controllers.at(i); ++i) {
        settings.printPlain(
            ("Controller " + std::to_string(i + 1) + ", " + controller->modelName() + ":\n").c_str());
        QuietIni support(settings, *controller);
        printMatchTrace(run, i);
        printOutcome(run, i);
        printLimits(run, i, support);
        printDrives(run, i, support);
        printSuggestions(run, i, support);
    }
}
