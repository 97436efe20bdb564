// Runs a program to its end, with its output discarded, and measures its wall time and peak memory.
#pragma once

#include <string>
#include <vector>

struct ProcessRun {
    int status = -1;
    double seconds = 0;
    long peakResidentKiB = 0;
};

ProcessRun RunMeasured(const std::vector<std::string>& argv);
