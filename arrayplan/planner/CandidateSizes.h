// Why a planned policy finds no drives on a controller: the hot spares the planner takes first, then,
// array by array, every drive size with its free drives and the reason it cannot serve the array. The
// planner's own rules are applied in its order, so a size listed as a candidate is one the planner
// also tries.
#pragma once

#include <string>
#include <vector>

class ControllerIni;
class Policy;
class RaidController;

// "Drives: 3 x 70007 MB, 2 x 140013 MB." (the drives larger than 0 MB, by size).
std::string drivesLine(const RaidController& controller);

// The lines of the listing, the drives line first, without indentation; ini is the controller's support file,
// loaded.
std::vector<std::string> candidateSizeLines(const ControllerIni& ini, const RaidController& controller,
                                            const Policy& policy);
