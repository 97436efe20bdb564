// The JSON report of a run ("/json:"): the run's result and, for every controller, what was planned on it,
// the drives it leaves unused and the space that the plan does not use.
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include <string>
#include <vector>

class ControllerList;
class OutputFile;
class RunSettings;

// The report's text. result is the run's code (Success for a completed run); planningFailure is the code
// of a failed configuration step (Success otherwise), reported on every controller left without a
// configuration.
std::string jsonReport(const RunSettings& settings, const ControllerList& controllers, ResultCode result,
                       ResultCode planningFailure);

// What the report says of one controller, in one line of a fleet check's report.
struct ControllerSummary {
    int number = 0; // from 1, in inventory order
    std::string model;
    std::string policy; // empty when none was applied
    // "id:level:members" per array, blank-separated, the members' drive numbers joined by "+": "A:5:1+2+3"
    std::string arrays;
    long long usableMb = 0; // of all arrays
    long long wastedMb = 0;
};

// The summaries of the report's controllers, with the same figures as the report.
std::vector<ControllerSummary> controllerSummaries(const ControllerList& controllers);

// The report's result: the run's exit status and the message without its line end ("Validation
// Completed" for a completed run).
int resultStatus(ResultCode code);
std::string resultText(ResultCode code);
// The message of a failed run's code without its line end (for Success, the general failure's message).
std::string failureText(ResultCode code);

// Writes text into output (opened) and commits it; false, with the file as it was, when that fails.
[[nodiscard]] bool writeJsonReport(OutputFile& output, const std::string& text);
