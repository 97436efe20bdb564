#include "arrayplan/fleet/InventoryRun.h"

#include "arrayplan/model/JsonReport.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/TextCase.h"

namespace {

// The folder of the inventory's outputs: its path in the fleet folder without ".ini", under the output
// folder. Each inventory has a folder of its own, so that the check of an output for the temporary files
// of killed runs lists two files, not the outputs of the whole fleet.
CString outputFolder(const CString& outputDirectory, const std::string& relative) {
    bool inventoryName = relative.size() > 4 && EqualsNoCase(relative.substr(relative.size() - 4), ".ini");
    std::string name = inventoryName ? relative.substr(0, relative.size() - 4) : relative;
    return JoinPath(outputDirectory, CString(name.c_str()));
}

} // namespace

CString outputInventoryPath(const CString& outputDirectory, const std::string& relative) {
    return JoinPath(outputFolder(outputDirectory, relative), "inventory.ini");
}

CString outputPolicyPath(const CString& outputDirectory, const std::string& relative) {
    return JoinPath(outputFolder(outputDirectory, relative), "policies.ini");
}

InventoryOutcome runInventory(FileSystem& fileSystem, const FleetInputs& inputs, const WorkItem& item) {
    CommandLine line;
    line.inventoryPath = CString(item.path.c_str());
    line.policyPath = inputs.line.policyPath;
    line.raidDirectory = inputs.line.raidDirectory;
    if (inputs.shared.writesOutputs) {
        MakePath(outputFolder(inputs.line.fleetOutputDirectory, item.relative));
        line.outputInventoryPath = outputInventoryPath(inputs.line.fleetOutputDirectory, item.relative);
        line.outputPolicyPath = outputPolicyPath(inputs.line.fleetOutputDirectory, item.relative);
    }
    std::string dropped;
    Console console;
    console.Capture(&dropped, &dropped);
    ARRAYPLANSupport support(console, fileSystem);
    InventoryOutcome outcome;
    outcome.path = item.path;
    outcome.status = support.run(line, inputs.shared);
    outcome.message =
        outcome.status == 0 ? resultText(ResultCode::Success) : failureText(support.resultCode());
    outcome.machineType = support.settings().machineType.Str();
    outcome.serialNumber = support.settings().serialNumber.Str();
    outcome.controllers = controllerSummaries(support.controllers());
    return outcome;
}
