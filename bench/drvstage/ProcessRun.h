// Runs a program to its end, with its output discarded, and measures its wall time and peak memory.
#pragma once

#include <string>
#include <vector>

struct ProcessRun {
    int status = -1;
    double seconds = 0;
    // The program's peak resident size. A program started straight from this process inherits this
    // process's peak at its start, so the figure comes from /usr/bin/time where it is installed; without
    // it the figure is an upper bound (peakIsExact false).
    long peakResidentKiB = 0;
    bool peakIsExact = false;
};

ProcessRun RunMeasured(const std::vector<std::string>& argv);
