#include "arrayplan/fleet/InventoryRun.h"

#include "arrayplan/model/JsonReport.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

namespace {

CString outputPath(const CString& outputFolder, const std::string& relative, const char* ending) {
    std::string stem = relative.substr(0, relative.size() - 4); // the walk gives names ending in ".ini"
    return JoinPath(outputFolder, CString((stem + ending).c_str()));
}

// The folders below the output folder that the inventory's outputs go into.
void makeOutputFolders(const CString& outputFolder, const std::string& relative) {
    PathParts parts = SplitPath(outputPath(outputFolder, relative, ""));
    CString folder = parts.root + parts.directory;
    if (!folder.IsEmpty())
        MakePath(folder);
}

} // namespace

CString outputInventoryPath(const CString& outputFolder, const std::string& relative) {
    return outputPath(outputFolder, relative, ".inventory.ini");
}

CString outputPolicyPath(const CString& outputFolder, const std::string& relative) {
    return outputPath(outputFolder, relative, ".policies.ini");
}

InventoryOutcome runInventory(FileSystem& fileSystem, const FleetInputs& inputs, const WorkItem& item) {
    CommandLine line;
    line.inventoryPath = CString(item.path.c_str());
    line.policyPath = inputs.line.policyPath;
    line.raidDirectory = inputs.line.raidDirectory;
    if (inputs.shared.writesOutputs) {
        makeOutputFolders(inputs.line.fleetOutputDirectory, item.relative);
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
