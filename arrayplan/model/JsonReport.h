// The JSON report of a run ("/json:"): the run's result and, for every controller, what was planned on it,
// the drives it leaves unused and the space that the plan does not use.
#pragma once

#include "arrayplan/model/ResultCodes.h"

#include <string>

class ControllerList;
class OutputFile;
class RunSettings;

// The report's text. result is the run's code (Success for a completed run); planningFailure is the code
// of a failed configuration step (Success otherwise), reported on every controller left without a
// configuration.
std::string jsonReport(const RunSettings& settings, const ControllerList& controllers, ResultCode result,
                       ResultCode planningFailure);

// Writes text into output (opened) and commits it; false, with the file as it was, when that fails.
[[nodiscard]] bool writeJsonReport(OutputFile& output, const std::string& text);
