// Runs a program to its end with its output discarded, and measures its wall time, processor time and
// peak memory.
#pragma once

#include <string>
#include <vector>

struct MeasuredRun {
    int status = -1; // the exit status; -1 when it could not start or did not exit normally
    double seconds = 0;
    // Processor time (user and system) of the program and what it started, which a busy machine inflates
    // less than the wall time.
    double cpuSeconds = 0;
    // Peak resident size, as /usr/bin/time reports it: a child started straight from this process would
    // inherit this process's peak at its start.
    long peakKiB = 0;
};

MeasuredRun RunMeasured(const std::vector<std::string>& argv);
