// The planner on 128 drives with eight arrays, including layouts that drive a plain depth-first
// distribution search into its worst case (it would enumerate up to 128 x 127 x ... candidates before
// failing). Target: every whole planner run well under 100 ms. The search-only cases compare the cut
// search with the plain one; the plain one gives up after a budget of reservations.
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RaidRecords.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/planner/DriveDistribution.h"
#include "arrayplan/planner/PolicyConverter.h"
#include "arrayplan/policy/Policy.h"
#include "foundation/Console.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

struct ArraySpec {
    int driveCount; // 0: AUTO
    int level;
    int ldSize = kSizeFill;
};

struct Layout {
    std::vector<int> driveSizes; // in drive-number order
    std::vector<ArraySpec> arrays;
    int expectedCode;
};

std::vector<int> distinctSizes(int count, int first = 1000) {
    std::vector<int> sizes;
    for (int i = 0; i < count; ++i)
        sizes.push_back(first + 10 * i);
    return sizes;
}

std::vector<int> join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<ArraySpec> repeat(int count, ArraySpec spec) {
    return std::vector<ArraySpec>(static_cast<size_t>(count), spec);
}

std::vector<ArraySpec> join(std::vector<ArraySpec> a, const std::vector<ArraySpec>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// (a) Seven single drives and a mirror over 128 distinct sizes: the mirror has no candidate.
Layout noMirrorCandidate() {
    return {distinctSizes(128), join(repeat(7, {1, kRaid0}), repeat(1, {2, kRaid1})), 10};
}

// (b) Six single drives and two mirrors; only one pair of equal drives exists.
Layout competingMirrors() {
    return {join({500, 500}, distinctSizes(126)), join(repeat(6, {1, kRaid0}), repeat(2, {2, kRaid1})), 10};
}

// Eight mirrors over seven pairs (the smallest sizes) and single drives: fails only by counting.
Layout eightMirrorsSevenPairs() {
    std::vector<int> pairs;
    for (int i = 0; i < 7; ++i)
        pairs.insert(pairs.end(), {100 + i, 100 + i});
    return {join(pairs, distinctSizes(114)), repeat(8, {2, kRaid1}), 10};
}

// A single drive first, whose first seven candidates would take a pair that the seven mirrors need.
Layout pairsKeptForMirrors() {
    std::vector<int> pairs;
    for (int i = 0; i < 7; ++i)
        pairs.insert(pairs.end(), {100 + i, 100 + i});
    return {join(pairs, distinctSizes(114)), join(repeat(1, {1, kRaid0}), repeat(7, {2, kRaid1})), 0};
}

// The first fit misleads the check at every level: the single drives would take the one pair first,
// which the last array needs, so the sweep over all sizes runs for every array.
Layout pairNeededLast() {
    return {join({500, 500}, distinctSizes(126)), join(repeat(7, {1, kRaid0}), repeat(1, {2, kRaid0})), 0};
}

// Every array may take every size: the check of the remaining arrays is as large as it gets at
// every level.
Layout everyArrayEverySize() {
    return {distinctSizes(128), repeat(8, {1, kRaid0}), 0};
}

// A mixed plan that succeeds: sixteen sizes of eight drives each, levels grown and filled.
Layout mixedPlan() {
    std::vector<int> sizes;
    for (int s = 0; s < 16; ++s)
        sizes.insert(sizes.end(), 8, 36000 + 1000 * s);
    return {sizes,
            {{0, kRaid5, 200000},
             {2, kRaid1},
             {0, kRaid10},
             {3, kRaid0, -50},
             {4, kRaid5},
             {2, kRaid1, 30000},
             {0, kRaid0},
             {0, kRaid5, 300000}},
            0};
}

class PlannerFixture {
public:
    explicit PlannerFixture(const Layout& layout) : controller_(1, 4) {
        std::filesystem::path folder = std::filesystem::temp_directory_path() / "arrayplan-planner-bench";
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "Vaultix-Q4.ini", std::ios::trunc)
            << "[RAIDController]\nMaxArrays = 8\nMaxHotSpares = 8\nRAIDLevels = 0,1,5,10\n"
               "[0]\nMaxPhysicalDrives = 32\n[1]\nMinPhysicalDrives = 2\nMaxPhysicalDrives = 2\n"
               "[5]\nMinPhysicalDrives = 3\n[10]\nMinPhysicalDrives = 4\n";
        settings_.raidDirectory = CString((folder.string() + "/").c_str());
        for (size_t i = 0; i < layout.driveSizes.size(); ++i)
            controller_.setDrive(1 + static_cast<int>(i) / 32, static_cast<int>(i) % 32, layout.driveSizes[i],
                                 "SAS");
        policy_.markedForPlanning = true;
        policy_.arrayDefaultHotSpares = 0;
        for (size_t i = 0; i < layout.arrays.size(); ++i) {
            auto array = std::make_unique<RaidArray>();
            array->addDriveNumber(layout.arrays[i].driveCount);
            policy_.addArray(std::move(array));
            auto logical = std::make_unique<RaidLogicalDrive>();
            logical->arrayIndex = static_cast<int>(i);
            logical->raidLevel = layout.arrays[i].level;
            logical->size = layout.arrays[i].ldSize;
            policy_.addLogicalDrive(std::move(logical));
        }
    }

    int plan() {
        Policy planned(policy_);
        return codeNumber(PolicyConverter(settings_, planned, controller_).runConverter());
    }

private:
    RunSettings settings_;
    RaidController controller_;
    Policy policy_;
};

void runPlanner(benchmark::State& state, const Layout& layout) {
    PlannerFixture fixture(layout);
    std::string out;
    Console::Instance().Capture(&out, nullptr);
    for (auto _ : state) {
        int code = fixture.plan();
        if (code != layout.expectedCode)
            state.SkipWithError(("unexpected result code " + std::to_string(code)).c_str());
        out.clear();
    }
    Console::Instance().Capture(nullptr, nullptr);
}

// The candidates of arrays with fixed drive counts whose logical drives fill them: every size with
// enough drives.
CandidateLists candidatesOf(const Layout& layout) {
    std::map<int, int> counts;
    for (int size : layout.driveSizes)
        ++counts[size];
    CandidateLists lists;
    for (const ArraySpec& array : layout.arrays) {
        lists.emplace_back();
        for (const auto& [size, count] : counts) {
            if (count >= array.driveCount)
                lists.back().push_back(DriveCandidate{size, array.driveCount});
        }
    }
    return lists;
}

std::map<int, int> freeCountsOf(const Layout& layout) {
    std::map<int, int> counts;
    for (int size : layout.driveSizes)
        ++counts[size];
    return counts;
}

// The depth-first search without cuts; false also when the budget of reservations is spent.
bool plainSearch(const CandidateLists& lists, std::map<int, int>& free, size_t array, long long& budget) {
    for (const DriveCandidate& candidate : lists[array]) {
        if (--budget < 0)
            return false;
        int& available = free[candidate.size];
        if (available < candidate.count)
            continue;
        available -= candidate.count;
        bool found = array + 1 == lists.size() || plainSearch(lists, free, array + 1, budget);
        available += candidate.count;
        if (found)
            return true;
    }
    return false;
}

void runCutSearch(benchmark::State& state, const Layout& layout) {
    CandidateLists lists = candidatesOf(layout);
    std::map<int, int> free = freeCountsOf(layout);
    DistributionSteps quiet;
    for (auto _ : state) {
        DriveDistribution search(lists, free, quiet);
        bool found = search.allocateArray(0);
        if (found != (layout.expectedCode == 0))
            state.SkipWithError("unexpected search result");
    }
}

constexpr long long kPlainBudget = 50'000'000;

void runPlainSearch(benchmark::State& state, const Layout& layout) {
    CandidateLists lists = candidatesOf(layout);
    bool finished = true;
    for (auto _ : state) {
        std::map<int, int> free = freeCountsOf(layout);
        long long budget = kPlainBudget;
        bool found = plainSearch(lists, free, 0, budget);
        finished = budget >= 0;
        if (finished && found != (layout.expectedCode == 0))
            state.SkipWithError("unexpected search result");
    }
    state.counters["finished"] = finished ? 1 : 0;
}

} // namespace

BENCHMARK_CAPTURE(runPlanner, a_no_mirror_candidate, noMirrorCandidate())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlanner, b_competing_mirrors, competingMirrors())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlanner, eight_mirrors_seven_pairs, eightMirrorsSevenPairs())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlanner, pairs_kept_for_mirrors, pairsKeptForMirrors())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlanner, pair_needed_last, pairNeededLast())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlanner, every_array_every_size, everyArrayEverySize())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlanner, mixed_plan_128_drives, mixedPlan())->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(runCutSearch, a_no_mirror_candidate, noMirrorCandidate())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCutSearch, b_competing_mirrors, competingMirrors())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCutSearch, eight_mirrors_seven_pairs, eightMirrorsSevenPairs())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCutSearch, pair_needed_last, pairNeededLast())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runCutSearch, every_array_every_size, everyArrayEverySize())->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(runPlainSearch, a_no_mirror_candidate, noMirrorCandidate())
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(runPlainSearch, b_competing_mirrors, competingMirrors())
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(runPlainSearch, eight_mirrors_seven_pairs, eightMirrorsSevenPairs())
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(runPlainSearch, pair_needed_last, pairNeededLast())
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(runPlainSearch, every_array_every_size, everyArrayEverySize())
    ->Unit(benchmark::kMillisecond);
