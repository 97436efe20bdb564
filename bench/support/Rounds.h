// Programs measured against each other in rounds: every contender runs once per round, the order rotating
// from round to round so that none always follows the same neighbour's disk and cache state; each
// contender's figures are the medians of its rounds, its peak memory the largest of them.
#pragma once

#include "MeasuredRun.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>
#include <vector>

struct Contender {
    std::string name; // the counters' prefix: <name>_s, <name>_cpu_s, <name>_peak_KiB
    std::function<MeasuredRun(int round)> run;
    // Whether the round's run did its whole work (say, copied every file); none: its exit status only.
    std::function<bool(int round)> didItsWork;
};

struct ContenderFigures {
    double seconds = 0;
    double cpuSeconds = 0;
    long peakKiB = 0;
};

struct RoundsResult {
    std::vector<ContenderFigures> figures; // in the contenders' order
    std::string failure;                   // empty when every run succeeded
};

// At least five rounds make a median worth the name.
constexpr int kMinimumRounds = 5;

// Runs the given number of rounds, never fewer than kMinimumRounds; stops at the first failed run.
RoundsResult RunRounds(const std::vector<Contender>& contenders, int rounds);

// Sets the first contender's median as the iteration's time and every contender's figures as counters;
// skips the benchmark with the failure instead when there was one.
void ReportRounds(benchmark::State& state, const std::vector<Contender>& contenders,
                  const RoundsResult& result);
