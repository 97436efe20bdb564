// The configuration step and the policy writer on the largest inventory: 26 controllers of 128 drives,
// matched against 100 policies of which only the last applies. The cost must grow linearly with the
// number of controllers.
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/ConfigurationStep.h"
#include "arrayplan/policy/PolicyMaker.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

const fs::path kFolder = fs::temp_directory_path() / "arrayplan-config-bench";

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// 99 policies that apply to no controller of the inventory (every entry is checked), then one that
// leaves hot spares, arrays and levels to the configurator.
std::string policies() {
    std::string text;
    for (int p = 1; p < 100; ++p) {
        text += "[Policy.Other" + std::to_string(p) + "]\n";
        for (int i = 1; i <= 15; ++i)
            text += "AppliesTo." + std::to_string(i) + " = s:OTHER, c:" + std::to_string(i) + "\n";
    }
    return text +
           "[Policy.Rack]\nAppliesTo.1 = t:Vaultix-M1\nArray_Defaults = 5%:2\nLogical_Defaults = FILL:5\n";
}

const char* kSupportFile = "[RAIDController]\nModel = Vaultix-M1\nStripeSizes = 8K,16K,32K,64K\n"
                           "RAIDLevels = 0,1,5\n[5]\nMaxPhysicalDrives = 32\n";

// 128 drives in four sizes, spread so that the grouping walks every channel.
std::unique_ptr<RaidController> fullController() {
    auto controller = std::make_unique<RaidController>(12, 2);
    for (int channel = 1; channel <= 4; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id)
            controller->setDrive(channel, id, 70000 * (1 + (id + channel) % 4), "SAS");
    }
    controller->setScanOrder(1);
    return controller;
}

void BM_ConfigureAndWritePolicies(benchmark::State& state) {
    int count = static_cast<int>(state.range(0));
    fs::create_directories(kFolder);
    writeFile(kFolder / "policies.ini", policies());
    writeFile(kFolder / "Vaultix-M1.ini", kSupportFile);
    RunSettings settings;
    settings.raidDirectory = CString((kFolder.string() + "/").c_str());
    std::string out;
    Console::Instance().Capture(&out, nullptr);
    PolicyReader reader(settings, CString((kFolder / "policies.ini").string().c_str()), false);
    if (!reader.read())
        state.SkipWithError("the generated policies were not read");
    ControllerList controllers;
    for (int i = 0; i < count; ++i)
        controllers.add(fullController());
    const fs::path output = kFolder / "out-policies.ini";
    for (auto _ : state) {
        fs::remove(output);
        CString outputPath(output.string().c_str());
        OutputFile outputFile(outputPath, "KLAMPM~~");
        if (runConfigurationStep(settings, controllers, reader.policyList(), {}) != ResultCode::Success ||
            !outputFile.open(settings) ||
            !PolicyMaker(settings, outputPath).makePolicies(controllers, outputFile))
            state.SkipWithError("the configuration failed");
        out.clear();
    }
    Console::Instance().Capture(nullptr, nullptr);
    state.SetComplexityN(count);
}

} // namespace

BENCHMARK(BM_ConfigureAndWritePolicies)
    ->Arg(13)
    ->Arg(26)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
