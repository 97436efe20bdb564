// Reading a policy file must grow linearly with the number of policies: the value lookups of the
// validation are served from one reading of the file, not by reading it again for every keyword.
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Fifty keyword lines, every one of them looked up by the validation except the last nine.
std::string policyText(int number) {
    std::string n = std::to_string(number);
    std::string text = "; generated policy " + n + "\n[Policy.Generated" + n + "]\n";
    for (int i = 1; i <= 15; ++i)
        text += "AppliesTo." + std::to_string(i) + " = m:88" + n + ", s:SN" + n + ", c:" + std::to_string(i) +
                "\n";
    text += "RebuildRate = HIGH\nReadAhead = ADAPTIVE\nStripeSize = 64\nArray_Mode = CUSTOM\n";
    text += "Array_Defaults = 10%:2\nMax_Logical_Drive_Size = 4096\n";
    for (char letter = 'A'; letter <= 'H'; ++letter)
        text += std::string("Array.") + letter + " = " + std::to_string(letter - 'A' + 1) + ":0, " +
                std::to_string(letter - 'A' + 1) + ":1\n";
    text += "Hotspares = 1:5, 1:6\nLogical_Mode = CUSTOM\nLogical_Defaults = 50%:5:AUTO\n";
    for (int i = 1; i <= 8; ++i)
        text += "Logical." + std::to_string(i) + " = " + static_cast<char>('A' + i - 1) + ":FILL:5\n";
    text += "Init = QUICK\n";
    for (int i = 16; i <= 24; ++i)
        text += "AppliesTo." + std::to_string(i) + " = never read\n";
    return text;
}

std::string writePolicyFile(int policies) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "arrayplan-policy-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::path path = folder / ("policies-" + std::to_string(policies) + ".ini");
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    for (int i = 1; i <= policies; ++i)
        file << policyText(i);
    return path.string();
}

void BM_ReadPolicyFile(benchmark::State& state) {
    int policies = static_cast<int>(state.range(0));
    RunSettings settings;
    CString path(writePolicyFile(policies));
    std::string out;
    std::string err;
    Console::Instance().Capture(&out, &err);
    for (auto _ : state) {
        PolicyReader reader(settings, path, false);
        bool ok = reader.read();
        if (!ok || reader.policyList().size() != policies)
            state.SkipWithError("the generated file was not read");
        out.clear();
    }
    Console::Instance().Capture(nullptr, nullptr);
    state.SetComplexityN(policies);
    state.SetItemsProcessed(state.iterations() * policies);
}

} // namespace

BENCHMARK(BM_ReadPolicyFile)
    ->Arg(25)
    ->Arg(50)
    ->Arg(100)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
