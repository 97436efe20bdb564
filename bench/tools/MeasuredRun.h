// Runs a program to its end with its output discarded, and measures its wall time and peak memory.
#pragma once

#include <string>
#include <vector>

struct MeasuredRun {
    int status = -1; // the exit status; -1 when it could not start or did not exit normally
    double seconds = 0;
    // Processor time (user and system) of the program and what it started, which a busy machine inflates
    // less than the wall time.
    double cpuSeconds = 0;
    // Peak resident size. A child started straight from this process would report this process's peak, so
    // the figure comes from /usr/bin/time; without it, peakKiB stays 0.
    long peakKiB = 0;
};

MeasuredRun RunMeasured(const std::vector<std::string>& argv);
