#include "FleetFixture.h"

#include "arrayplan/fleet/FleetCheck.h"
#include "arrayplan/frontend/ARRAYPLANSupport.h"
#include "foundation/Console.h"
#include "foundation/platform/FileSystem.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

struct ScenarioShape {
    FleetScenario scenario;
    const char* machineType;
    const char* model;
    int minimumDrives;
};

// Sizes the policies name by drive number: 1 to 3 in RAID 5, 1 and 2 in RAID 0 or 1.
const ScenarioShape kShapes[] = {
    {{"pass", 0}, "OK", "Vaultix-Q4", 4},
    {{"planned", 0}, "PLAN", "Vaultix-Q4", 6},
    {{"inventory-damaged", 2}, "OK", "Vaultix-Q4", 4},
    {{"model-unknown", 3}, "OK", "Vaultix-Q9", 4},
    {{"level", 4}, "C04", "Vaultix-Q4", 4},
    {{"stripe", 5}, "C05", "Vaultix-Q4", 4},
    {{"arrays", 6}, "C06", "Vaultix-R2-SATA", 4},
    {{"members", 7}, "C07", "Vaultix-Q4", 4},
    {{"logicals", 8}, "C08", "Vaultix-Q5", 4},
    {{"spares", 9}, "C09", "Vaultix-Q4", 4},
    {{"drives", 10}, "C10", "Vaultix-Q4", 4},
    {{"policy-line", 16}, "OK", "Vaultix-Q4", 4},
    {{"partial", 17}, "C17", "Vaultix-R2-SATA", 4},
    {{"no-policy", 19}, "NONE", "Vaultix-Q4", 4},
};

const ScenarioShape& shapeOf(const std::string& name) {
    for (const ScenarioShape& shape : kShapes) {
        if (name == shape.scenario.name)
            return shape;
    }
    throw std::invalid_argument("no fleet scenario " + name);
}

const char* const kPolicies = R"([Policy.Ok]
AppliesTo.1 = m:OK
Array_Mode = CUSTOM
Array.A = 1,2,3
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5

[Policy.Planned]
AppliesTo.1 = m:PLAN
Array.A = #3
Array.B = AUTO
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5
Logical.2 = B:FILL:1

[Policy.Level]
AppliesTo.1 = m:C04
Array_Mode = CUSTOM
Array.A = 1,2,3,4
Logical_Mode = CUSTOM
Logical.1 = A:FILL:6

[Policy.Stripe]
AppliesTo.1 = m:C05
StripeSize = 128
Array_Mode = CUSTOM
Array.A = 1,2,3
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5

[Policy.Arrays]
AppliesTo.1 = m:C06
Array_Mode = CUSTOM
Array.A = 1
Array.B = 2
Array.C = 3
Logical_Mode = CUSTOM
Logical.1 = A:FILL:0
Logical.2 = B:FILL:0
Logical.3 = C:FILL:0

[Policy.Members]
AppliesTo.1 = m:C07
Array_Mode = CUSTOM
Array.A = 1,2,3
Logical_Mode = CUSTOM
Logical.1 = A:FILL:1

[Policy.Logicals]
AppliesTo.1 = m:C08
Array_Mode = CUSTOM
Array.A = 1,2,3,4
Logical_Mode = CUSTOM
Logical.1 = A:10000:0
Logical.2 = A:FILL:0

[Policy.Spares]
AppliesTo.1 = m:C09
Array_Mode = CUSTOM
Array.A = 1,2,3
Hotspares = 40,41
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5

[Policy.Drives]
AppliesTo.1 = m:C10
Array_Mode = CUSTOM
Array.A = 1,2,40
Logical_Mode = CUSTOM
Logical.1 = A:FILL:5

[Policy.Partial]
AppliesTo.1 = m:C17
Array_Mode = CUSTOM
Array.A = 1,2
Logical_Mode = CUSTOM
Logical.1 = A:20000:0
)";

} // namespace

const std::vector<FleetScenario>& fleetScenarios() {
    static const std::vector<FleetScenario> scenarios = [] {
        std::vector<FleetScenario> all;
        for (const ScenarioShape& shape : kShapes)
            all.push_back(shape.scenario);
        return all;
    }();
    return scenarios;
}

std::string fleetPolicyText() {
    return kPolicies;
}

std::string scenarioInventory(const std::string& name, int variant) {
    const ScenarioShape& shape = shapeOf(name);
    // A serial number too long for the line of the generated policy fails the policy writer.
    std::string serial = name == "policy-line" ? std::string(250, 'S') : "SN" + std::to_string(variant);
    int drives = shape.minimumDrives + variant % 5;
    std::string text = "[System]\nMachine_Type = " + std::string(shape.machineType) +
                       "\nSerial_Number = " + serial + "\nTotal_Number_Of_Controllers = 1\n\n" +
                       "[RAIDController.1]\nModel = " + shape.model + "\n\n[RAIDController.1.Physical]\n" +
                       "Total_Number_Of_Physicals = " + std::to_string(drives) + "\n";
    for (int d = 1; d <= drives; ++d) {
        // Drives beyond the third differ in size from variant to variant, so plans and waste differ.
        int size = d <= 3 ? 70007 : 70007 + 1000 * ((variant + d) % 3);
        std::string n = std::to_string(d);
        text += "Channel." + n + " = 1\nID." + n + " = " + std::to_string(d - 1) + "\n";
        if (!(name == "inventory-damaged" && d == 2))
            text += "Size." + n + " = " + std::to_string(size) + "\n";
        text += "Type." + n + " = SCSI\n";
    }
    return text;
}

FleetFolder::FleetFolder() {
    dir_.Write("policies.ini", fleetPolicyText());
    dir_.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid");
    fs::create_directories(dir_.Path() / "fleet");
    // One RAID 0 logical drive per array on this model, so that two on one array exceed its limit.
    std::string q5 = dir_.Read("raid/Vaultix-Q5.ini");
    size_t level = q5.find("[0]");
    size_t limit = q5.find("MaxLogicalDrives = 8", level);
    q5.replace(limit, std::string("MaxLogicalDrives = 8").size(), "MaxLogicalDrives = 1");
    dir_.Write("raid/Vaultix-Q5.ini", q5);
}

std::string FleetFolder::writeInventory(const std::string& relative, const std::string& scenario,
                                        int variant) {
    return dir_.Write("fleet/" + relative, scenarioInventory(scenario, variant));
}

std::string FleetFolder::writeDeadLink(const std::string& relative) {
    fs::path link = dir_.Path() / "fleet" / relative;
    fs::create_directories(link.parent_path());
    fs::create_symlink(dir_.Path() / "nowhere.ini", link);
    return link.string();
}

void FleetFolder::blockOutput(const std::string& outputFolder, const std::string& outputRelative) {
    fs::create_directories(fs::path(outputFolder) / outputRelative);
}

std::vector<std::string> fleetArguments(const FleetFolder& folder, const std::string& report,
                                        const std::string& outdir, const std::string& jobs) {
    std::vector<std::string> arguments = {"arrayplan", "/fleet:" + folder.fleet(),
                                          "/inp:" + folder.policies(), "/raid:" + folder.raid(),
                                          "/report:" + report};
    if (!outdir.empty())
        arguments.push_back("/outdir:" + outdir);
    if (!jobs.empty())
        arguments.push_back("/jobs:" + jobs);
    return arguments;
}

RunOutput runArrayplan(const std::vector<std::string>& arguments) {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    RunOutput output;
    std::string err;
    Console console;
    console.Capture(&output.out, &err);
    CommandLine fleet;
    if (readFleetCommandLine(argc, argv.data(), fleet))
        output.status = runFleetCheck(console, NativeFileSystem(), fleet);
    else
        output.status = ARRAYPLANSupport(console, NativeFileSystem()).run(argc, argv.data());
    return output;
}
