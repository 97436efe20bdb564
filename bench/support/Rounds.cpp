#include "Rounds.h"

#include <algorithm>

namespace {

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string RunFailure(const Contender& contender, const MeasuredRun& run, int round) {
    if (run.status != 0)
        return contender.name + " exit status " + std::to_string(run.status) + " in round " +
               std::to_string(round + 1);
    if (contender.didItsWork && !contender.didItsWork(round))
        return contender.name + " did not do its whole work in round " + std::to_string(round + 1);
    return {};
}

} // namespace

RoundsResult RunRounds(const std::vector<Contender>& contenders, int rounds) {
    const size_t count = contenders.size();
    std::vector<std::vector<double>> seconds(count), cpuSeconds(count);
    RoundsResult result;
    result.figures.resize(count);
    for (int round = 0; round < std::max(rounds, kMinimumRounds); ++round) {
        for (size_t turn = 0; turn < count; ++turn) {
            const size_t index = (size_t(round) + turn) % count;
            const MeasuredRun run = contenders[index].run(round);
            result.failure = RunFailure(contenders[index], run, round);
            if (!result.failure.empty())
                return result;
            seconds[index].push_back(run.seconds);
            cpuSeconds[index].push_back(run.cpuSeconds);
            result.figures[index].peakKiB = std::max(result.figures[index].peakKiB, run.peakKiB);
        }
    }
    for (size_t index = 0; index < count; ++index) {
        result.figures[index].seconds = Median(seconds[index]);
        result.figures[index].cpuSeconds = Median(cpuSeconds[index]);
    }
    return result;
}

void ReportRounds(benchmark::State& state, const std::vector<Contender>& contenders,
                  const RoundsResult& result) {
    if (!result.failure.empty()) {
        state.SkipWithError(result.failure.c_str());
        return;
    }
    state.SetIterationTime(result.figures.front().seconds);
    for (size_t index = 0; index < contenders.size(); ++index) {
        const std::string& name = contenders[index].name;
        state.counters[name + "_s"] = result.figures[index].seconds;
        state.counters[name + "_cpu_s"] = result.figures[index].cpuSeconds;
        state.counters[name + "_peak_KiB"] = double(result.figures[index].peakKiB);
    }
}
